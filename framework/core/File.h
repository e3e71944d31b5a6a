#pragma once

#include "framework/core/ByteString.h"
#include "framework/core/WideString.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace Storage {

// A binary file stream over the C runtime's buffered stream.
//
// Strings are stored as records: a 32-bit little-endian count of
// characters, then the characters (UTF-16LE code units or bytes), no
// terminator.
class cFile
{
public:
    cFile() = default;
    cFile(const cFile&) = delete;
    cFile& operator=(const cFile&) = delete;
    // Closes an open stream.
    virtual ~cFile();

    // mode: "rb" (read), "wb" (create or truncate, write), or another C
    // runtime mode. An open stream is closed first.
    bool Open(const char16_t* path, const char* mode);
    bool Open(const Container::cWideString& path, const char* mode) { return Open(path.Text(), mode); }
    // Creates a new file for writing ("wb") only when the name is free: an
    // existing file is never truncated. False on failure, with exists set
    // when the name was taken.
    bool CreateNew(const char16_t* path, bool& exists);
    bool IsOpen() const { return m_stream != nullptr; }
    // Closes the stream; false when the close failed (buffered data could
    // not be written). True when nothing was open.
    bool Close();
    // Writes buffered data and asks the OS to put it on disk.
    bool Flush();

    // Raw blocks: the number of complete items is returned.
    std::size_t Read(void* buffer, std::size_t itemSize, std::size_t count);
    std::size_t Write(const void* buffer, std::size_t itemSize, std::size_t count);
    // From now on Write (and the record writers) take at most this many
    // more bytes, as a full disk would; a write beyond it comes up short.
    // A negative value lifts the limit. Writes through Stream() are not
    // counted. Lets the callers' handling of failed writes be tried.
    void LimitWrites(std::int64_t bytes) { m_writeBudget = bytes; }
    // Length in bytes, or -1 when not open.
    std::int64_t Length() const;
    // origin: SEEK_SET, SEEK_CUR or SEEK_END.
    bool Seek(std::int64_t offset, int origin = SEEK_SET);
    // Current position, or -1.
    std::int64_t Tell() const;
    // Bytes from the current position to the end (0 when not open).
    std::int64_t Remaining() const;

    // Reads a record. The count is checked against the bytes left in the
    // file before anything is allocated; on failure the string is unchanged.
    bool ReadString(Container::cWideString& string);
    bool ReadString(Container::cByteString& string);
    // Writes a record; true when the count and every character were
    // written. A null or empty string writes a count of 0 and nothing else.
    bool WriteString(const Container::cWideString& string);
    bool WriteString(const Container::cByteString& string);

    // Little-endian 32-bit values, as the records use them.
    bool ReadUInt32(std::uint32_t& value);
    bool WriteUInt32(std::uint32_t value);

    std::FILE* Stream() const { return m_stream; }

protected:
    std::FILE* m_stream = nullptr;

private:
    // The length of a file opened read-only, measured once at open; -1
    // otherwise. The record readers check counts against it.
    std::int64_t m_readOnlyLength = -1;
    // What Write may still take; negative: no limit.
    std::int64_t m_writeBudget = -1;
};

} // namespace Storage
