#include "framework/gdi/ClientDC.h"

namespace GDI {

cClientDC::cClientDC(HWND window, HRGN clip, DWORD flags) : cDC(GetDCEx(window, clip, flags), false), m_window(window)
{
}

cClientDC::~cClientDC()
{
    if (m_dc)
        ReleaseDC(m_window, m_dc);
    m_dc = nullptr;
}

} // namespace GDI
