#pragma once

#include "framework/core/WideString.h"

#include <cstddef>
#include <cstdint>

namespace Storage {

// Text files larger than this are refused.
inline constexpr std::int64_t MaxTextFileBytes = 64 * 1024 * 1024;

// Reads a text file into text, choosing the encoding by its byte-order
// mark: FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8, none the ANSI code
// page. The mark never reaches the string. An empty file answers true and
// leaves text unchanged, as does a file whose conversion gives no
// characters. False when the file cannot be opened, is larger than
// MaxTextFileBytes, or cannot be read completely; a UTF-16 file that reads
// short keeps what was read in text and answers false.
bool ReadTextFile(const char16_t* path, Container::cWideString& text);
inline bool ReadTextFile(const Container::cWideString& path, Container::cWideString& text)
{
    return ReadTextFile(path.Text(), text);
}

// The same rules over bytes in memory (text resources). An empty block
// leaves text unchanged and answers true.
bool DecodeText(const std::uint8_t* bytes, std::size_t count, Container::cWideString& text);
// The step ReadTextFile ends with: bytes holds the first count of the
// expected bytes of a text (fewer than expected when a read came up short,
// which makes the answer false).
bool DecodeText(const std::uint8_t* bytes, std::size_t count, std::size_t expected, Container::cWideString& text);

} // namespace Storage
