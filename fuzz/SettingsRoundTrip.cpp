// Parses arbitrary bytes the way a settings file is loaded (encoding chosen
// by byte-order mark), writes the tree, parses that text again and checks
// that the trees are equal and that writing again gives the same text.

#include "framework/core/TextFile.h"
#include "framework/settings/Language.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Reals are compared as written (six decimals): the file keeps no more.
std::string RealText(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

bool Equal(const AS::cLanguage::cNode& a, const AS::cLanguage::cNode& b)
{
    if (a.Name().View() != b.Name().View() || a.GetType() != b.GetType() || a.ChildCount() != b.ChildCount())
        return false;
    switch (a.GetType()) {
    case AS::cLanguage::cNode::TypeInteger:
        if (a.Integer() != b.Integer())
            return false;
        break;
    case AS::cLanguage::cNode::TypeReal:
        if (RealText(a.Real()) != RealText(b.Real()))
            return false;
        break;
    case AS::cLanguage::cNode::TypeBoolean:
        if (a.Boolean() != b.Boolean())
            return false;
        break;
    case AS::cLanguage::cNode::TypeString:
        if (a.Text().View() != b.Text().View())
            return false;
        break;
    default:
        break;
    }
    for (std::size_t i = 0; i < a.ChildCount(); ++i) {
        if (!Equal(*a.ChildAt(i), *b.ChildAt(i)))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Container::cWideString text;
    if (!Storage::DecodeText(data, size, text))
        return 0;

    AS::cLanguage first;
    first.Parse(text.View());
    std::u16string written;
    if (!first.Write(written))
        std::abort();

    AS::cLanguage second;
    second.Parse(written);
    // What the writer produced parses cleanly, with two exceptions: a tree
    // cut at the nesting limit is cut there again, and a root that has only
    // a name is followed by the closing ";", which the grammar reports as
    // "= is required" (the tree is complete by then).
    const bool nameOnlyRoot = !first.Root().Name().IsEmpty() && first.Root().ChildCount() == 0 &&
                              first.Root().GetType() == AS::cLanguage::cNode::TypeNone;
    if (!second.ErrorText().IsEmpty() && second.ErrorText().View() != first.ErrorText().View() &&
        !(nameOnlyRoot && second.ErrorText().View() == std::u16string_view(u"= is required")))
        std::abort();
    if (!Equal(first.Root(), second.Root()))
        std::abort();

    std::u16string rewritten;
    if (!second.Write(rewritten) || rewritten != written)
        std::abort();
    return 0;
}
