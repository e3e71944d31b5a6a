#include "framework/window/CommonControl.h"

namespace Window {

HFONT cCommonControl::GetFont()
{
    return reinterpret_cast<HFONT>(DefaultProc(WM_GETFONT, 0, 0));
}

void cCommonControl::SetFont(HFONT font, bool redraw)
{
    m_font = font;
    DefaultProc(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

} // namespace Window
