#pragma once

// The storage shared by cWideString and cByteString: one block holding two
// 32-bit counts (used length including the terminator, capacity in
// characters) followed by the characters. The strings keep a pointer to the
// first character; a null pointer is the empty string.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace Container::StringBlock {

struct sHeader
{
    std::uint32_t used;
    std::uint32_t capacity;
};

// Largest capacity a block may have, in characters, terminator included.
inline constexpr std::size_t MaxCapacity = 0x3FFFFFF0;

template <typename Char>
inline sHeader* HeaderOf(const Char* text)
{
    return reinterpret_cast<sHeader*>(const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>(text)) -
                                      sizeof(sHeader));
}

template <typename Char>
inline std::size_t Length(const Char* text)
{
    return text ? HeaderOf(text)->used - 1 : 0;
}

template <typename Char>
inline std::size_t Capacity(const Char* text)
{
    return text ? HeaderOf(text)->capacity : 0;
}

// A new block with room for capacity characters, holding an empty text.
template <typename Char>
inline Char* Allocate(std::size_t capacity)
{
    if (capacity == 0 || capacity > MaxCapacity)
        return nullptr;
    void* block = std::malloc(sizeof(sHeader) + capacity * sizeof(Char));
    if (!block)
        return nullptr;
    auto* header = static_cast<sHeader*>(block);
    header->used = 1;
    header->capacity = static_cast<std::uint32_t>(capacity);
    Char* text = reinterpret_cast<Char*>(header + 1);
    text[0] = 0;
    return text;
}

template <typename Char>
inline void Free(Char* text)
{
    if (text)
        std::free(HeaderOf(text));
}

template <typename Char>
inline void SetLength(Char* text, std::size_t length)
{
    HeaderOf(text)->used = static_cast<std::uint32_t>(length + 1);
    text[length] = 0;
}

// The capacity a block of capacity current needs to hold needed characters:
// the smallest multiple of current that is at least needed (exactly needed
// when current is 0). 0 when that is too large.
inline std::size_t GrownCapacity(std::size_t current, std::size_t needed)
{
    if (needed > MaxCapacity)
        return 0;
    if (current == 0)
        return needed;
    const std::uint64_t multiple = (static_cast<std::uint64_t>(needed) + current - 1) / current * current;
    return multiple > MaxCapacity ? needed : static_cast<std::size_t>(multiple);
}

// Makes room for needed characters (terminator included), keeping the
// characters. On failure text is untouched.
template <typename Char>
inline bool Grow(Char*& text, std::size_t needed)
{
    const std::size_t capacity = Capacity(text);
    if (text && capacity >= needed)
        return true;
    const std::size_t grown = GrownCapacity(capacity, needed);
    Char* block = Allocate<Char>(grown);
    if (!block)
        return false;
    const std::size_t length = Length(text);
    if (text)
        std::memcpy(block, text, length * sizeof(Char));
    SetLength(block, length);
    Free(text);
    text = block;
    return true;
}

// Replaces the characters by count characters of source, which may lie in
// text's own block. A null source frees the block.
template <typename Char>
inline bool Assign(Char*& text, const Char* source, std::size_t count)
{
    if (!source)
    {
        Free(text);
        text = nullptr;
        return true;
    }
    if (count >= MaxCapacity)
        return false;
    const std::size_t needed = count + 1;
    if (text && Capacity(text) >= needed)
    {
        std::memmove(text, source, count * sizeof(Char));
        SetLength(text, count);
        return true;
    }
    Char* block = Allocate<Char>(GrownCapacity(Capacity(text), needed));
    if (!block)
        return false;
    std::memcpy(block, source, count * sizeof(Char));
    SetLength(block, count);
    Free(text);
    text = block;
    return true;
}

// Appends count characters of source, which may lie in text's own block.
template <typename Char>
inline bool Append(Char*& text, const Char* source, std::size_t count)
{
    const std::size_t length = Length(text);
    if (count >= MaxCapacity || length + count >= MaxCapacity)
        return false;
    if (count == 0)
        return text ? true : Grow(text, 1);
    const std::size_t needed = length + count + 1;
    if (text && Capacity(text) >= needed)
    {
        std::memmove(text + length, source, count * sizeof(Char));
        SetLength(text, length + count);
        return true;
    }
    Char* block = Allocate<Char>(GrownCapacity(Capacity(text), needed));
    if (!block)
        return false;
    if (text)
        std::memcpy(block, text, length * sizeof(Char));
    std::memcpy(block + length, source, count * sizeof(Char));
    SetLength(block, length + count);
    Free(text);
    text = block;
    return true;
}

template <typename Char>
inline bool Resize(Char*& text, std::size_t length)
{
    if (length >= MaxCapacity)
        return false;
    const std::size_t old = Length(text);
    if (!Grow(text, length + 1))
        return false;
    for (std::size_t i = old; i < length; ++i)
        text[i] = 0;
    SetLength(text, length);
    return true;
}

template <typename Char>
inline bool Reserve(Char*& text, std::size_t capacity)
{
    if (capacity == 0)
        capacity = 1;
    if (text && Capacity(text) >= capacity)
        return true;
    // Reserve asks for an exact capacity, not the growth rule's multiple.
    Char* block = Allocate<Char>(capacity);
    if (!block)
        return false;
    const std::size_t length = Length(text);
    if (text)
        std::memcpy(block, text, length * sizeof(Char));
    SetLength(block, length);
    Free(text);
    text = block;
    return true;
}

template <typename Char>
inline std::size_t TextLength(const Char* text)
{
    std::size_t length = 0;
    if (text)
        while (text[length])
            ++length;
    return length;
}

template <typename Char>
inline std::size_t Find(const Char* text, std::size_t length, const Char* what, std::size_t whatLength,
                        std::size_t start)
{
    if (start > length || whatLength > length - start)
        return length;
    for (std::size_t i = start; i + whatLength <= length; ++i)
        if (std::memcmp(text + i, what, whatLength * sizeof(Char)) == 0)
            return i;
    return length;
}

template <typename Char>
inline Char FoldAscii(Char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

// Ordinal comparison of two counted texts; a null one sorts first.
template <typename Char, typename Unit, bool IgnoreCase>
inline int Compare(const Char* a, std::size_t aLength, const Char* b, std::size_t bLength)
{
    if (!a || !b)
        return (a ? 1 : 0) - (b ? 1 : 0);
    const std::size_t common = aLength < bLength ? aLength : bLength;
    for (std::size_t i = 0; i < common; ++i)
    {
        Unit x = static_cast<Unit>(a[i]);
        Unit y = static_cast<Unit>(b[i]);
        if constexpr (IgnoreCase)
        {
            x = FoldAscii(x);
            y = FoldAscii(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
}

} // namespace Container::StringBlock
