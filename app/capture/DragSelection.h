#pragma once

#include "framework/core/Geometry.h"
#include "framework/painter/Picture.h"

// The picture side of drag-select capture, free of any window: the washed
// out copy of the frozen monitor that is shown, the rectangle a drag spans
// and the part of the frozen picture it selects.
class cDragSelection
{
public:
    // The opacity of the frozen screen over white in the shown copy.
    static constexpr std::uint32_t kFadeOpacity = 200;

    // The rectangle spanned by the press and release points (overlay client
    // coordinates, either may be negative or beyond the overlay), with
    // left <= right and top <= bottom.
    static Container::sRect Span(Container::sPoint press, Container::sPoint release);
    // result := the pixels of span inside frozen, copied, not blended.
    // False (result unchanged) when that part has no area or result cannot
    // be made.
    static bool Cut(const Painter::cPicture& frozen, const Container::sRect& span, Painter::cPicture& result);
    // display := opaque white at width x height with frozen drawn over it at
    // the fade opacity. False when display cannot be made.
    static bool Fade(const Painter::cPicture& frozen, std::int32_t width, std::int32_t height,
                     Painter::cPicture& display);
};
