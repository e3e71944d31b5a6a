#pragma once

// Style::cStyle::cBevelAndEmboss: a bevel or emboss lighting of the layer's edges. Documents keep it and this program writes
// it back unchanged; it does not render it: the layer passes through as it
// is.

#include "framework/document/Style.h"

namespace Style {

class cStyle::cBevelAndEmboss : public cStyle::cItem
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cBevelAndEmboss>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    // A copy of the input.
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindBevelAndEmboss; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    std::int32_t first[4] = {};
    std::uint8_t flag = 0;
    std::int32_t second[4] = {};
};

} // namespace Style
