#include "framework/window/ScrollWnd.h"

#include <algorithm>

namespace Window {

namespace {

bool BarShown(const cScrollBar& bar)
{
    return bar.IsBound() && IsWindowVisible(bar.Handle());
}

} // namespace

void cScrollWnd::OnAttach(DWORD style)
{
    cWindow::OnAttach(style);
    HWND self = Handle();
    const Container::sRect client = GetClientRect();
    if (!m_vertical.IsBound())
    {
        m_vertical.Create(0, u"", WS_CHILD | SBS_VERT, client.right - GetSystemMetrics(SM_CXVSCROLL), 0, client.right,
                          client.bottom, self, 0);
        m_vertical.SetOwner(self);
    }
    if (!m_horizontal.IsBound())
    {
        m_horizontal.Create(0, u"", WS_CHILD | SBS_HORZ, 0, client.bottom - GetSystemMetrics(SM_CYHSCROLL),
                            client.right, client.bottom, self, 0);
        m_horizontal.SetOwner(self);
    }
    UpdateBars();
}

Container::sRect cScrollWnd::GetContentRect() const
{
    Container::sRect rect = GetClientRect();
    if (BarShown(m_vertical))
        rect.right = std::max(rect.left, rect.right - GetSystemMetrics(SM_CXVSCROLL));
    if (BarShown(m_horizontal))
        rect.bottom = std::max(rect.top, rect.bottom - GetSystemMetrics(SM_CYHSCROLL));
    return rect;
}

std::int32_t cScrollWnd::ViewLength(bool vertical) const
{
    const Container::sRect view = GetContentRect();
    return vertical ? view.Height() : view.Width();
}

void cScrollWnd::SetContentSize(std::int32_t width, std::int32_t height)
{
    m_contentWidth = std::max(width, 0);
    m_contentHeight = std::max(height, 0);
    UpdateBars();
}

void cScrollWnd::UpdateBars()
{
    if (!IsBound())
        return;
    const Container::sRect client = GetClientRect();
    const std::int32_t barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const std::int32_t barHeight = GetSystemMetrics(SM_CYHSCROLL);
    // A bar shows when the content does not fit; the vertical one narrows
    // the view for the horizontal decision and the other way round.
    bool needVertical = m_contentHeight > client.Height();
    bool needHorizontal = m_contentWidth > client.Width() - (needVertical ? barWidth : 0);
    if (needHorizontal && !needVertical)
        needVertical = m_contentHeight > client.Height() - barHeight;
    const std::int32_t viewWidth = client.Width() - (needVertical ? barWidth : 0);
    const std::int32_t viewHeight = client.Height() - (needHorizontal ? barHeight : 0);

    auto place = [&](cScrollBar& bar, bool need, std::int32_t content, std::int32_t view, const Container::sRect& at) {
        if (!bar.IsBound())
            return;
        SCROLLINFO info{};
        info.cbSize = sizeof(SCROLLINFO);
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMin = 0;
        info.nMax = std::max(content - 1, 0);
        info.nPage = static_cast<UINT>(std::max(view, 0));
        SendMessageW(bar.Handle(), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
        if (need)
            SetWindowPos(bar.Handle(), nullptr, at.left, at.top, at.Width(), at.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            ShowWindow(bar.Handle(), SW_HIDE);
    };
    place(m_vertical, needVertical, m_contentHeight, viewHeight,
          {client.right - barWidth, client.top, client.right, client.top + viewHeight});
    place(m_horizontal, needHorizontal, m_contentWidth, viewWidth,
          {client.left, client.bottom - barHeight, client.left + viewWidth, client.bottom});
    ScrollTo(m_position.x, m_position.y);
}

void cScrollWnd::ScrollTo(std::int32_t x, std::int32_t y)
{
    const std::int32_t maxX = std::max(m_contentWidth - ViewLength(false), 0);
    const std::int32_t maxY = std::max(m_contentHeight - ViewLength(true), 0);
    const Container::sPoint wanted{std::clamp(x, 0, maxX), std::clamp(y, 0, maxY)};
    if (m_vertical.IsBound())
        SendMessageW(m_vertical.Handle(), SBM_SETPOS, static_cast<WPARAM>(wanted.y), TRUE);
    if (m_horizontal.IsBound())
        SendMessageW(m_horizontal.Handle(), SBM_SETPOS, static_cast<WPARAM>(wanted.x), TRUE);
    if (wanted == m_position)
        return;
    m_position = wanted;
    OnScrolled();
}

void cScrollWnd::BringIntoView(const Container::sRect& content)
{
    const Container::sRect view = GetContentRect();
    Container::sPoint target = m_position;
    if (content.top < m_position.y || content.Height() > view.Height())
        target.y = content.top;
    else if (content.bottom > m_position.y + view.Height())
        target.y = content.bottom - view.Height();
    if (m_contentWidth > 0)
    {
        if (content.left < m_position.x || content.Width() > view.Width())
            target.x = content.left;
        else if (content.right > m_position.x + view.Width())
            target.x = content.right - view.Width();
    }
    ScrollTo(target.x, target.y);
}

bool cScrollWnd::SmoothScrollStep()
{
    const std::int32_t targetX = m_horizontal.IsBound() ? m_horizontal.GetScrollState().pos : m_position.x;
    const std::int32_t targetY = m_vertical.IsBound() ? m_vertical.GetScrollState().pos : m_position.y;
    auto step = [](std::int32_t shown, std::int32_t target) {
        return std::abs(target - shown) > 2 ? shown + (target - shown) / 2 : target;
    };
    const Container::sPoint next{step(m_position.x, targetX), step(m_position.y, targetY)};
    if (next == m_position)
        return false;
    m_position = next;
    OnScrolled();
    return !(next.x == targetX && next.y == targetY);
}

void cScrollWnd::Scroll(bool vertical, std::int32_t code)
{
    cScrollBar& bar = vertical ? m_vertical : m_horizontal;
    const sScrollInfo& info = bar.GetScrollState();
    const std::int32_t current = vertical ? m_position.y : m_position.x;
    std::int32_t target = current;
    bool animate = false;
    switch (code)
    {
    case SB_LINEUP:
        target = current - m_lineStep;
        break;
    case SB_LINEDOWN:
        target = current + m_lineStep;
        break;
    case SB_PAGEUP:
        target = current - static_cast<std::int32_t>(info.page);
        animate = true;
        break;
    case SB_PAGEDOWN:
        target = current + static_cast<std::int32_t>(info.page);
        animate = true;
        break;
    case SB_THUMBTRACK:
        target = info.trackPos;
        break;
    case SB_THUMBPOSITION:
        target = info.trackPos;
        animate = true;
        break;
    case SB_TOP:
        target = info.min;
        animate = true;
        break;
    case SB_BOTTOM:
        target = MaxScrollPos(info);
        animate = true;
        break;
    default:
        return;
    }
    target = ClampScrollPos(info, target);
    if (animate && m_smooth && bar.IsBound())
    {
        SendMessageW(bar.Handle(), SBM_SETPOS, static_cast<WPARAM>(target), TRUE);
        SetTimer(Handle(), vertical ? kSmoothVerticalTimer : kSmoothHorizontalTimer, 15, nullptr);
        return;
    }
    if (vertical)
        ScrollTo(m_position.x, target);
    else
        ScrollTo(target, m_position.y);
}

void cScrollWnd::OnHScroll(std::int32_t code, std::int32_t position, cWindow* bar)
{
    Scroll(false, code);
}

void cScrollWnd::OnVScroll(std::int32_t code, std::int32_t position, cWindow* bar)
{
    Scroll(true, code);
}

bool cScrollWnd::OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y)
{
    const std::int32_t signedDelta = static_cast<std::int16_t>(delta);
    const std::int32_t lines = m_wheel.Add((keys & MK_SHIFT) ? signedDelta * 8 : signedDelta);
    if (lines == 0)
        return true;
    const bool horizontal = (GetKeyState(VK_MENU) < 0) || m_contentHeight <= ViewLength(true);
    if (horizontal)
        ScrollTo(m_position.x - lines * m_lineStep, m_position.y);
    else
        ScrollTo(m_position.x, m_position.y - lines * m_lineStep);
    return true;
}

bool cScrollWnd::OnTimer(UINT_PTR id, LPARAM lParam)
{
    if (id != kSmoothVerticalTimer && id != kSmoothHorizontalTimer)
        return cWindow::OnTimer(id, lParam);
    if (!SmoothScrollStep())
    {
        KillTimer(Handle(), kSmoothVerticalTimer);
        KillTimer(Handle(), kSmoothHorizontalTimer);
    }
    return true;
}

void cScrollWnd::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    cWindow::OnSize(type, cx, cy);
    UpdateBars();
}

void cScrollWnd::OnScrolled()
{
    Invalidate(false);
}

} // namespace Window
