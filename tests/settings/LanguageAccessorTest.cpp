#include <gtest/gtest.h>

#include "framework/settings/Language.h"
#include "framework/settings/LanguageAccessor.h"
#include "tests/settings/LanguageTestSupport.h"

#include <cstdint>
#include <string>

using AS::cDataAccessor;
using AS::cLanguage;
using AS::cLanguageAccessor;
using Testing::Dump;

namespace {

// A document parsed from text, and a reading accessor on its root.
struct sReader
{
    explicit sReader(std::u16string_view text)
    {
        document.Parse(text);
        accessor.Attach(document.Root());
    }
    cDataAccessor::cNode& Root() { return *accessor.Root(); }

    cLanguage document;
    cLanguageAccessor accessor;
};

// A writing accessor on the root of an empty document named Root.
struct sWriter
{
    sWriter()
    {
        document.Root().SetName(u"Root");
        accessor.SetDirection(cDataAccessor::Writing);
        accessor.Attach(document.Root());
    }
    cDataAccessor::cNode& Root() { return *accessor.Root(); }

    cLanguage document;
    cLanguageAccessor accessor;
};

} // namespace

TEST(LanguageAccessorTest, StartsReadingWithAnUnboundRoot)
{
    cLanguageAccessor accessor;
    EXPECT_EQ(accessor.Direction(), cDataAccessor::Reading);
    ASSERT_NE(accessor.Root(), nullptr);
    // Unbound: every operation answers null, 0 or false and touches nothing.
    cDataAccessor::cNode& root = *accessor.Root();
    EXPECT_EQ(root.Child(u"Program"), nullptr);
    EXPECT_EQ(root.ChildAt(0), nullptr);
    EXPECT_EQ(root.ChildCount(), 0u);
    std::int32_t number = 17;
    bool flag = true;
    Container::cWideString text(u"keep");
    Container::sRect rect{1, 2, 3, 4};
    EXPECT_FALSE(root.Value(u"x", number));
    EXPECT_FALSE(root.Value(u"x", flag));
    EXPECT_FALSE(root.Value(u"x", text));
    EXPECT_FALSE(root.Value(u"x", rect));
    EXPECT_EQ(number, 17);
    EXPECT_TRUE(flag);
    EXPECT_EQ(text, u"keep");
    EXPECT_EQ(rect, (Container::sRect{1, 2, 3, 4}));

    accessor.SetDirection(cDataAccessor::Writing);
    EXPECT_EQ(root.Child(u"Program"), nullptr);
    EXPECT_EQ(root.ChildAt(0), nullptr);
    EXPECT_FALSE(root.Value(u"x", number));
    EXPECT_FALSE(root.Value(u"x", text));
}

