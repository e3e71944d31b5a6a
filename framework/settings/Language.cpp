#include "framework/settings/Language.h"

#include "framework/core/TextFile.h"
#include "framework/settings/Lexer.h"

#include <cfloat>
#include <charconv>
#include <limits>
#include <new>
#include <string>
#include <system_error>
#include <utility>

namespace AS {

// ---- Nodes ---------------------------------------------------------------

cLanguage::cNode::~cNode()
{
    // Take the subtree apart level by level: every node deleted here has no
    // children left, so no destructor recurses.
    std::vector<std::unique_ptr<cNode>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<cNode> node = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<cNode>& child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
    }
}

void cLanguage::cNode::SetInteger(std::int32_t value)
{
    m_type = TypeInteger;
    m_integer = value;
}

void cLanguage::cNode::SetReal(float value)
{
    m_type = TypeReal;
    m_real = value;
}

void cLanguage::cNode::SetBoolean(bool value)
{
    m_type = TypeBoolean;
    m_boolean = value;
}

bool cLanguage::cNode::SetText(std::u16string_view text)
{
    if (!m_text.Assign(text))
        return false;
    m_type = TypeString;
    return true;
}

cLanguage::cNode* cLanguage::cNode::ChildAt(std::size_t index)
{
    return index < m_children.size() ? m_children[index].get() : nullptr;
}

const cLanguage::cNode* cLanguage::cNode::ChildAt(std::size_t index) const
{
    return index < m_children.size() ? m_children[index].get() : nullptr;
}

cLanguage::cNode* cLanguage::cNode::FindChild(std::u16string_view name)
{
    for (const std::unique_ptr<cNode>& child : m_children) {
        if (child->m_name.View() == name)
            return child.get();
    }
    return nullptr;
}

const cLanguage::cNode* cLanguage::cNode::FindChild(std::u16string_view name) const
{
    return const_cast<cNode*>(this)->FindChild(name);
}

cLanguage::cNode* cLanguage::cNode::AddChild()
{
    try {
        m_children.push_back(std::make_unique<cNode>());
    } catch (...) {
        return nullptr;
    }
    return m_children.back().get();
}

cLanguage::cNode* cLanguage::cNode::AddChild(std::u16string_view name)
{
    cNode* child = AddChild();
    if (child != nullptr && !child->SetName(name)) {
        m_children.pop_back();
        return nullptr;
    }
    return child;
}

bool cLanguage::cNode::GetBool(std::u16string_view name, bool& value) const
{
    const cNode* child = FindChild(name);
    if (child == nullptr)
        return false;
    switch (child->m_type) {
    case TypeInteger: value = child->m_integer != 0; return true;
    case TypeReal: value = child->m_real != 0.0f; return true;
    case TypeBoolean: value = child->m_boolean; return true;
    case TypeString: value = !child->m_text.IsEmpty(); return true;
    default: return false;
    }
}

void cLanguage::cNode::Clear()
{
    // Hand the children to a scratch node, whose destructor frees them
    // without recursion.
    cNode scratch;
    scratch.m_children = std::move(m_children);
    m_children.clear();
    m_type = TypeNone;
    m_integer = 0;
    m_real = 0.0f;
    m_boolean = false;
    m_text.Clear();
}

// ---- Parser --------------------------------------------------------------

namespace {

constexpr const char16_t* ErrorUnknownLexeme = u"unknown lexeme";
constexpr const char16_t* ErrorAssignRequired = u"= is required";
constexpr const char16_t* ErrorIdOrValueRequired = u"id or value is required";
constexpr const char16_t* ErrorUnexpectedEnd = u"unexpected end of file";
constexpr const char16_t* ErrorSeparatorRequired = u", or } is required";
constexpr const char16_t* ErrorInvalidRightOperand = u"invalid right operand";
constexpr const char16_t* ErrorNestedTooDeeply = u"blocks are nested too deeply";
constexpr const char16_t* ErrorOutOfMemory = u"out of memory";

// A decimal integer, saturated to the 32-bit range.
std::int32_t ParseInteger(std::u16string_view text)
{
    bool negative = false;
    std::size_t i = 0;
    if (!text.empty() && text[0] == u'-') {
        negative = true;
        i = 1;
    }
    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<std::int32_t>::min())
                                        : std::int64_t(std::numeric_limits<std::int32_t>::max());
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9')
            break;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// A decimal real of the form [-]digits.[digits], rounded to the nearest
// float, independent of the C locale. Values beyond the float range become
// the largest finite float of their sign; values too small become 0.
float ParseReal(std::u16string_view text)
{
    std::string ascii;
    try {
        ascii.reserve(text.size());
        for (char16_t c : text)
            ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    } catch (...) {
        return 0.0f;
    }
    float value = 0.0f;
    const std::from_chars_result result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc())
        return value;
    if (result.ec != std::errc::result_out_of_range)
        return 0.0f;
    const bool negative = !ascii.empty() && ascii[0] == '-';
    bool large = false;
    for (char c : ascii) {
        if (c == '.')
            break;
        if (c >= '1' && c <= '9')
            large = true;
    }
    if (large)
        return negative ? -FLT_MAX : FLT_MAX;
    return negative ? -0.0f : 0.0f;
}

