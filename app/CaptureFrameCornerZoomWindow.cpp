#include "app/CaptureFrameCornerZoomWindow.h"

#include "app/capture/MagnifierLayout.h"
#include "framework/gdi/GrabScreen.h"
#include "framework/gdi/PaintDC.h"
#include "framework/gdi/PictureDC.h"

cCaptureFrame::cCornerZoomWindow::~cCornerZoomWindow() = default;

bool cCaptureFrame::cCornerZoomWindow::Create()
{
    return cWindow::Create(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, u"", WS_POPUP, 0, 0, 1, 1, m_frame->Handle(), 0);
}

bool cCaptureFrame::cCornerZoomWindow::Refresh()
{
    const Container::sRect square = cMagnifierLayout::SourceSquare(
        m_corner, cFrameGeometry::InsideRect(m_frame->GetWindowRect(), {kEdgeWidth, kEdgeWidth}));
    Painter::cPicture grabbed;
    if (!GDI::GrabScreen(square, grabbed))
        return false;
    m_square = std::move(grabbed);
    Invalidate(false);
    return true;
}

bool cCaptureFrame::cCornerZoomWindow::OnPaint()
{
    GDI::cPaintDC dc(Handle());
    const Container::sRect client = GetClientRect();
    GDI::cPictureDC buffer;
    if (client.IsEmpty() || !buffer.Create(client.Width(), client.Height()))
        return true;
    cMagnifierLayout::Render(m_square, buffer.Picture());
    GdiFlush();
    BitBlt(dc.Handle(), 0, 0, client.Width(), client.Height(), buffer.Handle(), 0, 0, SRCCOPY);
    return true;
}
