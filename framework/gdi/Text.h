#pragma once

#include <cstdint>
#include <string_view>

#include <windows.h>

#include "framework/gdi/TextStyle.h"
#include "framework/core/Geometry.h"

namespace Outline {
class cPath;
}
namespace Painter {
class cPicture;
}

namespace GDI {

// A glyph's black box and advance, in the scaled units of GetGlyphPath
// (y grows downwards).
struct sGlyphMetrics
{
    float left = 0, top = 0, right = 0, bottom = 0;
    float advanceX = 0, advanceY = 0;
};

// The metrics of the style's font on the display. False (metrics
// unchanged) when the font or the information context cannot be made.
bool GetTextMetrics(const cTextStyle& style, TEXTMETRICW& metrics);

// The run of text as DrawString lays it out: left 0, right the final pen
// position; top the highest (pen y - baseline shift - ascent) and bottom
// the lowest (pen y + descent) over the characters. Each character adds
// spacing before, its cell increment (x scaled by width / size) and
// spacing after; characters without metrics are skipped. An empty
// rectangle when the font cannot be made.
Container::sRect MeasureString(const cTextStyle& style, std::u16string_view text);

// The outline of one glyph of the font selected into dc, every coordinate
// scaled by (scaleX, scaleY) with y negated, appended to `outline`.
// `character` is a glyph index when byIndex is set. False when the glyph
// has no outline to give or its outline is malformed (what was read
// before the fault is kept).
bool GetGlyphPath(HDC dc, std::uint32_t character, Outline::cPath& outline, bool byIndex, float scaleX, float scaleY,
                  sGlyphMetrics* metrics = nullptr);

// Draws text into a 32-bit picture from glyph outlines through the
// anti-aliased scan converter, in `colour`, clipped to the picture's clip
// rectangle. Flag 1 centres the run horizontally in rect, flag 4
// vertically. False when the picture cannot be drawn into or the font
// cannot be made.
bool DrawString(Painter::cPicture& picture, std::u16string_view text, const Container::sRect& rect,
                const cTextStyle& style, std::uint32_t colour, std::uint32_t flags);

} // namespace GDI
