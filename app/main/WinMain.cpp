#include <windows.h>

#include <new>

#include "app/QuillsnapperApp.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

// The process entry: one application object for the life of the process.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    auto* app = new (std::nothrow) cQuillsnapperApp;
    if (app == nullptr)
        return -1;
    app->SetModule(instance);
    const int exitCode = app->Run(reinterpret_cast<const char16_t*>(commandLine), showCommand);
    delete app;
    return exitCode;
}
