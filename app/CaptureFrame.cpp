#include "app/CaptureFrame.h"

#include "app/CaptureFrameCornerZoomWindow.h"
#include "app/CaptureFrameMoveWindow.h"
#include "app/CaptureFrameResizeWindow.h"
#include "app/MainToolWindow.h"
#include "app/MonitorList.h"
#include "app/QuillsnapperApp.h"
#include "app/capture/MagnifierLayout.h"
#include "framework/gdi/PaintDC.h"
#include "resources/ToolWindowResource.h"

using Container::sPoint;
using Container::sRect;

namespace {

RECT ToRECT(const sRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

sRect Shrink(const sRect& rect, int by)
{
    return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

} // namespace

cCaptureFrame::cCaptureFrame() = default;

cCaptureFrame::~cCaptureFrame() = default;

bool cCaptureFrame::Create(HINSTANCE)
{
    if (Handle() != nullptr)
        return true;
    if (!cDialog::Create(IDD_CAPTURE_FRAME, nullptr))
        return false;
    if (IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_HIDE);
    return true;
}

sRect cCaptureFrame::VirtualScreen()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool cCaptureFrame::OnInitDialog()
{
    cDialog::OnInitDialog();
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | WS_CLIPCHILDREN);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
    // The inside is painted in the key colour: see-through and click-through.
    SetLayeredWindowAttributes(Handle(), kKeyColour, 0, LWA_COLORKEY);
    m_resizing = false;
    m_magnifiersOn = false;
    CenterOnScreen();
    CreateCompanions();
    LayoutCompanions();
    PlaceMagnifiers();
    SetTimer(Handle(), kCompanionTimer, 100, nullptr);
    SetTimer(Handle(), kMagnifierTimer, 100, nullptr);
    SetTimer(Handle(), kIdleTimer, 500, nullptr);
    // The frame never takes the focus: keys belong to the tool window.
    return false;
}

void cCaptureFrame::CreateCompanions()
{
    for (int index = 0; index < cFrameGeometry::kZoneCount; ++index) {
        m_handles[index] = std::make_unique<cResizeWindow>(*this, index);
        m_handles[index]->Create();
    }
    m_moveArea = std::make_unique<cMoveWindow>(*this);
    m_moveArea->Create();
    for (int corner = 0; corner < cMagnifierLayout::kCornerCount; ++corner) {
        m_magnifiers[corner] = std::make_unique<cCornerZoomWindow>(*this, corner);
        m_magnifiers[corner]->Create();
    }
}

void cCaptureFrame::OnDestroy()
{
    EndDrag(true);
    if (m_moveArea)
        m_moveArea->Destroy();
    for (auto& magnifier : m_magnifiers)
        if (magnifier)
            magnifier->Destroy();
    for (auto& handle : m_handles)
        if (handle)
            handle->Destroy();
    KillTimer(Handle(), kCompanionTimer);
    KillTimer(Handle(), kMagnifierTimer);
    KillTimer(Handle(), kIdleTimer);
    cDialog::OnDestroy();
}

void cCaptureFrame::LayoutCompanions()
{
    const sRect window = GetWindowRect();
    for (auto& handle : m_handles)
        if (handle) {
            const sRect place = cFrameGeometry::HandleRect(window, Widths(), handle->Index());
            handle->SetBounds(place.left, place.top, place.right, place.bottom);
        }
    if (m_moveArea) {
        const sRect area = cFrameGeometry::MoveAreaRect(window, Widths());
        if (!area.IsEmpty())
            m_moveArea->SetBounds(area.left, area.top, area.right, area.bottom);
    }
}

void cCaptureFrame::ShowCompanions(bool moveArea, bool handles)
{
    if (m_moveArea)
        m_moveArea->ShowNoActivate(moveArea);
    for (auto& handle : m_handles)
        if (handle)
            handle->ShowNoActivate(handles);
}

void cCaptureFrame::ShowNoActivate()
{
    if (Handle() == nullptr)
        return;
    // A monitor may have gone, or the frame may stand where the virtual
    // screen has no monitor: then it comes back under the pointer.
    POINT cursor{};
    GetCursorPos(&cursor);
    const sRect window = GetWindowRect();
    const sRect placed = cFrameGeometry::PlaceForShow(window, cMonitorList::Enumerate(), {cursor.x, cursor.y});
    SetWindowPos(Handle(), HWND_TOPMOST, placed.left, placed.top, placed.Width(), placed.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    LayoutCompanions();
    m_refreshedRect = {};
    PlaceMagnifiers();
    SetMagnifiers(true);
    RefreshMagnifiers(true);
}

void cCaptureFrame::HideAll()
{
    EndDrag(true);
    ShowCompanions(false, false);
    if (Handle() != nullptr && IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_HIDE);
    SetMagnifiers(false);
    // The screen under the frame may change while it is away.
    m_refreshedRect = {};
}

sRect cCaptureFrame::FramedRect() const
{
    if (Handle() == nullptr)
        return {};
    return cFrameGeometry::InsideRect(GetWindowRect(), Widths());
}

void cCaptureFrame::MoveFrame(const sRect& windowRect)
{
    const sRect fitted = cFrameGeometry::FitIntoScreen(windowRect, VirtualScreen(), Widths());
    SetBounds(fitted.left, fitted.top, fitted.right, fitted.bottom);
    Invalidate(false);
}

void cCaptureFrame::OnMove(std::int32_t, std::int32_t)
{
    PlaceMagnifiers();
    SetMagnifiers(true);
    LayoutCompanions();
}

void cCaptureFrame::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    cDialog::OnSize(type, cx, cy);
    PlaceMagnifiers();
    SetMagnifiers(true);
    LayoutCompanions();
    Invalidate(false);
}

bool cCaptureFrame::OnEraseBackground(GDI::cDC&)
{
    // OnPaint covers every pixel.
    SetResult(1);
    return true;
}

bool cCaptureFrame::OnPaint()
{
    GDI::cPaintDC dc(Handle());
    const sRect client = GetClientRect();
    const RECT whole = ToRECT(client);
    const RECT inside = ToRECT(Shrink(client, kBorderWidth));
    HBRUSH border = CreateSolidBrush(kBorderColour);
    HBRUSH key = CreateSolidBrush(kKeyColour);
    FillRect(dc.Handle(), &whole, border);
    if (inside.right > inside.left && inside.bottom > inside.top)
        FillRect(dc.Handle(), &inside, key);
    DeleteObject(key);
    DeleteObject(border);
    return true;
}

bool cCaptureFrame::PreTranslateMessage(MSG* message)
{
    if (Handle() == nullptr)
        return false;
    // Function keys and keys with Ctrl or Alt are not the dialog's.
    if (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) {
        if (message->wParam >= VK_F1 && message->wParam <= VK_F24)
            return false;
        if ((GetKeyState(VK_CONTROL) & 0x8000) != 0 || (GetKeyState(VK_MENU) & 0x8000) != 0)
            return false;
    }
    return IsDialogMessageW(Handle(), message) != FALSE;
}

// ---- Drags -----------------------------------------------------------------------

void cCaptureFrame::StartDrag(sPoint clientPoint, int zone)
{
    SetCapture(Handle());
    m_dragging = true;
    m_dragStart = m_dragLast = clientPoint;
    m_moved = false;
    m_resizing = zone != cFrameGeometry::kNoZone;
    m_zone = zone;
}

void cCaptureFrame::BeginCompanionDrag(sPoint screenPoint, bool onHandle)
{
    POINT point{screenPoint.x, screenPoint.y};
    ScreenToClient(Handle(), &point);
    int zone = cFrameGeometry::kNoZone;
    if (onHandle)
        zone = cFrameGeometry::HitTest(Shrink(GetClientRect(), kBorderWidth), kEdgeWidth, {point.x, point.y});
    StartDrag({point.x, point.y}, zone);
    ShowCompanions(false, false);
    PlaceMagnifiers();
    RefreshMagnifiers(false);
    SetMagnifiers(true);
}

void cCaptureFrame::OnLButtonDown(std::int32_t, std::int32_t x, std::int32_t y)
{
    // Only the painted border reaches here: the inside lets clicks through.
    StartDrag({x, y}, cFrameGeometry::HitTest(GetClientRect(), kEdgeWidth, {x, y}));
}

void cCaptureFrame::OnMouseMove(std::int32_t, std::int32_t x, std::int32_t y)
{
    if (!m_dragging || GetCapture() != Handle())
        return;
    const sRect window = GetWindowRect();
    sRect wanted;
    if (m_resizing) {
        wanted = cFrameGeometry::ResizeByDrag(window, m_zone, {x, y}, Widths());
    } else {
        const int dx = x - m_dragStart.x, dy = y - m_dragStart.y;
        wanted = {window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
    }
    m_dragLast = {x, y};
    if (wanted != window)
        m_moved = true;
    MoveFrame(wanted);
}

void cCaptureFrame::OnLButtonUp(std::int32_t, std::int32_t x, std::int32_t y)
{
    if (!m_dragging)
        return;
    m_dragLast = {x, y};
    EndDrag(true);
}

void cCaptureFrame::EndDrag(bool releaseCapture)
{
    const bool wasDragging = m_dragging;
    m_dragging = false;
    m_resizing = false;
    m_zone = cFrameGeometry::kNoZone;
    if (releaseCapture && Handle() != nullptr && GetCapture() == Handle())
        ReleaseCapture();
    if (wasDragging)
        FocusToolWindow();
}

LRESULT cCaptureFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CAPTURECHANGED:
        // Alt+Tab or another program took the mouse: the drag is over.
        if (m_dragging && reinterpret_cast<HWND>(lParam) != Handle())
            EndDrag(false);
        return TRUE;
    case WM_MOUSEACTIVATE:
        // A press on the border starts a drag without taking the activation
        // (and the keys) from the tool window; an activation change in the
        // middle of the press could also take the mouse capture away.
        SetResult(MA_NOACTIVATE);
        return TRUE;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT) {
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(Handle(), &cursor);
            const int zone = cFrameGeometry::HitTest(GetClientRect(), kBorderWidth, {cursor.x, cursor.y});
            SetCursor(LoadCursorW(nullptr, zone == cFrameGeometry::kNoZone ? IDC_ARROW
                                                                            : cResizeWindow::CursorOfZone(zone)));
            SetResult(TRUE);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return cDialog::WindowProc(message, wParam, lParam);
}

// ---- Timers ----------------------------------------------------------------------

bool cCaptureFrame::OnTimer(UINT_PTR id, LPARAM lParam)
{
    switch (id) {
    case kCompanionTimer:
        UpdateCompanionVisibility();
        return true;
    case kMagnifierTimer:
        if (IsVisible())
            RefreshMagnifiers(false);
        return true;
    case kIdleTimer:
        return true;
    default:
        return cDialog::OnTimer(id, lParam);
    }
}

void cCaptureFrame::UpdateCompanionVisibility()
{
    if (!IsVisible() || m_dragging || IsBusy())
        return;
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        return;
    const sRect window = GetWindowRect();
    const sPoint point{cursor.x, cursor.y};
    ShowCompanions(Container::RectContains(Shrink(window, kBorderWidth + kEdgeWidth), point),
                   Container::RectContains(Shrink(window, kBorderWidth), point));
    FocusToolWindow();
}

void cCaptureFrame::FocusToolWindow()
{
    if (m_toolWindow == nullptr || m_toolWindow->Handle() == nullptr)
        return;
    // Only within the program: the focus is never taken from another one.
    HWND active = GetActiveWindow();
    if (active == nullptr || GetFocus() == m_toolWindow->Handle())
        return;
    if (active == Handle() || active == m_toolWindow->Handle())
        SetFocus(m_toolWindow->Handle());
}

bool cCaptureFrame::ZoomAssistance() const
{
    const cQuillsnapperApp* app = cQuillsnapperApp::Get();
    return app != nullptr && const_cast<cQuillsnapperApp*>(app)->Settings().CheckedAssistance;
}

bool cCaptureFrame::IsBusy() const
{
    return m_toolWindow != nullptr && m_toolWindow->IsBusy();
}

// ---- Magnifiers ------------------------------------------------------------------

void cCaptureFrame::SetMagnifiers(bool on)
{
    if (on == m_magnifiersOn)
        return;
    m_magnifiersOn = on;
    const bool show = on && ZoomAssistance() && IsVisible();
    const sRect window = GetWindowRect();
    const sRect screen = VirtualScreen();
    for (auto& magnifier : m_magnifiers) {
        if (!magnifier)
            continue;
        sRect placed;
        // The same rule as placement: no room on either axis, no magnifier.
        const bool room = cMagnifierLayout::Place(magnifier->Corner(), window, screen, kMagnifierSize, placed);
        magnifier->ShowNoActivate(show && room);
    }
}

void cCaptureFrame::PlaceMagnifiers()
{
    if (!IsVisible() || !ZoomAssistance()) {
        SetMagnifiers(false);
        return;
    }
    const sRect window = GetWindowRect();
    const sRect screen = VirtualScreen();
    for (auto& magnifier : m_magnifiers) {
        if (!magnifier)
            continue;
        sRect placed;
        if (!cMagnifierLayout::Place(magnifier->Corner(), window, screen, kMagnifierSize, placed)) {
            magnifier->ShowNoActivate(false);
            continue;
        }
        magnifier->SetBounds(placed.left, placed.top, placed.right, placed.bottom);
        if (m_magnifiersOn)
            magnifier->ShowNoActivate(true);
    }
}

void cCaptureFrame::RefreshMagnifiers(bool force)
{
    if (!ZoomAssistance())
        return;
    const sRect window = GetWindowRect();
    if (!force && window == m_refreshedRect)
        return;
    m_refreshedRect = window;
    for (auto& magnifier : m_magnifiers)
        if (magnifier)
            magnifier->Refresh();
}
