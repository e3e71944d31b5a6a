#pragma once

// Style::cStyle::cInnerShadow: the shadow colour mixed into the layer where
// the layer's blurred alpha, moved by the offset, does not cover it.

#include "framework/document/StyleShadow.h"

namespace Style {

class cStyle::cInnerShadow : public cStyle::cShadow
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cInnerShadow>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindInnerShadow; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;
    std::uint64_t Work(const Container::sRect& input) const override;

    std::int32_t BlendingMode() const { return m_mode; }
    void SetBlendingMode(std::int32_t mode) { m_mode = mode; }

private:
    std::int32_t m_mode = 0;
};

} // namespace Style
