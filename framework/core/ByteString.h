#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Container {

// The 8-bit counterpart of cWideString, for byte data that travels as text.
//
// Same layout: one pointer to the first byte (null is the empty string),
// preceded in the same allocation by the used length including the
// terminator and the capacity, both 32-bit. Always 0-terminated; copies are
// deep. Operations that allocate return false when memory runs out and
// leave the string as it was.
class cByteString
{
public:
    cByteString() = default;
    cByteString(const char* text);
    cByteString(const char* text, std::size_t count);
    cByteString(std::string_view text);
    cByteString(const cByteString& other);
    cByteString(cByteString&& other) noexcept;
    ~cByteString();

    cByteString& operator=(const cByteString& other);
    cByteString& operator=(cByteString&& other) noexcept;
    cByteString& operator=(const char* text);

    std::size_t Length() const;
    std::size_t Capacity() const;
    bool IsEmpty() const { return Length() == 0; }
    bool IsNull() const { return m_text == nullptr; }

    // Never null: a null string gives an empty text.
    const char* Text() const { return m_text ? m_text : ""; }
    char* Data() { return m_text; }
    const char* Data() const { return m_text; }
    std::string_view View() const { return {Text(), Length()}; }
    operator std::string_view() const { return View(); }

    char operator[](std::size_t index) const { return m_text[index]; }
    char& operator[](std::size_t index) { return m_text[index]; }
    char At(std::size_t index) const;

    // Assigning a null text empties the string and frees its block.
    bool Assign(const char* text);
    bool Assign(const char* text, std::size_t count);
    bool Assign(const cByteString& other);
    bool Assign(std::string_view text);
    void Clear();

    bool Append(const char* text);
    bool Append(const char* text, std::size_t count);
    bool Append(const cByteString& other);
    bool Append(char character);
    cByteString& operator+=(const cByteString& other) { Append(other); return *this; }
    cByteString& operator+=(const char* text) { Append(text); return *this; }
    cByteString& operator+=(char character) { Append(character); return *this; }

    // printf-style formatting of 8-bit text (the C runtime's rules), the
    // result limited to MaxFormatLength bytes; longer output is cut.
    static constexpr std::size_t MaxFormatLength = 1022;
    bool Format(const char* pattern, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    bool FormatV(const char* pattern, std::va_list arguments);

    // Searches from start; both answer Length() when there is no match.
    std::size_t Find(const char* text, std::size_t start = 0) const;
    std::size_t Find(char character, std::size_t start = 0) const;

    // Ordinal by unsigned byte; a null string sorts before a non-null one.
    int Compare(const cByteString& other) const;
    // Ignoring case, where only A-Z fold to a-z.
    int CompareNoCase(const cByteString& other) const;
    bool Equals(const cByteString& other) const;
    bool Equals(const char* text) const;
    friend bool operator==(const cByteString& a, const cByteString& b) { return a.Equals(b); }
    friend bool operator==(const cByteString& a, const char* b) { return a.Equals(b); }

    bool Resize(std::size_t length);
    bool Reserve(std::size_t capacity);

private:
    char* m_text = nullptr;
};

} // namespace Container
