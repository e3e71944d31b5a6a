#include "framework/gdi/Font.h"

namespace GDI {

bool cFont::Create(const LOGFONTW& logFont)
{
    HFONT font = CreateFontIndirectW(&logFont);
    if (!font)
        return false;
    Reset(font);
    return true;
}

} // namespace GDI
