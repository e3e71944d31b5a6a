#pragma once

#include "framework/core/WideString.h"

#include <cstdint>

// The addresses on the maker's web site that the program builds: the
// update check, the support page and the editors' download pages. Version
// texts in addresses have the form "major-minor-build-revision".
class cMakerSite
{
public:
    // The program's page and the editor's promotion are language texts
    // (their defaults come with the language table); these are not.
    static constexpr const char16_t* Home = u"https://www.vadrin.com";

    // Home + "/updates.php?locale=<locale>&app=<app>&version=<version>".
    static Container::cWideString UpdateCheck(std::uint32_t locale, const Container::cWideString& app,
                                              const Container::cWideString& version);
    // Home + "/support/?name=<app>&version=<version>".
    static Container::cWideString Support(const Container::cWideString& app, const Container::cWideString& version);
    // Home + "/downloads/brimvalepro/" or "/downloads/brimvale/".
    static Container::cWideString EditorDownload(bool pro);
};
