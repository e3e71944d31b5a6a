#include "framework/document/StyleGradationFill.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/BlendModes.h"
#include "framework/painter/Canvas.h"

namespace Style {

cStyle::cGradationFillStyle::cGradationFillStyle()
{
    gradient.alphaStops = {Painter::cGradient::AlphaStop(0, 255), Painter::cGradient::AlphaStop(255, 255)};
    gradient.colourStops = {{0, 0x000000u, 0}, {255, 0xFFFFFFu, 0}};
}

void cStyle::cGradationFillStyle::Geometry(std::int32_t width, std::int32_t height, std::int32_t& x1,
                                           std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) const
{
    const double cx = double(width) * centreX / 100.0;
    const double cy = double(height) * centreY / 100.0;
    const double basis = fit ? std::min(width, height) : std::max(width, height);
    const double half = (basis / 2.0) * scale / 100.0;
    const double radians = double(angle) * std::numbers::pi / 180.0;
    const double dx = std::cos(radians) * half;
    const double dy = std::sin(radians) * half;
    auto round = [](double v) {
        return static_cast<std::int32_t>(std::clamp(std::floor(v + 0.5), -1e8, 1e8));
    };
    if (gradient.type == Painter::cGradationFill::Linear)
    {
        x1 = round(cx - dx);
        y1 = round(cy - dy);
    }
    else
    {
        x1 = round(cx);
        y1 = round(cy);
    }
    x2 = round(cx + dx);
    y2 = round(cy + dy);
}

bool cStyle::cGradationFillStyle::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    Painter::cPicture result;
    Painter::cPicture ramp;
    if (input.IsEmpty() || !result.CopyFrom(input) ||
        !ramp.Create(Painter::FORMAT_ARGB32, input.Width(), input.Height()))
        return false;
    result.SetOpaque();
    ramp.Fill(0);
    Painter::cGradationFill fill;
    fill.SetType(gradient.type);
    fill.Gradient().AlphaStops() = gradient.alphaStops;
    fill.Gradient().ColourStops() = gradient.colourStops;
    std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Geometry(input.Width(), input.Height(), x1, y1, x2, y2);
    fill.SetPoints(x1, y1, x2, y2);
    Painter::cCanvas rampCanvas(ramp);
    rampCanvas.FillRect(0, 0, float(input.Width()), float(input.Height()), &fill, Painter::cCanvas::sStroke{});
    CompositeKeepingAlpha(result, ramp, mode, std::clamp(opacity, 0, 255), input);
    output = std::move(result);
    return true;
}

bool cStyle::cGradationFillStyle::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::int32_t values[4] = {};
    std::uint8_t fitFlag = 0;
    sGradient read;
    std::int16_t gradientVersion = 0, stopsVersion = 0;
    std::int32_t centre[2] = {};
    std::int32_t last = 0;
    if (!reader.Version(version, 1) || !reader.U8(enabled))
        return false;
    for (std::int32_t& value : values)
        if (!reader.I32(value))
            return false;
    if (!reader.U8(fitFlag) || !reader.Version(gradientVersion, 1) || !reader.U8(read.flag) ||
        !reader.I32(read.type) || !reader.WString(read.name) || !reader.Bytes(read.start, 8) ||
        !reader.Bytes(read.end, 8) || !reader.Version(stopsVersion, 0))
        return false;
    std::int32_t count = 0;
    if (!reader.Count(count, 4))
        return false;
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::int16_t stopVersion = 0;
        std::uint8_t position = 0, alpha = 0;
        if (!reader.Version(stopVersion, 0) || !reader.U8(position) || !reader.U8(alpha))
            return false;
        read.alphaStops.push_back(Painter::cGradient::AlphaStop(position, alpha));
    }
    if (!reader.Count(count, 11))
        return false;
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::int16_t stopVersion = 0;
        Painter::cGradient::sColourStop stop;
        if (!reader.Version(stopVersion, 0) || !reader.U8(stop.position) || !reader.U32(stop.colour) ||
            !reader.U32(stop.extra))
            return false;
        read.colourStops.push_back(stop);
    }
    if (!reader.I32(centre[0]) || !reader.I32(centre[1]) || !reader.I32(last))
        return false;
    const std::int32_t percent = Brimvale::sDocumentLimits::kMaxStylePercent;
    if (values[1] < 0 || values[1] >= Painter::cBlendModes::MODE_COUNT || values[2] < 0 || values[2] > percent ||
        centre[0] < -percent || centre[0] > percent || centre[1] < -percent || centre[1] > percent ||
        read.type < Painter::cGradationFill::Linear || read.type > Painter::cGradationFill::Angle)
        return false;
    m_enabled = enabled;
    opacity = values[0];
    mode = values[1];
    scale = values[2];
    angle = values[3];
    fit = fitFlag;
    gradient = std::move(read);
    centreX = centre[0];
    centreY = centre[1];
    tail = last;
    return true;
}

void cStyle::cGradationFillStyle::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    writer.I32(opacity);
    writer.I32(mode);
    writer.I32(scale);
    writer.I32(angle);
    writer.U8(fit);
    writer.Version(1);
    writer.U8(gradient.flag);
    writer.I32(gradient.type);
    writer.WString(gradient.name);
    writer.Bytes(gradient.start, 8);
    writer.Bytes(gradient.end, 8);
    writer.Version(0);
    writer.I32(static_cast<std::int32_t>(gradient.alphaStops.size()));
    for (const std::uint16_t stop : gradient.alphaStops)
    {
        writer.Version(0);
        writer.U8(static_cast<std::uint8_t>(stop & 0xFF));
        writer.U8(static_cast<std::uint8_t>(stop >> 8));
    }
    writer.I32(static_cast<std::int32_t>(gradient.colourStops.size()));
    for (const Painter::cGradient::sColourStop& stop : gradient.colourStops)
    {
        writer.Version(0);
        writer.U8(stop.position);
        writer.U32(stop.colour);
        writer.U32(stop.extra);
    }
    writer.I32(centreX);
    writer.I32(centreY);
    writer.I32(tail);
}

} // namespace Style
