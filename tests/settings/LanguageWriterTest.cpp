#include <gtest/gtest.h>

#include "framework/settings/Language.h"
#include "tests/settings/LanguageTestSupport.h"
#include "tests/support/TempFolder.h"

#include <cfloat>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

using Testing::Dump;
using Testing::Narrow;

namespace {

std::vector<unsigned char> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The byte-order mark and the text as UTF-16LE.
std::vector<unsigned char> Utf16File(std::u16string_view text)
{
    std::vector<unsigned char> bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return bytes;
}

} // namespace

TEST(LanguageWriterTest, SettingsFileLayoutIsByteExact)
{
    AS::cLanguage document;
    AS::cLanguage::cNode& root = document.Root();
    root.SetName(u"Quillsnapper");
    AS::cLanguage::cNode* program = root.AddChild(u"Program");
    ASSERT_NE(program, nullptr);
    program->AddChild(u"CheckedSaveFile")->SetBoolean(true);
    program->AddChild(u"Count")->SetInteger(-5);
    program->AddChild(u"Scale")->SetReal(0.1f);
    program->AddChild(u"Folder")->SetText(u"C:\\x\"y|z");
    program->AddChild(u"ConfirmSaving")->SetBoolean(false);

    Testing::cTempFolder folder;
    const std::u16string path = folder.File(u"QuillsnapperConfig.asl");
    ASSERT_TRUE(document.Save(path.c_str()));
    EXPECT_EQ(FileBytes(folder.Path() / "QuillsnapperConfig.asl"),
              Utf16File(u"Quillsnapper = {\r\n"
                        u"\tProgram = {\r\n"
                        u"\t\tCheckedSaveFile = true,\r\n"
                        u"\t\tCount = -5,\r\n"
                        u"\t\tScale = 0.100000,\r\n"
                        u"\t\tFolder = \"C:\\\\x\\\"y|z\",\r\n"
                        u"\t\tConfirmSaving = false\r\n"
                        u"\t}\r\n"
                        u"};\r\n"));
}

TEST(LanguageWriterTest, AnonymousChildrenLayout)
{
    // Anonymous values after the first child of a block are not indented;
    // blocks, named nodes and first children are.
    AS::cLanguage document;
    AS::cLanguage::cNode& root = document.Root();
    root.SetName(u"L");
    root.AddChild()->SetInteger(1);
    root.AddChild()->SetText(u"two");
    root.AddChild()->AddChild()->SetInteger(3);
    root.AddChild(u"n");
    root.AddChild()->SetBoolean(true);
    root.AddChild(); // an anonymous empty node survives as an empty block

    std::u16string text;
    ASSERT_TRUE(document.Write(text));
    EXPECT_EQ(Narrow(text), Narrow(u"L = {\r\n"
                                   u"\t1,\r\n"
                                   u"\"two\",\r\n"
                                   u"\t{\r\n"
                                   u"\t\t3\r\n"
                                   u"\t},\r\n"
                                   u"\tn,\r\n"
                                   u"true,\r\n"
                                   u"{}\r\n"
                                   u"};\r\n"));

    AS::cLanguage reread;
    EXPECT_TRUE(reread.Parse(text));
    EXPECT_EQ(Dump(reread.Root()), Dump(document.Root()));
}

TEST(LanguageWriterTest, EmptyRootSavesAsTheByteOrderMarkAlone)
{
    AS::cLanguage document;
    Testing::cTempFolder folder;
    ASSERT_TRUE(document.Save(folder.File(u"empty.asl").c_str()));
    EXPECT_EQ(FileBytes(folder.Path() / "empty.asl"), (std::vector<unsigned char>{0xFF, 0xFE}));
}

TEST(LanguageWriterTest, AnonymousValueRootIsWritten)
{
    AS::cLanguage document;
    document.Root().SetInteger(5);
    std::u16string text;
    ASSERT_TRUE(document.Write(text));
    EXPECT_EQ(Narrow(text), "5;\r\n");
}

