#include "framework/document/StyleFrame.h"

#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"

namespace Style {

bool cStyle::cFrame::Render(Painter::cPicture& output, const Painter::cPicture& input) const
{
    return output.CopyFrom(input);
}

bool cStyle::cFrame::ReadRecord(Brimvale::cRecordReader& reader)
{
    std::int16_t version = 0;
    cFrame read;
    if (!reader.Version(version, 0) || !reader.U8(read.m_enabled) || !reader.I32(read.a) || !reader.Bytes(read.b, 16) ||
        !reader.Picture(read.picture) || !reader.I32(read.c) || !reader.Bytes(read.d, 16) ||
        !reader.WString(read.name) || !reader.I32(read.e) || !reader.U8(read.f) || !reader.U8(read.g) ||
        !reader.I32(read.h))
        return false;
    *this = std::move(read);
    return true;
}

void cStyle::cFrame::WriteRecord(Brimvale::cRecordWriter& writer) const
{
    writer.Version(0);
    writer.U8(m_enabled);
    writer.I32(a);
    writer.Bytes(b, 16);
    writer.Picture(picture);
    writer.I32(c);
    writer.Bytes(d, 16);
    writer.WString(name);
    writer.I32(e);
    writer.U8(f);
    writer.U8(g);
    writer.I32(h);
}

} // namespace Style
