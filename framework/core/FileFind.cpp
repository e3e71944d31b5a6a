#include "framework/core/FileFind.h"

#include "framework/core/PathHelpers.h"

namespace Storage {

cFileFind::~cFileFind()
{
    Close();
}

bool cFileFind::FindFirst(const char16_t* pattern)
{
    Close();
    m_folder = DirectoryOf(pattern);
    Platform::sFindEntry entry;
    m_handle = Platform::FindFirst(pattern, entry);
    if (!m_handle)
        return false;
    m_entry = std::move(entry);
    return true;
}

bool cFileFind::FindNext()
{
    if (!m_handle)
        return false;
    Platform::sFindEntry entry;
    if (!Platform::FindNext(m_handle, entry))
        return false;
    m_entry = std::move(entry);
    return true;
}

void cFileFind::Close()
{
    if (m_handle)
    {
        Platform::FindClose(m_handle);
        m_handle = nullptr;
    }
}

bool cFileFind::IsDots() const
{
    return m_entry.name == u"." || m_entry.name == u"..";
}

Container::cWideString cFileFind::FullPath() const
{
    Container::cWideString path(m_folder);
    if (!path.IsEmpty())
        path.Append(u'\\');
    path.Append(m_entry.name.c_str(), m_entry.name.size());
    return path;
}

} // namespace Storage
