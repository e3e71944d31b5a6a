#pragma once

#include <cstdint>

namespace Painter {

// One horizontal run of pixels with the same coverage, as the scan
// converter hands it to a fill. Coordinates are target coordinates.
struct sSpan
{
    std::int16_t x = 0;         // first column
    std::int16_t y = 0;         // row
    std::uint16_t length = 0;   // number of pixels
    std::uint8_t coverage = 0;  // 1..255
};

} // namespace Painter
