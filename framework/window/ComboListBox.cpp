#include "framework/window/ComboListBox.h"

#include <windowsx.h>

#include "framework/window/ComboBox.h"

namespace Window {

bool cComboListBox::IsShowing() const
{
    return IsBound() && IsWindowVisible(Handle());
}

void cComboListBox::HoldMouse()
{
    m_barHasMouse = false;
    SetCapture(Handle());
}

void cComboListBox::ReleaseMouse()
{
    m_releasing = true;
    if (GetCapture() == Handle())
        ReleaseCapture();
    m_releasing = false;
    m_barHasMouse = false;
}

bool cComboListBox::OnList(std::int32_t x, std::int32_t y) const
{
    POINT point{x, y};
    ClientToScreen(Handle(), &point);
    return Container::RectContains(GetWindowRect(), {point.x, point.y});
}

HWND cComboListBox::BarAt(std::int32_t x, std::int32_t y) const
{
    for (const cScrollBar* bar : {&GetVerticalBar(), &GetHorizontalBar()})
    {
        if (!bar->IsBound() || !IsWindowVisible(bar->Handle()))
            continue;
        POINT point{x, y};
        ClientToScreen(Handle(), &point);
        if (Container::RectContains(bar->GetWindowRect(), {point.x, point.y}))
            return bar->Handle();
    }
    return nullptr;
}

LRESULT cComboListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CAPTURECHANGED:
    {
        HWND taker = reinterpret_cast<HWND>(lParam);
        if (m_releasing || taker == Handle())
            break;
        if (taker && (taker == GetVerticalBar().Handle() || taker == GetHorizontalBar().Handle()))
        {
            m_barHasMouse = true;  // our own scroll bar is being pressed
            break;
        }
        // Something else took the mouse (a message box, another window):
        // the choice is over.
        if (IsShowing())
            m_combo.CloseDropDown();
        break;
    }
    case WM_MOUSEHWHEEL:
        OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), GET_X_LPARAM(lParam),
                     GET_Y_LPARAM(lParam));
        return 0;
    default:
        break;
    }
    return cListBox::WindowProc(message, wParam, lParam);
}

void cComboListBox::OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    TrackHot(x, y);
}

void cComboListBox::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!OnList(x, y))
    {
        // Outside (the combo included): the press closes the list and goes
        // no further.
        m_combo.CloseDropDown();
        return;
    }
    if (HWND bar = BarAt(x, y))
    {
        POINT point{x, y};
        MapWindowPoints(Handle(), bar, &point, 1);
        SendMessageW(bar, WM_LBUTTONDOWN, static_cast<WPARAM>(keys), MAKELPARAM(point.x, point.y));
    }
}

void cComboListBox::OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    const std::int32_t item = HitTestItem(x, y);
    if (item >= 0)
        m_combo.PickFromList(item, true);
}

void cComboListBox::OnRButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!OnList(x, y))
        m_combo.CloseDropDown();
}

void cComboListBox::OnVScroll(std::int32_t code, std::int32_t position, cWindow* bar)
{
    cListBox::OnVScroll(code, position, bar);
    // The scroll bar let the mouse go: the list holds it again.
    if (code == SB_ENDSCROLL && m_barHasMouse && IsShowing())
        HoldMouse();
}

} // namespace Window

namespace Window {

void cComboListBox::OnSetFocus(cWindow* previous)
{
    // The window system may hand a newly shown popup the focus: it belongs
    // to the combo, which takes the keys of the list.
    m_combo.TakeFocus();
}

void cComboListBox::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    m_combo.OnKeyDown(key, repeat, flags);
}

void cComboListBox::OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    m_combo.OnSysKeyDown(key, repeat, flags);
}

void cComboListBox::OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    OnLButtonDown(keys, x, y);
}

} // namespace Window
