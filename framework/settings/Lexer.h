#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace AS {

// Token codes of the settings language.
enum class TokenKind : std::int32_t
{
    LeftParen = 3,
    RightParen = 4,
    LeftBracket = 5,
    RightBracket = 6,
    LeftBrace = 7,
    RightBrace = 8,
    Assign = 9,
    Slash = 10,
    Comma = 11,
    Minus = 12,
    Dot = 13,
    Semicolon = 14,
    Identifier = 15,
    Integer = 16,
    Real = 17,
    True = 18,
    False = 19,
    String = 20,
    End = 21,
    Unknown = 22,
};

// The tokeniser of the settings language and of the language files. It
// reads UTF-16 text with one character of look-ahead; the text must outlive
// the lexer.
//
// Token texts: the lexeme for punctuation, names and numbers; the decoded
// content for strings; nothing for End; for Unknown the offending
// character, or what was decoded of an unterminated string. A token longer
// than MaxTokenLength characters is Unknown, its text cut at that length.
class cLexer
{
public:
    static constexpr std::size_t MaxTokenLength = std::size_t(1) << 20;

    cLexer(const char16_t* text, std::size_t length);
    explicit cLexer(std::u16string_view text) : cLexer(text.data(), text.size()) {}
    virtual ~cLexer() = default;
    cLexer(const cLexer&) = delete;
    cLexer& operator=(const cLexer&) = delete;

    // True once every character of the text has been read (the look-ahead
    // may still hold the last one).
    virtual bool AtEnd() const;
    // Reads the next character and advances; 0 when at the end.
    virtual char16_t NextChar();

    TokenKind NextToken();
    // The kind and text of the last token.
    TokenKind Kind() const { return m_kind; }
    std::u16string_view TokenText() const { return m_token; }
    // The number of line feeds consumed so far.
    std::uint32_t Line() const { return m_line; }

private:
    // Drops the look-ahead and reads the next one.
    void Advance();
    // Takes the look-ahead (counting a line feed) and reads the next one.
    char16_t Consume();
    void Append(char16_t character);
    // The token kind, or Unknown when the token ran over MaxTokenLength.
    TokenKind Finish(TokenKind kind) const { return m_overflow ? TokenKind::Unknown : kind; }

    TokenKind ScanString();
    TokenKind ScanNumber();
    TokenKind ScanIdentifier();

    const char16_t* m_text = nullptr;
    std::size_t m_length = 0;
    std::size_t m_position = 0;
    TokenKind m_kind = TokenKind::End;
    std::u16string m_token;
    bool m_overflow = false;
    char16_t m_lookAhead = 0;
    bool m_hasLookAhead = false;
    std::uint32_t m_line = 0;
};

} // namespace AS
