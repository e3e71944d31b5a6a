#include "framework/document/StyleInnerGlow.h"

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/BlendModes.h"
#include "framework/painter/Channel.h"

namespace Style {

std::uint64_t cStyle::cInnerGlow::Work(const Container::sRect& input) const
{
    return PassWork(input, m_blur, m_first);
}

bool cStyle::cInnerGlow::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    Painter::cPicture result;
    Painter::cPicture mixed;
    if (input.IsEmpty() || !result.CopyFrom(input) || !mixed.Create(Painter::FORMAT_ARGB32, input.Width(), input.Height()))
        return false;
    result.SetOpaque();
    Painter::cChannel alpha;
    Painter::cChannel choked;
    Painter::cChannel blurred;
    if (!input.AlphaToChannel(alpha) || !choked.Choke(alpha, m_first) ||
        !blurred.Create(input.Width(), input.Height()) || !blurred.Blur(choked, 0, 0, m_blur))
        return false;
    const std::uint32_t colour = Colour();
    for (std::int32_t y = 0; y < input.Height(); ++y)
    {
        const std::uint32_t* from = result.Row32(y);
        std::uint32_t* row = mixed.Row32(y);
        for (std::int32_t x = 0; x < input.Width(); ++x)
            row[x] = MixInner(from[x], colour, 255u - blurred.Value(x, y));
    }
    CompositeKeepingAlpha(result, mixed, m_mode, 255, input);
    output = std::move(result);
    return true;
}

bool cStyle::cInnerGlow::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::int32_t mode = 0;
    if (!reader.Version(version, 1) || !reader.U8(enabled) || !ReadGlowFields(reader))
        return false;
    if (version >= 1 && !reader.I32(mode))
        return false;
    if (mode < 0 || mode >= Painter::cBlendModes::MODE_COUNT)
        return false;
    m_enabled = enabled;
    m_mode = mode;
    return true;
}

void cStyle::cInnerGlow::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    WriteGlowFields(writer);
    writer.I32(m_mode);
}

} // namespace Style
