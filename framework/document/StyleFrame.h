#pragma once

// Style::cStyle::cFrame: a picture frame drawn around the layer. Documents keep it and this program writes
// it back unchanged; it does not render it: the layer passes through as it
// is.

#include "framework/core/WideString.h"
#include "framework/document/Style.h"

namespace Style {

class cStyle::cFrame : public cStyle::cItem
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cFrame>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    // A copy of the input.
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindFrame; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    std::int32_t a = 0;
    std::uint8_t b[16] = {};
    Painter::cPicture picture;
    std::int32_t c = 0;
    std::uint8_t d[16] = {};
    Container::cWideString name;
    std::int32_t e = 0;
    std::uint8_t f = 0;
    std::uint8_t g = 0;
    std::int32_t h = 0;
};

} // namespace Style
