#include "app/NormalCaptureWindow.h"

#include "app/capture/DragSelection.h"
#include "framework/gdi/PaintDC.h"

using Container::sPoint;
using Container::sRect;

cMainToolWindow::cNormalCaptureWindow::~cNormalCaptureWindow() = default;

bool cMainToolWindow::cNormalCaptureWindow::Create()
{
    if (Handle() != nullptr)
        return true;
    return cWindow::Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 300,
                           m_toolWindow->Handle(), 0);
}

std::int32_t cMainToolWindow::cNormalCaptureWindow::OnCreate(CREATESTRUCTW* create)
{
    m_band.Create(Handle());
    return cWindow::OnCreate(create);
}

bool cMainToolWindow::cNormalCaptureWindow::Begin(const Painter::cPicture& frozen, const sRect& monitor)
{
    if (Handle() == nullptr || frozen.IsEmpty())
        return false;
    if (m_source.Width() != frozen.Width() || m_source.Height() != frozen.Height() ||
        m_source.Format() != Painter::FORMAT_ARGB32) {
        if (!m_source.Create(Painter::FORMAT_ARGB32, frozen.Width(), frozen.Height()))
            return false;
    }
    m_source.ResetClip();
    m_source.CopyPixels(frozen);
    m_dragging = false;
    // A changed size remakes the shown copy in OnSize; the same size does
    // not, so it is remade here either way.
    SetBounds(monitor.left, monitor.top, monitor.right, monitor.bottom);
    const sRect client = GetClientRect();
    RemakeDisplay(client.Width(), client.Height());
    ShowNoActivate(true);
    SetFocus(Handle());
    Invalidate(false);
    return true;
}

void cMainToolWindow::cNormalCaptureWindow::RemakeDisplay(std::int32_t width, std::int32_t height)
{
    if (width <= 0 || height <= 0)
        return;
    cDragSelection::Fade(m_source, width, height, m_display);
}

void cMainToolWindow::cNormalCaptureWindow::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    if (cx != m_display.Width() || cy != m_display.Height())
        RemakeDisplay(cx, cy);
    cWindow::OnSize(type, cx, cy);
}

bool cMainToolWindow::cNormalCaptureWindow::OnPaint()
{
    GDI::cPaintDC dc(Handle());
    if (!m_display.IsEmpty())
        dc.DrawPicture(0, 0, m_display, m_display.Bounds());
    return true;
}

void cMainToolWindow::cNormalCaptureWindow::OnLButtonDown(std::int32_t, std::int32_t x, std::int32_t y)
{
    SetCapture(Handle());
    m_dragging = true;
    m_press = m_current = {x, y};
    m_moved = false;
}

void cMainToolWindow::cNormalCaptureWindow::OnMouseMove(std::int32_t, std::int32_t x, std::int32_t y)
{
    if (!m_dragging || GetCapture() != Handle())
        return;
    m_current = {x, y};
    m_moved = true;
    const sRect origin = GetWindowRect();
    const sRect span = cDragSelection::Span(m_press, m_current);
    m_band.ShowAt({span.left + origin.left, span.top + origin.top, span.right + origin.left,
                   span.bottom + origin.top});
}

void cMainToolWindow::cNormalCaptureWindow::OnLButtonUp(std::int32_t, std::int32_t x, std::int32_t y)
{
    const bool wasDragging = m_dragging;
    // Cleared first: releasing the capture must not look like losing it.
    m_dragging = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
    if (!wasDragging)
        return;
    m_current = {x, y};
    HideOverlay();
    // The release may lie off the overlay (on another monitor): only the
    // part on the frozen picture counts.
    Painter::cPicture result;
    const bool cut = cDragSelection::Cut(m_source, cDragSelection::Span(m_press, m_current), result);
    m_toolWindow->RestoreIdle();
    if (cut) {
        m_result = std::move(result);
        std::vector<Painter::cPicture> pictures;
        pictures.push_back(m_result);
        m_toolWindow->ProcessCaptures(pictures);
    }
    m_toolWindow->FocusAndRepaint();
}

LRESULT cMainToolWindow::cNormalCaptureWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAPTURECHANGED && m_dragging && reinterpret_cast<HWND>(lParam) != Handle()) {
        // The mouse went elsewhere mid-drag: the release will capture nothing.
        m_dragging = false;
        m_band.ShowNoActivate(false);
        return 0;
    }
    return cWindow::WindowProc(message, wParam, lParam);
}

void cMainToolWindow::cNormalCaptureWindow::HideOverlay()
{
    m_band.ShowNoActivate(false);
    ShowNoActivate(false);
}

void cMainToolWindow::cNormalCaptureWindow::Withdraw()
{
    m_dragging = false;
    if (GetCapture() == Handle())
        ReleaseCapture();
    HideOverlay();
}

void cMainToolWindow::cNormalCaptureWindow::EndDragSelect()
{
    Withdraw();
    m_toolWindow->RestoreIdle();
    m_toolWindow->FocusAndRepaint();
}
