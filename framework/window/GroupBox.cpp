#include "framework/window/GroupBox.h"

#include "framework/window/BufferedPaint.h"
#include "framework/window/skin/Skin.h"

namespace Window {

Container::cWideString cGroupBox::GetClassName() const
{
    return u"Button";
}

bool cGroupBox::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

bool cGroupBox::OnPaint()
{
    Container::cWideString text;
    GetText(text);
    HFONT font = GetFont();
    if (!font)
        font = GetSkin()->Font(Skin::cSkin::FontNormal);
    cBufferedPaint paint(Handle());
    if (paint.Ready())
    {
        GDI::cPictureDC& dc = paint.Buffer();
        const Container::sRect& client = paint.ClientRect();
        GetSkin()->DrawGroupBox(dc, client, GetStyle(), text.View(), font);
    }
    return true;
}

} // namespace Window
