#include "framework/core/File.h"

#include "platform/Platform.h"

#include <string_view>

namespace Storage {

cFile::~cFile()
{
    Close();
}

bool cFile::Open(const char16_t* path, const char* mode)
{
    Close();
    m_stream = Platform::OpenFile(path, mode);
    if (!m_stream)
        return false;
    const std::string_view kind(mode);
    if (kind.front() == 'r' && kind.find('+') == std::string_view::npos)
        m_readOnlyLength = Platform::FileLength(m_stream);
    return true;
}

bool cFile::CreateNew(const char16_t* path, bool& exists)
{
    Close();
    m_stream = Platform::CreateNewFile(path, exists);
    return m_stream != nullptr;
}

bool cFile::Close()
{
    if (!m_stream)
        return true;
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    m_readOnlyLength = -1;
    m_writeBudget = -1;
    return closed;
}

bool cFile::Flush()
{
    return m_stream && Platform::FlushToDisk(m_stream);
}

std::size_t cFile::Read(void* buffer, std::size_t itemSize, std::size_t count)
{
    if (!m_stream || !buffer || itemSize == 0 || count == 0)
        return 0;
    return std::fread(buffer, itemSize, count, m_stream);
}

std::size_t cFile::Write(const void* buffer, std::size_t itemSize, std::size_t count)
{
    if (!m_stream || !buffer || itemSize == 0 || count == 0)
        return 0;
    if (m_writeBudget >= 0)
    {
        const std::size_t allowed = static_cast<std::size_t>(m_writeBudget) / itemSize;
        if (allowed < count)
            count = allowed;
        if (count == 0)
            return 0;
    }
    const std::size_t written = std::fwrite(buffer, itemSize, count, m_stream);
    if (m_writeBudget >= 0)
        m_writeBudget -= static_cast<std::int64_t>(written * itemSize);
    return written;
}

std::int64_t cFile::Length() const
{
    if (m_readOnlyLength >= 0)
        return m_readOnlyLength;
    return Platform::FileLength(m_stream);
}

bool cFile::Seek(std::int64_t offset, int origin)
{
    return Platform::Seek(m_stream, offset, origin);
}

std::int64_t cFile::Tell() const
{
    return Platform::Tell(m_stream);
}

std::int64_t cFile::Remaining() const
{
    const std::int64_t length = Length();
    const std::int64_t position = Tell();
    if (length < 0 || position < 0 || position > length)
        return 0;
    return length - position;
}

bool cFile::ReadUInt32(std::uint32_t& value)
{
    unsigned char bytes[4];
    if (Read(bytes, 1, 4) != 4)
        return false;
    value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

bool cFile::WriteUInt32(std::uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return Write(bytes, 1, 4) == 4;
}

bool cFile::ReadString(Container::cWideString& string)
{
    std::uint32_t count = 0;
    if (!ReadUInt32(count))
        return false;
    // The count comes from the file: it must fit in what is left of it.
    if (static_cast<std::int64_t>(count) * 2 > Remaining())
        return false;
    Container::cWideString result;
    if (!result.Resize(count))
        return false;
    if (count > 0)
    {
        char16_t* characters = result.Data();
        if (Read(characters, 2, count) != count)
            return false;
        // The record is little-endian; put the bytes in host order.
        auto* bytes = reinterpret_cast<unsigned char*>(characters);
        for (std::uint32_t i = 0; i < count; ++i)
            characters[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    string = std::move(result);
    return true;
}

bool cFile::ReadString(Container::cByteString& string)
{
    std::uint32_t count = 0;
    if (!ReadUInt32(count))
        return false;
    if (static_cast<std::int64_t>(count) > Remaining())
        return false;
    Container::cByteString result;
    if (!result.Resize(count))
        return false;
    if (count > 0 && Read(result.Data(), 1, count) != count)
        return false;
    string = std::move(result);
    return true;
}

bool cFile::WriteString(const Container::cWideString& string)
{
    const std::size_t count = string.Length();
    if (count > 0xFFFFFFFFu || !WriteUInt32(static_cast<std::uint32_t>(count)))
        return false;
    if (count == 0)
        return true;
    // Little-endian code units, written in blocks.
    unsigned char block[4096];
    const char16_t* characters = string.Data();
    for (std::size_t done = 0; done < count;)
    {
        const std::size_t part = count - done < sizeof block / 2 ? count - done : sizeof block / 2;
        for (std::size_t i = 0; i < part; ++i)
        {
            block[2 * i] = static_cast<unsigned char>(characters[done + i]);
            block[2 * i + 1] = static_cast<unsigned char>(characters[done + i] >> 8);
        }
        if (Write(block, 2, part) != part)
            return false;
        done += part;
    }
    return true;
}

bool cFile::WriteString(const Container::cByteString& string)
{
    const std::size_t count = string.Length();
    if (count > 0xFFFFFFFFu || !WriteUInt32(static_cast<std::uint32_t>(count)))
        return false;
    return count == 0 || Write(string.Data(), 1, count) == count;
}

} // namespace Storage
