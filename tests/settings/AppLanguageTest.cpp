#include <gtest/gtest.h>

#include "framework/core/TextFile.h"
#include "framework/settings/AppLanguage.h"
#include "framework/settings/LanguageIds.h"
#include "platform/Platform.h"
#include "tests/settings/LanguageTestSupport.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using Testing::Narrow;

namespace {

const char16_t* const Korean = cAppLanguage::Korean;

std::vector<char> ShippedBytes(const char* file)
{
    std::ifstream in(std::filesystem::path(QS_LANGUAGE_TEXTS) / file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped language texts as the program's resources, and a scratch
// program folder with an empty language folder.
class AppLanguageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto& [name, file] : {std::pair{u"ENGLISH", "English.txt"}, std::pair{Korean, "Korean.txt"}})
        {
            const std::vector<char> bytes = ShippedBytes(file);
            ASSERT_FALSE(bytes.empty()) << file;
            Platform::RegisterResource(cAppLanguage::ResourceType, name, bytes.data(), bytes.size());
        }
        const std::vector<char> promotions = ShippedBytes("Promotions.txt");
        ASSERT_FALSE(promotions.empty());
        Platform::RegisterResource(cAppLanguage::PromotionType, cAppLanguage::PromotionName, promotions.data(),
                                   promotions.size());
        std::filesystem::create_directory(m_folder.Path() / "language");
        m_sources.programFolder = Container::cWideString(m_folder.Path().u16string());
        m_language.RegisterIdNames();
    }

    void TearDown() override
    {
        Platform::ClearRegisteredResources();
        Platform::SetFakeUserDefaultLanguage(0);
        cLanguage::SetCurrent(nullptr);
    }

    // A UTF-16LE language file in the language folder.
    void WriteLanguageFile(const std::u16string& name, const std::u16string& text)
    {
        std::ofstream out(m_folder.Path() / "language" / std::filesystem::path(name + u".txt"), std::ios::binary);
        out << "\xFF\xFE";
        for (char16_t c : text)
            out << static_cast<char>(c & 0xFF) << static_cast<char>(c >> 8);
    }

    std::string Text(std::int32_t id) const
    {
        const Container::cWideString* text = m_language.Text(id);
        return text ? Narrow(text->View()) : "<none>";
    }
    std::string BaseText(std::int32_t id) const
    {
        const Container::cWideString* text = m_language.BaseText(id);
        return text ? Narrow(text->View()) : "<none>";
    }

    Testing::cTempFolder m_folder;
    cAppLanguage::sSources m_sources;
    cAppLanguage m_language;
};

} // namespace

TEST_F(AppLanguageTest, EmptyNameOnAKoreanSystemLoadsKoreanOverEnglish)
{
    Platform::SetFakeUserDefaultLanguage(0x0412);
    Container::cWideString setting;
    EXPECT_TRUE(m_language.SelectLanguage(Container::cWideString(), m_sources, setting));
    EXPECT_EQ(std::u16string_view(Korean), setting.View());
    EXPECT_EQ(std::u16string_view(Korean), m_language.LanguageName().View());
    EXPECT_EQ(u"\uD655\uC778", m_language.Text(LanguageIds::Ok)->View()); // 확인
    EXPECT_EQ("OK", BaseText(LanguageIds::Ok));
    EXPECT_EQ("&Yes", BaseText(LanguageIds::Yes));
    EXPECT_EQ(&m_language, cLanguage::Current());
    // The promotion line comes from the Korean key.
    const std::u16string_view promotion = m_language.Text(LanguageIds::PromotionText)->View();
    EXPECT_NE(std::u16string_view::npos, promotion.find(u"Brimvale Pro"));
    EXPECT_NE(std::u16string_view::npos, promotion.find(u"\uD3B8\uC9D1\uAE30")); // 편집기
}

