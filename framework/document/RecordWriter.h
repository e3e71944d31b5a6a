#pragma once

// Writes the little-endian records of the document file into memory (the
// current form: plain 16-bit versions). A failed allocation makes every
// later write fail; Failed() tells at the end.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/core/ByteString.h"
#include "framework/core/WideString.h"
#include "framework/picturefile/codec/ByteSink.h"

namespace Painter {
class cPicture;
}

namespace Brimvale {

class cRecordWriter
{
public:
    void Version(std::int16_t version) { I16(version); }
    void U8(std::uint8_t value) { m_sink.PutU8(value); }
    void I16(std::int16_t value) { m_sink.PutU16LE(static_cast<std::uint16_t>(value)); }
    void U16(std::uint16_t value) { m_sink.PutU16LE(value); }
    void I32(std::int32_t value) { m_sink.PutU32LE(static_cast<std::uint32_t>(value)); }
    void U32(std::uint32_t value) { m_sink.PutU32LE(value); }
    void F32(float value);
    void Bytes(const void* data, std::size_t count) { m_sink.Write(data, count); }
    void WString(const Container::cWideString& text);
    void BString(const Container::cByteString& text);
    // A picture record of version 2 with run-length coded planes. A picture
    // that is not 32-bit is written through its conversion to the working
    // format.
    void Picture(const Painter::cPicture& picture);

    // The run-length code of one plane (appended to out).
    static void EncodePlane(const std::uint8_t* plane, std::size_t size, std::vector<std::uint8_t>& out);

    bool Failed() const { return m_failed || m_sink.Failed(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_sink.Bytes(); }
    std::vector<std::uint8_t>& Bytes() { return m_sink.Bytes(); }

private:
    PictureFile::cMemorySink m_sink;
    bool m_failed = false;
};

} // namespace Brimvale
