#include "framework/window/HeaderWindow.h"

#include "framework/window/BufferedPaint.h"
#include "framework/window/skin/Skin.h"

namespace Window {

bool cHeaderWindow::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

bool cHeaderWindow::OnPaint()
{
    cBufferedPaint paint(Handle());
    if (paint.Ready())
        GetSkin()->DrawHeaderBackground(paint.Buffer(), paint.ClientRect());
    return true;
}

} // namespace Window