TEST_F(AppLanguageTest, EmptyNameElsewhereLoadsEnglishWithoutBase)
{
    Platform::SetFakeUserDefaultLanguage(0x0409);
    Container::cWideString setting(u"German");
    EXPECT_TRUE(m_language.SelectLanguage(Container::cWideString(), m_sources, setting));
    // A setting that is not empty keeps its value.
    EXPECT_EQ(u"German", setting.View());
    EXPECT_EQ(u"English", m_language.LanguageName().View());
    EXPECT_EQ("OK", Text(LanguageIds::Ok));
    EXPECT_EQ("Capture", Text(140));
    for (const auto& entry : LanguageIds::Table())
        EXPECT_EQ(nullptr, m_language.BaseText(entry.id)) << Narrow(entry.name);
    EXPECT_EQ("Try Brimvale Pro, the image editor from Vadrin!", Text(LanguageIds::PromotionText));
}

TEST_F(AppLanguageTest, MissingLanguageFallsBackToEnglishAndKeepsTheSetting)
{
    Container::cWideString setting;
    m_language.SelectLanguage(Container::cWideString(u"Klingon"), m_sources, setting);
    EXPECT_EQ(u"Klingon", setting.View());
    EXPECT_EQ(u"English", m_language.LanguageName().View());
    EXPECT_EQ("Cancel", Text(LanguageIds::Cancel));
    EXPECT_EQ("<none>", BaseText(LanguageIds::Cancel));
}

TEST_F(AppLanguageTest, FileOverridesTheResourceOfTheSameName)
{
    WriteLanguageFile(Korean, u"IDOK \"\uC88B\uC544\"\r\n");
    Container::cWideString setting;
    m_language.SelectLanguage(Container::cWideString(Korean), m_sources, setting);
    EXPECT_EQ(u"\uC88B\uC544", m_language.Text(LanguageIds::Ok)->View());
    // Nothing else of the Korean resource is loaded: English fills in.
    EXPECT_EQ("Capture", Text(140));
    EXPECT_EQ("OK", BaseText(LanguageIds::Ok));
}

TEST_F(AppLanguageTest, FileLanguageGetsItsPromotionLineUnlessItHasOne)
{
    WriteLanguageFile(u"German", u"IDOK \"OK\"\r\nIDCANCEL \"Abbrechen\"\r\n");
    Container::cWideString setting;
    m_language.SelectLanguage(Container::cWideString(u"German"), m_sources, setting);
    EXPECT_EQ("Abbrechen", Text(LanguageIds::Cancel));
    EXPECT_EQ("Probieren Sie Brimvale Pro aus, den Bildeditor von Vadrin!", Text(LanguageIds::PromotionText));

    WriteLanguageFile(u"German", u"IDS_ADD_TRY_BRIMVALE_PRO_TEXT \"Eigene Zeile\"\r\n");
    m_language.SelectLanguage(Container::cWideString(u"German"), m_sources, setting);
    EXPECT_EQ("Eigene Zeile", Text(LanguageIds::PromotionText));
}

TEST_F(AppLanguageTest, NamesWithPathsNeverReachTheFileSystem)
{
    // Files the names below would reach if they went into the path.
    {
        std::ofstream out(m_folder.Path() / "evil.txt", std::ios::binary);
        out << "IDOK \"reached\"";
    }
    std::filesystem::create_directory(m_folder.Path() / "language" / "sub");
    {
        std::ofstream out(m_folder.Path() / "language" / "sub" / "x.txt", std::ios::binary);
        out << "IDOK \"reached\"";
    }
    const std::u16string names[] = {u"..\\evil", u"../evil", u"sub\\x", u"sub/x", u"..", u"C:evil"};
    for (const auto& name : names)
    {
        SCOPED_TRACE(Narrow(name));
        Container::cWideString setting;
        m_language.SelectLanguage(Container::cWideString(name), m_sources, setting);
        EXPECT_EQ("OK", Text(LanguageIds::Ok));
        EXPECT_EQ(u"English", m_language.LanguageName().View());
        EXPECT_EQ(name, setting.View());
        EXPECT_FALSE(cAppLanguage::IsFileName(Container::cWideString(name)));
    }
    EXPECT_TRUE(cAppLanguage::IsFileName(Container::cWideString(u"Deutsch (Schweiz)")));
    EXPECT_TRUE(cAppLanguage::IsFileName(Container::cWideString(Korean)));
    EXPECT_FALSE(cAppLanguage::IsFileName(Container::cWideString(u"")));
    EXPECT_FALSE(cAppLanguage::IsFileName(Container::cWideString(u"a*b")));
}

