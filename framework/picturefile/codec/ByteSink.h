#pragma once

// Where an encoder puts its bytes: a file or a memory buffer. A sink
// remembers its first failure, so an encoder may write a run of fields and
// check once; Write itself answers whether this block was written.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Storage {
class cFile;
}

namespace PictureFile {

class cByteSink
{
public:
    virtual ~cByteSink() = default;

    bool Write(const void* data, std::size_t size);
    bool Failed() const { return m_failed; }
    // Bytes written so far.
    std::uint64_t Count() const { return m_count; }

    bool PutU8(std::uint8_t value) { return Write(&value, 1); }
    bool PutU16LE(std::uint16_t value);
    bool PutU32LE(std::uint32_t value);
    bool PutU16BE(std::uint16_t value);
    bool PutU32BE(std::uint32_t value);
    bool PutText(const char* text);

protected:
    virtual bool DoWrite(const void* data, std::size_t size) = 0;

private:
    std::uint64_t m_count = 0;
    bool m_failed = false;
};

// Collects the bytes in memory. Allocation failures count as write
// failures.
class cMemorySink : public cByteSink
{
public:
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

protected:
    bool DoWrite(const void* data, std::size_t size) override;

private:
    std::vector<std::uint8_t> m_bytes;
};

// Writes into an open file.
class cFileSink : public cByteSink
{
public:
    explicit cFileSink(Storage::cFile& file) : m_file(file) {}

protected:
    bool DoWrite(const void* data, std::size_t size) override;

private:
    Storage::cFile& m_file;
};

} // namespace PictureFile
