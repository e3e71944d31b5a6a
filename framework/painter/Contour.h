#pragma once

#include <cstdint>
#include <vector>

namespace Outline {

// A point of an outline, in pixels.
struct sPoint
{
    float x = 0;
    float y = 0;

    friend bool operator==(const sPoint&, const sPoint&) = default;
};

// A bounding box of an outline, in pixels; empty while left > right.
struct sBounds
{
    float left = 0;
    float top = 0;
    float right = -1;
    float bottom = -1;

    bool IsEmpty() const { return left > right || top > bottom; }
    // Grows the box to hold point; a point that is not finite is ignored.
    void Include(sPoint point);
};

// One closed or open figure of a path: a list of segments, each a run of
// straight points or of Bezier pieces.
class cContour
{
public:
    enum eKind : std::int32_t
    {
        Straight = 0,   // points joined by lines
        Cubic = 1,      // (control 1, control 2, end) per piece
        Quadratic = 2,  // (control, end) per piece
    };

    struct sSegment
    {
        std::int32_t kind = Straight;
        std::vector<sPoint> points;
    };

    // Curves are flattened into this many chords.
    static constexpr int CurveSteps = 16;
    // Flattened points closer than this to the previous one (in both x and
    // y) are dropped.
    static constexpr float MinStep = 1.0f / 16;

    cContour() = default;
    explicit cContour(sPoint start, bool closed = true);

    bool IsClosed() const { return m_closed; }
    void SetClosed(bool closed) { m_closed = closed; }
    const std::vector<sSegment>& Segments() const { return m_segments; }
    bool IsEmpty() const { return m_segments.empty(); }

    // Append to the figure; a new segment opens when the kind changes.
    // The first point of a contour is the first point of a straight
    // segment.
    void LineTo(sPoint point);
    void QuadTo(sPoint control, sPoint end);
    void CubicTo(sPoint control1, sPoint control2, sPoint end);

    // The last point appended (the start when nothing else was).
    sPoint LastPoint() const;
    // Grows bounds by every point, control points included; points that
    // are not finite do not count.
    void AddToBounds(sBounds& bounds) const;

    // The figure as a polygon: curves flattened into CurveSteps chords,
    // points closer than MinStep to the previous one dropped, and the last
    // point dropped when it lies within MinStep of the first. Appends to
    // polygon.
    void ToPolygon(std::vector<sPoint>& polygon) const;

private:
    std::vector<sPoint>& Points(std::int32_t kind);

    std::vector<sSegment> m_segments;
    bool m_closed = true;
};

} // namespace Outline
