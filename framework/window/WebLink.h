#pragma once

#include "framework/core/WideString.h"

namespace Window {

// Opens web addresses in the user's browser through the shell. Addresses
// come from language texts (links, footer links, buttons), which a
// language file dropped next to the program can change, so only http: and https: addresses are opened: a
// shell "open" of anything else could start a program or a file.
class cWebLink
{
public:
    // What hands an address to the shell; tests replace it to see the
    // address instead of opening a browser. True when the shell took it.
    using Opener = bool (*)(const char16_t* address);

    // The links' rule (rules/WebAddress.h): "http://" or "https://" (any
    // case) followed by a host, no control characters and no quotes.
    static bool IsWebAddress(const Container::cWideString& address);
    // Opens address when it is a web address; false otherwise and when the
    // shell fails.
    static bool Open(const Container::cWideString& address);
    // Installs opener (null restores the shell's) and answers the previous one.
    static Opener SetOpener(Opener opener);
    // ShellExecuteW with the verb "open" and SW_SHOWNORMAL.
    static bool ShellOpen(const char16_t* address);
};

} // namespace Window
