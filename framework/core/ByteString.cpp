#include "framework/core/ByteString.h"

#include "framework/core/StringBlock.h"

#include <cstdio>
#include <cstring>

namespace Container {

namespace Block = StringBlock;

cByteString::cByteString(const char* text)
{
    Assign(text);
}

cByteString::cByteString(const char* text, std::size_t count)
{
    Assign(text, count);
}

cByteString::cByteString(std::string_view text)
{
    Assign(text);
}

cByteString::cByteString(const cByteString& other)
{
    Assign(other);
}

cByteString::cByteString(cByteString&& other) noexcept : m_text(other.m_text)
{
    other.m_text = nullptr;
}

cByteString::~cByteString()
{
    Block::Free(m_text);
}

cByteString& cByteString::operator=(const cByteString& other)
{
    Assign(other);
    return *this;
}

cByteString& cByteString::operator=(cByteString&& other) noexcept
{
    if (this != &other)
    {
        Block::Free(m_text);
        m_text = other.m_text;
        other.m_text = nullptr;
    }
    return *this;
}

cByteString& cByteString::operator=(const char* text)
{
    Assign(text);
    return *this;
}

std::size_t cByteString::Length() const
{
    return Block::Length(m_text);
}

std::size_t cByteString::Capacity() const
{
    return Block::Capacity(m_text);
}

char cByteString::At(std::size_t index) const
{
    return index < Length() ? m_text[index] : 0;
}

bool cByteString::Assign(const char* text)
{
    return Block::Assign(m_text, text, Block::TextLength(text));
}

bool cByteString::Assign(const char* text, std::size_t count)
{
    return Block::Assign(m_text, text, count);
}

bool cByteString::Assign(const cByteString& other)
{
    if (this == &other)
        return true;
    return Block::Assign(m_text, other.m_text, other.Length());
}

bool cByteString::Assign(std::string_view text)
{
    return Block::Assign(m_text, text.data() ? text.data() : "", text.size());
}

void cByteString::Clear()
{
    Block::Free(m_text);
    m_text = nullptr;
}

bool cByteString::Append(const char* text)
{
    return Block::Append(m_text, text, Block::TextLength(text));
}

bool cByteString::Append(const char* text, std::size_t count)
{
    if (!text)
        count = 0;
    return Block::Append(m_text, text, count);
}

bool cByteString::Append(const cByteString& other)
{
    return Block::Append(m_text, other.m_text, other.Length());
}

bool cByteString::Append(char character)
{
    return Block::Append(m_text, &character, 1);
}

bool cByteString::Format(const char* pattern, ...)
{
    std::va_list arguments;
    va_start(arguments, pattern);
    const bool result = FormatV(pattern, arguments);
    va_end(arguments);
    return result;
}

bool cByteString::FormatV(const char* pattern, std::va_list arguments)
{
    if (!pattern)
        return false;
    char buffer[MaxFormatLength + 1];
    const int written = std::vsnprintf(buffer, sizeof buffer, pattern, arguments);
    if (written < 0)
        return false;
    const std::size_t length = static_cast<std::size_t>(written) < MaxFormatLength ? static_cast<std::size_t>(written)
                                                                                   : MaxFormatLength;
    return Assign(buffer, length);
}

std::size_t cByteString::Find(const char* text, std::size_t start) const
{
    const std::size_t length = Length();
    if (!text)
        return length;
    return Block::Find(Text(), length, text, Block::TextLength(text), start);
}

std::size_t cByteString::Find(char character, std::size_t start) const
{
    const std::size_t length = Length();
    for (std::size_t i = start; i < length; ++i)
        if (m_text[i] == character)
            return i;
    return length;
}

int cByteString::Compare(const cByteString& other) const
{
    return Block::Compare<char, unsigned char, false>(m_text, Length(), other.m_text, other.Length());
}

int cByteString::CompareNoCase(const cByteString& other) const
{
    return Block::Compare<char, unsigned char, true>(m_text, Length(), other.m_text, other.Length());
}

bool cByteString::Equals(const cByteString& other) const
{
    return View() == other.View();
}

bool cByteString::Equals(const char* text) const
{
    return View() == std::string_view(text ? text : "");
}

bool cByteString::Resize(std::size_t length)
{
    return Block::Resize(m_text, length);
}

bool cByteString::Reserve(std::size_t capacity)
{
    return Block::Reserve(m_text, capacity);
}

} // namespace Container
