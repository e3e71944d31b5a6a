#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/painter/Contour.h"

namespace Outline {

// An ordered list of contours with its bounding box: the usual input of the
// scan converter for shapes, skins and glyphs.
class cPath
{
public:
    // Corner flags of the AddRoundRect variant.
    enum : std::uint32_t
    {
        TopLeft = 1,
        TopRight = 2,
        BottomRight = 4,
        BottomLeft = 8,
        AllCorners = 15,
    };

    const std::vector<cContour>& Contours() const { return m_contours; }
    bool IsEmpty() const { return m_contours.empty(); }
    const sBounds& Bounds() const { return m_bounds; }
    void Clear();

    // Starts a contour.
    void MoveTo(sPoint point, bool closed = true);
    // Append to the last contour (a MoveTo to the origin comes first when
    // there is none).
    void LineTo(sPoint point);
    void QuadTo(sPoint control, sPoint end);
    void CubicTo(sPoint control1, sPoint control2, sPoint end);

    // One closed contour through the four corners, clockwise from the top
    // left.
    void AddRect(float left, float top, float right, float bottom);
    // One closed contour with quadratic corners whose control points are
    // the rectangle's corners, starting at (left, top + radius). Only the
    // corners flagged are rounded.
    void AddRoundRect(float radius, float left, float top, float right, float bottom,
                      std::uint32_t corners = AllCorners);

    // Appends the contours of an outline in the layout of GetGlyphOutline's
    // native form (polygon headers, each followed by its line, quadratic
    // and cubic records; 16.16 fixed-point coordinates). Each coordinate
    // becomes origin + value * scale, with y negated (glyph y grows
    // upwards). Every record is checked against the bytes left; a record
    // that claims more than that, or that is of an unknown kind, ends the
    // parse and the answer is false (contours read before it are kept).
    bool AddNativeGlyph(const std::uint8_t* bytes, std::size_t size, float originX, float originY,
                        float scaleX = 1, float scaleY = 1);

    // Every contour as a polygon (see cContour::ToPolygon); contours that
    // flatten to nothing give no polygon.
    void ToPolygons(std::vector<std::vector<sPoint>>& polygons) const;

private:
    cContour& Last();
    void UpdateBounds();

    std::vector<cContour> m_contours;
    sBounds m_bounds;
};

} // namespace Outline
