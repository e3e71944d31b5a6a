#pragma once

#include "framework/gdi/DC.h"

namespace GDI {

// The device context of a WM_PAINT (BeginPaint), ended with EndPaint on
// destruction.
class cPaintDC : public cDC
{
public:
    explicit cPaintDC(HWND window);
    ~cPaintDC() override;

    HWND Window() const { return m_window; }
    const PAINTSTRUCT& PaintStruct() const { return m_paint; }
    Container::sRect PaintRect() const
    {
        return Container::sRect(m_paint.rcPaint.left, m_paint.rcPaint.top, m_paint.rcPaint.right, m_paint.rcPaint.bottom);
    }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

} // namespace GDI
