#pragma once

#include <windows.h>
#include <commdlg.h>

#include "framework/core/WideString.h"
#include "framework/window/Dialog.h"

namespace Window {

// The system's open or save dialog in the shape of a toolkit dialog: set
// up once, run with DoModal, the chosen path read back with FileName.
class cFileDialog : public cDialog
{
public:
    // Buffer room for the chosen name(s), terminator included; never less
    // than the proposed name needs.
    static constexpr DWORD SingleNameCapacity = 260;
    static constexpr DWORD MultipleNameCapacity = 26000;

    // filter: "name|pattern|name|pattern" ('|' separates the pairs);
    // filterIndex is 1-based. Any text may be null.
    cFileDialog(bool open, const char16_t* fileName, const char16_t* defaultExtension, const char16_t* initialFolder,
                DWORD flags, const char16_t* filter, DWORD filterIndex);

    // 1 (IDOK) when the user chose a file, 2 (IDCANCEL) otherwise. The file
    // name is then what the dialog's buffer holds (the proposed name after
    // a cancel); with OFN_ALLOWMULTISELECT the folder and the names, each
    // followed by a NUL.
    int DoModal(cWindow* parent);

    const Container::cWideString& FileName() const { return m_fileName; }
    // The filter index the user left the dialog with.
    DWORD FilterIndex() const { return m_record.nFilterIndex; }
    // The record handed to the system, for flags and hooks of one's own.
    OPENFILENAMEW& Record() { return m_record; }

private:
    OPENFILENAMEW m_record{};
    Container::cWideString m_fileName;
    // The filter with NULs for the '|' and a final double NUL.
    Container::cWideString m_filter;
    Container::cWideString m_defaultExtension;
    Container::cWideString m_initialFolder;
    bool m_open;
};

} // namespace Window
