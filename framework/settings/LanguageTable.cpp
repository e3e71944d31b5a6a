#include "framework/settings/LanguageTable.h"

#include "framework/core/TextFile.h"
#include "framework/settings/LanguageIds.h"
#include "framework/settings/Lexer.h"

namespace {

cLanguage* g_current = nullptr;

// Appends one syntax-error message the way the grammar check shows them:
// run together, and no more once the text has reached its limit.
void AddError(Container::cWideString& errors, std::uint32_t line, std::u16string_view token)
{
    const Container::cWideString text(token);
    Container::cWideString message;
    if (!message.Format(u"(%d) : syntax error '%s'", static_cast<int>(line), text.Text()))
        return;
    if (errors.IsEmpty())
        errors = message;
    else if (errors.Length() < cLanguage::MaxErrorLength)
        errors.Append(message);
}

// A text cut to the token buffer, never inside a surrogate pair.
std::u16string_view CutText(std::u16string_view text)
{
    if (text.size() <= cLanguage::MaxTextLength)
        return text;
    std::size_t length = cLanguage::MaxTextLength;
    if (text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    return text.substr(0, length);
}

} // namespace

cLanguage::~cLanguage()
{
    if (g_current == this)
        g_current = nullptr;
}

const Container::cWideString* cLanguage::DefaultText(std::int32_t) const
{
    return nullptr;
}

void cLanguage::RegisterIdNames()
{
    m_names.clear();
    for (const auto& entry : LanguageIds::Table())
        m_names.emplace(entry.name, entry.id);
}

bool cLanguage::LoadFile(const char16_t* path)
{
    Container::cWideString text;
    if (!path || !Storage::ReadTextFile(path, text))
        return false;
    Parse(text.View());
    return true;
}

void cLanguage::Parse(std::u16string_view text, Container::cWideString* errors)
{
    m_current.clear();
    ParseInto(m_current, text, errors);
}

void cLanguage::ParseBase(std::u16string_view text)
{
    m_base.clear();
    ParseInto(m_base, text, nullptr);
}

void cLanguage::ParseInto(cTable& table, std::u16string_view text, Container::cWideString* errors)
{
    ParsePairs(
        text,
        [&](std::u16string_view name, std::u16string_view value) {
            const auto found = m_names.find(name);
            if (found != m_names.end())
                table.emplace(found->second, Container::cWideString(value));
        },
        errors);
}

void cLanguage::ParsePairs(std::u16string_view text, const PairSink& pair, Container::cWideString* errors)
{
    AS::cLexer lexer(text);
    for (;;)
    {
        const AS::TokenKind kind = lexer.NextToken();
        if (kind == AS::TokenKind::End)
            return;
        if (kind != AS::TokenKind::Identifier)
        {
            if (errors)
                AddError(*errors, lexer.Line() + 1, lexer.TokenText());
            continue;
        }
        const std::u16string name(lexer.TokenText());
        // The token after a name goes with it, whatever it is.
        const AS::TokenKind next = lexer.NextToken();
        if (next == AS::TokenKind::End)
            return;
        if (next == AS::TokenKind::String && name.size() <= MaxNameLength)
            pair(name, CutText(lexer.TokenText()));
    }
}

const Container::cWideString* cLanguage::Text(std::int32_t id) const
{
    if (const auto found = m_current.find(id); found != m_current.end())
        return &found->second;
    if (const auto found = m_base.find(id); found != m_base.end())
        return &found->second;
    return DefaultText(id);
}

const Container::cWideString* cLanguage::BaseText(std::int32_t id) const
{
    const auto found = m_base.find(id);
    return found != m_base.end() ? &found->second : nullptr;
}

std::int32_t cLanguage::IdOfName(std::u16string_view name) const
{
    const auto found = m_names.find(name);
    return found != m_names.end() ? found->second : -1;
}

void cLanguage::SetPromotionText(const Container::cWideString& text)
{
    if (!Text(LanguageIds::PromotionText))
        m_current.emplace(LanguageIds::PromotionText, text);
}

cLanguage* cLanguage::Current()
{
    return g_current;
}

void cLanguage::SetCurrent(cLanguage* language)
{
    g_current = language;
}
