#include "framework/window/skin/rules/PainterGeometry.h"

#include <algorithm>

namespace Skin {

using Container::sPoint;
using Container::sRect;

namespace {

// A filled triangle pointing in one direction, centred in rect, its side
// limited by half the rectangle's width and height.
cGlyphPolygon Triangle(std::int32_t glyph, const sRect& rect)
{
    const std::int32_t half = std::max(1, std::min(rect.Width(), rect.Height()) / 2);
    const std::int32_t cx = rect.left + rect.Width() / 2, cy = rect.top + rect.Height() / 2;
    const std::int32_t h = half / 2 + 1;  // half the triangle's extent along its direction
    switch (glyph)
    {
    case GlyphArrowUp: return {{cx, cy - h}, {cx + half, cy + h}, {cx - half, cy + h}};
    case GlyphArrowDown: return {{cx - half, cy - h}, {cx + half, cy - h}, {cx, cy + h}};
    case GlyphArrowLeft: return {{cx - h, cy}, {cx + h, cy - half}, {cx + h, cy + half}};
    default: return {{cx + h, cy}, {cx - h, cy + half}, {cx - h, cy - half}};
    }
}

} // namespace

std::vector<cGlyphPolygon> GlyphPolygons(std::int32_t glyph, const sRect& rect)
{
    if (rect.IsEmpty())
        return {};
    const std::int32_t l = rect.left, t = rect.top, w = rect.Width(), h = rect.Height();
    switch (glyph)
    {
    case GlyphArrowUp:
    case GlyphArrowDown:
    case GlyphArrowLeft:
    case GlyphArrowRight: return {Triangle(glyph, rect)};
    case GlyphSizeGrip: return {{{rect.right, t}, {rect.right, rect.bottom}, {l, rect.bottom}}};
    case GlyphCheck:
        return {{{l, t + 2 * h / 6},
                 {l + 2 * w / 6, t + 4 * h / 6},
                 {l + w - 1, t},
                 {l + w - 1, t + 2 * h / 6},
                 {l + 2 * w / 6, t + h - 1},
                 {l, t + 4 * h / 6}}};
    case GlyphPlus:
    {
        // A plus sign whose bars are a third of the rectangle thick.
        const std::int32_t x1 = l + w / 3, x2 = l + w - w / 3, y1 = t + h / 3, y2 = t + h - h / 3;
        return {{{x1, t}, {x2, t}, {x2, y1}, {rect.right, y1}, {rect.right, y2}, {x2, y2},
                 {x2, rect.bottom}, {x1, rect.bottom}, {x1, y2}, {l, y2}, {l, y1}, {x1, y1}}};
    }
    case GlyphPin:
    {
        // The pin's head (a four-point body) above its point (a triangle).
        const std::int32_t cx = l + w / 2;
        return {{{l + w / 4, t}, {l + w - w / 4, t}, {l + w - w / 4, t + h / 2}, {l + w / 4, t + h / 2}},
                {{l, t + h / 2}, {rect.right, t + h / 2}, {cx, rect.bottom}}};
    }
    default: return {};
    }
}

sRect ButtonGlyphRect(const sRect& rect)
{
    const std::int32_t side = std::max(0, std::min(rect.Width(), rect.Height())) * 8 / 10;
    const std::int32_t left = rect.left + (rect.Width() - side) / 2, top = rect.top + (rect.Height() - side) / 2;
    return {left, top, left + side, top + side};
}

sRect CheckMarkBox(const sRect& rect, std::int32_t lineHeight)
{
    std::int32_t side = std::min(rect.Height(), lineHeight - 3);
    side = std::max(0, std::min(side, rect.Width()));
    const std::int32_t top = rect.top + (rect.Height() - side) / 2;
    return {rect.left, top, rect.left + side, top + side};
}

sRect CheckFocusRect(const sRect& rect, const sRect& box)
{
    return {box.right + 2, rect.top + 1, rect.right - 1, rect.bottom - 1};
}

sRect CheckTextRect(const sRect& rect, const sRect& box) { return {box.right + 4, rect.top, rect.right, rect.bottom}; }

sRect GroupBoxFrame(const sRect& rect, std::int32_t textHeight)
{
    return {rect.left, rect.top + textHeight / 2 + 1, rect.right, rect.bottom};
}

sRect GroupBoxTextRect(const sRect& rect, std::int32_t textWidth, std::int32_t textHeight)
{
    return {rect.left + 10, rect.top + 1, rect.left + 10 + textWidth, rect.top + 1 + textHeight};
}

sImageTextPlacement PlaceImageAndText(const sRect& content, std::int32_t imageWidth, std::int32_t imageHeight,
                                      std::int32_t textWidth)
{
    sImageTextPlacement out;
    out.image.y = content.top + (content.Height() - imageHeight) / 2;
    if (textWidth < 0)
    {
        out.image.x = content.left + (content.Width() - imageWidth) / 2;
        return out;
    }
    const std::int32_t total = imageWidth + 2 + textWidth;
    out.image.x = std::max(content.left + 2, content.left + (content.Width() - total) / 2);
    const std::int32_t textLeft = out.image.x + imageWidth + 2;
    out.text = {textLeft, content.top, std::max(textLeft, std::min(content.right, textLeft + textWidth)),
                content.bottom};
    return out;
}

sRect Inset(const sRect& rect, std::int32_t d) { return {rect.left + d, rect.top + d, rect.right - d, rect.bottom - d}; }

} // namespace Skin
