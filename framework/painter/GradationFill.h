#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/WideString.h"
#include "framework/painter/Fill.h"
#include "framework/painter/Gradient.h"

namespace Painter {

// Paints a gradient through the spans: each pixel takes the colour of a
// lookup table built from the gradient definition at Begin, indexed by the
// pixel's place relative to the start and end points, composited with the
// span's coverage. Points and pixels are in target coordinates.
class cGradationFill : public cFill
{
public:
    enum eType : std::int32_t
    {
        Linear = 0,  // along the line from start to end
        Radial = 1,  // distance from the start point
        Square = 2,  // the larger distance along and across the line
        Angle = 3,   // direction around the start point
    };

    // Start and end points are limited to this magnitude when the table
    // is built, so that every product of the indexing fits in 64 bits.
    static constexpr std::int64_t CoordinateLimit = std::int64_t(1) << 28;
    // Longer gradients get a table of this many entries, stretched.
    static constexpr std::int32_t MaxTableLength = 1 << 18;

    cGradationFill() { m_fillRule = EvenOdd; }

    std::int32_t Type() const { return m_type; }
    void SetType(std::int32_t type) { m_type = type; }
    const Container::cWideString& Name() const { return m_name; }
    void SetName(const Container::cWideString& name) { m_name = name; }
    cGradient& Gradient() { return m_gradient; }
    const cGradient& Gradient() const { return m_gradient; }
    void SetPoints(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    std::int32_t X1() const { return m_x1; }
    std::int32_t Y1() const { return m_y1; }
    std::int32_t X2() const { return m_x2; }
    std::int32_t Y2() const { return m_y2; }

    // The table as built by the last Begin (empty outside Begin..End).
    const std::vector<std::uint32_t>& Table() const { return m_table; }
    // The gradient's length, which is the table's length unless it is
    // stretched: 256 for the angle type.
    std::int64_t Length() const { return m_length; }

    // False, and nothing is painted, when the target is not a 32-bit
    // picture, when the start and end points coincide (no table), or for
    // an unknown type.
    bool Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom) override;
    void FillSpans(std::int32_t count, const sSpan* spans) override;
    // Frees the table.
    void End() override;

    // The table index of the pixel at (x, y) in target coordinates, before
    // the table is stretched; needs a table (inside Begin..End).
    std::int64_t IndexAt(std::int32_t x, std::int32_t y) const;

private:
    std::int32_t m_type = Linear;
    Container::cWideString m_name;
    cGradient m_gradient;
    std::int32_t m_x1 = 0, m_y1 = 0, m_x2 = 100, m_y2 = 0;
    std::vector<std::uint32_t> m_table;
    std::int32_t m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;

    // Set up by Begin: clamped points, their differences and the length.
    std::int64_t m_sx = 0, m_sy = 0, m_dx = 0, m_dy = 0, m_length = 0;
    double m_cos = 1, m_sin = 0, m_startAngle = 0;
};

} // namespace Painter
