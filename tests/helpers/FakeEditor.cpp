// A stand-in for the maker's image editor, for the hand-off tests. It serves
// DDE under the editor's service name (BrimvalePro when its own file name
// says so, else Brimvale) on the topic "system" and records, next to its
// executable:
//   NAME.exe.starts.log    the arguments of each start, one line each
//   NAME.exe.commands.log  each command received, one line each
//   NAME.exe.events.log    the events of its conversations
// When a file NAME.exe.delay holds a number, it waits that many
// milliseconds before its window exists, like an editor that is slow to
// start. When a file NAME.exe.hang exists, it shows a window and then
// stops handling messages for good, like a program that hangs. Closing its
// window ends it.

#include <windows.h>

#include <string>

#include "tests/helpers/FakeDDEServer.h"
#include "tests/helpers/HelperLog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring exe = Testing::OwnPath();
    Testing::AppendLine(exe + L".starts.log", Testing::ArgumentsOf(GetCommandLineW()));

    const std::wstring delay = Testing::ReadSmallFile(exe + L".delay");
    if (!delay.empty())
        Sleep(static_cast<DWORD>(wcstoul(delay.c_str(), nullptr, 10)));

    if (Testing::FileExists(exe + L".hang")) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QsHungWindow";
        RegisterClassExW(&windowClass);
        CreateWindowExW(0, L"QsHungWindow", L"hung", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
        Sleep(INFINITE);
    }

    const std::wstring name = exe.substr(exe.find_last_of(L"\\/") + 1);
    const std::wstring service = name.find(L"BrimvalePro") != std::wstring::npos ? L"BrimvalePro" : L"Brimvale";
    Testing::cFakeDDEServer server(service, [&exe](Testing::cFakeDDEServer::eRecord kind, const std::wstring& text) {
        Testing::AppendLine(exe + (kind == Testing::cFakeDDEServer::Command ? L".commands.log" : L".events.log"),
                            text);
    });
    server.QuitOnClose(true);
    if (!server.Create())
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
