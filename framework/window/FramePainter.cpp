#include "framework/window/FramePainter.h"

#include "framework/gdi/PictureDC.h"
#include "framework/window/Window.h"
#include "framework/window/skin/Skin.h"

namespace Window {

namespace {

// Draws one non-client scroll bar through the skin, off-screen.
void PaintScrollBar(cWindow& window, GDI::cDC& dc, const Container::sRect& strip, int bar)
{
    if (strip.IsEmpty())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window.Handle(), bar, &info))
        info = SCROLLINFO{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    GDI::cPictureDC buffer;
    if (!buffer.Create(strip.Width(), strip.Height()))
        return;
    const bool vertical = bar == SB_VERT;
    const bool pressed = window.TrackedScrollBar() == (vertical ? 1 : 2);
    window.GetSkin()->DrawScrollBar(buffer, {0, 0, strip.Width(), strip.Height()}, info, vertical, pressed,
                                    window.TrackedScrollPart());
    BitBlt(dc.Handle(), strip.left, strip.top, strip.Width(), strip.Height(), buffer.Handle(), 0, 0, SRCCOPY);
}

} // namespace

bool cFramePainter::IsSystemFrame(HWND window)
{
    const auto style = DWORD(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = DWORD(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (exStyle & WS_EX_APPWINDOW)
        return true;
    if (style & (WS_POPUP | WS_BORDER | WS_DLGFRAME))
        return true;
    return style == 0 && GetMenu(window) != nullptr;
}

bool cFramePainter::Paint(cWindow& window, HRGN region)
{
    const HWND hwnd = window.Handle();
    if (hwnd == nullptr || window.GetSkin() == nullptr || IsSystemFrame(hwnd))
        return false;
    Skin::cSkin& skin = *window.GetSkin();
    const DWORD style = window.GetStyle();
    const DWORD exStyle = window.GetExStyle();

    DWORD flags = DCX_WINDOW | DCX_PARENTCLIP;
    if (style & WS_CLIPSIBLINGS)
        flags |= DCX_CLIPSIBLINGS;
    const bool whole = region == reinterpret_cast<HRGN>(1) || region == nullptr;
    HRGN clip = nullptr;
    if (!whole)
    {
        // GetDCEx takes over the region it is given: hand it a copy, the
        // caller's region stays the system's.
        clip = CreateRectRgn(0, 0, 0, 0);
        if (clip && CombineRgn(clip, region, nullptr, RGN_COPY) != ERROR)
            flags |= DCX_INTERSECTRGN;
        else if (clip)
        {
            DeleteObject(clip);
            clip = nullptr;
        }
    }
    HDC windowDC = GetDCEx(hwnd, clip, flags);
    if (windowDC == nullptr)
    {
        if (clip)
            DeleteObject(clip);
        windowDC = GetWindowDC(hwnd);
        if (windowDC == nullptr)
            return false;
    }
    GDI::cDC dc(windowDC, false);

    const Container::sRect bounds = window.GetWindowRect();
    Container::sRect r{0, 0, bounds.Width(), bounds.Height()};
    const bool focused = GetFocus() == hwnd;
    auto inset = [&r](int d) { r = {r.left + d, r.top + d, r.right - d, r.bottom - d}; };
    using P = Skin::cPalette;
    if (exStyle & WS_EX_CLIENTEDGE)
    {
        skin.DrawClientEdge(dc, r, focused);
        inset(2);
    }
    else if (exStyle & WS_EX_WINDOWEDGE)
    {
        dc.Draw3dRect(r, skin.Colour(P::EdgeLight), skin.Colour(P::Outline));
        inset(1);
        dc.Draw3dRect(r, skin.Colour(P::Light), skin.Colour(P::DarkOutline));
        inset(1);
    }
    if (exStyle & WS_EX_DLGMODALFRAME)
    {
        dc.Draw3dRect(r, skin.Colour(P::EdgeLight), skin.Colour(P::Outline));
        inset(1);
    }
    if (exStyle & WS_EX_STATICEDGE)
    {
        skin.DrawStaticEdge(dc, r, focused);
        inset(1);
    }

    const bool vertical = (style & WS_VSCROLL) != 0, horizontal = (style & WS_HSCROLL) != 0;
    if (!r.IsEmpty())
    {
        const int cxv = GetSystemMetrics(SM_CXVSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
        if (vertical)
            PaintScrollBar(window, dc, {r.right - cxv, r.top, r.right, r.bottom - (horizontal ? cyh : 0)}, SB_VERT);
        if (horizontal)
            PaintScrollBar(window, dc, {r.left, r.bottom - cyh, r.right - (vertical ? cxv : 0), r.bottom}, SB_HORZ);
        if (vertical && horizontal)
            dc.FillSolidRect(Container::sRect{r.right - cxv, r.bottom - cyh, r.right, r.bottom},
                             skin.Colour(P::ButtonFace));
    }
    ReleaseDC(hwnd, windowDC);
    return true;
}

} // namespace Window
