#pragma once

#include "framework/core/WideString.h"

#include <cstdint>

// The addresses on the maker's web site that the program links to: the
// program's page, the update check, the support page and the editors'
// download pages. Version texts in addresses have the form
// "major-minor-build-revision".
class cMakerSite
{
public:
    static constexpr const char16_t* Home = u"https://www.vadrin.com";
    // The defaults of the language texts IDS_PRODUCT_URL and
    // IDS_ADD_TRY_BRIMVALE_PRO_URL.
    static constexpr const char16_t* ProductPage = u"https://www.vadrin.com/quillsnapper/";
    static constexpr const char16_t* TryProPage = u"https://www.vadrin.com/downloads/brimvalepro/?from=Quillsnapper";

    // Home + "/updates.php?locale=<locale>&app=<app>&version=<version>".
    static Container::cWideString UpdateCheck(std::uint32_t locale, const Container::cWideString& app,
                                              const Container::cWideString& version);
    // Home + "/support/?name=<app>&version=<version>".
    static Container::cWideString Support(const Container::cWideString& app, const Container::cWideString& version);
    // Home + "/downloads/brimvalepro/" or "/downloads/brimvale/".
    static Container::cWideString EditorDownload(bool pro);
};
