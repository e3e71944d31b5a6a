#pragma once

// Style::cStyle::cOuterGlow: the layer's alpha spread and blurred, painted
// in the glow colour behind the layer.

#include "framework/document/StyleGlow.h"

namespace Style {

class cStyle::cOuterGlow : public cStyle::cGlow
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cOuterGlow>(*this); }
    // The input grown by spread + blur size on every side.
    Container::sRect GetBounds(const Container::sRect& input) const override;
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindOuterGlow; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;
    std::uint64_t Work(const Container::sRect& input) const override;

    std::int32_t Spread() const { return m_first; }
};

} // namespace Style
