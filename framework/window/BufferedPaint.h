#pragma once
// Window::cBufferedPaint: the painting convention of self-painted controls
// in one object. Constructed in OnPaint, it begins painting and makes an
// off-screen buffer of the client size; the control lets the skin draw the
// whole client area into Buffer(); the destructor copies the buffer to the
// window with one BitBlt and ends painting. When the buffer cannot be made
// nothing is drawn, and painting still ends.
#include <windows.h>

#include "framework/core/Geometry.h"
#include "framework/gdi/PaintDC.h"
#include "framework/gdi/PictureDC.h"

namespace Window {

class cBufferedPaint
{
public:
    explicit cBufferedPaint(HWND window);
    ~cBufferedPaint();
    cBufferedPaint(const cBufferedPaint&) = delete;
    cBufferedPaint& operator=(const cBufferedPaint&) = delete;

    // False when there is nothing to draw into (an empty client area or no
    // memory for the buffer).
    bool Ready() const { return m_ready; }
    GDI::cPictureDC& Buffer() { return m_buffer; }
    // (0, 0, client width, client height)
    const Container::sRect& ClientRect() const { return m_client; }
    GDI::cPaintDC& PaintDC() { return m_paint; }

private:
    GDI::cPaintDC m_paint;
    GDI::cPictureDC m_buffer;
    Container::sRect m_client;
    bool m_ready = false;
};

} // namespace Window
