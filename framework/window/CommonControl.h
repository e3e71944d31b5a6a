#pragma once

#include <windows.h>

#include "framework/window/Window.h"

namespace Window {

// The base of toolkit objects that wrap a system control ("Edit", "Button",
// "tooltips_class32"): messages it passes on reach the control's own
// procedure, and the font lives in the control.
class cCommonControl : public cWindow
{
public:
    cCommonControl() = default;

    // WM_GETFONT of the control itself.
    HFONT GetFont() override;
    // Stores the font and hands it to the control.
    void SetFont(HFONT font, bool redraw) override;
};

} // namespace Window
