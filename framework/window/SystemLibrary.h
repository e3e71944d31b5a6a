#pragma once

#include <windows.h>

namespace Window {

// Functions of a system library that is loaded the first time one of them
// is wanted rather than imported at start, for features that few runs use.
// Only the system folder is searched, never the program's folder or the
// current one. A loaded library stays loaded.
class cSystemLibrary
{
public:
    // The function, or null when the library or the function is missing.
    static FARPROC Function(const wchar_t* library, const char* name);

    // The same, as the function's own pointer type (declared WINAPI).
    template <typename tFunction>
    static tFunction Find(const wchar_t* library, const char* name)
    {
        return reinterpret_cast<tFunction>(reinterpret_cast<void*>(Function(library, name)));
    }
};

} // namespace Window
