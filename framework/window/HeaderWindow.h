#pragma once

#include "framework/window/Window.h"

namespace Window {

// The column header of a list, painted by the skin's header painters.
class cHeaderWindow : public cWindow
{
public:
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;
};

} // namespace Window