TEST_F(AppLanguageTest, NoEnglishResourceLeavesOnlyDefaultTexts)
{
    Platform::ClearRegisteredResources();
    Container::cWideString setting;
    m_language.SelectLanguage(Container::cWideString(Korean), m_sources, setting);
    EXPECT_EQ("<none>", Text(LanguageIds::Ok));
    EXPECT_EQ("No", Text(LanguageIds::No));
    EXPECT_EQ(&m_language, cLanguage::Current());
}

TEST_F(AppLanguageTest, GrammarCheckReportsTheTextSelectionWouldLoad)
{
    Container::cWideString setting;
    m_language.SelectLanguage(Container::cWideString(Korean), m_sources, setting);

    Container::cWideString message;
    // The shipped Korean text is clean: the message is the current "OK".
    ASSERT_TRUE(cAppLanguage::CheckGrammar(Container::cWideString(Korean), m_sources, message));
    EXPECT_EQ(u"\uD655\uC778", message.View());

    // A file of the same name is what selection loads, so it is checked.
    WriteLanguageFile(Korean, u"IDOK \"OK\"\r\n\"stray\"\r\nIDNO = \"x\"\r\n");
    ASSERT_TRUE(cAppLanguage::CheckGrammar(Container::cWideString(Korean), m_sources, message));
    EXPECT_EQ("(2) : syntax error 'stray'(3) : syntax error 'x'", Narrow(message.View()));

    message = u"unchanged";
    EXPECT_FALSE(cAppLanguage::CheckGrammar(Container::cWideString(u"Klingon"), m_sources, message));
    EXPECT_FALSE(cAppLanguage::CheckGrammar(Container::cWideString(u"..\\evil"), m_sources, message));
    EXPECT_EQ(u"unchanged", message.View());

    // Without a current language a clean text gives an empty message.
    cLanguage::SetCurrent(nullptr);
    ASSERT_TRUE(cAppLanguage::CheckGrammar(Container::cWideString(u"ENGLISH"), m_sources, message));
    EXPECT_EQ(u"", message.View());
}

TEST_F(AppLanguageTest, LanguageListHasFilesThenResourcesWithoutDuplicates)
{
    WriteLanguageFile(u"German", u"IDOK \"OK\"");
    WriteLanguageFile(u"english", u"IDOK \"OK\"");
    WriteLanguageFile(u".hidden", u"IDOK \"OK\"");
    std::filesystem::create_directory(m_folder.Path() / "language" / "folder.txt");
    {
        std::ofstream out(m_folder.Path() / "language" / "notes.md");
        out << "not a language";
    }
    const Container::cStringList list = cAppLanguage::LanguageList(m_sources);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.Count(); ++i)
        names.push_back(Narrow(list[i].View()));
    // The folder's order is the file system's; the resources come after.
    std::sort(names.begin(), names.begin() + std::min<std::size_t>(2, names.size()));
    const std::vector<std::string> expected = {"German", "english", Narrow(Korean)};
    EXPECT_EQ(expected, names);
}

