#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/application/Module.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

// The program's path as Windows sees it: a Unix path from the build lies
// on drive Z: under Wine.
std::wstring ProgramPath()
{
    const std::string unixPath = QS_QUILLSNAPPER_EXE;
    std::wstring path = unixPath.front() == '/' ? L"Z:" : L"";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

// A started copy of the program; killed if a test leaves it running.
class cProgram
{
public:
    ~cProgram()
    {
        if (m_info.hProcess != nullptr) {
            DWORD code = 0;
            if (GetExitCodeProcess(m_info.hProcess, &code) && code == STILL_ACTIVE)
                TerminateProcess(m_info.hProcess, 99);
            CloseHandle(m_info.hProcess);
            CloseHandle(m_info.hThread);
        }
    }

    bool Start(const std::wstring& arguments)
    {
        const std::wstring path = ProgramPath();
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        return CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &m_info) != FALSE;
    }

    // Polls for the program's top-level window titled "Quillsnapper".
    HWND WaitForWindow(DWORD timeoutMs) const
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        do {
            HWND window = FindWindowW(nullptr, L"Quillsnapper");
            DWORD owner = 0;
            if (window != nullptr && GetWindowThreadProcessId(window, &owner) != 0 && owner == m_info.dwProcessId)
                return window;
            if (WaitForSingleObject(m_info.hProcess, 100) == WAIT_OBJECT_0)
                return nullptr; // ended before showing a window
        } while (GetTickCount64() < end);
        return nullptr;
    }

    // The exit code after the program ended, or STILL_ACTIVE on time-out.
    DWORD WaitForExit(DWORD timeoutMs) const
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_info{};
};

} // namespace

TEST(Program, ShowsItsWindowAndEndsWithCodeZeroWhenItIsClosed)
{
    cProgram program;
    // Arguments are accepted and ignored.
    ASSERT_TRUE(program.Start(L"/unknown --switch C:\\some\\file.png")) << GetLastError();
    HWND window = program.WaitForWindow(10000);
    ASSERT_NE(window, nullptr) << "no window titled Quillsnapper";
    EXPECT_TRUE(IsWindowVisible(window));
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    EXPECT_EQ(program.WaitForExit(15000), 0u);
}

TEST(Program, CarriesItsVersionIconAndManifest)
{
    Application::cModule program;
    const std::wstring path = ProgramPath();
    ASSERT_TRUE(program.Load(reinterpret_cast<const char16_t*>(path.c_str()), true));

    Container::cWideString version;
    ASSERT_TRUE(program.GetProductVersionText(version));
    EXPECT_TRUE(version == u"1-0-0-0") << std::string(version.View().begin(), version.View().end());

    // Icon group 100 (type 14) with 16, 32, 48 and 256 (stored as 0) pixel images.
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(program.FindResourceBytes(MAKEINTRESOURCEW(14), 100, bytes, size));
    ASSERT_GE(size, 6u);
    const int count = bytes[4] | (bytes[5] << 8);
    ASSERT_EQ(size, 6u + 14u * count);
    std::string sizes;
    for (int i = 0; i < count; ++i)
        sizes += std::to_string(bytes[6 + 14 * i]) + " ";
    EXPECT_EQ(sizes, "16 32 48 0 ");
    // Each size decodes to an icon of that size.
    for (int side : {16, 32, 48, 256}) {
        HICON icon = static_cast<HICON>(LoadImageW(program.Handle(), MAKEINTRESOURCEW(100), IMAGE_ICON, side, side, 0));
        ASSERT_NE(icon, nullptr) << side;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        ASSERT_NE(GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap), 0);
        EXPECT_EQ(bitmap.bmWidth, side);
        EXPECT_EQ(bitmap.bmHeight, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }

    // The manifest (type 24, id 1) asks for per-monitor DPI awareness,
    // common controls 6 and no elevation.
    ASSERT_TRUE(program.FindResourceBytes(MAKEINTRESOURCEW(24), 1, bytes, size));
    const std::string manifest(reinterpret_cast<const char*>(bytes), size);
    EXPECT_NE(manifest.find("permonitorv2,permonitor"), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}
