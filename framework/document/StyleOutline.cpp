#include "framework/document/StyleOutline.h"

#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StylePixels.h"
#include "framework/painter/Channel.h"

namespace Style {

Container::sRect cStyle::cOutline::GetBounds(const Container::sRect& input) const
{
    return GrowRect(input, m_size, m_size, m_size, m_size);
}

std::uint64_t cStyle::cOutline::Work(const Container::sRect& input) const
{
    return PassWork(GetBounds(input), 0, m_size);
}

bool cStyle::cOutline::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    output.Release();
    const Container::sRect bounds = GetBounds(Container::sRect{0, 0, input.Width(), input.Height()});
    Painter::cPicture band;
    Painter::cChannel alpha;
    Painter::cChannel spread;
    if (input.IsEmpty() || !band.Create(Painter::FORMAT_ARGB32, bounds.Width(), bounds.Height()) ||
        !input.AlphaToChannel(alpha) || !spread.Spread(alpha, m_size))
        return false;
    band.Fill(0);
    band.MaskDraw(0, 0, 0xFFFFFFFFu, spread, Container::sRect(0, 0, spread.Width(), spread.Height()));
    Painter::cPicture result;
    const bool filled = m_fillKind == FillGradation ? m_gradationFill.Render(result, band)
                                                    : m_colourFill.Render(result, band);
    if (!filled)
        return false;
    result.AlphaDraw(m_size, m_size, input, input.Bounds());
    output = std::move(result);
    return true;
}

bool cStyle::cOutline::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    std::uint8_t enabled = 0;
    std::int32_t size = 0, kind = 0;
    cColorFill colourFill;
    cGradationFillStyle gradationFill;
    if (!reader.Version(version, 0) || !reader.U8(enabled) || !reader.I32(size) || !reader.I32(kind) ||
        !colourFill.ReadRecord(reader) || !gradationFill.ReadRecord(reader))
        return false;
    if (size < 0 || size > Brimvale::sDocumentLimits::kMaxStyleExtent || (kind != FillColour && kind != FillGradation))
        return false;
    m_enabled = enabled;
    m_size = size;
    m_fillKind = kind;
    m_colourFill = colourFill;
    m_gradationFill = std::move(gradationFill);
    return true;
}

void cStyle::cOutline::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(0);
    writer.U8(m_enabled);
    writer.I32(m_size);
    writer.I32(m_fillKind);
    m_colourFill.WriteRecord(writer);
    m_gradationFill.WriteRecord(writer);
}

} // namespace Style