// Recursive descent over the grammar: element, value, block. Nesting is
// limited to cLanguage::MaxDepth blocks, which also bounds the recursion.
class cParser
{
public:
    cParser(std::u16string_view text, Container::cWideString& error) : m_lexer(text), m_error(error)
    {
        Next();
    }

    bool Element(cLanguage::cNode& node)
    {
        switch (m_token) {
        case TokenKind::End:
            return true;
        case TokenKind::Identifier:
            if (!node.SetName(m_lexer.TokenText()))
                return Fail(ErrorOutOfMemory);
            Next();
            switch (m_token) {
            case TokenKind::Assign:
                Next();
                return Value(node);
            case TokenKind::RightBrace:
            case TokenKind::Comma:
            case TokenKind::End:
                return true;
            case TokenKind::Unknown:
                return Fail(ErrorUnknownLexeme);
            default:
                return Fail(ErrorAssignRequired);
            }
        case TokenKind::LeftBrace:
        case TokenKind::Integer:
        case TokenKind::Real:
        case TokenKind::True:
        case TokenKind::False:
        case TokenKind::String:
            return Value(node);
        case TokenKind::Unknown:
            return Fail(ErrorUnknownLexeme);
        default:
            return Fail(ErrorIdOrValueRequired);
        }
    }

private:
    void Next() { m_token = m_lexer.NextToken(); }

    bool Fail(const char16_t* message)
    {
        m_error.Assign(message);
        return false;
    }

    bool Value(cLanguage::cNode& node)
    {
        switch (m_token) {
        case TokenKind::LeftBrace:
            Next();
            return Block(node);
        case TokenKind::Integer:
            node.SetInteger(ParseInteger(m_lexer.TokenText()));
            break;
        case TokenKind::Real:
            node.SetReal(ParseReal(m_lexer.TokenText()));
            break;
        case TokenKind::True:
            node.SetBoolean(true);
            break;
        case TokenKind::False:
            node.SetBoolean(false);
            break;
        case TokenKind::String:
            if (!node.SetText(m_lexer.TokenText()))
                return Fail(ErrorOutOfMemory);
            break;
        default:
            return Fail(ErrorInvalidRightOperand);
        }
        Next();
        return true;
    }

    bool Block(cLanguage::cNode& node)
    {
        if (m_depth >= cLanguage::MaxDepth)
            return Fail(ErrorNestedTooDeeply);
        ++m_depth;
        const bool result = BlockContents(node);
        --m_depth;
        return result;
    }

    bool BlockContents(cLanguage::cNode& node)
    {
        bool expectElement = true;
        for (;;) {
            switch (m_token) {
            case TokenKind::RightBrace:
                Next();
                return true;
            case TokenKind::Comma:
                Next();
                expectElement = !expectElement;
                break;
            case TokenKind::End:
                return Fail(ErrorUnexpectedEnd);
            case TokenKind::Unknown:
                return Fail(ErrorUnknownLexeme);
            case TokenKind::LeftBrace:
            case TokenKind::Identifier:
            case TokenKind::Integer:
            case TokenKind::Real:
            case TokenKind::True:
            case TokenKind::False:
            case TokenKind::String: {
                if (!expectElement)
                    return Fail(ErrorSeparatorRequired);
                cLanguage::cNode* child = node.AddChild();
                if (child == nullptr)
                    return Fail(ErrorOutOfMemory);
                if (!Element(*child))
                    return false;
                expectElement = false;
                break;
            }
            default:
                return Fail(expectElement ? ErrorIdOrValueRequired : ErrorSeparatorRequired);
            }
        }
    }

    cLexer m_lexer;
    TokenKind m_token = TokenKind::End;
    Container::cWideString& m_error;
    int m_depth = 0;
};

} // namespace

// ---- Document ------------------------------------------------------------

bool cLanguage::Parse(std::u16string_view text)
{
    m_error.Clear();
    cParser parser(text, m_error);
    return parser.Element(m_root);
}

bool cLanguage::Load(const char16_t* path)
{
    Container::cWideString text;
    if (!Storage::ReadTextFile(path, text))
        return false;
    Parse(text.View());
    return true;
}

} // namespace AS
