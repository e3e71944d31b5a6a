#pragma once

#include <windows.h>

#include "framework/core/WideString.h"
#include "framework/window/Dialog.h"
#include "framework/window/LinkStatic.h"

// The About dialog (template 3106): the program's picture, icon, name and
// version, the maker's notice, a link to the program's page, the support
// contact, and buttons for the update check, the support page and the list
// of the libraries the program contains. Links open in the browser.
class cAboutDialog : public Window::cDialog
{
public:
    // The name the maker's web site knows the program by.
    static constexpr const char16_t* AppName = u"Quillsnapper";
    static constexpr const char16_t* FullName = u"Vadrin Quillsnapper";

    // programFolder: where the copyright dialog looks for Copyright.txt
    // (empty: the folder of the running program).
    explicit cAboutDialog(Container::cWideString programFolder = Container::cWideString());
    ~cAboutDialog() override;

    void ApplyLanguage() override;
    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
    bool OnInitDialog() override;

    // "v1.2.1.0" and "1-2-1-0" for the parts major, minor, build, revision.
    static Container::cWideString VersionLabel(const int (&parts)[4]);
    static Container::cWideString VersionForAddress(const int (&parts)[4]);
    // The running program's product version; false when it has none.
    static bool ProgramVersion(int (&parts)[4]);
    // The folder of the running program.
    static Container::cWideString ProgramFolder();

private:
    Container::cWideString m_programFolder;
    Window::cLinkStatic m_productLink;
    HBITMAP m_picture = nullptr;
};
