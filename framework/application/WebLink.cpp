#include "framework/application/WebLink.h"

#include <windows.h>
#include <shellapi.h>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace Application {

namespace {

cWebLink::Opener g_opener = &cWebLink::ShellOpen;

bool StartsWithNoCase(const Container::cWideString& text, const char16_t* prefix, std::size_t& length)
{
    length = Container::TextLength(prefix);
    return text.Length() >= length && text.CompareNoCase(prefix, length) == 0;
}

} // namespace

bool cWebLink::IsWebAddress(const Container::cWideString& address)
{
    std::size_t schemeLength = 0;
    if (!StartsWithNoCase(address, u"https://", schemeLength) && !StartsWithNoCase(address, u"http://", schemeLength))
        return false;
    if (address.Length() == schemeLength || address[schemeLength] == u'/')
        return false; // no host
    for (std::size_t i = 0; i < address.Length(); ++i) {
        const char16_t c = address[i];
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

bool cWebLink::Open(const Container::cWideString& address)
{
    if (!IsWebAddress(address))
        return false;
    return g_opener(address.Text());
}

cWebLink::Opener cWebLink::SetOpener(Opener opener)
{
    const Opener previous = g_opener;
    g_opener = opener != nullptr ? opener : &cWebLink::ShellOpen;
    return previous;
}

bool cWebLink::ShellOpen(const char16_t* address)
{
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(address), nullptr,
                                           nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace Application
