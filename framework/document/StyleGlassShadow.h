#pragma once

// Style::cStyle::cGlassShadow: a tinted mirror image of the layer below it,
// squashed to a height in percent of the layer's and fading out downwards,
// after a gap in percent of the layer's height.

#include "framework/document/Style.h"

namespace Style {

class cStyle::cGlassShadow : public cStyle::cItem
{
public:
    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cGlassShadow>(*this); }
    // The input with its bottom moved down by the gap and the reflection.
    Container::sRect GetBounds(const Container::sRect& input) const override;
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindGlassShadow; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    std::uint32_t Tint() const { return m_tint; }
    std::int32_t Gap() const { return m_gap; }
    std::int32_t Height() const { return m_height; }
    std::int32_t StartOpacity() const { return m_startOpacity; }
    void Set(std::uint32_t tint, std::int32_t gap, std::int32_t height, std::int32_t startOpacity)
    {
        m_tint = tint;
        m_gap = gap;
        m_height = height;
        m_startOpacity = startOpacity;
    }
    // The fade of reflection row i of g rows.
    std::int32_t Fade(std::int32_t i, std::int32_t g) const;

private:
    std::uint32_t m_tint = 0xFFFFFFFFu;
    std::int32_t m_gap = 0;
    std::int32_t m_height = 100;
    std::int32_t m_startOpacity = 100;
};

} // namespace Style
