#pragma once

#include <cstdint>

#include <windows.h>

#include "framework/core/WideString.h"

namespace GDI {

// What a piece of text needs to be measured and drawn.
class cTextStyle
{
public:
    enum : std::uint32_t
    {
        Bold = 1,
        Italic = 2,
        Underline = 4,
        StrikeOut = 8,
    };

    Container::cWideString text;
    Container::cWideString faceName = u"Arial";
    float size = 20.0f;             // em height in pixels
    float width = 20.0f;            // glyph x coordinates are scaled by width / size
    std::uint32_t colour = 0xFF000000u;
    std::uint32_t flags = 0;
    float spacingBefore = 0;        // percent of size, added before each character
    float spacingAfter = 0;         // percent of size, added after each character
    float baselineShift = 0;        // pixels, upwards
    float angle = 0;                // radians

    friend bool operator==(const cTextStyle& a, const cTextStyle& b);

    // Height -size, escapement the angle in tenths of a degree, weight 700
    // when bold, the face name cut to 31 characters. Sizes and angles that
    // are not finite or out of range are limited first.
    void ToLogFont(LOGFONTW& logFont) const;
    // Size |height|, width |width|, bold from weight 700, angle from the
    // escapement.
    void FromLogFont(const LOGFONTW& logFont);

    // The horizontal glyph scale, width / size (1 when that is not a
    // usable number).
    float HorizontalScale() const;
};

} // namespace GDI
