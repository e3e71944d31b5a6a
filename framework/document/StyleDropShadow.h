#pragma once

// Style::cStyle::cDropShadow: the layer's alpha, blurred and moved by the
// shadow offset, painted in the shadow colour behind the layer.

#include "framework/document/StyleShadow.h"

namespace Style {

class cStyle::cDropShadow : public cStyle::cShadow
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cDropShadow>(*this); }
    // The input moved by the offset and grown by the size, united with the
    // input.
    Container::sRect GetBounds(const Container::sRect& input) const override;
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindDropShadow; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;
    std::uint64_t Work(const Container::sRect& input) const override;
};

} // namespace Style
