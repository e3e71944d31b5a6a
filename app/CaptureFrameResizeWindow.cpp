#include "app/CaptureFrameResizeWindow.h"

#include "framework/gdi/PaintDC.h"

bool cCaptureFrame::cResizeWindow::Create()
{
    if (!cWindow::Create(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED, u"", WS_POPUP, 0, 0, 1, 1,
                         m_frame->Handle(), 0))
        return false;
    return SetAlpha(kAlpha);
}

LPCWSTR cCaptureFrame::cResizeWindow::CursorOfZone(int zone)
{
    switch (zone) {
    case 0:
    case 4: return IDC_SIZEWE;
    case 1:
    case 5: return IDC_SIZENWSE;
    case 2:
    case 6: return IDC_SIZENS;
    case 3:
    case 7: return IDC_SIZENESW;
    default: return IDC_ARROW;
    }
}

bool cCaptureFrame::cResizeWindow::OnPaint()
{
    GDI::cPaintDC dc(Handle());
    const Container::sRect client = GetClientRect();
    const RECT rect{client.left, client.top, client.right, client.bottom};
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc.Handle(), &rect, brush);
    DeleteObject(brush);
    return true;
}

bool cCaptureFrame::cResizeWindow::OnSetCursor(Window::cWindow*, std::int32_t, std::int32_t)
{
    SetCursor(LoadCursorW(nullptr, CursorOfZone(m_index)));
    return true;
}

void cCaptureFrame::cResizeWindow::OnLButtonDown(std::int32_t, std::int32_t x, std::int32_t y)
{
    POINT point{x, y};
    ClientToScreen(Handle(), &point);
    m_frame->BeginCompanionDrag({point.x, point.y}, true);
}
