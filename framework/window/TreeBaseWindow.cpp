#include "framework/window/TreeBaseWindow.h"

#include "framework/window/BufferedPaint.h"
#include "framework/window/skin/Skin.h"

namespace Window {

bool cTreeBaseWindow::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

bool cTreeBaseWindow::OnPaint()
{
    cBufferedPaint paint(Handle());
    if (paint.Ready())
        GetSkin()->DrawTreeBackground(paint.Buffer(), paint.ClientRect());
    return true;
}

} // namespace Window
