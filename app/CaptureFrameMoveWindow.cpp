#include "app/CaptureFrameMoveWindow.h"

#include "framework/gdi/PaintDC.h"

bool cCaptureFrame::cMoveWindow::Create()
{
    if (!cWindow::Create(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED, u"", WS_POPUP, 0, 0, 1, 1,
                         m_frame->Handle(), 0))
        return false;
    return SetAlpha(kAlpha);
}

bool cCaptureFrame::cMoveWindow::OnPaint()
{
    GDI::cPaintDC dc(Handle());
    const Container::sRect client = GetClientRect();
    const RECT rect{client.left, client.top, client.right, client.bottom};
    HBRUSH brush = CreateSolidBrush(kColour);
    FillRect(dc.Handle(), &rect, brush);
    DeleteObject(brush);
    return true;
}

void cCaptureFrame::cMoveWindow::OnLButtonDown(std::int32_t, std::int32_t x, std::int32_t y)
{
    POINT point{x, y};
    ClientToScreen(Handle(), &point);
    m_frame->BeginCompanionDrag({point.x, point.y}, false);
}
