#include "framework/gdi/PaintDC.h"

namespace GDI {

cPaintDC::cPaintDC(HWND window) : m_window(window)
{
    m_owns = false;
    m_dc = BeginPaint(window, &m_paint);
}

cPaintDC::~cPaintDC()
{
    if (m_dc)
        EndPaint(m_window, &m_paint);
    m_dc = nullptr;
}

} // namespace GDI
