#pragma once

#include "framework/window/ListBox.h"

namespace Window {

class cComboBox;

// The list that drops down from a combo box. While it shows it stands on
// the desktop, topmost, never takes activation, and holds the mouse: a
// press outside it closes it, a release on an item picks that item. The
// keyboard focus stays with the combo, which forwards its keys.
class cComboListBox : public cListBox
{
public:
    explicit cComboListBox(cComboBox& combo) : m_combo(combo)
    {
        // The combo keeps the focus while the list's bar is used.
        GetVerticalBar().SetFocusParentOnPress(false);
        GetHorizontalBar().SetFocusParentOnPress(false);
    }

    // Takes the mouse so that the next press decides (pick or close).
    void HoldMouse();
    // The combo is closing the list: the mouse is let go without closing again.
    void ReleaseMouse();
    bool IsShowing() const;
    // Hot tracking as the combo's press-drag passes over the list (client
    // coordinates; ignored outside the client area).
    void TrackDrag(std::int32_t x, std::int32_t y) { TrackHot(x, y); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    // A quick second press is a press like the first (the system classes
    // that may be subclassed send double clicks).
    void OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnRButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnVScroll(std::int32_t code, std::int32_t position, cWindow* bar) override;
    void OnSetFocus(cWindow* previous) override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;

private:
    // True when the client point lies on the list's window (frame included).
    bool OnList(std::int32_t x, std::int32_t y) const;
    // The list's own scroll bar under a client point, if any.
    HWND BarAt(std::int32_t x, std::int32_t y) const;

    cComboBox& m_combo;
    bool m_releasing = false;
    bool m_barHasMouse = false;
};

} // namespace Window
