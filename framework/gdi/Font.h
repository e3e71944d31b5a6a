#pragma once

#include "framework/gdi/GdiObject.h"

namespace GDI {

// An owned font handle.
class cFont : public cGdiObject
{
public:
    cFont() = default;
    explicit cFont(HFONT font) : cGdiObject(font) {}

    // False (the font unchanged) when the font cannot be created.
    bool Create(const LOGFONTW& logFont);
    HFONT Handle() const { return static_cast<HFONT>(Object()); }
};

} // namespace GDI
