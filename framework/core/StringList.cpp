#include "framework/core/StringList.h"

#include <new>
#include <utility>

namespace Container {

cStringList::cStringList(const cStringList& other)
{
    *this = other;
}

cStringList& cStringList::operator=(const cStringList& other)
{
    if (this != &other)
    {
        Clear();
        for (const cWideString* string : other.m_strings)
            Append(*string);
    }
    return *this;
}

cStringList::cStringList(cStringList&& other) noexcept : m_strings(std::move(other.m_strings))
{
    other.m_strings.clear();
}

cStringList& cStringList::operator=(cStringList&& other) noexcept
{
    if (this != &other)
    {
        Clear();
        m_strings = std::move(other.m_strings);
        other.m_strings.clear();
    }
    return *this;
}

cStringList::~cStringList()
{
    Clear();
}

bool cStringList::Append(cWideString* string)
{
    if (!string)
        return false;
    try
    {
        m_strings.push_back(string);
    }
    catch (const std::bad_alloc&)
    {
        delete string;
        return false;
    }
    return true;
}

bool cStringList::Append(const cWideString& text)
{
    auto* copy = new (std::nothrow) cWideString;
    if (!copy)
        return false;
    if (!copy->Assign(text))
    {
        delete copy;
        return false;
    }
    return Append(copy);
}

bool cStringList::Append(const char16_t* text)
{
    auto* copy = new (std::nothrow) cWideString;
    if (!copy)
        return false;
    if (!copy->Assign(text))
    {
        delete copy;
        return false;
    }
    return Append(copy);
}

bool cStringList::Remove(std::size_t index)
{
    if (index >= m_strings.size())
        return false;
    delete m_strings[index];
    m_strings.erase(m_strings.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::size_t cStringList::IndexOf(const char16_t* text) const
{
    for (std::size_t i = 0; i < m_strings.size(); ++i)
        if (m_strings[i]->Equals(text))
            return i;
    return m_strings.size();
}

void cStringList::Clear()
{
    for (cWideString* string : m_strings)
        delete string;
    m_strings.clear();
    m_strings.shrink_to_fit();
}

} // namespace Container