// The built-in English text, exactly as the program ships it.
TEST_F(AppLanguageTest, ShippedEnglishHasEveryTextOfTheTable)
{
    const std::map<std::string, std::string> expected = {
        {"IDD_TOOL", "Quillsnapper"}, {"IDC_CAPTURE", "Capture"}, {"IDC_CAPTURE_FRAME", "Rectangular Capture"},
        {"IDC_CAPTURE_FRAME_CANCEL", "Cancel"}, {"IDC_CAPTURE_WINDOW", "Window Capture"},
        {"IDC_CAPTURE_FULL_SCREEN", "Full-screen Capture"}, {"IDC_OPTIONS", "Options"},
        {"IDD_OPTIONS", "Quillsnapper Options"}, {"IDC_OPEN_SAVE_FOLDER", "Open Save Folder"},
        {"IDC_CHECK_CONFIRM_SAVING", "Confirm Saving"},
        {"IDC_CHECK_SEND_TO_ASSOCIATED_PROGRAM", "Send to associated program"},
        {"IDS_BEHAVIOR_AFTER_CAPTURE", "Behavior after capture"}, {"IDC_CHECK_COPY_CLIPBOARD", "Copy to clipboard"},
        {"IDS_SAVE_FILE", "Saving"}, {"IDS_SAVE_FILE_NAME_", "File Name:"}, {"IDS_SAVE_FILE_FORMAT_", "File format:"},
        {"IDS_SAFE_FILE_PATH_", "Save Path:"}, {"IDC_SAVE_FILE_CHECK_SAME_NAME", "Save to same name"},
        {"IDC_SAVE_FILE_DEFAULT", "Default"}, {"IDC_CHOOSE_SAVE_PATH", "..."},
        {"IDS_ASSOCIATED_PROGRAM", "Associated program"}, {"IDC_CHOOSE_ASSOCIATED_PROGRAM", "..."},
        {"IDC_DEFAULT_SETTING", "Default"}, {"IDC_DEFAULT_SETTING_LANGUAGE_", "Language:"},
        {"IDC_DEFAULT_SETTING_LANGUAGE_CHECK", "Check grammar"}, {"IDC_DEFAULT_CHECK_ASSISTANCE", "Zoom Assistance"},
        {"IDC_SETTING_DEFAULT", "Default"}, {"IDOK", "OK"}, {"IDCANCEL", "Cancel"},
        {"ID_ABOUT", "About Quillsnapper..."}, {"IDD_APP_ABOUT", "About..."},
        {"IDS_VADRIN_COPYRIGHT", Narrow(cAppLanguage::CopyrightNotice)},
        {"IDC_CONTACT_SUPPORT", "Contacts: support@vadrin.com"}, {"IDS_CONTACT_", "Contacts:"},
        {"IDD_COPYRIGHT", "Copyright Information"}, {"IDS_LIBRARY_", "Vadrin Brimvale uses following libraries:"},
        {"IDS_ASSOCIATED_PROGRAM_PATH_", "Path:"}, {"IDS_MSG_WELCOME", "Welcome Quillsnapper"},
        {"IDS_MSG_TRY_KEYBOARD_TO_MOVEING", "Try the arrow keys for moving."},
        {"IDS_MSG_TRY_SHIFT_KEY", "with the Shift key to move 10 pixels"},
        {"IDS_MSG_TRY_CTRL_KEY", "with the Ctrl key to resize"},
        {"IDS_MSG_TRY_ENTER", "If you want to capture, press Enter key."},
        {"IDS_MSG_COPYED_CLIPBOARD", "The image is copied to the clipboard."},
        {"IDS_MSG_SAVED_FILE", "The image is saved."}, {"IDC_ASSOCIATED_PROGRAM_RADIO_USER", "Other program:"},
        {"IDC_NORMAL_CAPTURE", "Rectangular Capture"}, {"ID_FILE_MRU_FILE1", "Open the document."},
        {"IDS_BLEND_", "&Blend:"}, {"IDS_BLENDING_ADD", "Add"}, {"IDS_BLENDING_ALPHA_MAX", "Alpha Max"},
        {"IDS_BLENDING_AVERAGE", "Average"}, {"IDS_BLENDING_BURN", "Linear Burn"}, {"IDS_BLENDING_COLOR", "Color"},
        {"IDS_BLENDING_COLOR_BURN", "Color Burn"}, {"IDS_BLENDING_COLOR_DODGE", "Color Dodge"},
        {"IDS_BLENDING_CONTOUR", "Contour"}, {"IDS_BLENDING_COPY", "Copy"}, {"IDS_BLENDING_DARKEN", "Darken"},
        {"IDS_BLENDING_DIFFERENCE", "Difference"}, {"IDS_BLENDING_DODGE", "Dodge"}, {"IDS_BLENDING_ERASE", "Erase"},
        {"IDS_BLENDING_EXCLUSION", "Exclusion"}, {"IDS_BLENDING_HARD_LIGHT", "Hard Light"},
        {"IDS_BLENDING_HUE", "Hue"}, {"IDS_BLENDING_LIGHTEN", "Lighten"}, {"IDS_BLENDING_NORMAL", "Normal"},
        {"IDS_BLENDING_MULTIPLY", "Multiply"}, {"IDS_BLENDING_NEGATION", "Negation"},
        {"IDS_BLENDING_OVERLAY", "Overlay"}, {"IDS_BLENDING_PIN_LIGHT", "Pin Light"}, {"IDS_BLENDING_RGB", "RGB"},
        {"IDS_BLENDING_SATURATION", "Saturation"}, {"IDS_BLENDING_SCREEN", "Screen"},
        {"IDS_BLENDING_SOFT_LIGHT", "Soft Light"}, {"IDS_BLENDING_SUBTRACT", "Subtract"},
        {"IDS_BLENDING_VALUE", "Value"}, {"IDS_MAIN_TOOLS", "Main Tools"}, {"IDYES", "&Yes"}, {"IDNO", "&No"},
    };
    ASSERT_EQ(79u, expected.size());
    Container::cWideString text;
    ASSERT_TRUE(cAppLanguage::ReadTextResource(nullptr, u"Language", u"English", text));
    std::map<std::string, std::string> shipped;
    Container::cWideString errors;
    cLanguage::ParsePairs(
        text.View(), [&](std::u16string_view name, std::u16string_view value) {
            shipped.emplace(Narrow(name), Narrow(value));
        },
        &errors);
    EXPECT_EQ(u"", errors.View());
    EXPECT_EQ(expected, shipped);
    // The text starts with the three comment lines of the conventions.
    EXPECT_TRUE(text.View().starts_with(u"// Command names (ID_ prefix"));
}

