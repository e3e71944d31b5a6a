#include "framework/painter/Path.h"

#include <algorithm>
#include <cstring>

namespace Outline {

void cPath::Clear()
{
    m_contours.clear();
    m_bounds = {};
}

cContour& cPath::Last()
{
    if (m_contours.empty())
    {
        m_contours.emplace_back(sPoint{}, true);
        m_bounds.Include({});
    }
    return m_contours.back();
}

void cPath::UpdateBounds()
{
    m_bounds = {};
    for (const auto& contour : m_contours)
        contour.AddToBounds(m_bounds);
}

// The point-by-point builders grow the bounds as they go; the shapes and
// the glyph reader recompute them.
void cPath::MoveTo(sPoint point, bool closed)
{
    m_contours.emplace_back(point, closed);
    m_bounds.Include(point);
}

void cPath::LineTo(sPoint point)
{
    Last().LineTo(point);
    m_bounds.Include(point);
}

void cPath::QuadTo(sPoint control, sPoint end)
{
    Last().QuadTo(control, end);
    m_bounds.Include(control);
    m_bounds.Include(end);
}

void cPath::CubicTo(sPoint control1, sPoint control2, sPoint end)
{
    Last().CubicTo(control1, control2, end);
    m_bounds.Include(control1);
    m_bounds.Include(control2);
    m_bounds.Include(end);
}

void cPath::AddRect(float left, float top, float right, float bottom)
{
    cContour contour({left, top}, true);
    contour.LineTo({right, top});
    contour.LineTo({right, bottom});
    contour.LineTo({left, bottom});
    m_contours.push_back(std::move(contour));
    UpdateBounds();
}

void cPath::AddRoundRect(float radius, float left, float top, float right, float bottom, std::uint32_t corners)
{
    // Each corner either rounds (a quadratic piece whose control point is
    // the corner) or is passed through as a plain point.
    const bool topLeft = corners & TopLeft, topRight = corners & TopRight;
    const bool bottomRight = corners & BottomRight, bottomLeft = corners & BottomLeft;
    cContour contour(topLeft ? sPoint{left, top + radius} : sPoint{left, top}, true);
    if (topLeft)
        contour.QuadTo({left, top}, {left + radius, top});
    if (topRight)
    {
        contour.LineTo({right - radius, top});
        contour.QuadTo({right, top}, {right, top + radius});
    }
    else
        contour.LineTo({right, top});
    if (bottomRight)
    {
        contour.LineTo({right, bottom - radius});
        contour.QuadTo({right, bottom}, {right - radius, bottom});
    }
    else
        contour.LineTo({right, bottom});
    if (bottomLeft)
    {
        contour.LineTo({left + radius, bottom});
        contour.QuadTo({left, bottom}, {left, bottom - radius});
    }
    else
        contour.LineTo({left, bottom});
    if (topLeft)
        contour.LineTo({left, top + radius});
    m_contours.push_back(std::move(contour));
    UpdateBounds();
}

namespace {

// Little-endian reads from a buffer whose size the caller has checked.
std::uint16_t Read16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

std::int32_t Read32(const std::uint8_t* p)
{
    std::uint32_t value = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                          std::uint32_t(p[3]) << 24;
    std::int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

constexpr std::uint32_t PolygonType = 24;  // the only polygon kind there is
constexpr std::uint16_t PrimLine = 1;
constexpr std::uint16_t PrimQSpline = 2;
constexpr std::uint16_t PrimCSpline = 3;
constexpr std::size_t PolygonHeaderSize = 16;  // byte count, type, start point
constexpr std::size_t CurveHeaderSize = 4;     // kind, point count
constexpr std::size_t FixedPointSize = 8;      // two 16.16 values

} // namespace

bool cPath::AddNativeGlyph(const std::uint8_t* bytes, std::size_t size, float originX, float originY, float scaleX,
                           float scaleY)
{
    auto point = [&](const std::uint8_t* p) {
        return sPoint{originX + float(Read32(p) / 65536.0) * scaleX, originY - float(Read32(p + 4) / 65536.0) * scaleY};
    };
    bool ok = true;
    std::size_t offset = 0;
    if (!bytes)
        size = 0;
    while (ok && offset < size)
    {
        const std::size_t left = size - offset;
        if (left < PolygonHeaderSize)
        {
            ok = false;
            break;
        }
        const std::uint8_t* header = bytes + offset;
        const std::uint32_t polygonSize = std::uint32_t(Read32(header));
        if (polygonSize < PolygonHeaderSize || polygonSize > left || std::uint32_t(Read32(header + 4)) != PolygonType)
        {
            ok = false;
            break;
        }
        cContour contour(point(header + 8), true);
        std::size_t at = PolygonHeaderSize;
        while (at < polygonSize)
        {
            if (polygonSize - at < CurveHeaderSize)
            {
                ok = false;
                break;
            }
            const std::uint16_t kind = Read16(header + at);
            const std::size_t count = Read16(header + at + 2);
            at += CurveHeaderSize;
            if (count * FixedPointSize > polygonSize - at)
            {
                ok = false;
                break;
            }
            const std::uint8_t* points = header + at;
            at += count * FixedPointSize;
            if (kind == PrimLine)
            {
                for (std::size_t i = 0; i < count; ++i)
                    contour.LineTo(point(points + i * FixedPointSize));
            }
            else if (kind == PrimQSpline)
            {
                // B-spline form: between two control points lies an implied
                // on-curve point halfway; the last point is on the curve.
                for (std::size_t i = 0; i + 1 < count; ++i)
                {
                    const sPoint control = point(points + i * FixedPointSize);
                    const sPoint next = point(points + (i + 1) * FixedPointSize);
                    const sPoint end = i + 2 == count ? next
                                                      : sPoint{(control.x + next.x) / 2, (control.y + next.y) / 2};
                    contour.QuadTo(control, end);
                }
            }
            else if (kind == PrimCSpline)
            {
                for (std::size_t i = 0; i + 3 <= count; i += 3)
                    contour.CubicTo(point(points + i * FixedPointSize), point(points + (i + 1) * FixedPointSize),
                                    point(points + (i + 2) * FixedPointSize));
            }
            else
            {
                ok = false;
                break;
            }
        }
        m_contours.push_back(std::move(contour));
        offset += polygonSize;
    }
    UpdateBounds();
    return ok;
}

void cPath::ToPolygons(std::vector<std::vector<sPoint>>& polygons) const
{
    for (const auto& contour : m_contours)
    {
        std::vector<sPoint> polygon;
        contour.ToPolygon(polygon);
        if (!polygon.empty())
            polygons.push_back(std::move(polygon));
    }
}

} // namespace Outline
