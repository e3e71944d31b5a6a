#include "framework/document/StyleInnerShadow.h"

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/BlendModes.h"
#include "framework/painter/Channel.h"

namespace Style {

std::uint64_t cStyle::cInnerShadow::Work(const Container::sRect& input) const
{
    return PassWork(GrowRect(input, 3 * m_size, 3 * m_size, 3 * m_size, 3 * m_size), m_size, 0);
}

bool cStyle::cInnerShadow::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    Painter::cPicture result;
    Painter::cPicture mixed;
    if (input.IsEmpty() || !result.CopyFrom(input) || !mixed.Create(Painter::FORMAT_ARGB32, input.Width(), input.Height()))
        return false;
    result.SetOpaque();
    // The alpha blurred into a channel larger by three sizes on every side,
    // so that the moved sample stays inside it near the edges.
    const std::int32_t margin = 3 * m_size;
    Painter::cChannel alpha;
    Painter::cChannel blurred;
    if (!input.AlphaToChannel(alpha) ||
        !blurred.Create(input.Width() + 2 * margin, input.Height() + 2 * margin) ||
        !blurred.Blur(alpha, margin, margin, m_size))
        return false;
    const Container::sPoint offset = Offset();
    const std::uint32_t colour = Colour();
    for (std::int32_t y = 0; y < input.Height(); ++y)
    {
        const std::uint32_t* from = result.Row32(y);
        std::uint32_t* row = mixed.Row32(y);
        const std::int64_t sy = std::int64_t(y) - offset.y + margin;
        for (std::int32_t x = 0; x < input.Width(); ++x)
        {
            const std::int64_t sx = std::int64_t(x) - offset.x + margin;
            std::uint32_t strength = 255;
            if (sx >= 0 && sy >= 0 && sx < blurred.Width() && sy < blurred.Height())
                strength = 255u - blurred.Value(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy));
            row[x] = MixInner(from[x], colour, strength);
        }
    }
    CompositeKeepingAlpha(result, mixed, m_mode, 255, input);
    output = std::move(result);
    return true;
}

bool cStyle::cInnerShadow::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::int32_t mode = 0;
    if (!reader.Version(version, 1) || !reader.U8(enabled) || !ReadShadowFields(reader))
        return false;
    if (version >= 1 && !reader.I32(mode))
        return false;
    if (mode < 0 || mode >= Painter::cBlendModes::MODE_COUNT)
        return false;
    m_enabled = enabled;
    m_mode = mode;
    return true;
}

void cStyle::cInnerShadow::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    WriteShadowFields(writer);
    writer.I32(m_mode);
}

} // namespace Style
