#pragma once

// Style::cStyle::cColorFill: the layer's colours blended with one colour
// (by a blending mode, at the colour's alpha), its alpha kept.

#include "framework/document/Style.h"

namespace Style {

class cStyle::cColorFill : public cStyle::cItem
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cColorFill>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindColorFill; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    std::uint32_t Colour() const { return m_colour; }
    void SetColour(std::uint32_t colour) { m_colour = colour; }
    std::int32_t BlendingMode() const { return m_mode; }
    void SetBlendingMode(std::int32_t mode) { m_mode = mode; }

private:
    std::uint32_t m_colour = 0xFFFF0000u;
    std::int32_t m_mode = 0;
};

} // namespace Style
