// Captures handed to the associated program, as a user meets it: the
// program finds the editor through its uninstall key, starts it and sends
// it each saved file by DDE; a program of the user's is started with each
// file. The editor and the user's program are stand-ins that log what they
// get (tests/helpers).

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/ProgramSession.h"
#include "tests/support/TempFolder.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

using namespace E2e;

namespace {

const wchar_t EditorKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vadrin Brimvale";

std::vector<std::wstring> ReadLines(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::vector<std::wstring> lines;
    std::string line;
    while (std::getline(file, line)) {
        const int count = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(count), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), count);
        lines.push_back(wide);
    }
    return lines;
}

// A text for the settings file: in quotes, backslashes doubled.
std::wstring Quoted(const std::wstring& text)
{
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        quoted += c;
        if (c == L'\\' || c == L'"')
            quoted.insert(quoted.size() - 1, 1, L'\\');
    }
    return quoted + L"\"";
}

class HandOff : public testing::Test
{
protected:
    void TearDown() override
    {
        if (program.IsRunning()) {
            program.Close();
            EXPECT_EQ(program.WaitForExit(60000), 0u);
        }
        EndHelpers();
        RegDeleteTreeW(HKEY_CURRENT_USER, EditorKey);
    }

    std::wstring Install(const char* builtHelper, const std::wstring& folder, const std::wstring& name)
    {
        const std::filesystem::path target = temp.Path() / folder / name;
        std::filesystem::create_directories(target.parent_path());
        EXPECT_TRUE(CopyFileW(WindowsPath(builtHelper).c_str(), target.c_str(), FALSE)) << Narrow(target.wstring());
        return target.wstring();
    }

    // The editor's uninstall key, as its installer would leave it.
    bool RegisterEditor(const std::wstring& folder)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, EditorKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        const bool set = RegSetValueExW(key, L"InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                                        static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(key);
        return set;
    }

    void StartAndCapture(const std::vector<std::wstring>& settings)
    {
        ASSERT_TRUE(scratch.WriteSettings(settings));
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForToolWindow(), nullptr);
    }

    // One full-screen capture by Print Screen; answers the new file's path.
    // Without a window manager keys go to the Wine window under the
    // pointer: it rests on the tool window's status line.
    std::wstring Capture()
    {
        const std::size_t before = scratch.Files(L"png").size();
        RECT status{};
        if (!program.WaitIdle() || !GetWindowRect(GetDlgItem(program.ToolWindow(), 160), &status))
            return L"";
        if (!Xdotool(L"mousemove " + std::to_wstring((status.left + status.right) / 2) + L" " +
                     std::to_wstring((status.top + status.bottom) / 2) + L" key Print"))
            return L"";
        if (!WaitUntil([&] { return scratch.Files(L"png").size() > before; }, 60000))
            return L"";
        std::vector<std::wstring> files = scratch.Files(L"png");
        std::sort(files.begin(), files.end());
        return scratch.Folder() + L"\\" + files.back();
    }

    std::vector<std::wstring> WaitForLines(const std::wstring& log, std::size_t count)
    {
        std::vector<std::wstring> lines;
        WaitUntil(
            [&] {
                lines = ReadLines(log);
                return lines.size() >= count;
            },
            30000);
        return lines;
    }

    // Ends every helper still running from this test's folder.
    void EndHelpers()
    {
        const std::wstring folder = temp.Path().wstring();
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE)
            return;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
            HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                         entry.th32ProcessID);
            if (process == nullptr)
                continue;
            wchar_t path[MAX_PATH * 4];
            DWORD length = MAX_PATH * 4;
            if (QueryFullProcessImageNameW(process, 0, path, &length) &&
                std::wstring(path, length).compare(0, folder.size(), folder) == 0) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 5000);
            }
            CloseHandle(process);
        }
        CloseHandle(snapshot);
    }

    Testing::cTempFolder temp;
    cScratch scratch;
    cProgram program;
};

} // namespace

TEST_F(HandOff, CapturesGoToTheEditorItStartsWithDdeAndThenReuses)
{
    const std::wstring editor = Install(QS_FAKE_EDITOR_EXE, L"Vadrin Brimvale", L"Brimvale.exe");
    ASSERT_TRUE(RegisterEditor(editor.substr(0, editor.rfind(L'\\'))));
    StartAndCapture({L"CheckedAssociatedProgram = true", L"AssociatedProgramIndex = 1"});

    const std::wstring first = Capture();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(WaitForLines(editor + L".commands.log", 1), (std::vector<std::wstring>{L"[open(\"" + first + L"\")]"}));
    EXPECT_EQ(ReadLines(editor + L".starts.log"), (std::vector<std::wstring>{L"/dde"}));

    const std::wstring second = Capture();
    ASSERT_FALSE(second.empty());
    ASSERT_NE(first, second);
    EXPECT_EQ(WaitForLines(editor + L".commands.log", 2),
              (std::vector<std::wstring>{L"[open(\"" + first + L"\")]", L"[open(\"" + second + L"\")]"}));
    EXPECT_EQ(ReadLines(editor + L".starts.log").size(), 1u) << "the running editor was started again";
}

TEST_F(HandOff, CapturesStartTheUsersProgramWithTheQuotedPath)
{
    const std::wstring viewer = Install(QS_ARGUMENT_RECORDER_EXE, L"My Tools", L"viewer.exe");
    StartAndCapture({L"CheckedAssociatedProgram = true", L"AssociatedProgramIndex = 3",
                     L"AssociatedProgramPathForUser = " + Quoted(viewer)});
    const std::wstring shot = Capture();
    ASSERT_FALSE(shot.empty());
    EXPECT_EQ(WaitForLines(viewer + L".log", 1), (std::vector<std::wstring>{L"\"" + shot + L"\""}));
}

TEST_F(HandOff, NothingIsHandedOnWhenSendingIsOff)
{
    const std::wstring viewer = Install(QS_ARGUMENT_RECORDER_EXE, L"My Tools", L"viewer.exe");
    StartAndCapture({L"CheckedAssociatedProgram = false", L"AssociatedProgramIndex = 3",
                     L"AssociatedProgramPathForUser = " + Quoted(viewer)});
    ASSERT_FALSE(Capture().empty());
    // A second capture with sending switched on by its check box reaches
    // the program; the first one never does. The click is posted: the
    // program takes it after the save worker's notice of the first file,
    // which the worker posts as soon as the file is in place (a message sent
    // would be handled before that notice).
    HWND box = GetDlgItem(program.ToolWindow(), 3052);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PostMessageW(box, BM_CLICK, 0, 0));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 10000));
    const std::wstring shot = Capture();
    ASSERT_FALSE(shot.empty());
    EXPECT_EQ(WaitForLines(viewer + L".log", 1), (std::vector<std::wstring>{L"\"" + shot + L"\""}));
}
