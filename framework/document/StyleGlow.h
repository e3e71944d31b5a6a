#pragma once

// Style::cStyle::cGlow: the common part of the outer and inner glow: an
// effect colour (an embedded solid fill), a first size (the outer glow's
// spread, the inner glow's choke) and a blur size.

#include "framework/document/Style.h"
#include "framework/painter/SolidFill.h"

namespace Style {

class cStyle::cGlow : public cStyle::cItem
{
public:
    std::size_t GetMemorySize() const override { return 36; }

    std::uint32_t Colour() const { return m_fill.Colour(); }
    void SetColour(std::uint32_t colour) { m_fill.SetColour(colour); }
    std::int32_t FirstSize() const { return m_first; }
    std::int32_t BlurSize() const { return m_blur; }
    void SetSizes(std::int32_t first, std::int32_t blur)
    {
        m_first = first;
        m_blur = blur;
    }

protected:
    // Fill version, fill flag, colour, first size, blur size.
    bool ReadGlowFields(Brimvale::cRecordReader& reader);
    void WriteGlowFields(Brimvale::cRecordWriter& writer) const;

    Painter::cSolidFill m_fill{0xFFFFFF00u};
    std::int32_t m_first = 0;
    std::int32_t m_blur = 5;
};

} // namespace Style
