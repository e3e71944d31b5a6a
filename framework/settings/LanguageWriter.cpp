// The writing half of cLanguage: the text layout of a settings file; the
// file itself is replaced through the core's safe save.

#include "framework/settings/Language.h"

#include "framework/core/File.h"
#include "framework/core/SafeSave.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

namespace AS {

namespace {

void AppendAscii(std::u16string& out, const char* begin, const char* end)
{
    for (; begin != end; ++begin)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*begin)));
}

void AppendIndent(std::u16string& out, int depth)
{
    out.append(static_cast<std::size_t>(depth), u'\t');
}

// "%d".
void AppendInteger(std::u16string& out, std::int32_t value)
{
    char buffer[16];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    AppendAscii(out, buffer, result.ptr);
}

// "%f": six decimals, independent of the C locale. The language has no
// spelling for infinity or NaN, so those are written as the nearest finite
// value (NaN as 0), which reads back.
void AppendReal(std::u16string& out, float value)
{
    if (std::isnan(value))
        value = 0.0f;
    else if (std::isinf(value))
        value = value > 0 ? FLT_MAX : -FLT_MAX;
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 6);
    if (result.ec != std::errc()) {
        out += u"0.000000";
        return;
    }
    AppendAscii(out, buffer, result.ptr);
}

void AppendString(std::u16string& out, const Container::cWideString& text)
{
    out.push_back(u'"');
    for (char16_t c : text.View()) {
        switch (c) {
        case u'\\': out += u"\\\\"; break;
        case u'"': out += u"\\\""; break;
        case u'\r': out += u"\\r"; break;
        case u'\n': out += u"\\n"; break;
        case u'\t': out += u"\\t"; break;
        case u'\b': out += u"\\b"; break;
        default: out.push_back(c); break;
        }
    }
    out.push_back(u'"');
}

// A node without children: its name, " = " and its value. An anonymous
// node without a value is written as an empty block, so that it survives a
// save and load as a child.
void AppendLeaf(std::u16string& out, const cLanguage::cNode& node, int depth)
{
    AppendIndent(out, depth);
    out += node.Name().View();
    const std::int32_t type = node.GetType();
    const bool hasValue = type == cLanguage::cNode::TypeInteger || type == cLanguage::cNode::TypeReal ||
                          type == cLanguage::cNode::TypeBoolean || type == cLanguage::cNode::TypeString;
    if (!hasValue) {
        if (node.Name().IsEmpty())
            out += u"{}";
        return;
    }
    if (!node.Name().IsEmpty())
        out += u" = ";
    switch (type) {
    case cLanguage::cNode::TypeInteger: AppendInteger(out, node.Integer()); break;
    case cLanguage::cNode::TypeReal: AppendReal(out, node.Real()); break;
    case cLanguage::cNode::TypeBoolean: out += node.Boolean() ? u"true" : u"false"; break;
    default: AppendString(out, node.Text()); break;
    }
}

void AppendBlockStart(std::u16string& out, const cLanguage::cNode& node, int depth)
{
    AppendIndent(out, depth);
    if (node.Name().IsEmpty()) {
        out += u"{\r\n";
    } else {
        out += node.Name().View();
        out += u" = {\r\n";
    }
}

// Writes a node and its subtree with an explicit stack, so the depth of the
// tree does not matter.
void AppendNode(std::u16string& out, const cLanguage::cNode& root)
{
    if (root.ChildCount() == 0) {
        AppendLeaf(out, root, 0);
        return;
    }
    struct sFrame
    {
        const cLanguage::cNode* node;
        int depth;
        std::size_t next;
    };
    std::vector<sFrame> stack;
    AppendBlockStart(out, root, 0);
    stack.push_back({&root, 0, 0});
    while (!stack.empty()) {
        sFrame& frame = stack.back();
        const std::size_t count = frame.node->ChildCount();
        if (frame.next == count) {
            out += u"\r\n";
            AppendIndent(out, frame.depth);
            out += u"}";
            stack.pop_back();
            continue;
        }
        const std::size_t index = frame.next++;
        if (index > 0)
            out += u",\r\n";
        const cLanguage::cNode& child = *frame.node->ChildAt(index);
        // Anonymous values after the first child of a block get no indent.
        const bool indented = child.ChildCount() > 0 || index == 0 || !child.Name().IsEmpty();
        const int childDepth = indented ? frame.depth + 1 : 0;
        if (child.ChildCount() == 0) {
            AppendLeaf(out, child, childDepth);
        } else {
            AppendBlockStart(out, child, childDepth);
            stack.push_back({&child, childDepth, 0}); // invalidates frame
        }
    }
}

} // namespace

bool cLanguage::Write(std::u16string& text) const
{
    // A root with neither name, value nor children makes an empty file.
    try {
        std::u16string out;
        if (!m_root.Name().IsEmpty() || m_root.ChildCount() > 0 || m_root.GetType() != cNode::TypeNone) {
            AppendNode(out, m_root);
            out += u";\r\n";
        }
        text.swap(out);
    } catch (...) {
        return false;
    }
    return true;
}

bool cLanguage::WriteTo(Storage::cFile& file) const
{
    std::u16string text;
    if (!Write(text))
        return false;

    std::vector<unsigned char> bytes;
    try {
        bytes.reserve(2 + 2 * text.size());
    } catch (...) {
        return false;
    }
    bytes.push_back(0xFF);
    bytes.push_back(0xFE);
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return file.Write(bytes.data(), 1, bytes.size()) == bytes.size();
}

bool cLanguage::Save(const char16_t* path) const
{
    return Storage::WriteFileSafely(path, [this](Storage::cFile& file) { return WriteTo(file); });
}

} // namespace AS
