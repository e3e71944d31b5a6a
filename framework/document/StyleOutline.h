#pragma once

// Style::cStyle::cOutline: a band of the given size around the layer's
// shape, painted with a colour fill or a gradation fill, under the layer.

#include "framework/document/Style.h"
#include "framework/document/StyleColorFill.h"
#include "framework/document/StyleGradationFill.h"

namespace Style {

class cStyle::cOutline : public cStyle::cItem
{
public:
    enum : std::int32_t
    {
        FillColour = 0,
        FillGradation = 1,
    };

    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cOutline>(*this); }
    // The input grown by the size on every side.
    Container::sRect GetBounds(const Container::sRect& input) const override;
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindOutline; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;
    std::uint64_t Work(const Container::sRect& input) const override;

    std::int32_t Size() const { return m_size; }
    void SetSize(std::int32_t size) { m_size = size; }
    std::int32_t FillKind() const { return m_fillKind; }
    void SetFillKind(std::int32_t kind) { m_fillKind = kind; }
    cColorFill& ColourFill() { return m_colourFill; }
    cGradationFillStyle& GradationFill() { return m_gradationFill; }

private:
    std::int32_t m_size = 3;
    std::int32_t m_fillKind = FillColour;
    cColorFill m_colourFill;
    cGradationFillStyle m_gradationFill;
};

} // namespace Style