TEST(LanguageAccessorTest, ChildAtOutsideTheChildrenIsNull)
{
    sReader reader(u"r = { 1, 2, a = { b = 3 } }");
    cDataAccessor::cNode& root = reader.Root();
    ASSERT_EQ(root.ChildCount(), 3u);
    EXPECT_NE(root.ChildAt(2), nullptr);
    EXPECT_EQ(root.ChildAt(3), nullptr);
    EXPECT_EQ(root.ChildAt(1000000), nullptr);
    EXPECT_EQ(root.ChildAt(static_cast<std::size_t>(-1)), nullptr);

    // Children found by index and by name read their own values.
    std::int32_t value = 0;
    cDataAccessor::cNode* a = root.Child(u"a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->ChildCount(), 1u);
    EXPECT_TRUE(a->Value(u"b", value));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(root.Child(u"A"), nullptr);
    EXPECT_EQ(root.Child(u"missing"), nullptr);
}

TEST(LanguageAccessorTest, BooleansAcceptNumbersAndStrings)
{
    sReader reader(u"r = { i = 1, z = 0, r = 0.0, q = 2.5, s = \"no\", e = \"\", t = true, f = false, n = { } }");
    struct sCase
    {
        const char16_t* name;
        bool read;
        bool value;
    };
    const sCase cases[] = {
        {u"i", true, true},  {u"z", true, false}, {u"r", true, false}, {u"q", true, true},
        {u"s", true, true},  {u"e", true, false}, {u"t", true, true},  {u"f", true, false},
        {u"n", false, false}, {u"missing", false, false},
    };
    for (const sCase& test : cases) {
        for (bool start : {false, true}) {
            bool value = start;
            EXPECT_EQ(reader.Root().Value(test.name, value), test.read) << Testing::Narrow(test.name);
            EXPECT_EQ(value, test.read ? test.value : start) << Testing::Narrow(test.name);
        }
    }
}

TEST(LanguageAccessorTest, ReadsNeedTheMatchingType)
{
    sReader reader(u"r = { real = 3.0, int = 7, text = \"7\", flag = true }");
    cDataAccessor::cNode& root = reader.Root();

    std::int32_t number = 5;
    EXPECT_FALSE(root.Value(u"real", number));
    EXPECT_FALSE(root.Value(u"text", number));
    EXPECT_FALSE(root.Value(u"flag", number));
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(root.Value(u"int", number));
    EXPECT_EQ(number, 7);

    float real = 1.25f;
    EXPECT_FALSE(root.Value(u"int", real)); // no conversion from an integer
    EXPECT_EQ(real, 1.25f);
    EXPECT_TRUE(root.Value(u"real", real));
    EXPECT_EQ(real, 3.0f);

    Container::cWideString text(u"old");
    EXPECT_FALSE(root.Value(u"int", text));
    EXPECT_EQ(text, u"old");
    EXPECT_TRUE(root.Value(u"text", text));
    EXPECT_EQ(text, u"7");

    std::uint32_t index = 9;
    std::int64_t wide = 9;
    std::uint8_t byte = 9;
    EXPECT_FALSE(root.Value(u"real", index));
    EXPECT_FALSE(root.Value(u"real", wide));
    EXPECT_FALSE(root.Value(u"text", byte));
    EXPECT_EQ(index, 9u);
    EXPECT_EQ(wide, 9);
    EXPECT_EQ(byte, 9);
}

TEST(LanguageAccessorTest, WritesEveryKindOfValueAsTheMatchingNode)
{
    sWriter writer;
    cDataAccessor::cNode& root = writer.Root();
    std::int32_t i32 = -7;
    char32_t character = U'\U0001F600';
    AS::eColour colour = static_cast<AS::eColour>(0xFF6BADF6u);
    std::uint32_t u32 = 3;
    std::int64_t i64 = (std::int64_t(1) << 32) + 5;
    std::uint8_t u8 = 200;
    std::int8_t s8 = -5;
    bool flag = true;
    float real = 0.1f;
    Container::cWideString text(u"a\"b");
    AS::sFloatPair pair{1.5f, -2.25f};
    Container::sPoint point{10, 20};
    Container::sRect rect{0, 0, 640, 480};
    AS::sSize size{-3, 4};
    EXPECT_TRUE(root.Value(u"i32", i32));
    EXPECT_TRUE(root.Value(u"char", character));
    EXPECT_TRUE(root.Value(u"colour", colour));
    EXPECT_TRUE(root.Value(u"u32", u32));
    EXPECT_TRUE(root.Value(u"i64", i64));
    EXPECT_TRUE(root.Value(u"u8", u8));
    EXPECT_TRUE(root.Value(u"s8", s8));
    EXPECT_TRUE(root.Value(u"flag", flag));
    EXPECT_TRUE(root.Value(u"real", real));
    EXPECT_TRUE(root.Value(u"text", text));
    EXPECT_TRUE(root.Value(u"pair", pair));
    EXPECT_TRUE(root.Value(u"point", point));
    EXPECT_TRUE(root.Value(u"rect", rect));
    EXPECT_TRUE(root.Value(u"size", size));

    EXPECT_EQ(Dump(writer.document.Root()),
              "Root{i32=-7,char=128512,colour=-9720330,u32=3,i64=5,u8=200,s8=-5,flag=true,real=r0.100000,"
              "text=\"a\"b\",pair=\"1.500000,-2.250000\",point=\"10,20\",rect=\"0,0,640,480\",size=\"-3,4\"}");
}

TEST(LanguageAccessorTest, ValuesRoundTripThroughAFile)
{
    sWriter writer;
    std::int64_t i64 = (std::int64_t(1) << 32) + 5;
    std::int8_t s8 = -5;
    std::uint8_t u8 = 255;
    AS::eColour colour = static_cast<AS::eColour>(0x80FF0000u);
    Container::sRect rect{1, 2, 3, 4};
    AS::sFloatPair pair{0.5f, -1.0f};
    Container::cWideString text(u"C:\\x\r\n\t\"y\"");
    float real = -2.5f;
    writer.Root().Value(u"i64", i64);
    writer.Root().Value(u"s8", s8);
    writer.Root().Value(u"u8", u8);
    writer.Root().Value(u"colour", colour);
    writer.Root().Value(u"rect", rect);
    writer.Root().Value(u"pair", pair);
    writer.Root().Value(u"text", text);
    writer.Root().Value(u"real", real);
    std::u16string written;
    ASSERT_TRUE(writer.document.Write(written));

    sReader reader(written);
    std::int64_t i64Read = -1;
    std::int8_t s8Read = 0;
    std::uint8_t u8Read = 0;
    AS::eColour colourRead{};
    Container::sRect rectRead;
    AS::sFloatPair pairRead;
    Container::cWideString textRead;
    float realRead = 0;
    EXPECT_TRUE(reader.Root().Value(u"i64", i64Read));
    EXPECT_TRUE(reader.Root().Value(u"s8", s8Read));
    EXPECT_TRUE(reader.Root().Value(u"u8", u8Read));
    EXPECT_TRUE(reader.Root().Value(u"colour", colourRead));
    EXPECT_TRUE(reader.Root().Value(u"rect", rectRead));
    EXPECT_TRUE(reader.Root().Value(u"pair", pairRead));
    EXPECT_TRUE(reader.Root().Value(u"text", textRead));
    EXPECT_TRUE(reader.Root().Value(u"real", realRead));
    EXPECT_EQ(i64Read, 5); // only the low 32 bits are kept
    EXPECT_EQ(s8Read, -5);
    EXPECT_EQ(u8Read, 255);
    EXPECT_EQ(colourRead, colour);
    EXPECT_EQ(rectRead, rect);
    EXPECT_EQ(pairRead, pair);
    EXPECT_EQ(textRead, text);
    EXPECT_EQ(realRead, real);
}

TEST(LanguageAccessorTest, EightBitReadsTakeTheLowByteAndWideReadsClearTheHighWord)
{
    sReader reader(u"r = { big = 511, negative = -1 }");
    std::uint8_t u8 = 0;
    std::int8_t s8 = 0;
    std::int64_t i64 = -7;
    EXPECT_TRUE(reader.Root().Value(u"big", u8));
    EXPECT_EQ(u8, 0xFF);
    EXPECT_TRUE(reader.Root().Value(u"big", s8));
    EXPECT_EQ(s8, -1);
    EXPECT_TRUE(reader.Root().Value(u"negative", i64));
    EXPECT_EQ(i64, 0xFFFFFFFF);
}

TEST(LanguageAccessorTest, WritingANameTwiceMakesTwoChildrenAndReadingTakesTheFirst)
{
    sWriter writer;
    std::int32_t first = 1;
    std::int32_t second = 2;
    writer.Root().Value(u"n", first);
    writer.Root().Value(u"n", second);
    EXPECT_EQ(Dump(writer.document.Root()), "Root{n=1,n=2}");

    std::u16string written;
    ASSERT_TRUE(writer.document.Write(written));
    sReader reader(written);
    std::int32_t value = 0;
    EXPECT_TRUE(reader.Root().Value(u"n", value));
    EXPECT_EQ(value, 1);
}

TEST(LanguageAccessorTest, WritingChildrenBuildsBlocks)
{
    sWriter writer;
    cDataAccessor::cNode* program = writer.Root().Child(u"Program");
    ASSERT_NE(program, nullptr);
    cDataAccessor::cNode* item = program->ChildAt(0);
    ASSERT_NE(item, nullptr);
    std::int32_t value = 4;
    item->Value(u"v", value);
    cDataAccessor::cNode* again = writer.Root().Child(u"Program");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, program);
    EXPECT_EQ(Dump(writer.document.Root()), "Root{Program{{v=4}},Program}");
    EXPECT_EQ(writer.Root().ChildCount(), 2u);
}

