#include "framework/settings/Lexer.h"

namespace AS {

namespace {

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsIdentifierStart(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c >= 0x80;
}

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r';
}

} // namespace

cLexer::cLexer(const char16_t* text, std::size_t length) : m_text(text), m_length(text ? length : 0)
{
    Advance();
}

bool cLexer::AtEnd() const
{
    return m_position >= m_length;
}

char16_t cLexer::NextChar()
{
    if (AtEnd())
        return 0;
    return m_text[m_position++];
}

void cLexer::Advance()
{
    m_hasLookAhead = !AtEnd();
    m_lookAhead = m_hasLookAhead ? NextChar() : 0;
}

char16_t cLexer::Consume()
{
    const char16_t c = m_lookAhead;
    if (c == u'\n')
        ++m_line;
    Advance();
    return c;
}

void cLexer::Append(char16_t character)
{
    if (m_token.size() < MaxTokenLength)
        m_token.push_back(character);
    else
        m_overflow = true;
}

TokenKind cLexer::NextToken()
{
    m_token.clear();
    m_overflow = false;
    m_kind = TokenKind::End;

    while (m_hasLookAhead) {
        const char16_t c = m_lookAhead;
        if (c == u'\n' || IsSpace(c)) {
            Consume();
            continue;
        }
        if (c == u'/') {
            Consume();
            if (m_hasLookAhead && m_lookAhead == u'/') {
                // A comment runs up to and including the line feed.
                while (m_hasLookAhead && Consume() != u'\n') {
                }
                continue;
            }
            m_token.push_back(u'/');
            return m_kind = TokenKind::Slash;
        }

        TokenKind single = TokenKind::Unknown;
        switch (c) {
        case u'(': single = TokenKind::LeftParen; break;
        case u')': single = TokenKind::RightParen; break;
        case u'[': single = TokenKind::LeftBracket; break;
        case u']': single = TokenKind::RightBracket; break;
        case u'{': single = TokenKind::LeftBrace; break;
        case u'}': single = TokenKind::RightBrace; break;
        case u',': single = TokenKind::Comma; break;
        case u'=': single = TokenKind::Assign; break;
        case u'.': single = TokenKind::Dot; break;
        case u';': single = TokenKind::Semicolon; break;
        default: break;
        }
        if (single != TokenKind::Unknown) {
            m_token.push_back(Consume());
            return m_kind = single;
        }

        if (c == u'"')
            return m_kind = ScanString();
        if (c == u'-') {
            Consume();
            if (m_hasLookAhead && IsDigit(m_lookAhead)) {
                m_token.push_back(u'-');
                return m_kind = ScanNumber();
            }
            m_token.push_back(u'-');
            return m_kind = TokenKind::Minus;
        }
        if (IsDigit(c))
            return m_kind = ScanNumber();
        if (IsIdentifierStart(c))
            return m_kind = ScanIdentifier();

        m_token.push_back(Consume());
        return m_kind = TokenKind::Unknown;
    }
    return m_kind;
}

TokenKind cLexer::ScanString()
{
    Consume(); // the opening quote
    for (;;) {
        if (!m_hasLookAhead)
            return TokenKind::Unknown;
        const char16_t c = Consume();
        if (c == u'"')
            return Finish(TokenKind::String);
        if (c != u'\\') {
            Append(c);
            continue;
        }
        if (!m_hasLookAhead)
            return TokenKind::Unknown;
        const char16_t escaped = Consume();
        switch (escaped) {
        case u'"': Append(u'"'); break;
        case u'\\': Append(u'\\'); break;
        case u'|': Append(u'|'); break;
        case u'n': Append(u'\n'); break;
        case u'r': Append(u'\r'); break;
        case u't': Append(u'\t'); break;
        case u'b': Append(u'\b'); break;
        default: Append(u'\\'); break; // an unknown escape keeps the backslash only
        }
    }
}

TokenKind cLexer::ScanNumber()
{
    while (m_hasLookAhead && IsDigit(m_lookAhead))
        Append(Consume());
    if (!m_hasLookAhead || m_lookAhead != u'.')
        return Finish(TokenKind::Integer);
    Append(Consume());
    while (m_hasLookAhead && IsDigit(m_lookAhead))
        Append(Consume());
    return Finish(TokenKind::Real);
}

TokenKind cLexer::ScanIdentifier()
{
    while (m_hasLookAhead && (IsIdentifierStart(m_lookAhead) || IsDigit(m_lookAhead)))
        Append(Consume());
    if (m_overflow)
        return TokenKind::Unknown;
    if (m_token == u"true")
        return TokenKind::True;
    if (m_token == u"false")
        return TokenKind::False;
    return TokenKind::Identifier;
}

} // namespace AS
