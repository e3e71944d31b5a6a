#include "framework/document/StyleBevelAndEmboss.h"

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"

namespace Style {

bool cStyle::cBevelAndEmboss::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    return output.CopyFrom(input);
}

bool cStyle::cBevelAndEmboss::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    cBevelAndEmboss read;
    if (!reader.Version(version, 0) || !reader.U8(read.m_enabled))
        return false;
    for (std::int32_t& value : read.first)
        if (!reader.I32(value))
            return false;
    if (!reader.U8(read.flag))
        return false;
    for (std::int32_t& value : read.second)
        if (!reader.I32(value))
            return false;
    *this = read;
    return true;
}

void cStyle::cBevelAndEmboss::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(0);
    writer.U8(m_enabled);
    for (const std::int32_t value : first)
        writer.I32(value);
    writer.U8(flag);
    for (const std::int32_t value : second)
        writer.I32(value);
}

} // namespace Style
