#include "framework/painter/Contour.h"

#include <cmath>

namespace Outline {

namespace {

bool Near(sPoint a, sPoint b)
{
    return std::fabs(a.x - b.x) < cContour::MinStep && std::fabs(a.y - b.y) < cContour::MinStep;
}

// Appends a flattened point unless it is within MinStep of the previous
// one. A point that is not finite is never "near", so it is kept for the
// scan converter to deal with.
void AppendPoint(std::vector<sPoint>& polygon, std::size_t first, sPoint point)
{
    if (polygon.size() > first && Near(polygon.back(), point))
        return;
    polygon.push_back(point);
}

} // namespace

cContour::cContour(sPoint start, bool closed) : m_closed(closed)
{
    m_segments.push_back({Straight, {start}});
}

std::vector<sPoint>& cContour::Points(std::int32_t kind)
{
    if (m_segments.empty() || m_segments.back().kind != kind)
        m_segments.push_back({kind, {}});
    return m_segments.back().points;
}

void cContour::LineTo(sPoint point)
{
    Points(Straight).push_back(point);
}

void cContour::QuadTo(sPoint control, sPoint end)
{
    auto& points = Points(Quadratic);
    points.push_back(control);
    points.push_back(end);
}

void cContour::CubicTo(sPoint control1, sPoint control2, sPoint end)
{
    auto& points = Points(Cubic);
    points.push_back(control1);
    points.push_back(control2);
    points.push_back(end);
}

sPoint cContour::LastPoint() const
{
    for (auto segment = m_segments.rbegin(); segment != m_segments.rend(); ++segment)
        if (!segment->points.empty())
            return segment->points.back();
    return {};
}

void sBounds::Include(sPoint point)
{
    if (!std::isfinite(point.x) || !std::isfinite(point.y))
        return;
    if (IsEmpty())
    {
        *this = {point.x, point.y, point.x, point.y};
        return;
    }
    left = std::fmin(left, point.x);
    top = std::fmin(top, point.y);
    right = std::fmax(right, point.x);
    bottom = std::fmax(bottom, point.y);
}

void cContour::AddToBounds(sBounds& bounds) const
{
    for (const auto& segment : m_segments)
        for (sPoint point : segment.points)
            bounds.Include(point);
}

void cContour::ToPolygon(std::vector<sPoint>& polygon) const
{
    const std::size_t first = polygon.size();
    sPoint current{};
    bool started = false;
    for (const auto& segment : m_segments)
    {
        const auto& points = segment.points;
        if (segment.kind == Straight)
        {
            for (sPoint point : points)
            {
                AppendPoint(polygon, first, point);
                current = point;
                started = true;
            }
            continue;
        }
        const std::size_t step = segment.kind == Cubic ? 3 : 2;
        for (std::size_t i = 0; i + step <= points.size(); i += step)
        {
            if (!started)
            {
                // A figure that starts with a curve starts at its end point.
                current = points[i + step - 1];
                AppendPoint(polygon, first, current);
                started = true;
                continue;
            }
            const double x0 = current.x, y0 = current.y;
            for (int k = 1; k <= CurveSteps; ++k)
            {
                const double t = double(k) / CurveSteps, s = 1 - t;
                double x, y;
                if (step == 2)
                {
                    const sPoint c = points[i], e = points[i + 1];
                    x = s * s * x0 + 2 * s * t * c.x + t * t * e.x;
                    y = s * s * y0 + 2 * s * t * c.y + t * t * e.y;
                }
                else
                {
                    const sPoint c1 = points[i], c2 = points[i + 1], e = points[i + 2];
                    x = s * s * s * x0 + 3 * s * s * t * c1.x + 3 * s * t * t * c2.x + t * t * t * e.x;
                    y = s * s * s * y0 + 3 * s * s * t * c1.y + 3 * s * t * t * c2.y + t * t * t * e.y;
                }
                // The last chord ends exactly on the end point.
                sPoint point = k == CurveSteps ? points[i + step - 1] : sPoint{float(x), float(y)};
                AppendPoint(polygon, first, point);
            }
            current = points[i + step - 1];
        }
    }
    if (polygon.size() > first + 1 && Near(polygon.back(), polygon[first]))
        polygon.pop_back();
}

} // namespace Outline
