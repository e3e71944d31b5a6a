#include "framework/document/StyleBorder.h"

#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"

namespace Style {

Container::sRect cStyle::cBorder::GetBounds(const Container::sRect& input) const
{
    return GrowRect(input, m_widths[0], m_widths[1], m_widths[2], m_widths[3]);
}

bool cStyle::cBorder::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    const Container::sRect bounds = GetBounds(Container::sRect{0, 0, input.Width(), input.Height()});
    Painter::cPicture result;
    if (input.IsEmpty() || !result.Create(Painter::FORMAT_ARGB32, bounds.Width(), bounds.Height()))
        return false;
    result.Fill(m_fill.Colour());
    result.AlphaDraw(m_widths[0], m_widths[1], input, input.Bounds());
    output = std::move(result);
    return true;
}

bool cStyle::cBorder::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0, fillVersion = 0;
    std::uint8_t enabled = 0, fillFlag = 0;
    std::uint32_t colour = 0;
    std::int32_t widths[4] = {};
    if (!reader.Version(version, 1) || !reader.U8(enabled) || !reader.Version(fillVersion, 1) ||
        !reader.U8(fillFlag) || !reader.U32(colour))
        return false;
    for (std::int32_t& width : widths)
        if (!reader.I32(width) || width < 0 || width > Brimvale::sDocumentLimits::kMaxStyleExtent)
            return false;
    m_enabled = enabled;
    m_fill.SetFillRule(fillFlag);
    m_fill.SetColour(colour);
    SetWidths(widths[0], widths[1], widths[2], widths[3]);
    return true;
}

void cStyle::cBorder::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    writer.Version(1);
    writer.U8(static_cast<std::uint8_t>(m_fill.FillRule()));
    writer.U32(m_fill.Colour());
    for (const std::int32_t width : m_widths)
        writer.I32(width);
}

} // namespace Style
