#include <gtest/gtest.h>

#include "framework/settings/CaptionText.h"
#include "tests/settings/LanguageTestSupport.h"

using Testing::Narrow;

TEST(CaptionTextTest, MnemonicOfTheBaseGoesIntoTheCaption)
{
    const struct
    {
        std::u16string text;
        const char16_t* base; // null: no base text
        std::u16string expected;
    } cases[] = {
        {u"Speichern", u"&Save", u"&Speichern"},
        {u"\uC800\uC7A5", u"&Save", u"\uC800\uC7A5(&S)"},                     // 저장 -> 저장(&S)
        {u"\uCC3E\uC544\uBCF4\uAE30...", u"&Browse...", u"\uCC3E\uC544\uBCF4\uAE30(&B)..."},
        {u"\uC885\uB8CC", u"E&xit", u"\uC885\uB8CC(&X)"},                     // 종료(&X)
        {u"File name:", u"File name&Q", u"File name(&Q):"},
        {u"Ende.", u"&Quit", u"Ende(&Q)."},
        {u"a.b", u"&Quit", u"a.b(&Q)"},
        {u"xyz", u"A&&B", u"xyz(&B)"},
        {u"sub", u"A&&B", u"su&b"},
        {u"save", u"&Save", u"&save"},
        {u"\u0444\u0430\u0439\u043B", u"&\u0444", u"&\u0444\u0430\u0439\u043B"},   // Cyrillic folds
        {u"Caption|Description|Tip", u"&Tip|x", u"Cap&tion"},
        {u"Text", u"No mnemonic", u"Text"},
        {u"Text", u"Trailing&", u"Text"},
        {u"R&D", nullptr, u"R&D"},
        {u"Plain", nullptr, u"Plain"},
        // A translation with a mnemonic of its own keeps it.
        {u"\uC608(&Y)", u"&Yes", u"\uC608(&Y)"},
        {u"&Ja", u"&Yes", u"&Ja"},
        // A literal ampersand is no mnemonic.
        {u"R&&D", u"&Yes", u"R&&D(&Y)"},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(Narrow(test.text));
        std::u16string_view base = test.base ? test.base : u"";
        EXPECT_EQ(Narrow(test.expected), Narrow(CaptionText::Caption(test.text, test.base ? &base : nullptr)));
    }
}

TEST(CaptionTextTest, MnemonicLetterScansTheCaptionField)
{
    EXPECT_EQ(u'S', CaptionText::MnemonicLetter(u"&save"));
    EXPECT_EQ(u'B', CaptionText::MnemonicLetter(u"A&&B"));
    EXPECT_EQ(0, CaptionText::MnemonicLetter(u"A&&"));
    EXPECT_EQ(0, CaptionText::MnemonicLetter(u"Save|&Tip"));
    EXPECT_EQ(0, CaptionText::MnemonicLetter(u""));
    EXPECT_EQ(u'\u00C9', CaptionText::MnemonicLetter(u"&\u00E9t\u00E9"));
}

TEST(CaptionTextTest, ControlToolTipIsTheTextAfterTheFirstBar)
{
    const struct
    {
        std::u16string text;
        std::u16string expected;
    } cases[] = {
        {u"&Color|Choose color", u"Choose color"},
        {u"Capture", u"Capture"},
        {u"A|B|C", u"B|C"},
        {u"Caption|", u"Caption|"},
        {u"|Tip", u"Tip"},
        {u"", u""},
    };
    for (const auto& test : cases)
        EXPECT_EQ(Narrow(test.expected), Narrow(CaptionText::ControlToolTip(test.text))) << Narrow(test.text);
}
