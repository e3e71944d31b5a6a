#include "framework/document/StyleColorFill.h"

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/BlendModes.h"

namespace Style {

bool cStyle::cColorFill::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    Painter::cPicture result;
    Painter::cPicture colour;
    if (input.IsEmpty() || !result.CopyFrom(input) ||
        !colour.Create(Painter::FORMAT_ARGB32, input.Width(), input.Height()))
        return false;
    result.SetOpaque();
    // The colour is laid on opaque, at an opacity of its own alpha.
    colour.Fill(m_colour | 0xFF000000u);
    CompositeKeepingAlpha(result, colour, m_mode, static_cast<std::int32_t>(m_colour >> 24), input);
    output = std::move(result);
    return true;
}

bool cStyle::cColorFill::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::uint32_t colour = 0;
    std::int32_t mode = 0;
    if (!reader.Version(version, 0) || !reader.U8(enabled) || !reader.U32(colour) || !reader.I32(mode))
        return false;
    if (mode < 0 || mode >= Painter::cBlendModes::MODE_COUNT)
        return false;
    m_enabled = enabled;
    m_colour = colour;
    m_mode = mode;
    return true;
}

void cStyle::cColorFill::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(0);
    writer.U8(m_enabled);
    writer.U32(m_colour);
    writer.I32(m_mode);
}

} // namespace Style
