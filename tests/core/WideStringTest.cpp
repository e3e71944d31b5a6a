#include <gtest/gtest.h>

#include "framework/core/ByteString.h"
#include "framework/core/StringList.h"
#include "framework/core/WideString.h"

#include <climits>
#include <cstdint>
#include <string>

using Container::cByteString;
using Container::cStringList;
using Container::cWideString;

TEST(WideStringTest, NullAndAllocatedEmptyAreBothEmptyButSortApart)
{
    cWideString null;
    cWideString empty(u"");
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(empty.IsNull());
    EXPECT_TRUE(null.IsEmpty());
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(0u, null.Length());
    EXPECT_EQ(nullptr, null.Data());
    EXPECT_EQ(u'\0', null.Text()[0]);
    EXPECT_LT(null.Compare(empty), 0);
    EXPECT_GT(empty.Compare(null), 0);
    EXPECT_EQ(0, null.Compare(cWideString()));
    EXPECT_TRUE(null.Equals(empty));
}

TEST(WideStringTest, LayoutKeepsCountsInFrontOfTheCharacters)
{
    cWideString text(u"abc");
    const auto* counts = reinterpret_cast<const std::uint32_t*>(text.Data()) - 2;
    EXPECT_EQ(4u, counts[0]);  // used, terminator included
    EXPECT_GE(counts[1], 4u);  // capacity
    EXPECT_EQ(0, text.Data()[3]);
}

TEST(WideStringTest, GrowthUsesMultiplesOfTheOldCapacity)
{
    cWideString text(u"abc");  // capacity exactly 4 for a first allocation
    EXPECT_EQ(4u, text.Capacity());
    text.Append(u"de");  // needs 6: the smallest multiple of 4 is 8
    EXPECT_EQ(8u, text.Capacity());
    text.Append(u"fghijklmn");  // needs 15: 16
    EXPECT_EQ(16u, text.Capacity());
    EXPECT_EQ(u"abcdefghijklmn", text.View());
}

