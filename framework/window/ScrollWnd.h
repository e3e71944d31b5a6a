#pragma once

#include <windows.h>

#include "framework/core/Geometry.h"
#include "framework/window/ScrollBar.h"
#include "framework/window/Window.h"
#include "framework/window/rules/WheelAccumulator.h"

namespace Window {

// A window whose content is larger than its client area. It owns two
// toolkit scroll bars (shown only while the content does not fit) and
// scrolls by moving its content: the scroll position is the content point
// shown at the content rectangle's top left.
class cScrollWnd : public cWindow
{
public:
    static constexpr UINT_PTR kSmoothVerticalTimer = 51;
    static constexpr UINT_PTR kSmoothHorizontalTimer = 52;

    cScrollWnd() = default;

    // The size of the content; 0 as width: as wide as the view (no
    // horizontal scrolling).
    void SetContentSize(std::int32_t width, std::int32_t height);
    Container::sPoint GetScrollPosition() const { return m_position; }
    void SetLineStep(std::int32_t step) { m_lineStep = step > 0 ? step : 1; }
    std::int32_t GetLineStep() const { return m_lineStep; }
    // Page, position and end moves are animated while this is on.
    void SetSmoothScrolling(bool on) { m_smooth = on; }
    cScrollBar& GetVerticalBar() { return m_vertical; }
    cScrollBar& GetHorizontalBar() { return m_horizontal; }
    const cScrollBar& GetVerticalBar() const { return m_vertical; }
    const cScrollBar& GetHorizontalBar() const { return m_horizontal; }

    // The part of the client area that shows content (the client area less
    // the scroll bars that show).
    virtual Container::sRect GetContentRect() const;
    // Scrolls as little as needed to show the content rectangle (its top
    // left when it does not fit).
    virtual void BringIntoView(const Container::sRect& content);
    // Scrolls to a content position, kept within the scroll ranges.
    virtual void ScrollTo(std::int32_t x, std::int32_t y);
    // One step of an animated scroll; false when it has arrived.
    virtual bool SmoothScrollStep();

    void OnAttach(DWORD style) override;
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override;
    void OnHScroll(std::int32_t code, std::int32_t position, cWindow* bar) override;
    void OnVScroll(std::int32_t code, std::int32_t position, cWindow* bar) override;
    bool OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y) override;
    bool OnTimer(UINT_PTR id, LPARAM lParam) override;

protected:
    // The content moved: repaint it.
    virtual void OnScrolled();
    // Places and fills the bars for the content and client sizes.
    void UpdateBars();

private:
    void Scroll(bool vertical, std::int32_t code);
    std::int32_t ViewLength(bool vertical) const;

    cDefaultScrollBar m_horizontal;
    cDefaultScrollBar m_vertical;
    Container::sPoint m_position;
    std::int32_t m_contentWidth = 0;
    std::int32_t m_contentHeight = 0;
    std::int32_t m_lineStep = 16;
    bool m_smooth = false;
    cWheelAccumulator m_wheel;
};

} // namespace Window
