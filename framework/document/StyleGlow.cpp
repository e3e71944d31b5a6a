#include "framework/document/StyleGlow.h"

#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"

namespace Style {

bool cStyle::cGlow::ReadGlowFields(Brimvale::cRecordReader& reader)
{
    std::int16_t fillVersion = 0;
    std::uint8_t fillFlag = 0;
    std::uint32_t colour = 0;
    std::int32_t first = 0, blur = 0;
    if (!reader.Version(fillVersion, 1) || !reader.U8(fillFlag) || !reader.U32(colour) || !reader.I32(first) ||
        !reader.I32(blur))
        return false;
    const std::int32_t limit = Brimvale::sDocumentLimits::kMaxStyleExtent;
    if (first < 0 || first > limit || blur < 0 || blur > limit)
        return false;
    m_fill.SetFillRule(fillFlag);
    m_fill.SetColour(colour);
    m_first = first;
    m_blur = blur;
    return true;
}

void cStyle::cGlow::WriteGlowFields(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(static_cast<std::uint8_t>(m_fill.FillRule()));
    writer.U32(m_fill.Colour());
    writer.I32(m_first);
    writer.I32(m_blur);
}

} // namespace Style
