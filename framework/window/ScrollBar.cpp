#include "framework/window/ScrollBar.h"

#include "framework/window/BufferedPaint.h"
#include "framework/window/skin/Skin.h"

namespace Window {

namespace {

using Part = Skin::cScrollBarLayout;

SCROLLINFO ToScrollInfo(const sScrollInfo& info)
{
    SCROLLINFO result{};
    result.cbSize = sizeof(SCROLLINFO);
    result.fMask = SIF_ALL;
    result.nMin = info.min;
    result.nMax = info.max;
    result.nPage = info.page;
    result.nPos = info.pos;
    result.nTrackPos = info.trackPos;
    return result;
}

static_assert(ScrollInfoRange == SIF_RANGE && ScrollInfoPage == SIF_PAGE && ScrollInfoPos == SIF_POS &&
              ScrollInfoTrackPos == SIF_TRACKPOS);

} // namespace

bool cScrollBar::IsVertical() const
{
    return (GetStyle() & SBS_VERT) != 0;
}

Skin::cScrollBarLayout cScrollBar::Layout() const
{
    const bool vertical = IsVertical();
    const bool dragging = m_pressed && m_part == Part::Thumb;
    return Skin::cScrollBarLayout(GetClientRect(), m_info, vertical, dragging,
                                  GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL),
                                  GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB));
}

std::int32_t cScrollBar::HitTest(std::int32_t x, std::int32_t y) const
{
    const DWORD style = GetStyle();
    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP))
        return Container::RectContains(GetClientRect(), {x, y}) ? Part::Bar : Part::None;
    return Layout().HitTest({x, y});
}

std::int32_t cScrollBar::PartAction(std::int32_t part) const
{
    switch (part)
    {
    case Part::FirstArrow:
        return SB_LINEUP;
    case Part::FirstPage:
        return SB_PAGEUP;
    case Part::SecondPage:
        return SB_PAGEDOWN;
    case Part::SecondArrow:
        return SB_LINEDOWN;
    case Part::Thumb:
        return SB_THUMBPOSITION;
    default:
        return -1;
    }
}

void cScrollBar::SendScroll(std::int32_t code, std::int32_t position)
{
    HWND self = Handle();
    HWND target = m_owner ? m_owner : GetParent(self);
    if (!target)
        return;
    SendMessageW(target, IsVertical() ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)), reinterpret_cast<LPARAM>(self));
}

void cScrollBar::SetPart(std::int32_t part)
{
    if (part == m_part)
        return;
    m_part = part;
    Invalidate(false);
}

void cScrollBar::Repaint()
{
    Invalidate(false);
    UpdateWindow(Handle());
}

LRESULT cScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SBM_SETPOS:
    {
        const std::int32_t old = SetScrollPos(m_info, static_cast<std::int32_t>(wParam));
        Invalidate(false);
        return old;
    }
    case SBM_GETPOS:
        return m_info.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    {
        const std::int32_t old = m_info.pos;
        if (SetScrollRange(m_info, static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam)) &&
            message == SBM_SETRANGEREDRAW)
            Invalidate(false);
        return old;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<LPINT>(wParam) = m_info.min;
        if (lParam)
            *reinterpret_cast<LPINT>(lParam) = m_info.max;
        return m_info.pos;
    case SBM_ENABLE_ARROWS:
        return 0;
    case SBM_SETSCROLLINFO:
    {
        const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (!info || info->cbSize < offsetof(SCROLLINFO, nTrackPos))
            return m_info.pos;
        const sScrollInfo before = m_info;
        sScrollInfo update;
        update.min = info->nMin;
        update.max = info->nMax;
        update.page = info->nPage;
        update.pos = info->nPos;
        const std::int32_t pos = ApplyScrollInfo(m_info, info->fMask, update);
        if (m_pressed && m_part == Part::Thumb)
            m_info.trackPos = before.trackPos;  // a drag in progress keeps its own track position
        if (wParam && !(before == m_info))
            Invalidate(false);
        return pos;
    }
    case SBM_GETSCROLLINFO:
    {
        auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
        if (!info)
            return FALSE;
        if (info->fMask & SIF_RANGE)
        {
            info->nMin = m_info.min;
            info->nMax = m_info.max;
        }
        if (info->fMask & SIF_PAGE)
            info->nPage = m_info.page;
        if (info->fMask & SIF_POS)
            info->nPos = m_info.pos;
        if ((info->fMask & SIF_TRACKPOS) && info->cbSize >= sizeof(SCROLLINFO))
            info->nTrackPos = m_info.trackPos;
        return (info->fMask & SIF_ALL) != 0;
    }
    case WM_CAPTURECHANGED:
        // Another window (a message box, a menu) took the mouse mid-press:
        // stop repeating and finish the scroll.
        if (m_pressed && reinterpret_cast<HWND>(lParam) != Handle())
            EndPress(false);
        return DefaultProc(message, wParam, lParam);
    default:
        return cWindow::WindowProc(message, wParam, lParam);
    }
}

