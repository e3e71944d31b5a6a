#include <gtest/gtest.h>

#include "framework/settings/Lexer.h"

#include <string>
#include <vector>

namespace {

std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c == u'\n') {
            out += "\\n";
        } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('<');
            out += std::to_string(static_cast<unsigned>(c));
            out.push_back('>');
        }
    }
    return out;
}

// Every token of the text as "code:text", separated by spaces, End included.
std::string Tokens(std::u16string_view text)
{
    AS::cLexer lexer(text);
    std::string out;
    for (int guard = 0; guard < 1000; ++guard) {
        const AS::TokenKind kind = lexer.NextToken();
        if (!out.empty())
            out += ' ';
        out += std::to_string(static_cast<int>(kind)) + ":" + Narrow(lexer.TokenText());
        if (kind == AS::TokenKind::End)
            return out;
    }
    return out + " (no end)";
}

struct sLexCase
{
    const char16_t* text;
    const char* tokens;
};

} // namespace

TEST(LexerTest, TokenTable)
{
    const sLexCase cases[] = {
        {u"", "21:"},
        {u"   \t\r\v\f\n ", "21:"},
        {u"( ) [ ] { } = / , - . ;", "3:( 4:) 5:[ 6:] 7:{ 8:} 9:= 10:/ 11:, 12:- 13:. 14:; 21:"},
        {u"a/b", "15:a 10:/ 15:b 21:"},
        {u"/", "10:/ 21:"},
        {u"a // comment = { \n b", "15:a 15:b 21:"},
        {u"// only a comment", "21:"},
        {u"x//\ny", "15:x 15:y 21:"},
        {u"12 -7 -x - 3", "16:12 16:-7 12:- 15:x 12:- 16:3 21:"},
        {u"-", "12:- 21:"},
        {u"1.5 -0.25 7. 1.5.2", "17:1.5 17:-0.25 17:7. 17:1.5 13:. 16:2 21:"},
        {u".5", "13:. 16:5 21:"},
        {u"007", "16:007 21:"},
        {u"true false True FALSE truex _a1 a_b2", "18:true 19:false 15:True 15:FALSE 15:truex 15:_a1 15:a_b2 21:"},
        {u"9abc", "16:9 15:abc 21:"},
        {u"\u00e9t\u00e9 \uac00\ub098=1", "15:<233>t<233> 15:<44032><45208> 9:= 16:1 21:"},
        {u"# @ ! \x7f", "22:# 22:@ 22:! 22:\x7f 21:"},
        {u"\"plain\"", "20:plain 21:"},
        {u"\"\"", "20: 21:"},
        {u"\"a\\\"b\\\\c\\|d\"", "20:a\"b\\c|d 21:"},
        {u"\"x\\qy\"", "20:x\\y 21:"},
        {u"\"a|b\"", "20:a|b 21:"},
        {u"\"line\none\"", "20:line\\none 21:"},
        {u"\"open", "22:open 21:"},
        {u"\"ends in backslash\\", "22:ends in backslash 21:"},
        {u"\"a\"b", "20:a 15:b 21:"},
    };
    for (const sLexCase& c : cases)
        EXPECT_EQ(Tokens(c.text), c.tokens) << Narrow(c.text);
}

TEST(LexerTest, EscapedControlCharactersDecode)
{
    AS::cLexer lexer(std::u16string_view(u"\"\\n\\r\\t\\b\""));
    ASSERT_EQ(lexer.NextToken(), AS::TokenKind::String);
    EXPECT_EQ(lexer.TokenText(), std::u16string_view(u"\n\r\t\b"));
}

TEST(LexerTest, CountsEveryLineFeedConsumed)
{
    // Line feeds in white space, in a comment and inside a string.
    AS::cLexer lexer(std::u16string_view(u"a\n\nb // c\n\"x\ny\"\r\nz"));
    EXPECT_EQ(lexer.Line(), 0u);
    ASSERT_EQ(lexer.NextToken(), AS::TokenKind::Identifier);
    EXPECT_EQ(lexer.Line(), 0u);
    ASSERT_EQ(lexer.NextToken(), AS::TokenKind::Identifier);
    EXPECT_EQ(lexer.Line(), 2u);
    ASSERT_EQ(lexer.NextToken(), AS::TokenKind::String);
    EXPECT_EQ(lexer.Line(), 4u);
    ASSERT_EQ(lexer.NextToken(), AS::TokenKind::Identifier);
    EXPECT_EQ(lexer.TokenText(), std::u16string_view(u"z"));
    EXPECT_EQ(lexer.Line(), 5u);
    EXPECT_EQ(lexer.NextToken(), AS::TokenKind::End);
    EXPECT_EQ(lexer.NextToken(), AS::TokenKind::End);
}

TEST(LexerTest, LongTokensGrowUpToTheCapAndBeyondItAreUnknown)
{
    for (std::size_t length : {std::size_t(256), std::size_t(257), std::size_t(5000), AS::cLexer::MaxTokenLength}) {
        std::u16string content(length, u'x');
        std::u16string text = u"\"" + content + u"\"";
        AS::cLexer strings(text);
        EXPECT_EQ(strings.NextToken(), AS::TokenKind::String) << length;
        EXPECT_EQ(strings.TokenText().size(), length);
        EXPECT_EQ(strings.NextToken(), AS::TokenKind::End);

        AS::cLexer names(content);
        EXPECT_EQ(names.NextToken(), AS::TokenKind::Identifier) << length;
        EXPECT_EQ(names.TokenText().size(), length);
    }

    const std::u16string tooLong(AS::cLexer::MaxTokenLength + 1, u'7');
    std::u16string text = u"\"" + tooLong + u"\" 5";
    AS::cLexer strings(text);
    EXPECT_EQ(strings.NextToken(), AS::TokenKind::Unknown);
    EXPECT_EQ(strings.TokenText().size(), AS::cLexer::MaxTokenLength);
    // The whole lexeme was consumed; scanning goes on after it.
    EXPECT_EQ(strings.NextToken(), AS::TokenKind::Integer);

    AS::cLexer numbers(tooLong);
    EXPECT_EQ(numbers.NextToken(), AS::TokenKind::Unknown);
    EXPECT_EQ(numbers.NextToken(), AS::TokenKind::End);
}

TEST(LexerTest, NullTextIsEmpty)
{
    AS::cLexer lexer(nullptr, 10);
    EXPECT_TRUE(lexer.AtEnd());
    EXPECT_EQ(lexer.NextToken(), AS::TokenKind::End);
    EXPECT_TRUE(lexer.TokenText().empty());
}
