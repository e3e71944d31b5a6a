#pragma once
// The geometry rules of the skin painters, kept apart from the drawing so
// that they are portable: where a check box puts its mark, how large a
// button glyph is, the outline of every glyph, where a group box puts its
// frame and caption, how an image and a caption share a button.
#include <cstdint>
#include <vector>

#include "framework/core/Geometry.h"

namespace Skin {

// Glyph numbers of the skins.
enum eGlyph : std::int32_t
{
    GlyphNone = -1,
    GlyphArrowUp = 0,
    GlyphArrowDown = 1,
    GlyphArrowLeft = 2,
    GlyphArrowRight = 3,
    GlyphSizeGrip = 4,
    GlyphCheck = 5,
    GlyphCross = 6,   // drawn from a symbol font, not as polygons
    GlyphPlus = 7,
    GlyphPin = 8,
};

using cGlyphPolygon = std::vector<Container::sPoint>;

// The polygons of a glyph in rect (pixel corners; filled with the non-zero
// rule). Empty for GlyphCross, for numbers outside 0..8, and for an empty
// rectangle.
std::vector<cGlyphPolygon> GlyphPolygons(std::int32_t glyph, const Container::sRect& rect);

// The square of side min(width, height) * 8 / 10 centred in rect, where a
// button draws its glyph.
Container::sRect ButtonGlyphRect(const Container::sRect& rect);

// The mark box of a check box or radio button: a square of side
// min(height, lineHeight - 3), limited by the width as well, at the left
// edge, centred vertically.
Container::sRect CheckMarkBox(const Container::sRect& rect, std::int32_t lineHeight);

// The focus outline of a check box or radio button with a caption: from
// (box right + 2, top + 1) to (right - 1, bottom - 1).
Container::sRect CheckFocusRect(const Container::sRect& rect, const Container::sRect& box);

// Where a check box or radio button draws its caption: 4 pixels right of
// the box.
Container::sRect CheckTextRect(const Container::sRect& rect, const Container::sRect& box);

// A group box's frame: from (left, top + textHeight / 2 + 1) to the bottom
// right.
Container::sRect GroupBoxFrame(const Container::sRect& rect, std::int32_t textHeight);
// Its caption: 10 pixels right of the left edge and 1 below the top, of the
// measured text size.
Container::sRect GroupBoxTextRect(const Container::sRect& rect, std::int32_t textWidth, std::int32_t textHeight);

// An image and a caption side by side, centred together in content with a
// gap of 2 (the image at least 2 from the left edge), or the image alone
// centred when textWidth is negative.
struct sImageTextPlacement
{
    Container::sPoint image;
    Container::sRect text;
};
sImageTextPlacement PlaceImageAndText(const Container::sRect& content, std::int32_t imageWidth,
                                      std::int32_t imageHeight, std::int32_t textWidth);

// The rectangle inset by d on every side (outset for a negative d).
Container::sRect Inset(const Container::sRect& rect, std::int32_t d);

} // namespace Skin
