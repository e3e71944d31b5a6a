#pragma once

#include <cstdint>

namespace E2e {

// The colour (0x00RRGGBB) the pattern helper paints at screen point (x, y):
// different in every pixel of a 4096 x 4096 area and asymmetric, so a
// flipped, shifted or cut grab never matches it.
inline std::uint32_t PatternPixel(int x, int y)
{
    const std::uint32_t red = static_cast<std::uint32_t>(x) & 0xFF;
    const std::uint32_t green = static_cast<std::uint32_t>(y) & 0xFF;
    const std::uint32_t blue = ((static_cast<std::uint32_t>(x) >> 8) & 0x0F) << 4 | ((static_cast<std::uint32_t>(y) >> 8) & 0x0F);
    return red << 16 | green << 8 | blue;
}

} // namespace E2e
