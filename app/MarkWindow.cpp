#include "app/MarkWindow.h"

#include "framework/gdi/PaintDC.h"

bool cMainToolWindow::cMarkWindow::Create(HWND owner)
{
    if (Handle() != nullptr)
        return true;
    if (!cWindow::Create(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, u"",
                         WS_POPUP, 0, 0, 0, 0, owner, 0))
        return false;
    return SetLayeredWindowAttributes(Handle(), kKeyColour, 0, LWA_COLORKEY) != FALSE;
}

void cMainToolWindow::cMarkWindow::ShowAt(const Container::sRect& rect)
{
    if (Handle() == nullptr)
        return;
    ShowNoActivate(true);
    SetBounds(rect.left, rect.top, rect.right, rect.bottom);
}

bool cMainToolWindow::cMarkWindow::OnPaint()
{
    GDI::cPaintDC dc(Handle());
    const Container::sRect c = GetClientRect();
    const int e = m_edge;
    HBRUSH key = CreateSolidBrush(kKeyColour);
    HBRUSH red = CreateSolidBrush(kOutlineColour);
    const RECT whole{c.left, c.top, c.right, c.bottom};
    FillRect(dc.Handle(), &whole, key);
    const RECT bars[4] = {{c.left, c.top, c.left + e, c.bottom},
                          {c.left, c.top, c.right, c.top + e},
                          {c.right - e, c.top, c.right, c.bottom},
                          {c.left, c.bottom - e, c.right, c.bottom}};
    for (const RECT& bar : bars)
        FillRect(dc.Handle(), &bar, red);
    DeleteObject(red);
    DeleteObject(key);
    return true;
}
