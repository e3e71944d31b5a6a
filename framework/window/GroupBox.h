#pragma once

#include "framework/window/CommonControl.h"

namespace Window {

// A group box: always a subclassed system "Button" of type BS_GROUPBOX,
// painted by the skin (frame and caption).
class cGroupBox : public cCommonControl
{
public:
    cGroupBox() = default;

    Container::cWideString GetClassName() const override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;
};

} // namespace Window
