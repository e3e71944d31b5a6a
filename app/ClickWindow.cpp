#include "app/ClickWindow.h"

#include "framework/gdi/PaintDC.h"

bool cMainToolWindow::cClickWindow::Create()
{
    if (Handle() != nullptr)
        return true;
    if (!cWindow::Create(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"", WS_POPUP, 0, 0, kSize, kSize,
                         m_toolWindow->Handle(), 0))
        return false;
    return SetLayeredWindowAttributes(Handle(), 0, 1, LWA_ALPHA) != FALSE;
}

void cMainToolWindow::cClickWindow::CentreOn(Container::sPoint point)
{
    if (Handle() == nullptr)
        return;
    const Container::sRect rect = GetWindowRect();
    SetWindowPos(Handle(), nullptr, point.x - rect.Width() / 2, point.y - rect.Height() / 2, 0, 0,
                 SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
}

bool cMainToolWindow::cClickWindow::OnPaint()
{
    GDI::cPaintDC dc(Handle());
    const Container::sRect c = GetClientRect();
    const RECT rect{c.left, c.top, c.right, c.bottom};
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    FillRect(dc.Handle(), &rect, yellow);
    DeleteObject(yellow);
    return true;
}

void cMainToolWindow::cClickWindow::OnLButtonDown(std::int32_t, std::int32_t, std::int32_t)
{
    m_toolWindow->CapturePicked();
}
