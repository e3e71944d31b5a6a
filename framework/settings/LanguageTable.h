#pragma once

#include "framework/core/WideString.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// A language table: the texts the user sees, by numeric id.
//
// A language text is a list of pairs, an id name and a quoted text, read
// with the settings-language lexer:
//
//     // comments run to the end of the line
//     IDC_CAPTURE     "Capture"
//     IDOK            "OK"
//
// Only names of the id table (LanguageIds) are loaded; other names are
// ignored. A text may hold three fields separated by '|' (caption,
// description, tool tip) and '&' marks a caption's mnemonic.
//
// Two tables are kept: the current language and a base language (English)
// that fills its gaps. Each keeps the first text given for an id. Named
// apart from AS::cLanguage, the settings-language document.
class cLanguage
{
public:
    // Token buffers of the format: an id name holds at most MaxNameLength
    // characters (longer pairs are dropped), a text at most MaxTextLength
    // (longer texts are cut there).
    static constexpr std::size_t MaxNameLength = 255;
    static constexpr std::size_t MaxTextLength = 2041;
    // Syntax-error messages are added while the error text is shorter.
    static constexpr std::size_t MaxErrorLength = 512;

    cLanguage() = default;
    virtual ~cLanguage();
    cLanguage(const cLanguage&) = delete;
    cLanguage& operator=(const cLanguage&) = delete;

    // The built-in text of an id, or null: the last fallback of Text.
    virtual const Container::cWideString* DefaultText(std::int32_t id) const;

    // Fills the name table with the id table (emptied first).
    void RegisterIdNames();
    // Reads a language file (any encoding the text reader knows) into the
    // current table. False, with the table unchanged, when it cannot be read.
    bool LoadFile(const char16_t* path);
    bool LoadFile(const Container::cWideString& path) { return LoadFile(path.Text()); }
    // Parses text into the emptied current table; syntax errors are
    // appended to errors when it is given.
    void Parse(std::u16string_view text, Container::cWideString* errors = nullptr);
    // Parses text into the emptied base table.
    void ParseBase(std::u16string_view text);
    void ClearCurrent() { m_current.clear(); }
    void ClearBase() { m_base.clear(); }

    // The current text of id, else the base text, else DefaultText; null
    // when there is none.
    const Container::cWideString* Text(std::int32_t id) const;
    // The base table's text of id, or null.
    const Container::cWideString* BaseText(std::int32_t id) const;
    // The id of an id name (exact, case-sensitive), or -1.
    std::int32_t IdOfName(std::u16string_view name) const;
    // Gives the promotion line (LanguageIds::PromotionText) this text when
    // the language has none of its own.
    void SetPromotionText(const Container::cWideString& text);

    // Reads the pairs of a language text, handing each (name, text) to
    // pair in order; syntax errors go to errors as Parse describes.
    using PairSink = std::function<void(std::u16string_view name, std::u16string_view text)>;
    static void ParsePairs(std::u16string_view text, const PairSink& pair, Container::cWideString* errors);

    // The table the toolkit reads its texts from; null until a language is
    // selected.
    static cLanguage* Current();
    static void SetCurrent(cLanguage* language);

private:
    using cTable = std::map<std::int32_t, Container::cWideString>;
    void ParseInto(cTable& table, std::u16string_view text, Container::cWideString* errors);

    std::uint32_t m_reserved = 0;
    std::map<std::u16string, std::int32_t, std::less<>> m_names;
    cTable m_current;
    cTable m_base;
};
