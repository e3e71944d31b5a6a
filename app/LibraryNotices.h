#pragma once

#include "framework/core/WideString.h"

#include <vector>

// The open-source libraries the program contains, each with its version
// (read from the library itself where it says) and the notice its licence
// asks to be shown; the copyright dialog lists them. A file Copyright.txt
// next to the program replaces the list.
class cLibraryNotices
{
public:
    struct sLibrary
    {
        const char16_t* name;
        Container::cWideString version;
        // Copyright lines and licence text, lines ended by "\n".
        Container::cWideString notice;
    };

    static constexpr const char16_t* FileName = u"Copyright.txt";

    // Every library linked into the program, in the order of the list.
    static std::vector<sLibrary> Libraries();
    // The whole built-in list, as one text with CR LF line ends.
    static Container::cWideString BuiltInText();
    // The text of programFolder\Copyright.txt when it can be read (any of
    // the encodings text files are read in), else BuiltInText; CR LF line
    // ends either way, as a multi-line edit box wants them. fromFile tells
    // which it was.
    static Container::cWideString CopyrightText(const Container::cWideString& programFolder, bool* fromFile = nullptr);
    // The heading above the list: the language text (shared with the
    // maker's editor, "Vadrin Brimvale uses following libraries:") with the
    // editor's name replaced by the program's; a text without the English
    // name has its Korean form replaced instead.
    static Container::cWideString Heading(const Container::cWideString& languageText);
    // Lone LF and lone CR become CR LF.
    static Container::cWideString WithCrLf(const Container::cWideString& text);
};
