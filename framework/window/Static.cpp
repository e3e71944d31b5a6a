#include "framework/window/Static.h"

#include "framework/window/BufferedPaint.h"
#include "framework/window/skin/Skin.h"

namespace Window {

void cStatic::SetImage(const Painter::cPicture& image)
{
    if (image.IsEmpty())
        m_image.Release();
    else
        m_image.CopyFrom(image);
    Invalidate(false);
}

void cStatic::SetVerticalPlacement(int placement)
{
    if (placement == m_placement)
        return;
    m_placement = placement;
    Invalidate(false);
}

UINT cStatic::TextFlags(DWORD style, int placement)
{
    UINT flags = 0;
    const DWORD type = style & SS_TYPEMASK;
    if (!(type & 0x4) && !(type & 0x8))
        flags |= DT_WORDBREAK;
    if (type == SS_CENTER)
        flags |= DT_CENTER;
    else if (type == SS_RIGHT)
        flags |= DT_RIGHT;
    const DWORD ellipsis = style & SS_ELLIPSISMASK;
    if (ellipsis == SS_ENDELLIPSIS)
        flags |= DT_END_ELLIPSIS;
    else if (ellipsis == SS_PATHELLIPSIS)
        flags |= DT_PATH_ELLIPSIS;
    if (ellipsis)
        flags |= DT_WORD_ELLIPSIS;
    if (style & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    if (placement == PlaceCentre)
        flags |= DT_VCENTER | DT_SINGLELINE;
    else if (placement == PlaceBottom)
        flags |= DT_BOTTOM | DT_SINGLELINE;
    return flags;
}

UINT cStatic::GetTextFlags() const
{
    return TextFlags(static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)), m_placement);
}

LRESULT cStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
    {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        Invalidate(false);
        return result;
    }
    return cWindow::WindowProc(message, wParam, lParam);
}

void cStatic::OnEnable(bool enabled)
{
    cWindow::OnEnable(enabled);
    Invalidate(false);
    UpdateWindow(Handle());
}

void cStatic::PassFocusOn()
{
    HWND self = Handle();
    HWND parent = GetParent(self);
    if (!parent)
        return;
    HWND next = GetNextDlgTabItem(parent, self, FALSE);
    if (next && next != self)
        SetFocus(next);
}

void cStatic::OnSetFocus(cWindow* previous)
{
    PassFocusOn();
}

void cStatic::NotifyParent(WORD code)
{
    HWND self = Handle();
    if (HWND parent = GetParent(self))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), code), reinterpret_cast<LPARAM>(self));
}

void cStatic::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (GetWindowLongW(Handle(), GWL_STYLE) & SS_NOTIFY)
        NotifyParent(STN_CLICKED);
}

void cStatic::OnNcPaint(HRGN region)
{
    HWND self = Handle();
    const LONG style = GetWindowLongW(self, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(self, GWL_EXSTYLE);
    const bool ownFrame = (style & WS_CHILD) && (exStyle & WS_EX_CLIENTEDGE) && (style & SS_SUNKEN) &&
                          !(style & (WS_BORDER | WS_DLGFRAME));
    if (!ownFrame)
    {
        cWindow::OnNcPaint(region);
        return;
    }
    const Container::sRect window = GetWindowRect();
    HDC dc = GetWindowDC(self);
    if (!dc)
        return;
    {
        GDI::cDC frame(dc, false);
        const Skin::cSkin& skin = *GetSkin();
        const Container::sRect outer{0, 0, window.Width(), window.Height()};
        frame.Draw3dRect(outer, skin.Colour(8), skin.Colour(5));
        const Container::sRect inner{1, 1, outer.right - 1, outer.bottom - 1};
        frame.Draw3dRect(inner, skin.Colour(7), skin.Colour(7));
    }
    ReleaseDC(self, dc);
}

bool cStatic::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

void cStatic::Draw(GDI::cPictureDC& dc, const Container::sRect& client)
{
    HWND window = Handle();
    Container::cWideString text;
    GetText(text);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    GetSkin()->DrawStatic(dc, client, GetStyle(), IsWindowEnabled(window) != FALSE, GetFocus() == window,
                          text.View(), GetTextFlags(), font, 0, m_image.IsEmpty() ? nullptr : &m_image);
}

bool cStatic::OnPaint()
{
    cBufferedPaint paint(Handle());
    if (paint.Ready())
        Draw(paint.Buffer(), paint.ClientRect());
    return true;
}

} // namespace Window
