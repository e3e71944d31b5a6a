#pragma once
// Window::cFramePainter: the skinned non-client area of toolkit windows
// (client, window, modal and static edges, and the scroll bars drawn by the
// skin). Windows with a caption, a border, a dialog frame, the popup style
// or WS_EX_APPWINDOW keep the system's frame.
#include <windows.h>

namespace Window {

class cWindow;

class cFramePainter
{
public:
    // True when the window's frame is painted by the system.
    static bool IsSystemFrame(HWND window);
    // Paints the frame of a WM_NCPAINT (region: its wParam, 1 = all). False,
    // with nothing drawn, for a system frame or when no window DC is had.
    static bool Paint(cWindow& window, HRGN region);
};

} // namespace Window
