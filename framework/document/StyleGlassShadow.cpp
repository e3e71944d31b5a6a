#include "framework/document/StyleGlassShadow.h"

#include <algorithm>

#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/Canvas.h"

namespace Style {

Container::sRect cStyle::cGlassShadow::GetBounds(const Container::sRect& input) const
{
    const std::int64_t h = std::int64_t(input.bottom) - input.top;
    const std::int64_t grow = std::int64_t(m_gap) * h / 100 + std::int64_t(m_height) * h / 100;
    if (grow <= 0)
        return input;
    return GrowRect(input, 0, 0, 0, grow);
}

std::int32_t cStyle::cGlassShadow::Fade(std::int32_t i, std::int32_t g) const
{
    const std::int64_t start = std::int64_t(std::clamp(m_startOpacity, 0, 100)) * 255 / 100;
    return static_cast<std::int32_t>(std::max<std::int64_t>(0, start - std::int64_t(i) * 256 / g));
}

bool cStyle::cGlassShadow::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    const std::int32_t w = input.Width();
    const std::int32_t h = input.Height();
    const Container::sRect bounds = GetBounds(Container::sRect{0, 0, w, h});
    Painter::cPicture result;
    if (input.IsEmpty() || !result.Create(Painter::FORMAT_ARGB32, bounds.Width(), bounds.Height()))
        return false;
    result.Fill(0);
    const std::int64_t g = std::int64_t(h) * m_height / 100;
    const std::int64_t l = std::int64_t(h) * m_gap / 100;
    Painter::cCanvas canvas(result);
    if (g > 0)
    {
        // Layer row y lands at h + l + g - y * g / h: upside down, squashed
        // to g rows, l rows below the layer.
        const Painter::cMatrix mirror(1, 0, 0, -float(g) / float(h), 0, float(h + l + g));
        canvas.CompositeCopy(mirror, input, input.Bounds());
        const std::uint32_t tint = m_tint;
        const std::uint32_t tintAlpha = tint >> 24;
        for (std::int64_t i = 0; i < g; ++i)
        {
            const std::int64_t y = h + l + i;
            if (y < 0 || y >= result.Height())
                continue;
            const std::uint32_t fade = static_cast<std::uint32_t>(Fade(static_cast<std::int32_t>(i),
                                                                       static_cast<std::int32_t>(g)));
            std::uint32_t* row = result.Row32(static_cast<std::int32_t>(y));
            for (std::int32_t x = 0; x < w && x < result.Width(); ++x)
            {
                const std::uint32_t p = row[x];
                std::uint32_t value = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    value |= ((((p >> shift) & 0xFF) * ((tint >> shift) & 0xFF)) / 255) << shift;
                const std::uint32_t alpha = ((((p >> 24) * tintAlpha) / 255) * fade) / 255;
                row[x] = value | (alpha << 24);
            }
        }
    }
    canvas.CompositeAt(0, 0, input, input.Bounds(), 0, 255);
    output = std::move(result);
    return true;
}

bool cStyle::cGlassShadow::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::uint32_t tint = 0;
    std::int32_t gap = 0, height = 0, start = 100;
    if (!reader.Version(version, 1) || !reader.U8(enabled) || !reader.U32(tint) || !reader.I32(gap) ||
        !reader.I32(height))
        return false;
    if (version >= 1 && !reader.I32(start))
        return false;
    const std::int32_t percent = Brimvale::sDocumentLimits::kMaxStylePercent;
    if (gap < -percent || gap > percent || height < 0 || height > percent || start < 0 || start > percent)
        return false;
    m_enabled = enabled;
    Set(tint, gap, height, start);
    return true;
}

void cStyle::cGlassShadow::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    writer.U32(m_tint);
    writer.I32(m_gap);
    writer.I32(m_height);
    writer.I32(m_startOpacity);
}

} // namespace Style
