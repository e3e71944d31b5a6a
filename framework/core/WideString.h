#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace Container {

// The framework's UTF-16 string.
//
// One pointer to the first code unit; a null pointer is the empty string.
// The same allocation holds, in front of the characters, two 32-bit counts:
// the used length including the terminator and the capacity in characters.
// The characters are always followed by a 0 terminator. Copies are deep.
//
// Lengths and indices are in UTF-16 code units and never count the
// terminator. Operations that allocate return false when memory runs out
// and leave the string as it was.
class cWideString
{
public:
    cWideString() = default;
    cWideString(const char16_t* text);
    cWideString(const char16_t* text, std::size_t count);
    cWideString(std::u16string_view text);
    cWideString(const cWideString& other);
    cWideString(cWideString&& other) noexcept;
    ~cWideString();

    cWideString& operator=(const cWideString& other);
    cWideString& operator=(cWideString&& other) noexcept;
    cWideString& operator=(const char16_t* text);

    // Length without the terminator; 0 for a null string.
    std::size_t Length() const;
    std::size_t Capacity() const;
    bool IsEmpty() const { return Length() == 0; }
    // True only for the null string (no block allocated).
    bool IsNull() const { return m_text == nullptr; }

    // Never null: a null string gives an empty text.
    const char16_t* Text() const { return m_text ? m_text : u""; }
    // The raw pointer: null for a null string.
    char16_t* Data() { return m_text; }
    const char16_t* Data() const { return m_text; }
    std::u16string_view View() const { return {Text(), Length()}; }
    operator std::u16string_view() const { return View(); }

    // Character access; index must be below Length().
    char16_t operator[](std::size_t index) const { return m_text[index]; }
    char16_t& operator[](std::size_t index) { return m_text[index]; }
    // Character at index, or 0 when index is out of range.
    char16_t At(std::size_t index) const;

    // Assigning a null text empties the string and frees its block.
    bool Assign(const char16_t* text);
    bool Assign(const char16_t* text, std::size_t count);
    bool Assign(const cWideString& other);
    bool Assign(std::u16string_view text);
    // UTF-8 (invalid sequences become U+FFFD) and plain 7-bit ASCII input.
    bool AssignUtf8(std::string_view text);
    // Frees the block: the string becomes null.
    void Clear();

    bool Append(const char16_t* text);
    bool Append(const char16_t* text, std::size_t count);
    bool Append(const cWideString& other);
    bool Append(char16_t character);
    cWideString& operator+=(const cWideString& other) { Append(other); return *this; }
    cWideString& operator+=(const char16_t* text) { Append(text); return *this; }
    cWideString& operator+=(char16_t character) { Append(character); return *this; }
    friend cWideString operator+(const cWideString& a, const cWideString& b);
    friend cWideString operator+(const cWideString& a, const char16_t* b);

    // printf-style formatting of UTF-16 text. Supported: %d %i %u %x %X %o
    // %c %s %p %f %e %g %%, the flags - 0 + space #, a width and a
    // precision (either may be *), and the size prefixes h, l, ll, z, j, t
    // (I64 as well). %s takes a UTF-16 text (const char16_t*, null prints
    // "(null)"); %hs takes an 8-bit text, shown byte by byte. %c takes a
    // UTF-16 code unit. The result holds at most MaxFormatLength characters;
    // longer output is cut. Returns false for a pattern that is null or has
    // an unknown conversion (the string is then unchanged) or when memory
    // runs out.
    static constexpr std::size_t MaxFormatLength = 1022;
    template <typename... Arguments>
    bool Format(const char16_t* pattern, Arguments... arguments)
    {
        // Only values a C variadic call can carry: numbers, characters and
        // pointers. A string object passed by mistake fails to compile.
        static_assert(((std::is_arithmetic_v<Arguments> || std::is_pointer_v<Arguments> ||
                        std::is_enum_v<Arguments> || std::is_null_pointer_v<Arguments>) && ...),
                      "Format takes numbers, characters and pointers; pass strings with .Text()");
        return FormatArguments(pattern, arguments...);
    }
    bool FormatV(const char16_t* pattern, std::va_list arguments);

    // Searches from start; both answer Length() when there is no match.
    std::size_t Find(const char16_t* text, std::size_t start = 0) const;
    std::size_t Find(char16_t character, std::size_t start = 0) const;
    // Replaces every occurrence of what by with; true when anything was
    // replaced. An empty what replaces nothing.
    bool Replace(const char16_t* what, const char16_t* with);
    // Drops each "&" and keeps the character after it: "R&&D" gives "R&D",
    // a final "&" disappears.
    void RemoveMnemonics();

    // Ordinal comparison by code unit; a null string sorts before any
    // non-null one (an allocated empty string included). Answers <0, 0, >0.
    int Compare(const cWideString& other) const;
    int Compare(const char16_t* text) const;
    // Ignoring case, where only A-Z fold to a-z.
    int CompareNoCase(const cWideString& other) const;
    int CompareNoCase(const char16_t* text) const;
    // Ignoring case, at most count characters.
    int CompareNoCase(const char16_t* text, std::size_t count) const;
    // Equal characters; null and allocated empty strings are equal here.
    bool Equals(const cWideString& other) const;
    bool Equals(const char16_t* text) const;
    friend bool operator==(const cWideString& a, const cWideString& b) { return a.Equals(b); }
    friend bool operator==(const cWideString& a, const char16_t* b) { return a.Equals(b); }

    // Makes the length exactly length: the character at the new length
    // becomes 0; new characters are 0 as well.
    bool Resize(std::size_t length);
    // Makes room for at least capacity characters, terminator included.
    bool Reserve(std::size_t capacity);

private:
    bool FormatArguments(const char16_t* pattern, ...);

    char16_t* m_text = nullptr;
};

// Length of a zero-terminated UTF-16 text; 0 for null.
std::size_t TextLength(const char16_t* text);

} // namespace Container