TEST(LanguageAccessorTest, TextValuesFillOnlyTheFieldsTheTextHolds)
{
    sReader reader(u"r = { rect = \"7,8\", bad = \"x,1\", long = \"1,2,3,4,5\", spaced = \" 5, 6\", "
                   u"pair = \"2.5,oops\", number = 12 }");
    Container::sRect rect{1, 2, 3, 4};
    EXPECT_TRUE(reader.Root().Value(u"rect", rect));
    EXPECT_EQ(rect, (Container::sRect{7, 8, 3, 4}));
    rect = {1, 2, 3, 4};
    EXPECT_TRUE(reader.Root().Value(u"bad", rect)); // the text was read, nothing matched
    EXPECT_EQ(rect, (Container::sRect{1, 2, 3, 4}));
    EXPECT_TRUE(reader.Root().Value(u"long", rect));
    EXPECT_EQ(rect, (Container::sRect{1, 2, 3, 4}));
    Container::sPoint point{0, 0};
    EXPECT_TRUE(reader.Root().Value(u"spaced", point));
    EXPECT_EQ(point, (Container::sPoint{5, 6}));
    AS::sFloatPair pair{9.0f, 9.0f};
    EXPECT_TRUE(reader.Root().Value(u"pair", pair));
    EXPECT_EQ(pair, (AS::sFloatPair{2.5f, 9.0f}));
    // Not a string: the read fails and nothing changes.
    AS::sSize size{1, 1};
    EXPECT_FALSE(reader.Root().Value(u"number", size));
    EXPECT_FALSE(reader.Root().Value(u"missing", size));
    EXPECT_EQ(size, (AS::sSize{1, 1}));
}
