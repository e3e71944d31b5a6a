#pragma once

// Style::cStyle::cGradationFillStyle: the layer's colours blended with a
// gradient laid over it (by a blending mode, at an opacity), its alpha
// kept. The gradient runs through a centre given in percent of the layer,
// along an angle, over a length in percent of the layer's larger side (the
// smaller one with the fit flag).

#include <vector>

#include "framework/document/Style.h"
#include "framework/painter/GradationFill.h"

namespace Style {

class cStyle::cGradationFillStyle : public cStyle::cItem
{
public:
    // The gradient record as documents store it.
    struct sGradient
    {
        std::uint8_t flag = 0;
        std::int32_t type = Painter::cGradationFill::Linear;
        Container::cWideString name;
        std::uint8_t start[8] = {};
        std::uint8_t end[8] = {};
        std::vector<std::uint16_t> alphaStops;  // position in the low byte, alpha in the high byte
        std::vector<Painter::cGradient::sColourStop> colourStops;
    };

    cGradationFillStyle();

    std::unique_ptr<cItem> Clone() const override { return std::make_unique<cGradationFillStyle>(*this); }
    Container::sRect GetBounds(const Container::sRect& input) const override { return input; }
    bool Render(Painter::cPicture& output, const Painter::cPicture& input) const override;
    std::int32_t KindCode() const override { return KindGradationFill; }
    bool ReadRecord(Brimvale::cRecordReader& reader) override;
    void WriteRecord(Brimvale::cRecordWriter& writer) const override;

    // The gradient's end points for a layer of width x height.
    void Geometry(std::int32_t width, std::int32_t height, std::int32_t& x1, std::int32_t& y1, std::int32_t& x2,
                  std::int32_t& y2) const;

    std::int32_t opacity = 255;
    std::int32_t mode = 0;
    std::int32_t scale = 100;   // percent
    std::int32_t angle = 0;     // degrees
    std::uint8_t fit = 0;
    sGradient gradient;
    std::int32_t centreX = 50;  // percent of the width
    std::int32_t centreY = 50;  // percent of the height
    std::int32_t tail = 0;
};

} // namespace Style
