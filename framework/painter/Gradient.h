#pragma once

#include <cstdint>
#include <vector>

namespace Painter {

// A gradient definition: colour stops and alpha stops along the gradient,
// positions 0..255. The default runs from white to black, opaque.
class cGradient
{
public:
    struct sColourStop
    {
        std::uint8_t position = 0;
        std::uint32_t colour = 0;  // 0x00RRGGBB
        std::uint32_t extra = 0;   // kept and copied, not used by the table

        friend bool operator==(const sColourStop&, const sColourStop&) = default;
    };

    // An alpha stop: low byte the position, high byte the alpha.
    static constexpr std::uint16_t AlphaStop(std::uint8_t position, std::uint8_t alpha)
    {
        return std::uint16_t(position | alpha << 8);
    }

    cGradient();

    std::vector<sColourStop>& ColourStops() { return m_colourStops; }
    const std::vector<sColourStop>& ColourStops() const { return m_colourStops; }
    std::vector<std::uint16_t>& AlphaStops() { return m_alphaStops; }
    const std::vector<std::uint16_t>& AlphaStops() const { return m_alphaStops; }

    // Fills table with `count` 0xAARRGGBB entries: the colours interpolated
    // between the colour stops, then the alpha bytes between the alpha
    // stops (entries before the first stop take its value, entries from
    // the last stop on take the last one's). Without colour stops every
    // entry is opaque black. False (table unchanged) for a count below 1
    // or when memory runs out.
    bool BuildTable(std::int32_t count, std::vector<std::uint32_t>& table) const;

    friend bool operator==(const cGradient&, const cGradient&) = default;

private:
    std::vector<sColourStop> m_colourStops;
    std::vector<std::uint16_t> m_alphaStops;
};

} // namespace Painter
