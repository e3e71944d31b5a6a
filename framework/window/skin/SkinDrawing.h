#pragma once
// Pixel-level drawing shared by the skins' painters: opaque fills and
// one-pixel outlines written straight into the off-screen picture (GDI
// leaves the alpha byte of a DIB at 0, so fills through the picture keep
// it opaque), and shapes through the anti-aliasing canvas.
#include <cstdint>
#include <vector>

#include "framework/core/Geometry.h"
#include "framework/painter/Picture.h"
#include "framework/window/skin/rules/PainterGeometry.h"

namespace Painter {
class cFill;
}

namespace Skin::Drawing {

// Replaces the pixels of rect (clipped to the picture) by colour.
void Fill(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t colour);
// A one-pixel outline just inside rect; `open` (an sShape side, -1 none)
// leaves one side out.
void Frame(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t colour, std::int32_t open = -1);
// Top and left in the first colour, bottom and right in the second.
void Frame3d(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t topLeft,
             std::uint32_t bottomRight);
// The rectangle filled through a fill (a gradient), composited.
void FillWith(Painter::cPicture& picture, const Container::sRect& rect, Painter::cFill& fill);
// An anti-aliased ellipse inscribed in rect, filled and outlined one pixel.
void Ellipse(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t fill, std::uint32_t stroke);
// Glyph polygons filled with a colour.
void Polygons(Painter::cPicture& picture, const std::vector<cGlyphPolygon>& polygons, std::uint32_t colour);
// Makes every pixel of rect opaque (after GDI drew into it).
void MakeOpaque(Painter::cPicture& picture, const Container::sRect& rect);

} // namespace Skin::Drawing
