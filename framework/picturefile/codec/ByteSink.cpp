#include "framework/picturefile/codec/ByteSink.h"

#include <cstring>
#include <new>

#include "framework/core/File.h"

namespace PictureFile {

bool cByteSink::Write(const void* data, std::size_t size)
{
    if (m_failed)
        return false;
    if (size == 0)
        return true;
    if (!DoWrite(data, size))
    {
        m_failed = true;
        return false;
    }
    m_count += size;
    return true;
}

bool cByteSink::PutU16LE(std::uint16_t value)
{
    const std::uint8_t bytes[2] = {std::uint8_t(value), std::uint8_t(value >> 8)};
    return Write(bytes, 2);
}

bool cByteSink::PutU32LE(std::uint32_t value)
{
    const std::uint8_t bytes[4] = {std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
                                   std::uint8_t(value >> 24)};
    return Write(bytes, 4);
}

bool cByteSink::PutU16BE(std::uint16_t value)
{
    const std::uint8_t bytes[2] = {std::uint8_t(value >> 8), std::uint8_t(value)};
    return Write(bytes, 2);
}

bool cByteSink::PutU32BE(std::uint32_t value)
{
    const std::uint8_t bytes[4] = {std::uint8_t(value >> 24), std::uint8_t(value >> 16), std::uint8_t(value >> 8),
                                   std::uint8_t(value)};
    return Write(bytes, 4);
}

bool cByteSink::PutText(const char* text)
{
    return Write(text, std::strlen(text));
}

bool cMemorySink::DoWrite(const void* data, std::size_t size)
{
    try
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

bool cFileSink::DoWrite(const void* data, std::size_t size)
{
    return m_file.Write(data, 1, size) == size;
}

} // namespace PictureFile
