// The tool window's capture modes: moving the frame by key, window picking
// and drag-select.
#include "app/MainToolWindow.h"

#include "app/CaptureFrame.h"
#include "app/ClickWindow.h"
#include "app/MarkWindow.h"
#include "app/MonitorList.h"
#include "app/NormalCaptureWindow.h"
#include "app/capture/FrameGeometry.h"
#include "framework/gdi/GrabScreen.h"

void cMainToolWindow::CreateCaptureModeWindows()
{
    if (!m_markWindow) {
        m_markWindow = std::make_unique<cMarkWindow>(5);
        m_markWindow->Create(Handle());
    }
    if (!m_clickWindow) {
        m_clickWindow = std::make_unique<cClickWindow>(*this);
        m_clickWindow->Create();
    }
    if (!m_dragSelect) {
        m_dragSelect = std::make_unique<cNormalCaptureWindow>(*this);
        m_dragSelect->Create();
    }
}

void cMainToolWindow::DestroyCaptureModeWindows()
{
    if (m_clickWindow)
        m_clickWindow->Destroy();
    if (m_markWindow)
        m_markWindow->Destroy();
    if (m_dragSelect)
        m_dragSelect->Destroy();
}

void cMainToolWindow::HideCaptureModeWindows(bool overlay)
{
    if (m_clickWindow)
        m_clickWindow->ShowNoActivate(false);
    if (m_markWindow)
        m_markWindow->ShowNoActivate(false);
    if (overlay && m_dragSelect && m_dragSelect->IsVisible())
        m_dragSelect->Withdraw();
}

void cMainToolWindow::FocusAndRepaint()
{
    HWND active = GetActiveWindow();
    if (active != nullptr && GetFocus() != Handle())
        SetFocus(Handle());
    InvalidateRect(Handle(), nullptr, TRUE);
}

void cMainToolWindow::MoveFrameByKey(UINT key)
{
    if (m_frame == nullptr || !m_frame->IsVisible())
        return;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    SetStatus(ctrl ? IDS_MSG_TRY_ENTER : shift ? IDS_MSG_TRY_CTRL_KEY : IDS_MSG_TRY_SHIFT_KEY);
    cFrameGeometry::eArrow arrow;
    switch (key) {
    case VK_LEFT: arrow = cFrameGeometry::eArrow::left; break;
    case VK_UP: arrow = cFrameGeometry::eArrow::up; break;
    case VK_RIGHT: arrow = cFrameGeometry::eArrow::right; break;
    case VK_DOWN: arrow = cFrameGeometry::eArrow::down; break;
    default: return;
    }
    m_frame->MoveFrame(
        cFrameGeometry::MoveByKey(m_frame->GetWindowRect(), arrow, shift, ctrl, cCaptureFrame::Widths()));
}

void cMainToolWindow::StartWindowPick()
{
    if (m_busy)
        return;
    m_pickedWindow = nullptr;
    HideForCapture();
    if (m_clickWindow) {
        m_clickWindow->ShowNoActivate(true);
        SetFocus(m_clickWindow->Handle());
    }
    SetTimer(Handle(), kPickTimer, 100, nullptr);
    SetStatus(IDS_MSG_TRY_ENTER);
}

void cMainToolWindow::PickStep()
{
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        return;
    // The deepest visible window there: a control as well as a top-level.
    HWND window = WindowFromPoint(cursor);
    const HWND mark = m_markWindow ? m_markWindow->Handle() : nullptr;
    const HWND catcher = m_clickWindow ? m_clickWindow->Handle() : nullptr;
    RECT rect{};
    if (window != nullptr && window != mark && window != catcher && ::GetWindowRect(window, &rect)) {
        m_pickedWindow = window;
        if (m_markWindow)
            m_markWindow->ShowAt({rect.left, rect.top, rect.right, rect.bottom});
    }
    if (m_clickWindow)
        m_clickWindow->CentreOn({cursor.x, cursor.y});
}

void cMainToolWindow::CapturePicked()
{
    KillTimer(Handle(), kPickTimer);
    if (m_pickedWindow == nullptr || !m_markWindow || !m_markWindow->IsVisible()) {
        RestoreIdle();
        return;
    }
    CaptureRects({m_markWindow->GetWindowRect()});
}

void cMainToolWindow::OnCaptureModeKey(bool enter)
{
    // Drag-select gives Enter no meaning of its own: both keys end it.
    if (m_dragSelect && m_dragSelect->IsVisible()) {
        m_dragSelect->EndDragSelect();
        return;
    }
    if (enter) {
        CapturePicked();
        return;
    }
    KillTimer(Handle(), kPickTimer);
    m_pickedWindow = nullptr;
    RestoreIdle();
}

void cMainToolWindow::StartDragSelect()
{
    if (m_busy || !m_dragSelect)
        return;
    const std::vector<Container::sRect> monitors = m_monitors ? m_monitors() : cMonitorList::Enumerate();
    POINT cursor{};
    const bool pointer = GetCursorPos(&cursor) != FALSE;
    m_busy = true;
    HideForCapture();
    Painter::cPicture frozen;
    Container::sRect monitor;
    bool grabbed = false;
    if (pointer)
        for (const Container::sRect& candidate : monitors)
            if (Container::RectContains(candidate, {cursor.x, cursor.y})) {
                monitor = candidate;
                grabbed = GDI::GrabScreen(candidate, frozen);
                break;
            }
    m_busy = false;
    if (!grabbed || !m_dragSelect->Begin(frozen, monitor))
        RestoreIdle();
}
