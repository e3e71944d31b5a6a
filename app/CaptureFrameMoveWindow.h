#pragma once

#include "app/CaptureFrame.h"
#include "framework/window/Window.h"

// The move area: a translucent pop-up over the inside of the frame that
// catches a left press for a move while the pointer is inside.
class cCaptureFrame::cMoveWindow : public Window::cWindow
{
public:
    static constexpr int kAlpha = 100;
    static constexpr COLORREF kColour = RGB(40, 180, 255);

    explicit cMoveWindow(cCaptureFrame& frame) : m_frame(&frame) {}

    // A hidden 1 x 1 pop-up owned by the frame.
    bool Create();

    Container::cWideString GetClassName() const override { return u"MoveWindow"; }
    bool OnEraseBackground(GDI::cDC& dc) override { return true; }
    bool OnPaint() override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;

private:
    cCaptureFrame* m_frame;
};