TEST(WideStringTest, CopiesAreDeep)
{
    cWideString a(u"one");
    cWideString b(a);
    b[0] = u'O';
    EXPECT_EQ(u"one", a.View());
    EXPECT_EQ(u"One", b.View());
    cWideString c;
    c = a;
    EXPECT_NE(a.Data(), c.Data());
    a.Assign(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(a.IsNull());
    EXPECT_EQ(u"one", c.View());
}

TEST(WideStringTest, AssignAndAppendFromTheirOwnCharacters)
{
    cWideString text(u"abcdef");
    text.Assign(text.Data() + 2, 3);
    EXPECT_EQ(u"cde", text.View());
    text.Append(text.Data(), text.Length());  // grows while reading itself
    EXPECT_EQ(u"cdecde", text.View());
    text.Append(text);
    EXPECT_EQ(u"cdecdecdecde", text.View());
}

TEST(WideStringTest, AppendCharacterAndConcatenate)
{
    cWideString a(u"ab");
    a.Append(u'c');
    EXPECT_EQ(u"abc", a.View());
    const cWideString joined = a + cWideString(u"def");
    EXPECT_EQ(u"abcdef", joined.View());
    EXPECT_EQ(u"abc!", (a + u"!").View());
}

TEST(WideStringTest, FindAnswersLengthWhenThereIsNoMatch)
{
    const cWideString text(u"one two one");
    EXPECT_EQ(0u, text.Find(u"one"));
    EXPECT_EQ(8u, text.Find(u"one", 1));
    EXPECT_EQ(text.Length(), text.Find(u"three"));
    EXPECT_EQ(text.Length(), text.Find(u"one", 9));
    EXPECT_EQ(text.Length(), text.Find(u"one", 100));
    EXPECT_EQ(3u, text.Find(u' '));
    EXPECT_EQ(7u, text.Find(u' ', 4));
    EXPECT_EQ(text.Length(), text.Find(u'x'));
    EXPECT_EQ(0u, cWideString().Find(u"a"));
}

TEST(WideStringTest, ReplaceEveryOccurrence)
{
    cWideString text(u"a-b-c");
    EXPECT_TRUE(text.Replace(u"-", u"--"));
    EXPECT_EQ(u"a--b--c", text.View());
    EXPECT_TRUE(text.Replace(u"--", u""));
    EXPECT_EQ(u"abc", text.View());
    EXPECT_FALSE(text.Replace(u"x", u"y"));
    EXPECT_FALSE(text.Replace(u"", u"y"));
    EXPECT_EQ(u"abc", text.View());
    cWideString overlapping(u"aaaa");
    EXPECT_TRUE(overlapping.Replace(u"aa", u"b"));
    EXPECT_EQ(u"bb", overlapping.View());
}

TEST(WideStringTest, RemoveMnemonics)
{
    const struct
    {
        const char16_t* input;
        const char16_t* expected;
    } cases[] = {
        {u"Save &As", u"Save As"}, {u"R&&D", u"R&D"}, {u"End&", u"End"}, {u"&&&x", u"&x"}, {u"plain", u"plain"},
        {u"&", u""},
    };
    for (const auto& c : cases)
    {
        cWideString text(c.input);
        text.RemoveMnemonics();
        EXPECT_EQ(std::u16string_view(c.expected), text.View());
    }
    cWideString null;
    null.RemoveMnemonics();
    EXPECT_TRUE(null.IsNull());
}

TEST(WideStringTest, CompareIgnoringCaseFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(0, cWideString(u"abc").CompareNoCase(u"ABC"));
    EXPECT_NE(0, cWideString(u"\u00E9").CompareNoCase(u"\u00C9"));  // é, É
    EXPECT_NE(0, cWideString(u"[").CompareNoCase(u"{"));
    EXPECT_LT(cWideString(u"abc").CompareNoCase(u"ABD"), 0);
    EXPECT_EQ(0, cWideString(u"abcdef").CompareNoCase(u"ABCxyz", 3));
    EXPECT_NE(0, cWideString(u"abcdef").CompareNoCase(u"ABCxyz", 4));
    EXPECT_LT(cWideString(u"ab").CompareNoCase(u"ABC", 3), 0);
}

TEST(WideStringTest, CompareIsOrdinalByCodeUnit)
{
    EXPECT_LT(cWideString(u"B").Compare(u"a"), 0);
    EXPECT_LT(cWideString(u"ab").Compare(u"abc"), 0);
    EXPECT_GT(cWideString(u"\uFFFF").Compare(u"a"), 0);
    EXPECT_EQ(0, cWideString(u"x").Compare(cWideString(u"x")));
    EXPECT_TRUE(cWideString(u"x") == u"x");
}

TEST(WideStringTest, ResizeTerminatesAtTheNewLength)
{
    cWideString text(u"abcdef");
    EXPECT_TRUE(text.Resize(3));
    EXPECT_EQ(u"abc", text.View());
    EXPECT_EQ(0, text.Data()[3]);
    EXPECT_TRUE(text.Resize(5));
    EXPECT_EQ(5u, text.Length());
    EXPECT_EQ(0, text[3]);
    EXPECT_EQ(0, text[4]);
    EXPECT_EQ(0, text.Data()[5]);
    EXPECT_TRUE(text.Reserve(100));
    EXPECT_GE(text.Capacity(), 100u);
    EXPECT_EQ(5u, text.Length());
}

TEST(WideStringTest, FailedGrowthLeavesTheStringAsItWas)
{
    cWideString text(u"keep");
    const char16_t* before = text.Data();
    EXPECT_FALSE(text.Resize(SIZE_MAX / 4));
    EXPECT_FALSE(text.Reserve(SIZE_MAX / 2));
    EXPECT_EQ(before, text.Data());
    EXPECT_EQ(u"keep", text.View());
}

TEST(WideStringTest, AssignUtf8)
{
    cWideString text;
    EXPECT_TRUE(text.AssignUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80"));
    EXPECT_EQ(u"caf\u00E9 \U0001F600", text.View());
}

// ---- Format ----------------------------------------------------------------

TEST(WideStringFormatTest, ConversionsTable)
{
    cWideString one;
    auto check = [&](const char16_t* expected) { EXPECT_EQ(std::u16string_view(expected), one.View()); };
    EXPECT_TRUE(one.Format(u"%d|%i|%u", -42, 7, 4000000000u)); check(u"-42|7|4000000000");
    EXPECT_TRUE(one.Format(u"%5d|%-5d|%05d|%+d|% d", 42, 42, -42, 42, 42)); check(u"   42|42   |-0042|+42| 42");
    EXPECT_TRUE(one.Format(u"%x|%X|%#x|%08X|%o|%#o", 255u, 255u, 255u, 0xBEEFu, 8u, 8u)); check(u"ff|FF|0xff|0000BEEF|10|010");
    EXPECT_TRUE(one.Format(u"%ld|%lld|%lu|%I64d", -5L, -9000000000LL, 5UL, 1LL << 40)); check(u"-5|-9000000000|5|1099511627776");
    EXPECT_TRUE(one.Format(u"%zu|%hd|%hhu", static_cast<std::size_t>(12), 70000, 300)); check(u"12|4464|44");
    EXPECT_TRUE(one.Format(u"%.3d|%.0d|%3.2d", 7, 0, 5)); check(u"007|| 05");
    EXPECT_TRUE(one.Format(u"%d", INT_MIN)); check(u"-2147483648");
    EXPECT_TRUE(one.Format(u"%lld", LLONG_MIN)); check(u"-9223372036854775808");
    EXPECT_TRUE(one.Format(u"%s and %s", u"caf\u00E9", u"\uD55C\uAE00")); check(u"caf\u00E9 and \uD55C\uAE00");
    EXPECT_TRUE(one.Format(u"[%6s|%-6s|%.2s]", u"ab", u"ab", u"abcdef")); check(u"[    ab|ab    |ab]");
    EXPECT_TRUE(one.Format(u"%s", static_cast<const char16_t*>(nullptr))); check(u"(null)");
    EXPECT_TRUE(one.Format(u"%hs|%S", "narrow", "also")); check(u"narrow|also");
    EXPECT_TRUE(one.Format(u"%c%c%3c", u'A', u'\uD55C', u'z')); check(u"A\uD55C  z");
    EXPECT_TRUE(one.Format(u"%f|%.2f|%.0f|%8.3f|%-8.1f|", 1.5, 3.14159, 2.7, -1.0, 0.75)); check(u"1.500000|3.14|3|  -1.000|0.8     |");
    EXPECT_TRUE(one.Format(u"%g|%g|%e", 0.0001, 1e20, 12345.678)); check(u"0.0001|1e+20|1.234568e+04");
    EXPECT_TRUE(one.Format(u"%*d|%-*d|%.*f", 4, 1, 3, 2, 1, 0.55)); check(u"   1|2  |0.6");
    EXPECT_TRUE(one.Format(u"100%%")); check(u"100%");
    EXPECT_TRUE(one.Format(u"%04d-%02d-%02d %02d%02d%02d", 2024, 1, 9, 8, 5, 3)); check(u"2024-01-09 080503");
}

TEST(WideStringFormatTest, PointerIsHexOfPointerWidth)
{
    cWideString text;
    ASSERT_TRUE(text.Format(u"%p", reinterpret_cast<void*>(static_cast<std::uintptr_t>(0xABC))));
    EXPECT_EQ(sizeof(void*) * 2, text.Length());
    EXPECT_EQ(u"ABC", text.View().substr(text.Length() - 3));
}

TEST(WideStringFormatTest, ResultIsCutAt1022Characters)
{
    std::u16string longText(3000, u'x');
    cWideString text;
    ASSERT_TRUE(text.Format(u"<%s>", longText.c_str()));
    EXPECT_EQ(1022u, text.Length());
    EXPECT_EQ(u'<', text[0]);
    EXPECT_EQ(u'x', text[1021]);

    ASSERT_TRUE(text.Format(u"%5000d|", 1));
    EXPECT_EQ(1022u, text.Length());
    ASSERT_TRUE(text.Format(u"%.5000f", 1.0));
    EXPECT_EQ(1022u, text.Length());
    EXPECT_EQ(u"1.000", text.View().substr(0, 5));

    // A cut never leaves half a surrogate pair behind.
    std::u16string pairs = std::u16string(1021, u'a');
    for (int i = 0; i < 10; ++i)
        pairs += u"\U0001F600";
    ASSERT_TRUE(text.Format(u"%s", pairs.c_str()));
    EXPECT_EQ(1021u, text.Length());
}

TEST(WideStringFormatTest, BadPatternsFailAndKeepTheString)
{
    cWideString text(u"before");
    int ignored = 0;
    EXPECT_FALSE(text.Format(u"%n", &ignored));
    EXPECT_FALSE(text.Format(u"%q", 1));
    EXPECT_FALSE(text.Format(u"trailing %"));
    EXPECT_FALSE(text.Format(nullptr));
    EXPECT_EQ(u"before", text.View());
}

// ---- 8-bit string ------------------------------------------------------------

TEST(ByteStringTest, BehavesLikeTheWideString)
{
    cByteString null;
    cByteString empty("");
    EXPECT_TRUE(null.IsEmpty());
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_LT(null.Compare(empty), 0);

    cByteString text("abc");
    text.Append("def");
    text.Append('g');
    EXPECT_EQ("abcdefg", text.View());
    EXPECT_EQ(3u, text.Find("def"));
    EXPECT_EQ(text.Length(), text.Find("xyz"));
    EXPECT_EQ(0, cByteString("abc").CompareNoCase(cByteString("ABC")));
    EXPECT_NE(0, cByteString("\xE9").CompareNoCase(cByteString("\xC9")));
    // Bytes above 0x7F sort after ASCII (unsigned comparison).
    EXPECT_GT(cByteString("\xE9").Compare(cByteString("z")), 0);

    EXPECT_TRUE(text.Format("%s-%04d", "id", 42));
    EXPECT_EQ("id-0042", text.View());
    const std::string longText(2000, 'y');
    EXPECT_TRUE(text.Format("%s", longText.c_str()));
    EXPECT_EQ(1022u, text.Length());

    cByteString copy(text);
    copy[0] = 'z';
    EXPECT_EQ('y', text[0]);
    EXPECT_TRUE(copy.Resize(2));
    EXPECT_EQ("zy", copy.View());
    EXPECT_FALSE(copy.Resize(SIZE_MAX / 2));
    EXPECT_EQ("zy", copy.View());
}

// ---- String list ---------------------------------------------------------------

TEST(StringListTest, OwnsItsStrings)
{
    cStringList list;
    EXPECT_TRUE(list.Append(new cWideString(u"one")));
    EXPECT_TRUE(list.Append(u"two"));
    EXPECT_TRUE(list.Append(cWideString(u"three")));
    EXPECT_FALSE(list.Append(static_cast<cWideString*>(nullptr)));
    ASSERT_EQ(3u, list.Count());
    EXPECT_EQ(u"two", list[1].View());
    EXPECT_EQ(2u, list.IndexOf(u"three"));
    EXPECT_EQ(3u, list.IndexOf(u"four"));
    EXPECT_EQ(nullptr, list.At(3));

    cStringList copy(list);
    copy[0].Assign(u"uno");
    EXPECT_EQ(u"one", list[0].View());

    EXPECT_TRUE(list.Remove(0));
    EXPECT_FALSE(list.Remove(5));
    EXPECT_EQ(u"two", list[0].View());
    list.Clear();
    EXPECT_EQ(0u, list.Count());
    EXPECT_EQ(3u, copy.Count());
}
