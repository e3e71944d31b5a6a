#pragma once

// Style::cStyle::cTexture: a texture picture laid over the layer; flag bit 0 inverts it, bits 1 and 2 mirror it. Documents keep it and this program writes
// it back unchanged; it does not render it: the layer passes through as it
// is.

#include "framework/document/Style.h"

namespace Style {

class cStyle::cTexture : public cStyle::cItem
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cTexture>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    // A copy of the input.
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindTexture; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    enum : std::int32_t
    {
        FlagInvert = 1,
        FlagMirrorVertical = 2,
        FlagMirrorHorizontal = 4,
    };

    std::int32_t a = 0;
    std::int32_t b = 0;
    std::uint8_t c[8] = {};
    std::int32_t d = 0;
    std::int32_t flags = 0;
    Painter::cPicture picture;
};

} // namespace Style
