#pragma once

// Bounded reading of a file image held in memory. Every read checks what
// remains; a failed read consumes nothing and returns false.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace PictureFile {

class cByteReader
{
public:
    cByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(data ? size : 0) {}

    std::size_t Size() const { return m_size; }
    std::size_t Position() const { return m_position; }
    std::size_t Remaining() const { return m_size - m_position; }
    const std::uint8_t* Data() const { return m_data; }
    const std::uint8_t* Current() const { return m_data + m_position; }

    bool Seek(std::uint64_t position)
    {
        if (position > m_size)
            return false;
        m_position = static_cast<std::size_t>(position);
        return true;
    }
    bool Skip(std::uint64_t count)
    {
        if (count > Remaining())
            return false;
        m_position += static_cast<std::size_t>(count);
        return true;
    }
    bool Bytes(void* out, std::size_t count)
    {
        if (count > Remaining())
            return false;
        if (count)
            std::memcpy(out, m_data + m_position, count);
        m_position += count;
        return true;
    }
    bool U8(std::uint8_t& value) { return Bytes(&value, 1); }
    bool U16LE(std::uint16_t& value)
    {
        std::uint8_t b[2];
        if (!Bytes(b, 2))
            return false;
        value = std::uint16_t(b[0] | (b[1] << 8));
        return true;
    }
    bool U16BE(std::uint16_t& value)
    {
        std::uint8_t b[2];
        if (!Bytes(b, 2))
            return false;
        value = std::uint16_t((b[0] << 8) | b[1]);
        return true;
    }
    bool U32LE(std::uint32_t& value)
    {
        std::uint8_t b[4];
        if (!Bytes(b, 4))
            return false;
        value = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                (std::uint32_t(b[3]) << 24);
        return true;
    }
    bool U32BE(std::uint32_t& value)
    {
        std::uint8_t b[4];
        if (!Bytes(b, 4))
            return false;
        value = (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) |
                std::uint32_t(b[3]);
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

} // namespace PictureFile
