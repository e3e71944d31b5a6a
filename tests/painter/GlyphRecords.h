#pragma once

// Builders for outlines in GetGlyphOutline's native layout (little-endian
// words, 16.16 fixed-point coordinates), shared by the path and scan
// converter tests.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Testing {

inline void Put16(std::vector<std::uint8_t>& bytes, std::uint16_t value)
{
    bytes.push_back(std::uint8_t(value));
    bytes.push_back(std::uint8_t(value >> 8));
}

inline void Put32(std::vector<std::uint8_t>& bytes, std::int32_t value)
{
    std::uint32_t u;
    std::memcpy(&u, &value, 4);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(std::uint8_t(u >> (8 * i)));
}

inline void PutPoint(std::vector<std::uint8_t>& bytes, double x, double y)
{
    Put32(bytes, std::int32_t(std::lround(x * 65536)));
    Put32(bytes, std::int32_t(std::lround(y * 65536)));
}

} // namespace Testing
