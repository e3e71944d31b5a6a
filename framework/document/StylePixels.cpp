#include "framework/document/StylePixels.h"

#include <algorithm>

#include "framework/painter/Canvas.h"
#include "framework/painter/Picture.h"

namespace Style {

namespace {

constexpr std::int64_t kRectLimit = std::int64_t(1) << 30;

std::int32_t Keep(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp(value, -kRectLimit, kRectLimit));
}

} // namespace

Container::sRect GrowRect(const Container::sRect& rect, std::int64_t left, std::int64_t top, std::int64_t right,
                          std::int64_t bottom)
{
    return Container::sRect{Keep(rect.left - left), Keep(rect.top - top), Keep(rect.right + right),
                            Keep(rect.bottom + bottom)};
}

Container::sRect UniteRect(const Container::sRect& a, const Container::sRect& b)
{
    return Container::UnionRect(a, b);
}

std::uint32_t CompositeBehind(std::uint32_t pixel, std::uint32_t colour, std::uint32_t coverage)
{
    const std::uint32_t ca = colour >> 24;
    if (ca == 0)
        return pixel;
    const std::uint32_t a = (ca * coverage) / 255;
    const std::uint32_t da = pixel >> 24;
    if (da == 0)
        return (colour & 0x00FFFFFFu) | (a << 24);
    const std::uint32_t v = a * (255 - da) / 255;
    const std::uint32_t alpha = da + v;
    std::uint32_t result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const std::uint32_t d = (pixel >> shift) & 0xFF;
        const std::uint32_t c = (colour >> shift) & 0xFF;
        result |= ((d * da + c * v) / alpha) << shift;
    }
    return result;
}

std::uint32_t MixInner(std::uint32_t pixel, std::uint32_t colour, std::uint32_t strength)
{
    const std::uint32_t ca = colour >> 24;
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const std::uint32_t c = (pixel >> shift) & 0xFF;
        const std::uint32_t e = (colour >> shift) & 0xFF;
        result |= (((255 - (strength * ca) / 255) * c + (ca * e * strength) / 255) / 255) << shift;
    }
    return result;
}

void CopyAlpha(Painter::cPicture& picture, const Painter::cPicture& source)
{
    const std::int32_t width = std::min(picture.Width(), source.Width());
    const std::int32_t height = std::min(picture.Height(), source.Height());
    for (std::int32_t y = 0; y < height; ++y)
    {
        std::uint32_t* row = picture.Row32(y);
        const std::uint32_t* from = source.Row32(y);
        for (std::int32_t x = 0; x < width; ++x)
            row[x] = (row[x] & 0x00FFFFFFu) | (from[x] & 0xFF000000u);
    }
}

void CompositeKeepingAlpha(Painter::cPicture& picture, const Painter::cPicture& layer, std::int32_t mode,
                           std::int32_t opacity, const Painter::cPicture& alphaSource)
{
    Painter::cCanvas canvas(picture);
    canvas.CompositeAt(0, 0, layer, layer.Bounds(), mode, opacity);
    CopyAlpha(picture, alphaSource);
}

std::uint64_t PassWork(const Container::sRect& area, std::int64_t blur, std::int64_t spread)
{
    if (area.IsEmpty())
        return 0;
    const std::uint64_t pixels =
        std::uint64_t(std::int64_t(area.right) - area.left) * std::uint64_t(std::int64_t(area.bottom) - area.top);
    // Measured: a blur costs about 4 operations per pixel and unit of
    // radius, a spread or choke (one pass per chord of its disc) ten times
    // as much.
    const std::uint64_t perPixel = 4 + 6 * std::uint64_t(std::max<std::int64_t>(blur, 0)) +
                                   40 * std::uint64_t(std::max<std::int64_t>(spread, 0));
    return pixels > UINT64_MAX / perPixel ? UINT64_MAX : pixels * perPixel;
}

} // namespace Style
