#pragma once

#include <cstdint>

namespace Container {

// A point: two 32-bit integers.
struct sPoint
{
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const sPoint&, const sPoint&) = default;
};

// The one rectangle type of the framework: left, top, right, bottom; right
// and bottom are exclusive. Built as sRect{l, t, r, b} or sRect(l, t, r, b).
//
// One set of rules for every helper below: a rectangle whose right <= left
// or bottom <= top has no area, contains no point and overlaps nothing; a
// reversed rectangle is never turned round silently. Only NormalizeRect
// does that, and IntersectRect, which is defined to normalise both of its
// inputs first.
struct sRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr sRect() = default;
    constexpr sRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) : left(l), top(t), right(r), bottom(b)
    {
    }

    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    // True when the rectangle has no area (zero or reversed sides).
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }

    friend constexpr bool operator==(const sRect&, const sRect&) = default;
};

// Swaps left/right and top/bottom where they are reversed.
void NormalizeRect(sRect& rect);
// left <= x < right and top <= y < bottom.
bool RectContains(const sRect& rect, sPoint point);
// The overlap of a and b as they stand; (0, 0, 0, 0) when it has no area.
// The clipping helper of the painter and the GDI bridge.
sRect Intersection(const sRect& a, const sRect& b);
// result = the overlap of a and b, each normalised first; all four values 0
// when the overlap has no area. Answers whether it has area.
bool IntersectRect(sRect& result, const sRect& a, const sRect& b);
// rect = its overlap with other; false (rect unchanged) when they do not
// overlap.
bool IntersectWith(sRect& rect, const sRect& other);
// The smallest rectangle holding both; one without area does not take part
// (the other one is the result).
sRect UnionRect(const sRect& a, const sRect& b);
// Moves rect inside bounds, shrinking it first to the bounds' width and
// height where it is larger.
void KeepInside(sRect& rect, const sRect& bounds);
// Places content of the given size inside container keeping its aspect
// ratio, centred. With keepSmall, content smaller than the container in the
// limiting direction keeps its own size.
sRect FitRect(const sRect& container, std::int32_t contentWidth, std::int32_t contentHeight, bool keepSmall);
// Divides left and right by xFactor, top and bottom by yFactor (toward
// zero). False (rect unchanged) when a factor is 0.
bool DivideRect(sRect& rect, std::int32_t xFactor, std::int32_t yFactor);

// sqrt(x*x + y*y) truncated toward zero.
std::int32_t PointLength(sPoint point);
// Direction of (x, y) in whole degrees from the positive x axis towards
// positive y, rounded to the nearest degree, 0..359 (0 for the zero vector).
std::int32_t PointAngle(sPoint point);

} // namespace Container
