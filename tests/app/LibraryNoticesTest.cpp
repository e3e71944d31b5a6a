// The built-in list of the libraries the program contains, and the
// Copyright.txt that replaces it.

#include <gtest/gtest.h>

#include "app/LibraryNotices.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <set>
#include <string>

namespace {

std::u16string Text(const Container::cWideString& text)
{
    return std::u16string(text.View());
}

bool Contains(const Container::cWideString& text, const char16_t* part)
{
    return text.Find(part) < text.Length();
}

// True when every LF is preceded by CR and every CR followed by LF.
bool OnlyCrLf(const Container::cWideString& text)
{
    for (std::size_t i = 0; i < text.Length(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return false;
        if (text[i] == u'\r' && text.At(i + 1) != u'\n')
            return false;
    }
    return true;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(LibraryNotices, NamesEveryLinkedLibraryWithAVersion)
{
    std::set<std::u16string> names;
    for (const auto& library : cLibraryNotices::Libraries()) {
        names.insert(library.name);
        // "major.minor" or "major.minor.patch", digits only.
        const std::u16string version = Text(library.version);
        ASSERT_FALSE(version.empty()) << std::string(version.begin(), version.end());
        int dots = 0;
        for (char16_t c : version) {
            EXPECT_TRUE((c >= u'0' && c <= u'9') || c == u'.') << "in the version of a library";
            dots += c == u'.';
        }
        EXPECT_TRUE(dots == 1 || dots == 2);
        EXPECT_NE(version.front(), u'.');
        EXPECT_NE(version.back(), u'.');
    }
    const std::set<std::u16string> expected{u"libjpeg-turbo", u"libpng", u"zlib", u"libdeflate",
                                            u"giflib", u"OpenJPEG", u"MinGW-w64 winpthreads"};
    EXPECT_EQ(names, expected);
}

TEST(LibraryNotices, CarriesWhatEachLicenceAsksFor)
{
    const struct
    {
        const char16_t* library;
        const char16_t* required;
    } cases[] = {
        // The IJG licence wants this sentence in the documentation of binaries.
        {u"libjpeg-turbo", u"This software is based in part on the work of the Independent JPEG Group."},
        {u"libjpeg-turbo", u"Copyright (C)2009-2023 D. R. Commander."},
        {u"libjpeg-turbo", u"Redistributions in binary form must reproduce the above copyright notice"},
        {u"libpng", u"PNG Reference Library License version 2"},
        {u"libpng", u"Copyright (c) 1995-2022 The PNG Reference Library Authors."},
        {u"zlib", u"Copyright (C) 1995-2022 Jean-loup Gailly and Mark Adler"},
        {u"zlib", u"This notice may not be removed or altered from any source distribution."},
        // The MIT licences want the notice and the permission text itself.
        {u"libdeflate", u"Copyright 2016 Eric Biggers"},
        {u"libdeflate", u"The above copyright notice and this permission notice shall be included"},
        {u"giflib", u"Copyright (c) 1997 Eric S. Raymond"},
        {u"giflib", u"The above copyright notice and this permission notice shall be included"},
        {u"OpenJPEG", u"Universite catholique de Louvain (UCL), Belgium"},
        {u"OpenJPEG", u"Redistributions in binary form must reproduce the above copyright"},
        {u"OpenJPEG", u"IN NO EVENT SHALL THE COPYRIGHT HOLDERS OR CONTRIBUTORS BE"},
        {u"MinGW-w64 winpthreads", u"Copyright (c) 2011-2016 mingw-w64 project"},
        {u"MinGW-w64 winpthreads", u"The above copyright notice and this permission notice shall be included"},
    };
    const auto libraries = cLibraryNotices::Libraries();
    for (const auto& c : cases) {
        bool found = false;
        for (const auto& library : libraries) {
            if (std::u16string(library.name) == c.library) {
                found = true;
                EXPECT_TRUE(Contains(library.notice, c.required))
                    << std::string(c.library, c.library + Container::TextLength(c.library));
            }
        }
        EXPECT_TRUE(found);
    }
}

TEST(LibraryNotices, TheBuiltInTextListsEveryLibraryWithItsVersionInCrLfLines)
{
    const Container::cWideString text = cLibraryNotices::BuiltInText();
    EXPECT_TRUE(OnlyCrLf(text));
    for (const auto& library : cLibraryNotices::Libraries()) {
        Container::cWideString heading(u"\r\n");
        heading.Append(library.name);
        heading.Append(u' ');
        heading.Append(library.version);
        heading.Append(u"\r\n");
        EXPECT_TRUE(Contains(text, heading.Text()));
    }
}

TEST(LibraryNotices, WithCrLfEndsEveryLineWithCrLf)
{
    const struct
    {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"", u""},
        {u"a\nb", u"a\r\nb"},
        {u"a\r\nb\r\n", u"a\r\nb\r\n"},
        {u"a\rb", u"a\r\nb"},
        {u"\n\n", u"\r\n\r\n"},
        {u"a\r\r\nb", u"a\r\n\r\nb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(cLibraryNotices::WithCrLf(Container::cWideString(c.in))), std::u16string(c.out));
}

TEST(LibraryNotices, ACopyrightFileNextToTheProgramReplacesTheList)
{
    const struct
    {
        std::string bytes;
        const char16_t* text;
    } cases[] = {
        // UTF-16LE with its mark, LF lines.
        {std::string("\xFF\xFE" "A\0\n\0B\0", 8), u"A\r\nB"},
        // UTF-8 with its mark: Korean text.
        {"\xEF\xBB\xBF\xED\x95\x9C\r\nx", u"\uD55C\r\nx"},
        // No mark: the ANSI code page.
        {"Caf\xE9\n", u"Caf\u00E9\r\n"},
    };
    for (const auto& c : cases) {
        Testing::cTempFolder folder;
        WriteBytes(folder.Path() / "Copyright.txt", c.bytes);
        bool fromFile = false;
        const auto folderText = folder.Path().u16string();
        EXPECT_EQ(Text(cLibraryNotices::CopyrightText(Container::cWideString(folderText), &fromFile)),
                  std::u16string(c.text));
        EXPECT_TRUE(fromFile);
        // The folder may end with a separator.
        EXPECT_EQ(Text(cLibraryNotices::CopyrightText(Container::cWideString(folderText + u"\\"))),
                  std::u16string(c.text));
    }
}

TEST(LibraryNotices, WithoutACopyrightFileTheBuiltInListIsShown)
{
    Testing::cTempFolder folder;
    bool fromFile = true;
    const Container::cWideString text =
        cLibraryNotices::CopyrightText(Container::cWideString(folder.Path().u16string()), &fromFile);
    EXPECT_FALSE(fromFile);
    EXPECT_EQ(Text(text), Text(cLibraryNotices::BuiltInText()));
}

TEST(LibraryNotices, TheHeadingNamesTheProgramInsteadOfTheEditor)
{
    const struct
    {
        const char16_t* text;
        const char16_t* heading;
    } cases[] = {
        {u"Vadrin Brimvale uses following libraries:", u"Vadrin Quillsnapper uses following libraries:"},
        {u"Vadrin Brimvale\uC740 \uB2E4\uC74C:", u"Vadrin Quillsnapper\uC740 \uB2E4\uC74C:"},
        // The Korean form of the name, when the English one is not there.
        {u"\uBC14\uB4DC\uB9B0 \uBE0C\uB9BC\uBCA0\uC77C\uC740:", u"Vadrin Quillsnapper\uC740:"},
        {u"Libraries:", u"Libraries:"},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(cLibraryNotices::Heading(Container::cWideString(c.text))), std::u16string(c.heading));
}
