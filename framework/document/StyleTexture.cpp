#include "framework/document/StyleTexture.h"

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"

namespace Style {

bool cStyle::cTexture::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    return output.CopyFrom(input);
}

bool cStyle::cTexture::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    cTexture read;
    if (!reader.Version(version, 1) || !reader.U8(read.m_enabled) || !reader.I32(read.a) || !reader.I32(read.b) ||
        !reader.Bytes(read.c, 8) || !reader.I32(read.d) || !reader.I32(read.flags) || !reader.Picture(read.picture))
        return false;
    *this = std::move(read);
    return true;
}

void cStyle::cTexture::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(m_enabled);
    writer.I32(a);
    writer.I32(b);
    writer.Bytes(c, 8);
    writer.I32(d);
    writer.I32(flags);
    writer.Picture(picture);
}

} // namespace Style
