#include "framework/window/FileDialog.h"

#include "framework/window/SystemLibrary.h"
#include "framework/window/Toolkit.h"

#include <algorithm>
#include <vector>

namespace Window {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is passed to Win32 as wchar_t");

// The common dialogs' library, and the printing libraries it brings along,
// are loaded when the first file dialog opens rather than at start, so a
// program that rarely shows one stays small while it idles.
BOOL RunSystemDialog(bool open, OPENFILENAMEW& record)
{
    using tDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
    const FARPROC found = cSystemLibrary::Function(L"comdlg32.dll", open ? "GetOpenFileNameW" : "GetSaveFileNameW");
    if (found == nullptr)
        return FALSE;
    return reinterpret_cast<tDialogFunction>(reinterpret_cast<void*>(found))(&record);
}

} // namespace

cFileDialog::cFileDialog(bool open, const char16_t* fileName, const char16_t* defaultExtension,
                         const char16_t* initialFolder, DWORD flags, const char16_t* filter, DWORD filterIndex)
    : m_fileName(fileName), m_defaultExtension(defaultExtension), m_initialFolder(initialFolder), m_open(open)
{
    if (filter && *filter)
    {
        // The record wants the pairs ended by an empty string: "||" at the
        // end, which a filter may bring along already.
        m_filter = filter;
        while (!m_filter.View().ends_with(u"||"))
            m_filter.Append(u"|");
        for (std::size_t i = 0; i < m_filter.Length(); ++i)
            if (m_filter[i] == u'|')
                m_filter[i] = 0;
    }
    m_record.lStructSize = sizeof m_record;
    m_record.Flags = flags;
    m_record.nFilterIndex = filterIndex;
}

int cFileDialog::DoModal(cWindow* parent)
{
    // Room for the proposed name, however long, and for what may be chosen.
    const DWORD wanted = (m_record.Flags & OFN_ALLOWMULTISELECT) ? MultipleNameCapacity : SingleNameCapacity;
    const DWORD capacity = std::max<DWORD>(wanted, static_cast<DWORD>(m_fileName.Length() + 1));
    std::vector<wchar_t> buffer(capacity + 1, L'\0');
    std::copy_n(reinterpret_cast<const wchar_t*>(m_fileName.Text()), m_fileName.Length(), buffer.begin());

    m_record.lStructSize = sizeof m_record;
    m_record.hwndOwner = parent ? parent->Handle() : nullptr;
    m_record.hInstance = cToolkit::Instance();
    m_record.lpstrFilter = m_filter.IsEmpty() ? nullptr : reinterpret_cast<const wchar_t*>(m_filter.Text());
    m_record.lpstrFile = buffer.data();
    m_record.nMaxFile = capacity;
    m_record.lpstrDefExt = m_defaultExtension.IsEmpty() ? nullptr : reinterpret_cast<const wchar_t*>(m_defaultExtension.Text());
    m_record.lpstrInitialDir = m_initialFolder.IsEmpty() ? nullptr : reinterpret_cast<const wchar_t*>(m_initialFolder.Text());

    const BOOL chosen = RunSystemDialog(m_open, m_record);

    // One name up to its NUL; several (folder, then names) up to the empty
    // name that ends them, with their NULs between them.
    const auto nameEnd = [&](std::size_t start) {
        while (start < capacity && buffer[start] != 0)
            ++start;
        return start;
    };
    std::size_t length = nameEnd(0);
    if ((m_record.Flags & OFN_ALLOWMULTISELECT) && chosen)
        while (length + 1 < capacity && buffer[length + 1] != 0)
            length = nameEnd(length + 1);
    m_fileName.Assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
    m_record.lpstrFile = nullptr;
    return chosen ? IDOK : IDCANCEL;
}

} // namespace Window
