#pragma once

#include "framework/core/WideString.h"

#include <cstddef>
#include <vector>

namespace Container {

// An ordered list that owns its strings: clearing or destroying it deletes
// every string.
class cStringList
{
public:
    cStringList() = default;
    cStringList(const cStringList& other);
    cStringList& operator=(const cStringList& other);
    cStringList(cStringList&& other) noexcept;
    cStringList& operator=(cStringList&& other) noexcept;
    virtual ~cStringList();

    // Takes ownership of string (allocated with new). False (and the string
    // deleted) when it cannot be stored or string is null.
    bool Append(cWideString* string);
    // Appends a copy of text.
    bool Append(const cWideString& text);
    bool Append(const char16_t* text);

    std::size_t Count() const { return m_strings.size(); }
    bool IsEmpty() const { return m_strings.empty(); }
    // index must be below Count().
    cWideString& operator[](std::size_t index) { return *m_strings[index]; }
    const cWideString& operator[](std::size_t index) const { return *m_strings[index]; }
    cWideString* At(std::size_t index) { return index < m_strings.size() ? m_strings[index] : nullptr; }
    const cWideString* At(std::size_t index) const { return index < m_strings.size() ? m_strings[index] : nullptr; }
    // Deletes the string at index; false when out of range.
    bool Remove(std::size_t index);
    // Index of the first string equal to text, or Count().
    std::size_t IndexOf(const char16_t* text) const;

    void Clear();

private:
    std::vector<cWideString*> m_strings;
};

} // namespace Container
