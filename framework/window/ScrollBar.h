#pragma once

#include <windows.h>

#include "framework/window/Window.h"
#include "framework/window/skin/rules/ScrollBarLayout.h"
#include "framework/window/rules/ScrollInfo.h"

namespace Window {

// A scroll-bar control painted by the skin. It keeps its own scroll
// information, answers the SBM_* messages and handles the mouse itself
// (arrows and page areas repeat while held, the thumb drags). Its
// WM_HSCROLL / WM_VSCROLL go to its owner, or to its parent without one.
class cScrollBar : public cWindow
{
public:
    static constexpr UINT_PTR kRepeatDelayTimer = 100;  // first repeat after 500 ms
    static constexpr UINT_PTR kRepeatTimer = 101;       // then every 100 ms

    cScrollBar() = default;

    // The window its scroll messages go to; null: the parent.
    void SetOwner(HWND owner) { m_owner = owner; }
    // Whether a press first gives the keyboard focus to the parent.
    void SetFocusParentOnPress(bool on) { m_focusParentOnPress = on; }
    HWND GetOwner() const { return m_owner; }
    bool IsVertical() const;
    const sScrollInfo& GetScrollState() const { return m_info; }
    bool IsPressed() const { return m_pressed; }
    std::int32_t GetCurrentPart() const { return m_part; }

    // The part under a client point (a cScrollBarLayout part code).
    std::int32_t HitTest(std::int32_t x, std::int32_t y) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttach(DWORD style) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnMouseLeave() override;
    bool OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y) override;
    bool OnTimer(UINT_PTR id, LPARAM lParam) override;
    bool OnSetCursor(cWindow* window, std::int32_t hit, std::int32_t mouseMessage) override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;

protected:
    // cDefaultScrollBar gives the keyboard focus to its parent when pressed.
    bool m_focusParentOnPress = false;

private:
    Skin::cScrollBarLayout Layout() const;
    // The request a part sends (SB_LINEUP, ...); -1 for parts without one.
    std::int32_t PartAction(std::int32_t part) const;
    void SendScroll(std::int32_t code, std::int32_t position);
    void SetPart(std::int32_t part);
    // Ends a press: timers off, capture state cleared, SB_ENDSCROLL sent.
    void EndPress(bool releaseCapture);
    void Repaint();

    sScrollInfo m_info;
    HWND m_owner = nullptr;
    bool m_pressed = false;
    Container::sPoint m_pressPoint;
    Container::sPoint m_currentPoint;
    std::int32_t m_part = Skin::cScrollBarLayout::None;
    Container::sPoint m_dragOffset;  // thumb start minus the press point
    bool m_leaveTracking = false;
};

// The scroll bar a scrolling window makes for itself: pressing it first
// gives the keyboard focus to that window.
class cDefaultScrollBar : public cScrollBar
{
public:
    cDefaultScrollBar() { m_focusParentOnPress = true; }
};

} // namespace Window
