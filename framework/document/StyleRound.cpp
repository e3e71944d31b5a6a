#include "framework/document/StyleRound.h"

#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/painter/Canvas.h"
#include "framework/painter/Channel.h"
#include "framework/painter/Path.h"
#include "framework/painter/ScanConverter.h"

namespace Style {

bool cStyle::cRound::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    Painter::cPicture result;
    Painter::cChannel coverage;
    if (input.IsEmpty() || !result.Create(Painter::FORMAT_ARGB32, input.Width(), input.Height()) ||
        !coverage.Create(input.Width(), input.Height()))
        return false;
    coverage.Clear();
    Outline::cPath path;
    path.AddRoundRect(float(m_radius), 0, 0, float(input.Width()), float(input.Height()));
    Painter::cScanConverter converter(input.Width(), input.Height());
    converter.AddPath(path);
    if (!converter.Render(coverage, 0, 0))
        return false;
    result.Fill(0);
    Painter::cCanvas canvas(result);
    canvas.SetMask(&coverage, 0, 0);
    canvas.CompositeAt(0, 0, input, input.Bounds(), 0, 255);
    output = std::move(result);
    return true;
}

bool cStyle::cRound::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::int32_t radius = 0;
    if (!reader.Version(version, 1) || !reader.U8(enabled) || !reader.I32(radius))
        return false;
    if (radius < 0 || radius > Brimvale::sDocumentLimits::kMaxStyleExtent)
        return false;
    m_enabled = enabled;
    m_radius = radius;
    return true;
}

void cStyle::cRound::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    writer.I32(m_radius);
}

} // namespace Style
