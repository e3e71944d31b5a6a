#include "framework/window/LinkStatic.h"

#include <algorithm>

#include "framework/window/WebLink.h"
#include "framework/window/skin/Skin.h"

namespace Window {

bool cLinkStatic::Activate()
{
    if (!m_target.IsEmpty())
    {
        if (!cWebLink::IsWebAddress(m_target))
            return false;
        cWebLink::Open(m_target);
        return true;
    }
    if (!(GetStyle() & SS_NOTIFY))
        return false;
    NotifyParent(STN_CLICKED);
    return true;
}

Container::sRect cLinkStatic::GetHitArea() const
{
    HWND window = Handle();
    const Container::sRect client = GetClientRect();
    Container::cWideString text;
    GetText(text);
    HDC screen = GetDC(window);
    if (!screen)
        return {};
    const UINT flags = GetTextFlags();
    HGDIOBJ old = SelectObject(screen, GetSkin()->Font(Skin::cSkin::FontNormal));
    RECT measured{0, 0, client.Width(), client.Height()};
    DrawTextW(screen, reinterpret_cast<const wchar_t*>(text.Text()), static_cast<int>(text.Length()), &measured,
              (flags & ~(DT_VCENTER | DT_BOTTOM | DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
    SelectObject(screen, old);
    ReleaseDC(window, screen);
    const int width = std::min<int>(measured.right - measured.left, client.Width());
    const int height = std::min<int>(measured.bottom - measured.top, client.Height());
    int left = client.left;
    if (flags & DT_CENTER)
        left = client.left + (client.Width() - width) / 2;
    else if (flags & DT_RIGHT)
        left = client.right - width;
    int top = client.top;
    if (flags & DT_VCENTER)
        top = client.top + (client.Height() - height) / 2;
    else if (flags & DT_BOTTOM)
        top = client.bottom - height;
    return {left, top, left + width, top + height};
}

bool cLinkStatic::HitAreaContains(std::int32_t x, std::int32_t y) const
{
    return Container::RectContains(GetHitArea(), {x, y});
}

LRESULT cLinkStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != Handle())
        m_pressed = false;
    return cStatic::WindowProc(message, wParam, lParam);
}

void cLinkStatic::OnAttach(DWORD style)
{
    cStatic::OnAttach(style | SS_NOTIFY);
    m_pressed = false;
}

bool cLinkStatic::OnSetCursor(cWindow* window, std::int32_t hit, std::int32_t mouseMessage)
{
    if (hit != HTCLIENT)
        return false;
    const Container::sPoint point = GetCursorClientPos();
    SetCursor(LoadCursorW(nullptr, HitAreaContains(point.x, point.y) ? IDC_HAND : IDC_ARROW));
    return true;
}

void cLinkStatic::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!HitAreaContains(x, y))
        return;
    m_pressed = true;
    SetCapture(Handle());
}

void cLinkStatic::OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!m_pressed || GetCapture() != Handle())
        return;
    m_pressed = false;
    ReleaseCapture();
    if (HitAreaContains(x, y))
        Activate();
}

void cLinkStatic::OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!m_pressed)
        cStatic::OnMouseMove(keys, x, y);
}

void cLinkStatic::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    if (key == VK_SPACE)
    {
        Activate();
        return;
    }
    cStatic::OnKeyDown(key, repeat, flags);
}

void cLinkStatic::OnSetFocus(cWindow* previous)
{
    if (GetStyle() & WS_TABSTOP)
        cWindow::OnSetFocus(previous);  // keeps the focus and tells the parent
    else
        PassFocusOn();
    Invalidate(false);
}

void cLinkStatic::OnKillFocus(cWindow* next)
{
    cWindow::OnKillFocus(next);
    Invalidate(false);
}

void cLinkStatic::Draw(GDI::cPictureDC& dc, const Container::sRect& client)
{
    HWND window = Handle();
    Container::cWideString text;
    GetText(text);
    GetSkin()->DrawLink(dc, client, GetStyle(), IsWindowEnabled(window) != FALSE, GetFocus() == window, text.View(),
                        GetTextFlags());
}

} // namespace Window
