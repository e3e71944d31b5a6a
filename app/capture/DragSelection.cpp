#include "app/capture/DragSelection.h"

#include "framework/painter/PixelFormat.h"

#include <algorithm>

using Container::sPoint;
using Container::sRect;

sRect cDragSelection::Span(sPoint press, sPoint release)
{
    return {std::min(press.x, release.x), std::min(press.y, release.y), std::max(press.x, release.x),
            std::max(press.y, release.y)};
}

bool cDragSelection::Cut(const Painter::cPicture& frozen, const sRect& span, Painter::cPicture& result)
{
    if (frozen.IsEmpty() || frozen.BitsPerPixel() != 32)
        return false;
    const sRect part = Container::Intersection(span, frozen.Bounds());
    if (part.IsEmpty())
        return false;
    Painter::cPicture cut;
    if (!cut.Create(Painter::FORMAT_ARGB32, part.Width(), part.Height()))
        return false;
    cut.CopyRect(0, 0, frozen, part);
    result = std::move(cut);
    return true;
}

bool cDragSelection::Fade(const Painter::cPicture& frozen, std::int32_t width, std::int32_t height,
                          Painter::cPicture& display)
{
    if (!display.Create(Painter::FORMAT_ARGB32, width, height))
        return false;
    display.ResetClip();
    display.Fill(0xFFFFFFFFu);
    if (!frozen.IsEmpty())
        display.AlphaDraw(0, 0, frozen, frozen.Bounds(), kFadeOpacity);
    return true;
}
