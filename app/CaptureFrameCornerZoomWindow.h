#pragma once

#include "app/CaptureFrame.h"
#include "framework/painter/Picture.h"
#include "framework/window/Window.h"

// A corner magnifier: an 80 x 80 pop-up owned by the frame that shows the
// 25 x 25 pixels just inside one corner of the frame enlarged to 74 x 74,
// inside a 3-pixel red border.
class cCaptureFrame::cCornerZoomWindow : public Window::cWindow
{
public:
    cCornerZoomWindow(cCaptureFrame& frame, int corner) : m_frame(&frame), m_corner(corner) {}
    ~cCornerZoomWindow() override;

    // A hidden 1 x 1 pop-up owned by the frame.
    bool Create();
    int Corner() const { return m_corner; }
    // Grabs the square of this corner from the screen and repaints.
    bool Refresh();
    const Painter::cPicture& Square() const { return m_square; }

    Container::cWideString GetClassName() const override { return u"CornerWindow"; }
    bool OnEraseBackground(GDI::cDC& dc) override { return true; }
    bool OnPaint() override;

private:
    cCaptureFrame* m_frame;
    int m_corner;
    Painter::cPicture m_square;
};
