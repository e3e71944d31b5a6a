#include <gtest/gtest.h>

#include "framework/settings/AppLanguage.h"
#include "framework/settings/LanguageIds.h"
#include "framework/settings/LanguageTable.h"
#include "tests/settings/LanguageTestSupport.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <set>
#include <string>

using Testing::Narrow;

namespace {

// The texts a table holds for the ids of the id table, as "id=text;...".
std::string Texts(const cLanguage& language)
{
    std::string out;
    for (const auto& entry : LanguageIds::Table())
        if (const Container::cWideString* text = language.Text(entry.id); text && !language.DefaultText(entry.id))
            out += std::to_string(entry.id) + "=" + Narrow(text->View()) + ";";
    return out;
}

void WriteFile(const std::u16string& path, const std::string& bytes)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << bytes;
}

} // namespace

TEST(LanguageTableTest, IdTableHasEightySixUniqueNamesAndNumbers)
{
    const auto table = LanguageIds::Table();
    ASSERT_EQ(86u, table.size());
    std::set<std::u16string> names;
    std::set<std::int32_t> numbers;
    for (const auto& entry : table)
    {
        names.insert(entry.name);
        numbers.insert(entry.id);
    }
    EXPECT_EQ(86u, names.size());
    EXPECT_EQ(86u, numbers.size());

    cLanguage language;
    language.RegisterIdNames();
    EXPECT_EQ(140, language.IdOfName(u"IDC_CAPTURE"));
    EXPECT_EQ(-1, language.IdOfName(u"idc_capture"));
    EXPECT_EQ(32784, language.IdOfName(u"IDS_MSG_SAVED_FILE"));
    EXPECT_EQ(7, language.IdOfName(u"IDNO"));
    EXPECT_EQ(-1, language.IdOfName(u"IDC_CAPTURE "));
    EXPECT_EQ(-1, language.IdOfName(u""));
    // Registering again leaves the same table.
    language.RegisterIdNames();
    EXPECT_EQ(45086, language.IdOfName(u"IDS_BLENDING_VALUE"));
}

TEST(LanguageTableTest, ParsesPairsAndCollectsSyntaxErrors)
{
    const struct
    {
        const char* name;
        std::u16string text;
        std::string texts;
        std::string errors;
    } cases[] = {
        {"one pair", u"IDC_CAPTURE\t\"Grab\"\r\n", "140=Grab;", ""},
        {"first text wins", u"IDOK \"One\"\nIDOK \"Two\"", "1=One;", ""},
        {"free layout", u"  IDOK\n\n\t\"OK\"   IDCANCEL\"Cancel\"", "1=OK;2=Cancel;", ""},
        {"unknown name ignored", u"IDC_NOT_THERE \"x\"\nIDNO \"N\"", "7=N;", ""},
        {"names are case-sensitive", u"idok \"x\"", "", ""},
        {"string starts a line", u"IDOK \"OK\"\r\n\"stray\"\r\nIDNO \"N\"", "1=OK;7=N;",
         "(2) : syntax error 'stray'"},
        {"three errors run together", u"\"a\"\n\"b\"\n\"c\"", "",
         "(1) : syntax error 'a'(2) : syntax error 'b'(3) : syntax error 'c'"},
        {"name then punctuation drops both", u"IDOK = IDNO \"N\"", "7=N;", ""},
        {"name then name drops both", u"IDOK IDNO \"N\"", "", "(1) : syntax error 'N'"},
        {"number is an error", u"\n12 IDOK \"x\"", "1=x;", "(2) : syntax error '12'"},
        {"punctuation on line four", u"IDOK \"x\"\n\n\n;", "1=x;", "(4) : syntax error ';'"},
        {"name at the end", u"IDOK \"x\" IDNO", "1=x;", ""},
        {"comments", u"// IDOK \"no\"\nIDOK \"yes\" // IDNO \"no\"\n", "1=yes;", ""},
        {"escapes", u"IDOK \"a\\\"b\\\\c\\|d\\ne\\r\\n\"", "1=a\"b\\c|d\ne\r\n;", ""},
        {"unterminated string after a name", u"IDOK \"abc", "", ""},
        {"unterminated string alone", u"\"abc", "", "(1) : syntax error 'abc'"},
        {"true and false are no names", u"true \"x\"", "", "(1) : syntax error 'true'(1) : syntax error 'x'"},
        {"empty text", u"", "", ""},
        {"empty string is a text", u"IDOK \"\"", "1=;", ""},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        cLanguage language;
        language.RegisterIdNames();
        Container::cWideString errors;
        language.Parse(test.text, &errors);
        EXPECT_EQ(test.texts, Texts(language));
        EXPECT_EQ(test.errors, Narrow(errors.View()));
    }
}

TEST(LanguageTableTest, ErrorTextStopsGrowingAtItsLimit)
{
    std::u16string text;
    for (int line = 1; line <= 100; ++line)
        text += u"\"some error token\"\n";
    cLanguage language;
    Container::cWideString errors;
    language.Parse(text, &errors);
    const std::string message = "(1) : syntax error 'some error token'";
    ASSERT_GE(errors.Length(), cLanguage::MaxErrorLength);
    // Messages are added while the text is shorter than the limit: it ends
    // within one message of it and never reaches the later lines.
    EXPECT_LT(errors.Length(), cLanguage::MaxErrorLength + message.size() + 2);
    EXPECT_EQ(0u, Narrow(errors.View()).find(message));
    EXPECT_EQ(std::string::npos, Narrow(errors.View()).find("(30)"));

    // Errors are appended to a text given non-empty.
    Container::cWideString given(u"before:");
    language.Parse(u"\"x\"", &given);
    EXPECT_EQ("before:(1) : syntax error 'x'", Narrow(given.View()));
}

