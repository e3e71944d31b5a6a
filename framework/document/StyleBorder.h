#pragma once

// Style::cStyle::cBorder: a frame of one colour around the layer, with a
// width of its own on each side.

#include "framework/document/Style.h"
#include "framework/painter/SolidFill.h"

namespace Style {

class cStyle::cBorder : public cStyle::cItem
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cBorder>(*this); }
    // The input grown by the four widths.
    Container::sRect GetBounds(const Container::sRect& input) const override;
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::size_t GetMemorySize() const override { return 40; }
    std::int32_t KindCode() const override { return KindBorder; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    std::uint32_t Colour() const { return m_fill.Colour(); }
    void SetColour(std::uint32_t colour) { m_fill.SetColour(colour); }
    // Left, top, right, bottom.
    const std::int32_t* Widths() const { return m_widths; }
    void SetWidths(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
    {
        m_widths[0] = left;
        m_widths[1] = top;
        m_widths[2] = right;
        m_widths[3] = bottom;
    }

private:
    Painter::cSolidFill m_fill{0xFFFFFFFFu};
    std::int32_t m_widths[4] = {4, 4, 4, 4};
};

} // namespace Style
