#include "framework/window/BufferedPaint.h"

namespace Window {

cBufferedPaint::cBufferedPaint(HWND window) : m_paint(window)
{
    RECT r{};
    GetClientRect(window, &r);
    m_client = {0, 0, r.right - r.left, r.bottom - r.top};
    m_ready = !m_paint.IsNull() && !m_client.IsEmpty() && m_buffer.Create(m_client.Width(), m_client.Height());
    if (m_ready)
        SelectObject(m_buffer.Handle(), GetStockObject(DEFAULT_GUI_FONT));
}

cBufferedPaint::~cBufferedPaint()
{
    if (m_ready)
        BitBlt(m_paint.Handle(), 0, 0, m_client.Width(), m_client.Height(), m_buffer.Handle(), 0, 0, SRCCOPY);
}

} // namespace Window
