#pragma once

// The rectangle of the painter: four 32-bit integers with right and bottom
// exclusive, with the clipping helpers the painter needs. Converts both ways
// to the framework's general rectangle, Container::sRect.

#include <algorithm>
#include <cstdint>

#include "framework/core/Geometry.h"

namespace Painter {

class cRect
{
public:
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr cRect() = default;
    constexpr cRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) : left(l), top(t), right(r), bottom(b) {}
    constexpr cRect(const Container::sRect& r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}
    constexpr operator Container::sRect() const { return Container::sRect{left, top, right, bottom}; }

    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(std::int32_t x, std::int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }

    // The common part of both; an empty result is (0, 0, 0, 0).
    constexpr cRect Intersect(const cRect& other) const
    {
        cRect r(std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom));
        return r.IsEmpty() ? cRect() : r;
    }

    constexpr bool operator==(const cRect&) const = default;
};

} // namespace Painter
