#pragma once

#include "framework/gdi/DC.h"

namespace GDI {

// The device context of a window's client area (GetDCEx), released with
// ReleaseDC on destruction.
class cClientDC : public cDC
{
public:
    explicit cClientDC(HWND window, HRGN clip = nullptr, DWORD flags = DCX_CACHE | DCX_CLIPSIBLINGS);
    ~cClientDC() override;

    HWND Window() const { return m_window; }

private:
    HWND m_window;
};

} // namespace GDI
