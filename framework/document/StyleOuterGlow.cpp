#include "framework/document/StyleOuterGlow.h"

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/Channel.h"

namespace Style {

Container::sRect cStyle::cOuterGlow::GetBounds(const Container::sRect& input) const
{
    const std::int64_t grow = std::int64_t(m_first) + m_blur;
    return UniteRect(GrowRect(input, grow, grow, grow, grow), input);
}

std::uint64_t cStyle::cOuterGlow::Work(const Container::sRect& input) const
{
    return PassWork(GetBounds(input), m_blur, m_first);
}

bool cStyle::cOuterGlow::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    const Container::sRect bounds = GetBounds(Container::sRect{0, 0, input.Width(), input.Height()});
    Painter::cPicture result;
    if (input.IsEmpty() || !result.Create(Painter::FORMAT_ARGB32, bounds.Width(), bounds.Height()))
        return false;
    result.Fill(0);
    result.CopyRect(-bounds.left, -bounds.top, input, input.Bounds());
    Painter::cChannel alpha;
    Painter::cChannel spread;
    Painter::cChannel blurred;
    if (!input.AlphaToChannel(alpha) || !spread.Spread(alpha, m_first) ||
        !blurred.Create(spread.Width() + 2 * m_blur, spread.Height() + 2 * m_blur) ||
        !blurred.Blur(spread, m_blur, m_blur, m_blur))
        return false;
    const std::uint32_t colour = Colour();
    for (std::int32_t y = 0; y < result.Height() && y < blurred.Height(); ++y)
    {
        std::uint32_t* row = result.Row32(y);
        const std::uint8_t* coverage = blurred.Row(y);
        for (std::int32_t x = 0; x < result.Width() && x < blurred.Width(); ++x)
            row[x] = CompositeBehind(row[x], colour, coverage[x]);
    }
    output = std::move(result);
    return true;
}

bool cStyle::cOuterGlow::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    if (!reader.Version(version, 0) || !reader.U8(enabled) || !ReadGlowFields(reader))
        return false;
    m_enabled = enabled;
    return true;
}

void cStyle::cOuterGlow::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(0);
    writer.U8(m_enabled);
    WriteGlowFields(writer);
}

} // namespace Style
