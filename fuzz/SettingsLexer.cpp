// Tokenises arbitrary UTF-16LE text to the end and checks the lexer's
// promises: it always reaches End, token texts stay within the cap, and the
// line counter never runs backwards or past the line feeds in the text.

#include "framework/settings/Lexer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

    std::uint32_t lineFeeds = 0;
    for (char16_t c : text)
        lineFeeds += c == u'\n';

    AS::cLexer lexer(text);
    std::uint32_t lastLine = 0;
    // Every token but End consumes at least one character.
    for (std::size_t tokens = 0; tokens <= text.size() + 1; ++tokens) {
        const AS::TokenKind kind = lexer.NextToken();
        const int code = static_cast<int>(kind);
        if (code < 3 || code > 22)
            std::abort();
        if (lexer.TokenText().size() > AS::cLexer::MaxTokenLength)
            std::abort();
        if (lexer.Line() < lastLine || lexer.Line() > lineFeeds)
            std::abort();
        lastLine = lexer.Line();
        if (kind == AS::TokenKind::End) {
            if (!lexer.TokenText().empty() || !lexer.AtEnd())
                std::abort();
            if (lexer.Line() != lineFeeds)
                std::abort();
            return 0;
        }
    }
    std::abort(); // the lexer never reached End
}
