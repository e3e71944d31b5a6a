#pragma once

#include "framework/window/ScrollWnd.h"

namespace Window {

// The scrolling base of tree windows: it draws the tree background through
// the skin. No dialog of this program shows a tree.
class cTreeBaseWindow : public cScrollWnd
{
public:
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;
};

} // namespace Window
