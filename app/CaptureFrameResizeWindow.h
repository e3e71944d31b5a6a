#pragma once

#include "app/CaptureFrame.h"
#include "framework/window/Window.h"

// One of the eight translucent resize handles on the ring just inside the
// frame's border; its index is its zone (0 left, then clockwise from the
// top-left corner to 7 bottom-left).
class cCaptureFrame::cResizeWindow : public Window::cWindow
{
public:
    static constexpr int kAlpha = 128;

    cResizeWindow(cCaptureFrame& frame, int index) : m_frame(&frame), m_index(index) {}

    // A hidden pop-up owned by the frame.
    bool Create();
    int Index() const { return m_index; }
    // The pointer shape of a zone (IDC_SIZEWE and the others).
    static LPCWSTR CursorOfZone(int zone);

    Container::cWideString GetClassName() const override { return u"ResizeWindow"; }
    bool OnEraseBackground(GDI::cDC& dc) override { return true; }
    bool OnPaint() override;
    bool OnSetCursor(Window::cWindow* window, std::int32_t hit, std::int32_t mouseMessage) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;

private:
    cCaptureFrame* m_frame;
    int m_index;
};
