// The addresses on the maker's web site that the program builds.

#include <gtest/gtest.h>

#include "app/MakerSite.h"
#include "framework/window/WebLink.h"

#include <string>

using Window::cWebLink;

TEST(MakerSite, BuildsTheAddressesWithLocaleApplicationAndVersion)
{
    const Container::cWideString app(u"Quillsnapper");
    const Container::cWideString version(u"1-2-1-0");
    EXPECT_EQ(std::u16string(cMakerSite::UpdateCheck(1033, app, version).View()),
              u"https://www.vadrin.com/updates.php?locale=1033&app=Quillsnapper&version=1-2-1-0");
    EXPECT_EQ(std::u16string(cMakerSite::UpdateCheck(0x412, app, version).View()),
              u"https://www.vadrin.com/updates.php?locale=1042&app=Quillsnapper&version=1-2-1-0");
    EXPECT_EQ(std::u16string(cMakerSite::Support(app, version).View()),
              u"https://www.vadrin.com/support/?name=Quillsnapper&version=1-2-1-0");
    EXPECT_EQ(std::u16string(cMakerSite::EditorDownload(true).View()), u"https://www.vadrin.com/downloads/brimvalepro/");
    EXPECT_EQ(std::u16string(cMakerSite::EditorDownload(false).View()), u"https://www.vadrin.com/downloads/brimvale/");
    // Every address the program builds is one the opener accepts.
    for (const auto& address : {cMakerSite::UpdateCheck(1033, app, version), cMakerSite::Support(app, version),
                                cMakerSite::EditorDownload(true), cMakerSite::EditorDownload(false)})
        EXPECT_TRUE(cWebLink::IsWebAddress(address));
}

TEST(MakerSite, EncodesQueryValuesSoTheyCannotEndTheirField)
{
    EXPECT_EQ(std::u16string(cMakerSite::Support(Container::cWideString(u"a&b c=d"), Container::cWideString(u"1#2"))
                                 .View()),
              u"https://www.vadrin.com/support/?name=a%26b%20c%3Dd&version=1%232");
    EXPECT_EQ(std::u16string(cMakerSite::Support(Container::cWideString(u"\uD55C"), Container::cWideString(u"1")).View()),
              u"https://www.vadrin.com/support/?name=%ED%95%9C&version=1");
}
