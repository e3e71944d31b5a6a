#include "framework/document/StyleDropShadow.h"

#include <algorithm>

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/Channel.h"

namespace Style {

Container::sRect cStyle::cDropShadow::GetBounds(const Container::sRect& input) const
{
    const Container::sPoint offset = Offset();
    const Container::sRect moved = GrowRect(input, m_size - offset.x, m_size - offset.y, m_size + offset.x,
                                            m_size + offset.y);
    return UniteRect(moved, input);
}

std::uint64_t cStyle::cDropShadow::Work(const Container::sRect& input) const
{
    return PassWork(GetBounds(input), m_size, 0);
}

bool cStyle::cDropShadow::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    const Container::sRect bounds = GetBounds(Container::sRect{0, 0, input.Width(), input.Height()});
    Painter::cPicture result;
    if (input.IsEmpty() || !result.Create(Painter::FORMAT_ARGB32, bounds.Width(), bounds.Height()))
        return false;
    result.Fill(0);
    result.CopyRect(-bounds.left, -bounds.top, input, input.Bounds());
    Painter::cChannel alpha;
    Painter::cChannel blurred;
    if (!input.AlphaToChannel(alpha) || !blurred.Create(input.Width() + 2 * m_size, input.Height() + 2 * m_size) ||
        !blurred.Blur(alpha, m_size, m_size, m_size))
        return false;
    const Container::sPoint offset = Offset();
    const std::int32_t left = std::max(0, offset.x - m_size);
    const std::int32_t top = std::max(0, offset.y - m_size);
    const std::uint32_t colour = Colour();
    for (std::int32_t y = 0; y < blurred.Height() && top + y < result.Height(); ++y)
    {
        std::uint32_t* row = result.Row32(top + y);
        const std::uint8_t* coverage = blurred.Row(y);
        for (std::int32_t x = 0; x < blurred.Width() && left + x < result.Width(); ++x)
            row[left + x] = CompositeBehind(row[left + x], colour, coverage[x]);
    }
    output = std::move(result);
    return true;
}

bool cStyle::cDropShadow::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    if (!reader.Version(version, 0) || !reader.U8(enabled) || !ReadShadowFields(reader))
        return false;
    m_enabled = enabled;
    return true;
}

void cStyle::cDropShadow::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(0);
    writer.U8(m_enabled);
    WriteShadowFields(writer);
}

} // namespace Style
