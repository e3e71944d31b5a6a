#pragma once

// Reads the little-endian records of the document file from a file image
// in memory. Every read checks what remains and fails without consuming
// anything; counts are checked against the bytes left before anything is
// allocated, and the pixels of every picture read are charged to one
// budget for the whole document.
//
// The old form of the file (file version 0) stores every record version
// in a 16-byte block: an 8-character tag naming the record's kind, the
// version in bytes 8-9, then padding.

#include <cstddef>
#include <cstdint>

#include "framework/core/ByteString.h"
#include "framework/core/WideString.h"
#include "framework/picturefile/codec/ByteReader.h"

namespace Painter {
class cPicture;
}

namespace Brimvale {

class cRecordReader
{
public:
    cRecordReader(const std::uint8_t* data, std::size_t size, bool oldForm, std::uint64_t pixelBudget);

    bool OldForm() const { return m_oldForm; }
    std::size_t Remaining() const { return m_bytes.Remaining(); }
    std::size_t Position() const { return m_bytes.Position(); }

    // A record version: 0..newest, else false (a newer record than this
    // reader knows, or garbage).
    bool Version(std::int16_t& version, std::int16_t newest);
    // The old form's kind tag of the next record (the first 8 bytes of its
    // version block, up to the first zero byte), without consuming it.
    bool PeekTag(char (&tag)[9]) const;

    bool U8(std::uint8_t& value) { return m_bytes.U8(value); }
    bool I16(std::int16_t& value);
    bool U16(std::uint16_t& value) { return m_bytes.U16LE(value); }
    bool I32(std::int32_t& value);
    bool U32(std::uint32_t& value) { return m_bytes.U32LE(value); }
    bool F32(float& value);
    bool Bytes(void* out, std::size_t count) { return m_bytes.Bytes(out, count); }
    // A 32-bit count of characters followed by them.
    bool WString(Container::cWideString& text);
    bool BString(Container::cByteString& text);
    // A 32-bit count of items each taking at least minBytes of the file:
    // false for a negative count or one the remaining bytes cannot hold.
    bool Count(std::int32_t& count, std::size_t minBytes);

    // A picture record (versions 0..2). Pictures of version 2 must carry a
    // 32-bit format code with four bytes per pixel, whose planes are
    // combined into the pixels. A record of width or height 0 leaves the
    // picture empty.
    bool Picture(Painter::cPicture& picture);

    // Charges pixels to the document's budget; false once it is spent.
    bool TakePixels(std::uint64_t pixels);

    // Decodes one run-length coded plane of size bytes from code. Stops at
    // the end of either; true only when exactly size bytes were produced
    // and every packet was complete.
    static bool DecodePlane(const std::uint8_t* code, std::size_t codeSize, std::uint8_t* plane,
                            std::size_t size);

private:
    bool PlaneInto(Painter::cPicture& picture, int shift, bool compressed);

    PictureFile::cByteReader m_bytes;
    bool m_oldForm;
    std::uint64_t m_pixelsLeft;
};

} // namespace Brimvale
