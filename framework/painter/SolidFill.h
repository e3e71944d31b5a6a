#pragma once

#include <cstdint>

#include "framework/painter/Fill.h"

namespace Painter {

// Paints every span in one colour, composited over the picture's pixels
// with the span's coverage. The target is a FORMAT_ARGB32 picture; spans
// are clipped to its clip rectangle.
class cSolidFill : public cFill
{
public:
    explicit cSolidFill(std::uint32_t colour = 0xFF000000u) : m_colour(colour) {}

    std::uint32_t Colour() const { return m_colour; }
    void SetColour(std::uint32_t colour) { m_colour = colour; }

    bool Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom) override;
    void FillSpans(std::int32_t count, const sSpan* spans) override;

private:
    std::uint32_t m_colour;
};

} // namespace Painter
