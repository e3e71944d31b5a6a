#pragma once

#include "framework/core/WideString.h"
#include "platform/Platform.h"

#include <cstdint>

namespace Storage {

// A search of a folder by pattern ("C:\dir\*.png"). Lives for one search.
// For a plain existence test use PathExists / IsFolder (PathHelpers.h):
// FindFirst takes * and ? as wildcards and finds nothing for a drive root.
class cFileFind
{
public:
    cFileFind() = default;
    cFileFind(const cFileFind&) = delete;
    cFileFind& operator=(const cFileFind&) = delete;
    virtual ~cFileFind();

    // Remembers the folder part of pattern and starts the search; true when
    // an entry was found.
    bool FindFirst(const char16_t* pattern);
    bool FindFirst(const Container::cWideString& pattern) { return FindFirst(pattern.Text()); }
    // Moves to the next entry; false at the end.
    bool FindNext();
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

    // The current entry.
    const char16_t* Name() const { return m_entry.name.c_str(); }
    std::uint32_t Attributes() const { return m_entry.attributes; }
    bool IsFolder() const { return (m_entry.attributes & Platform::AttributeFolder) != 0; }
    // True for the "." and ".." entries.
    bool IsDots() const;
    std::uint64_t Size() const { return m_entry.size; }
    std::uint64_t WriteTime() const { return m_entry.writeTime; }
    // The folder part of the pattern (DirectoryOf), and folder + "\" + name.
    const Container::cWideString& Folder() const { return m_folder; }
    Container::cWideString FullPath() const;

private:
    Platform::FindHandle m_handle = nullptr;
    Platform::sFindEntry m_entry;
    Container::cWideString m_folder;
};

} // namespace Storage
