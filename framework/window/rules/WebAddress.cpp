#include "framework/window/rules/WebAddress.h"

namespace Window {

namespace {

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
    {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

} // namespace

bool IsWebAddress(std::u16string_view target)
{
    for (std::u16string_view scheme : {std::u16string_view(u"http://"), std::u16string_view(u"https://")})
        if (StartsWithNoCase(target, scheme))
        {
            const std::u16string_view rest = target.substr(scheme.size());
            // A host must follow, and no control characters or quotes that
            // could end the address early when the shell parses it.
            if (rest.empty() || rest[0] == u'/')
                return false;
            for (char16_t c : target)
                if (c < 0x20 || c == 0x7F || c == u'"')
                    return false;
            return true;
        }
    return false;
}

} // namespace Window
