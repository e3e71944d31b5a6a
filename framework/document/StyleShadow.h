#pragma once

// Style::cStyle::cShadow: the common part of the drop and inner shadow: an
// effect colour (an embedded solid fill), a distance, an angle in degrees
// and a blur size.

#include "framework/document/Style.h"
#include "framework/painter/SolidFill.h"

namespace Style {

class cStyle::cShadow : public cStyle::cItem
{
public:
    std::size_t GetMemorySize() const override { return 40; }
    // The size scales by b / d; the offset by a / c and b / d, and the
    // distance and angle are taken from the scaled offset.
    void Resize(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;

    std::uint32_t Colour() const { return m_fill.Colour(); }
    void SetColour(std::uint32_t colour) { m_fill.SetColour(colour); }
    std::int32_t Distance() const { return m_distance; }
    std::int32_t Angle() const { return m_angle; }
    std::int32_t Size() const { return m_size; }
    void SetGeometry(std::int32_t distance, std::int32_t angle, std::int32_t size)
    {
        m_distance = distance;
        m_angle = angle;
        m_size = size;
    }
    // The shadow's offset: the distance along the angle, rounded.
    Container::sPoint Offset() const;

protected:
    // Fill version, fill flag, colour, distance, angle, size.
    bool ReadShadowFields(Brimvale::cRecordReader& reader);
    void WriteShadowFields(Brimvale::cRecordWriter& writer) const;

    Painter::cSolidFill m_fill{0xFF000000u};
    std::int32_t m_distance = 5;
    std::int32_t m_angle = 45;
    std::int32_t m_size = 2;
};

} // namespace Style
