#pragma once

// Style::cStyle::cInnerGlow: the glow colour mixed into the layer along its
// inner edge, where the choked and blurred alpha does not cover it.

#include "framework/document/StyleGlow.h"

namespace Style {

class cStyle::cInnerGlow : public cStyle::cGlow
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cInnerGlow>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindInnerGlow; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;
    std::uint64_t Work(const Container::sRect& input) const override;

    std::int32_t Choke() const { return m_first; }
    std::int32_t BlendingMode() const { return m_mode; }
    void SetBlendingMode(std::int32_t mode) { m_mode = mode; }

private:
    std::int32_t m_mode = 0;
};

} // namespace Style
