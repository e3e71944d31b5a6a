#include "framework/core/TextFile.h"

#include "framework/core/File.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

namespace Storage {

namespace {

// Converts count bytes with the ANSI code page; false (text unchanged)
// when the conversion failed or ran out of memory. A conversion that gives
// no characters leaves text unchanged and succeeds.
bool StoreAnsi(const std::uint8_t* bytes, std::size_t count, Container::cWideString& text)
{
    std::u16string converted;
    try
    {
        if (!Platform::AnsiToUtf16(reinterpret_cast<const char*>(bytes), count, converted))
            return false;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    if (converted.empty())
        return true;
    return text.Assign(converted.data(), converted.size());
}

bool StoreUtf8(const std::uint8_t* bytes, std::size_t count, Container::cWideString& text)
{
    std::u16string converted;
    try
    {
        Platform::Utf8ToUtf16(reinterpret_cast<const char*>(bytes), count, converted);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    if (converted.empty())
        return true;
    return text.Assign(converted.data(), converted.size());
}

bool StoreUtf16(const std::uint8_t* bytes, std::size_t units, bool bigEndian, Container::cWideString& text)
{
    if (units == 0)
        return true;
    Container::cWideString result;
    if (!result.Resize(units))
        return false;
    char16_t* characters = result.Data();
    for (std::size_t i = 0; i < units; ++i)
    {
        const std::uint8_t first = bytes[2 * i];
        const std::uint8_t second = bytes[2 * i + 1];
        characters[i] = bigEndian ? static_cast<char16_t>(first << 8 | second) : static_cast<char16_t>(second << 8 | first);
    }
    text = std::move(result);
    return true;
}

// Decodes the available bytes of a text of total bytes (available may be
// short when the file could not be read to its end).
bool Decode(const std::uint8_t* bytes, std::size_t available, std::size_t total, Container::cWideString& text)
{
    if (total == 0)
        return true;
    if (total == 1)
        return available == 1 && StoreAnsi(bytes, 1, text);
    if (available < 2)
        return false;
    const bool littleEndian = bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (littleEndian || bigEndian)
    {
        // Keep the complete code units that were read; a short read is
        // still a failure.
        const std::size_t wanted = (total - 2) / 2;
        const std::size_t got = (available - 2) / 2;
        const std::size_t units = got < wanted ? got : wanted;
        if (!StoreUtf16(bytes + 2, units, bigEndian, text))
            return false;
        return got >= wanted;
    }
    if (total == 2)
        return StoreAnsi(bytes, 2, text);
    if (available < total)
        return false;
    if (bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return StoreUtf8(bytes + 3, total - 3, text);
    return StoreAnsi(bytes, total, text);
}

} // namespace

bool DecodeText(const std::uint8_t* bytes, std::size_t count, Container::cWideString& text)
{
    return DecodeText(bytes, count, count, text);
}

bool DecodeText(const std::uint8_t* bytes, std::size_t count, std::size_t expected, Container::cWideString& text)
{
    if ((count > 0 && !bytes) || count > expected || expected > static_cast<std::size_t>(MaxTextFileBytes))
        return false;
    return Decode(bytes, count, expected, text);
}

bool ReadTextFile(const char16_t* path, Container::cWideString& text)
{
    cFile file;
    if (!file.Open(path, "rb"))
        return false;
    const std::int64_t length = file.Length();
    if (length < 0 || length > MaxTextFileBytes)
        return false;
    if (length == 0)
        return true;
    const auto total = static_cast<std::size_t>(length);
    std::unique_ptr<std::uint8_t, decltype(&std::free)> buffer(static_cast<std::uint8_t*>(std::malloc(total)),
                                                                &std::free);
    if (!buffer)
        return false;
    const std::size_t available = file.Read(buffer.get(), 1, total);
    return DecodeText(buffer.get(), available, total, text);
}

} // namespace Storage
