#include "framework/window/WebLink.h"

#include "framework/window/rules/WebAddress.h"

#include <windows.h>
#include <shellapi.h>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace Window {

namespace {

cWebLink::Opener g_opener = &cWebLink::ShellOpen;

} // namespace

bool cWebLink::IsWebAddress(const Container::cWideString& address)
{
    return Window::IsWebAddress(address.View());
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

} // namespace Window
