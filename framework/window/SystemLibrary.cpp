#include "framework/window/SystemLibrary.h"

#include <string>

namespace Window {

FARPROC cSystemLibrary::Function(const wchar_t* library, const char* name)
{
    if (library == nullptr || *library == L'\0' || name == nullptr)
        return nullptr;
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return nullptr;
        const std::wstring path = std::wstring(folder, length) + L"\\" + library;
        module = LoadLibraryW(path.c_str());
    }
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

} // namespace Window
