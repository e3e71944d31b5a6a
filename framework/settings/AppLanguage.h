#pragma once

#include "framework/core/StringList.h"
#include "framework/core/WideString.h"
#include "framework/settings/LanguageTable.h"

#include <map>

// The application's language table: the built-in default texts, and the
// choice of a language from the language folder or the program's own
// resources.
//
// A language named N is the file <program folder>\language\N.txt, or the
// resource N of type "Language" (English and Korean are built in). English,
// the base language, fills the gaps of every other language.
class cAppLanguage : public cLanguage
{
public:
    // The folder below the program's folder that holds language files.
    static constexpr const char16_t* FolderName = u"language";
    static constexpr const char16_t* ResourceType = u"Language";
    static constexpr const char16_t* English = u"English";
    static constexpr const char16_t* Korean = u"\uD55C\uAD6D\uC5B4";
    // The promotion lines of every language: a resource of type "AD".
    static constexpr const char16_t* PromotionType = u"AD";
    static constexpr const char16_t* PromotionName = u"IDS_ADD_TRY_BRIMVALE_PRO_TEXT";

    static constexpr const char16_t* MakerSite = u"https://www.vadrin.com";
    static constexpr const char16_t* CopyrightNotice = u"Copyright (C) Vadrin. All rights reserved.";

    // Where languages come from: the folder of the program's executable and
    // the module with the built-in languages (null: the program itself).
    struct sSources
    {
        Container::cWideString programFolder;
        void* resourceModule = nullptr;
    };

    cAppLanguage();
    ~cAppLanguage() override;

    // Answers for 0 (empty), IDYES, IDNO, the product page, the copyright
    // notice, the document-type description and the editor's download page.
    const Container::cWideString* DefaultText(std::int32_t id) const override;

    // Loads language name (empty: Korean on a Korean system, else English)
    // from its file, else from its resource, else English, with English as
    // the base table, and makes this the current language. An empty
    // defaultLanguage setting takes the name. Always true.
    bool SelectLanguage(const Container::cWideString& name, const sSources& sources,
                        Container::cWideString& defaultLanguage);
    // The language loaded by the last SelectLanguage.
    const Container::cWideString& LanguageName() const { return m_name; }

    // The text of the grammar check of language name: its syntax errors
    // run together, or Text(IDOK) of the current language when there are
    // none. Checks the text SelectLanguage would load (file, then
    // resource); false, and no message, when there is neither.
    static bool CheckGrammar(const Container::cWideString& name, const sSources& sources,
                             Container::cWideString& message);

    // The languages offered: the title of every *.txt in the language
    // folder (folders and hidden files skipped), then every "Language"
    // resource not yet listed (names compared ignoring case).
    static Container::cStringList LanguageList(const sSources& sources);

    // True when name can go into a file path: not empty, and no folder
    // separator, drive colon, "..", control or wildcard character.
    static bool IsFileName(const Container::cWideString& name);
    // <program folder>\language\<name>.txt
    static Container::cWideString LanguageFilePath(const Container::cWideString& programFolder,
                                                   const Container::cWideString& name);
    // The text of resource name of type, decoded by its byte-order mark;
    // false when it is missing or empty.
    static bool ReadTextResource(void* module, const char16_t* type, const char16_t* name,
                                 Container::cWideString& text);

private:
    std::map<std::int32_t, Container::cWideString> m_defaults;
    Container::cWideString m_name;
};