TEST(LanguageWriterTest, NonFiniteRealsAreWrittenAsFiniteValuesThatReadBack)
{
    AS::cLanguage document;
    AS::cLanguage::cNode& root = document.Root();
    root.SetName(u"r");
    root.AddChild(u"nan")->SetReal(std::numeric_limits<float>::quiet_NaN());
    root.AddChild(u"inf")->SetReal(std::numeric_limits<float>::infinity());
    root.AddChild(u"ninf")->SetReal(-std::numeric_limits<float>::infinity());
    root.AddChild(u"max")->SetReal(FLT_MAX);
    root.AddChild(u"tiny")->SetReal(1e-30f);

    std::u16string text;
    ASSERT_TRUE(document.Write(text));
    EXPECT_EQ(Narrow(text), "r = {\r\n"
                            "\tnan = 0.000000,\r\n"
                            "\tinf = 340282346638528859811704183484516925440.000000,\r\n"
                            "\tninf = -340282346638528859811704183484516925440.000000,\r\n"
                            "\tmax = 340282346638528859811704183484516925440.000000,\r\n"
                            "\ttiny = 0.000000\r\n"
                            "};\r\n");
    AS::cLanguage reread;
    ASSERT_TRUE(reread.Parse(text));
    EXPECT_EQ(reread.Root().FindChild(u"inf")->Real(), FLT_MAX);
    EXPECT_EQ(reread.Root().FindChild(u"ninf")->Real(), -FLT_MAX);
    EXPECT_EQ(reread.Root().FindChild(u"nan")->Real(), 0.0f);
}

TEST(LanguageWriterTest, SaveThenLoadGivesTheSameTree)
{
    AS::cLanguage document;
    AS::cLanguage::cNode& root = document.Root();
    root.SetName(u"Quillsnapper");
    AS::cLanguage::cNode* values = root.AddChild(u"Values");
    values->AddChild(u"Zero")->SetInteger(0);
    values->AddChild(u"Min")->SetInteger(std::numeric_limits<std::int32_t>::min());
    values->AddChild(u"Max")->SetInteger(std::numeric_limits<std::int32_t>::max());
    values->AddChild(u"Half")->SetReal(0.5f);
    values->AddChild(u"Negative")->SetReal(-1234.5678f);
    values->AddChild(u"Big")->SetReal(16777216.0f);
    values->AddChild(u"Yes")->SetBoolean(true);
    values->AddChild(u"No")->SetBoolean(false);
    values->AddChild(u"Text")->SetText(u"quote \" backslash \\ cr \r lf \n tab \t bs \b bar | end");
    values->AddChild(u"Empty")->SetText(u"");
    values->AddChild(u"Folder")->SetText(u"C:\\Users\\\uae40\\Pictures\\");
    values->AddChild(u"NameOnly");
    AS::cLanguage::cNode* list = root.AddChild(u"List");
    list->AddChild()->SetInteger(1);
    list->AddChild()->SetInteger(2);
    list->AddChild()->AddChild(u"Inner")->SetText(u"x");

    Testing::cTempFolder folder;
    const std::u16string path = folder.File(u"round.asl");
    ASSERT_TRUE(document.Save(path.c_str()));

    AS::cLanguage reread;
    ASSERT_TRUE(reread.Load(path.c_str()));
    EXPECT_TRUE(reread.ErrorText().IsEmpty()) << Narrow(reread.ErrorText().View());
    EXPECT_EQ(Dump(reread.Root()), Dump(document.Root()));
    EXPECT_EQ(reread.Root().FindChild(u"Values")->FindChild(u"Text")->Text().View(),
              std::u16string_view(u"quote \" backslash \\ cr \r lf \n tab \t bs \b bar | end"));

    // Writing the reread tree gives the same bytes again.
    std::u16string first;
    std::u16string second;
    ASSERT_TRUE(document.Write(first));
    ASSERT_TRUE(reread.Write(second));
    EXPECT_EQ(first, second);
}

TEST(LanguageWriterTest, LongStringsRoundTripWhole)
{
    for (std::size_t length : {std::size_t(259), std::size_t(5000)}) {
        std::u16string value;
        for (std::size_t i = 0; i < length; ++i)
            value.push_back(static_cast<char16_t>(u'a' + i % 26));
        value[100] = u'"';
        value[200] = u'\\';

        AS::cLanguage document;
        document.Root().SetName(u"s");
        document.Root().AddChild(u"Long")->SetText(value);
        Testing::cTempFolder folder;
        const std::u16string path = folder.File(u"long.asl");
        ASSERT_TRUE(document.Save(path.c_str()));

        AS::cLanguage reread;
        ASSERT_TRUE(reread.Load(path.c_str()));
        EXPECT_TRUE(reread.ErrorText().IsEmpty());
        const AS::cLanguage::cNode* node = reread.Root().FindChild(u"Long");
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->Text().View(), std::u16string_view(value)) << length;
    }
}

TEST(LanguageWriterTest, DepthLimitedTreeWritesAndReadsBackTheSame)
{
    AS::cLanguage document;
    document.Parse(std::u16string(100000, u'{'));
    std::u16string text;
    ASSERT_TRUE(document.Write(text));
    AS::cLanguage reread;
    reread.Parse(text);
    EXPECT_EQ(Narrow(reread.ErrorText().View()), Narrow(document.ErrorText().View()));
    EXPECT_EQ(Dump(reread.Root()), Dump(document.Root()));
}
