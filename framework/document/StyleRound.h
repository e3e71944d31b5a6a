#pragma once

// Style::cStyle::cRound: the layer's corners cut round with an anti-aliased
// edge.

#include "framework/document/Style.h"

namespace Style {

class cStyle::cRound : public cStyle::cItem
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cRound>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindRound; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    std::int32_t Radius() const { return m_radius; }
    void SetRadius(std::int32_t radius) { m_radius = radius; }

private:
    std::int32_t m_radius = 8;
};

} // namespace Style