TEST(LanguageTableTest, OverlongNamesAreDroppedAndOverlongTextsCut)
{
    cLanguage language;
    language.RegisterIdNames();
    const std::u16string longText(3000, u'x');
    const std::u16string longName = u"IDOK" + std::u16string(300, u'_');
    language.Parse(u"IDOK \"" + longText + u"\" " + longName + u" \"y\" IDNO \"n\"");
    ASSERT_NE(nullptr, language.Text(1));
    EXPECT_EQ(cLanguage::MaxTextLength, language.Text(1)->Length());
    EXPECT_EQ(u"n", language.Text(7)->View());

    // A cut never splits a surrogate pair.
    std::u16string pairs;
    while (pairs.size() < 2100)
        pairs += u"\U0001F600";
    language.Parse(u"IDOK \"" + pairs + u"\"");
    const Container::cWideString& cut = *language.Text(1);
    EXPECT_EQ(cLanguage::MaxTextLength - 1, cut.Length());
    EXPECT_TRUE(cut[cut.Length() - 1] >= 0xDC00 && cut[cut.Length() - 1] <= 0xDFFF);
}

TEST(LanguageTableTest, TextFallsBackToBaseThenDefault)
{
    cAppLanguage language;
    language.RegisterIdNames();
    language.Parse(u"IDOK \"Bien\"");
    language.ParseBase(u"IDOK \"OK\" IDCANCEL \"Cancel\"");
    EXPECT_EQ(u"Bien", language.Text(1)->View());
    EXPECT_EQ(u"Cancel", language.Text(2)->View());
    EXPECT_EQ(u"OK", language.BaseText(1)->View());
    EXPECT_EQ(nullptr, language.BaseText(7));
    EXPECT_EQ(u"No", language.Text(7)->View());
    EXPECT_EQ(u"Yes", language.Text(6)->View());
    EXPECT_EQ(u"", language.Text(0)->View());
    EXPECT_EQ(nullptr, language.Text(12345));
    EXPECT_EQ(u"\nBrimvale\nBrimvale\nBrimvale Files(*.tbv)\n.tbv\nBrimvale.Document\nBrimvale.Document",
              language.Text(LanguageIds::DocumentType)->View());
    EXPECT_TRUE(language.Text(LanguageIds::ProductUrl)->View().ends_with(u"/products/quillsnapper"));
    EXPECT_TRUE(language.Text(LanguageIds::PromotionUrl)->View().ends_with(u"/downloads/brimvalepro/?from=Quillsnapper"));
    EXPECT_EQ(language.Text(LanguageIds::Copyright)->View(), std::u16string_view(cAppLanguage::CopyrightNotice));

    // A text of the language replaces a default text.
    language.Parse(u"IDNO \"Non\"");
    EXPECT_EQ(u"Non", language.Text(7)->View());
    // The plain table has no default texts.
    cLanguage plain;
    EXPECT_EQ(nullptr, plain.Text(7));
    EXPECT_EQ(nullptr, plain.Text(0));
}

TEST(LanguageTableTest, LoadFileReadsAnyEncodingAndFailsWithoutChange)
{
    Testing::cTempFolder folder;
    const std::u16string utf8 = folder.File(u"utf8.txt");
    WriteFile(utf8, "\xEF\xBB\xBFIDC_CAPTURE \"Grab\"\r\n");
    const std::u16string utf16 = folder.File(u"utf16.txt");
    WriteFile(utf16, std::string("\xFF\xFEI\0D\0O\0K\0 \0\"\0\x5C\xD5\"\0", 18));

    cLanguage language;
    language.RegisterIdNames();
    ASSERT_TRUE(language.LoadFile(utf8.c_str()));
    EXPECT_EQ(u"Grab", language.Text(140)->View());
    EXPECT_FALSE(language.LoadFile(folder.File(u"missing.txt").c_str()));
    EXPECT_EQ(u"Grab", language.Text(140)->View());
    ASSERT_TRUE(language.LoadFile(utf16.c_str()));
    EXPECT_EQ(nullptr, language.Text(140));
    EXPECT_EQ(u"\uD55C", language.Text(1)->View());
}

TEST(LanguageTableTest, PromotionTextOnlyFillsAGap)
{
    cLanguage language;
    language.RegisterIdNames();
    language.SetPromotionText(Container::cWideString(u"Try it"));
    EXPECT_EQ(u"Try it", language.Text(LanguageIds::PromotionText)->View());
    language.Parse(u"IDS_ADD_TRY_BRIMVALE_PRO_TEXT \"Own line\"");
    language.SetPromotionText(Container::cWideString(u"Try it"));
    EXPECT_EQ(u"Own line", language.Text(LanguageIds::PromotionText)->View());
}

TEST(LanguageTableTest, CurrentLanguageIsForgottenWhenItDies)
{
    cLanguage::SetCurrent(nullptr);
    {
        cAppLanguage language;
        cLanguage::SetCurrent(&language);
        EXPECT_EQ(&language, cLanguage::Current());
    }
    EXPECT_EQ(nullptr, cLanguage::Current());
}