// The built-in Korean text translates every text English has.
TEST_F(AppLanguageTest, ShippedKoreanTranslatesEveryEnglishText)
{
    std::map<std::u16string, std::u16string> english;
    std::map<std::u16string, std::u16string> korean;
    for (const auto& [name, table] : {std::pair{u"ENGLISH", &english}, std::pair{Korean, &korean}})
    {
        Container::cWideString text;
        ASSERT_TRUE(cAppLanguage::ReadTextResource(nullptr, u"Language", name, text));
        Container::cWideString errors;
        cLanguage::ParsePairs(
            text.View(), [&](std::u16string_view key, std::u16string_view value) {
                table->emplace(std::u16string(key), std::u16string(value));
            },
            &errors);
        EXPECT_EQ(u"", errors.View());
    }
    ASSERT_EQ(english.size(), korean.size());
    // Texts that stay as they are: the program's name and marks.
    const std::map<std::u16string, std::u16string> unchanged = {
        {u"IDD_TOOL", u"Quillsnapper"}, {u"IDC_CHOOSE_SAVE_PATH", u"..."},
        {u"IDC_CHOOSE_ASSOCIATED_PROGRAM", u"..."}, {u"IDS_BLENDING_RGB", u"RGB"}};
    for (const auto& [name, text] : english)
    {
        SCOPED_TRACE(Narrow(name));
        const auto found = korean.find(name);
        ASSERT_NE(korean.end(), found);
        if (const auto same = unchanged.find(name); same != unchanged.end())
        {
            EXPECT_EQ(same->second, found->second);
            continue;
        }
        bool hangul = false;
        for (char16_t c : found->second)
            hangul = hangul || (c >= 0xAC00 && c <= 0xD7A3);
        EXPECT_TRUE(hangul) << Narrow(found->second);
        // Mnemonics come from the English base, not from the translation.
        EXPECT_EQ(std::u16string::npos, found->second.find(u'&'));
    }
}

// The promotion lines: one per language name, keys matched exactly.
TEST_F(AppLanguageTest, ShippedPromotionLinesCoverEveryLanguageName)
{
    Container::cWideString text;
    ASSERT_TRUE(cAppLanguage::ReadTextResource(nullptr, cAppLanguage::PromotionType, cAppLanguage::PromotionName, text));
    std::map<std::u16string, std::u16string> lines;
    Container::cWideString errors;
    cLanguage::ParsePairs(
        text.View(), [&](std::u16string_view key, std::u16string_view value) {
            EXPECT_TRUE(lines.emplace(std::u16string(key), std::u16string(value)).second) << Narrow(key);
        },
        &errors);
    EXPECT_EQ(u"", errors.View());
    EXPECT_EQ(62u, lines.size());
    for (const char16_t* name : {u"English", u"ENGLISH", Korean, u"ChineseSimplified", u"Welsh"})
    {
        SCOPED_TRACE(Narrow(name));
        ASSERT_EQ(1u, lines.count(name));
        EXPECT_NE(std::u16string::npos, lines[name].find(u"Brimvale Pro"));
    }
    EXPECT_EQ(0u, lines.count(u"english"));
}
