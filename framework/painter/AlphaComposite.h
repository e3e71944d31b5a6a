#pragma once

// The normal alpha composition every drawing operation of the painter uses:
// a straight-alpha source over a straight-alpha destination, in integers,
// with divisions truncating toward zero.

#include <cstdint>

namespace Painter {

// Composites colour `source` (its alpha byte ignored) with alpha `sourceAlpha`
// over the pixel `dest`, both in the 0xAARRGGBB form; returns the new pixel.
inline std::uint32_t BlendNormal(std::uint32_t dest, std::uint32_t source, std::uint32_t sourceAlpha)
{
    if (sourceAlpha == 0)
        return dest;
    const std::uint32_t destAlpha = dest >> 24;
    if (destAlpha == 0)
        return (source & 0x00FFFFFFu) | (sourceAlpha << 24);

    int weight;
    std::uint32_t alpha;
    if (destAlpha == 255)
    {
        weight = static_cast<int>(sourceAlpha);
        alpha = 255;
    }
    else
    {
        alpha = ((255 - sourceAlpha) * destAlpha + 127) / 255 + sourceAlpha;
        weight = static_cast<int>(sourceAlpha * 255 / alpha);
    }
    std::uint32_t result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int d = static_cast<int>((dest >> shift) & 0xFF);
        const int s = static_cast<int>((source >> shift) & 0xFF);
        const int c = d + weight * (s - d) / 255;
        result |= static_cast<std::uint32_t>(c) << shift;
    }
    return result;
}

// The source alpha reduced by an opacity or a coverage (both 0..255).
inline std::uint32_t ScaleAlpha(std::uint32_t alpha, std::uint32_t factor) { return alpha * factor / 255; }

// Composites a 0xAARRGGBB source pixel over `dest` with its own alpha.
inline std::uint32_t BlendNormal(std::uint32_t dest, std::uint32_t source) { return BlendNormal(dest, source, source >> 24); }

} // namespace Painter
