#include "framework/core/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace Container {

namespace {

std::int32_t Clamp32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void NormalizeRect(sRect& rect)
{
    if (rect.left > rect.right)
        std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
}

bool RectContains(const sRect& rect, sPoint point)
{
    return rect.left <= point.x && point.x < rect.right && rect.top <= point.y && point.y < rect.bottom;
}

sRect Intersection(const sRect& a, const sRect& b)
{
    const sRect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                        std::min(a.bottom, b.bottom)};
    return overlap.IsEmpty() ? sRect{} : overlap;
}

bool IntersectRect(sRect& result, const sRect& a, const sRect& b)
{
    sRect first = a;
    sRect second = b;
    NormalizeRect(first);
    NormalizeRect(second);
    result = Intersection(first, second);
    return !result.IsEmpty();
}

bool IntersectWith(sRect& rect, const sRect& other)
{
    const sRect overlap = Intersection(rect, other);
    if (overlap.IsEmpty())
        return false;
    rect = overlap;
    return true;
}

sRect UnionRect(const sRect& a, const sRect& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void KeepInside(sRect& rect, const sRect& bounds)
{
    std::int64_t left = rect.left;
    std::int64_t top = rect.top;
    std::int64_t width = static_cast<std::int64_t>(rect.right) - rect.left;
    std::int64_t height = static_cast<std::int64_t>(rect.bottom) - rect.top;
    const std::int64_t boundsWidth = static_cast<std::int64_t>(bounds.right) - bounds.left;
    const std::int64_t boundsHeight = static_cast<std::int64_t>(bounds.bottom) - bounds.top;
    width = std::min(width, boundsWidth);
    height = std::min(height, boundsHeight);
    if (left + width > bounds.right)
        left = bounds.right - width;
    if (left < bounds.left)
        left = bounds.left;
    if (top + height > bounds.bottom)
        top = bounds.bottom - height;
    if (top < bounds.top)
        top = bounds.top;
    rect = {Clamp32(left), Clamp32(top), Clamp32(left + width), Clamp32(top + height)};
}

sRect FitRect(const sRect& container, std::int32_t contentWidth, std::int32_t contentHeight, bool keepSmall)
{
    const std::int64_t width = static_cast<std::int64_t>(container.right) - container.left;
    const std::int64_t height = static_cast<std::int64_t>(container.bottom) - container.top;
    const std::int64_t w = contentWidth;
    const std::int64_t h = contentHeight;
    std::int64_t resultWidth;
    std::int64_t resultHeight;
    if (width * h < height * w)
    {
        // Limited by the width.
        if (keepSmall && w < width)
        {
            resultWidth = w;
            resultHeight = h;
        }
        else
        {
            resultWidth = width;
            resultHeight = w == 0 ? 1 : width * h / w;
            if (resultHeight == 0)
                resultHeight = 1;
        }
    }
    else
    {
        // Limited by the height.
        if (keepSmall && h < height)
        {
            resultWidth = w;
            resultHeight = h;
        }
        else
        {
            resultHeight = height;
            resultWidth = h == 0 ? 1 : height * w / h;
            if (resultWidth == 0)
                resultWidth = 1;
        }
    }
    const std::int64_t left = container.left + (width - resultWidth) / 2;
    const std::int64_t top = container.top + (height - resultHeight) / 2;
    return {Clamp32(left), Clamp32(top), Clamp32(left + resultWidth), Clamp32(top + resultHeight)};
}

bool DivideRect(sRect& rect, std::int32_t xFactor, std::int32_t yFactor)
{
    if (xFactor == 0 || yFactor == 0)
        return false;
    // 64-bit so that INT32_MIN / -1 cannot trap.
    rect = {Clamp32(static_cast<std::int64_t>(rect.left) / xFactor), Clamp32(static_cast<std::int64_t>(rect.top) / yFactor),
            Clamp32(static_cast<std::int64_t>(rect.right) / xFactor),
            Clamp32(static_cast<std::int64_t>(rect.bottom) / yFactor)};
    return true;
}

std::int32_t PointLength(sPoint point)
{
    const std::uint64_t x = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(point.x)));
    const std::uint64_t y = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(point.y)));
    const std::uint64_t square = x * x + y * y;
    // Integer square root, corrected after the floating-point estimate.
    auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(square)));
    while (root > 0 && root * root > square)
        --root;
    while ((root + 1) * (root + 1) <= square)
        ++root;
    return Clamp32(static_cast<std::int64_t>(root));
}

std::int32_t PointAngle(sPoint point)
{
    if (point.x == 0 && point.y == 0)
        return 0;
    double degrees = std::atan2(static_cast<double>(point.y), static_cast<double>(point.x)) * 180.0 / 3.14159265358979323846;
    if (degrees < 0)
        degrees += 360.0;
    auto rounded = static_cast<std::int32_t>(std::lround(degrees));
    return rounded >= 360 ? rounded - 360 : rounded;
}

} // namespace Container