void cScrollBar::OnAttach(DWORD style)
{
    cWindow::OnAttach(style);
    m_pressed = false;
    m_part = Part::None;
}

void cScrollBar::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    HWND self = Handle();
    if (m_focusParentOnPress)
        if (HWND parent = GetParent(self))
            SetFocus(parent);
    const std::int32_t part = HitTest(x, y);
    m_part = part;
    if (part == Part::None || part == Part::Bar)
        return;
    m_pressPoint = m_currentPoint = {x, y};
    if (part == Part::Thumb)
    {
        const Skin::cScrollBarLayout layout = Layout();
        m_dragOffset = {layout.ThumbRect().left - x, layout.ThumbRect().top - y};
        m_info.trackPos = m_info.pos;
        m_pressed = true;
        SetCapture(self);
        Repaint();
        return;
    }
    SendScroll(PartAction(part), 0);
    SetTimer(self, kRepeatDelayTimer, 500, nullptr);
    m_pressed = true;
    SetCapture(self);
    Invalidate(false);
}

void cScrollBar::EndPress(bool releaseCapture)
{
    HWND self = Handle();
    const bool wasThumb = m_part == Part::Thumb;
    m_pressed = false;
    if (releaseCapture && GetCapture() == self)
        ReleaseCapture();
    KillTimer(self, kRepeatDelayTimer);
    KillTimer(self, kRepeatTimer);
    if (wasThumb && releaseCapture)
        SendScroll(SB_THUMBPOSITION, m_info.trackPos);
    SendScroll(SB_ENDSCROLL, 0);
    m_part = Part::None;
    Invalidate(false);
}

void cScrollBar::OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!m_pressed || GetCapture() != Handle())
        return;
    EndPress(true);
}

void cScrollBar::OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!m_pressed)
    {
        SetPart(HitTest(x, y));
        if (!m_leaveTracking)
            m_leaveTracking = TrackMouseLeave();
        return;
    }
    m_currentPoint = {x, y};
    if (m_part != Part::Thumb)
        return;
    const Skin::cScrollBarLayout layout = Layout();
    const std::int32_t thumbStart = IsVertical() ? y + m_dragOffset.y : x + m_dragOffset.x;
    const std::int32_t pos = ThumbDragPosition(layout, m_info, IsVertical(), thumbStart);
    if (pos == m_info.trackPos)
        return;
    m_info.trackPos = m_info.pos = pos;
    Repaint();
    SendScroll(SB_THUMBTRACK, pos);
}

void cScrollBar::OnMouseLeave()
{
    m_leaveTracking = false;
    if (!m_pressed)
        SetPart(Part::None);
}

bool cScrollBar::OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y)
{
    const std::int32_t pos = ClampScrollPos(m_info, m_info.pos - static_cast<std::int16_t>(delta));
    if (pos != m_info.pos)
    {
        m_info.pos = m_info.trackPos = pos;
        Repaint();
        SendScroll(SB_THUMBPOSITION, pos);
    }
    return true;
}

bool cScrollBar::OnTimer(UINT_PTR id, LPARAM lParam)
{
    if (id != kRepeatDelayTimer && id != kRepeatTimer)
        return false;
    HWND self = Handle();
    if (id == kRepeatDelayTimer)
    {
        KillTimer(self, kRepeatDelayTimer);
        SetTimer(self, kRepeatTimer, 100, nullptr);
    }
    if (!m_pressed)
        return true;
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(self, &cursor);
    if (HitTest(cursor.x, cursor.y) == m_part && PartAction(m_part) >= 0 && m_part != Part::Thumb)
        SendScroll(PartAction(m_part), 0);
    return true;
}

bool cScrollBar::OnSetCursor(cWindow* window, std::int32_t hit, std::int32_t mouseMessage)
{
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return true;
}

bool cScrollBar::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

bool cScrollBar::OnPaint()
{
    const SCROLLINFO info = ToScrollInfo(m_info);
    cBufferedPaint paint(Handle());
    if (paint.Ready())
    {
        GDI::cPictureDC& dc = paint.Buffer();
        const Container::sRect& client = paint.ClientRect();
        GetSkin()->DrawScrollBarControl(dc, client, GetStyle(), info, m_pressed, m_part);
    }
    return true;
}

} // namespace Window
