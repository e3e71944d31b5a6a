// The hand-off as a user meets it: real programs started through the shell,
// real DDE between two processes. The editor is a stand-in that logs what
// it is sent (tests/helpers/FakeEditor.cpp); the user's program logs its
// arguments (tests/helpers/ArgumentRecorder.cpp).

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include "app/ProgramHandOff.h"
#include "app/settings/SettingsRecord.h"
#include "tests/helpers/MessagePump.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

// A Unix path of the build as Windows sees it: on drive Z:.
std::wstring WindowsPath(const std::string& unixPath)
{
    std::wstring path = unixPath.front() == '/' ? L"Z:" : L"";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

const char16_t* U16(const std::wstring& text)
{
    return reinterpret_cast<const char16_t*>(text.c_str());
}

// The lines of a helper's log (UTF-8); none when it does not exist yet.
std::vector<std::wstring> ReadLines(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
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

class HandOffProcess : public ::testing::Test
{
protected:
    void TearDown() override { EndHelpers(); }

    // Copies a helper program into the test's folder, under folder\name.
    std::filesystem::path Install(const char* builtHelper, const std::wstring& folder, const std::wstring& name)
    {
        const std::filesystem::path target = temp.Path() / folder / name;
        std::filesystem::create_directories(target.parent_path());
        EXPECT_TRUE(CopyFileW(WindowsPath(builtHelper).c_str(), target.c_str(), FALSE)) << target;
        return target;
    }

    std::filesystem::path Shot(const std::wstring& name) const { return temp.Path() / L"My Shots" / name; }

    // Waits (handling the hand-off's messages) for a log to hold count lines.
    std::vector<std::wstring> WaitForLines(const std::filesystem::path& log, std::size_t count)
    {
        std::vector<std::wstring> lines;
        Testing::PumpUntil(
            [&] {
                lines = ReadLines(log);
                return lines.size() >= count && !handOff.InConversation();
            },
            15000);
        return lines;
    }

    static std::wstring OpenCommand(const std::filesystem::path& file)
    {
        return L"[open(\"" + file.wstring() + L"\")]";
    }

    void Send(const std::vector<std::filesystem::path>& files)
    {
        Container::cStringList list;
        for (const auto& file : files)
            list.Append(U16(file.wstring()));
        handOff.SendToAssociatedProgram(list);
    }

    // Closes every helper still running from this test's folder.
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
                CompareStringOrdinal(path, static_cast<int>(std::min<std::size_t>(length, folder.size())),
                                     folder.c_str(), static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 5000);
            }
            CloseHandle(process);
        }
        CloseHandle(snapshot);
    }

    Testing::cTempFolder temp;
    cSettingsRecord settings;
    cProgramHandOff handOff{settings};
};

} // namespace

TEST_F(HandOffProcess, StartsTheEditorWithDdeAndThenReusesIt)
{
    const auto editor = Install(QS_FAKE_EDITOR_EXE, L"Vadrin Brimvale", L"Brimvale.exe");
    settings.AssociatedProgramIndex = cSettingsRecord::Brimvale;
    settings.AssociatedProgramPath = U16(editor.wstring());

    const auto first = Shot(L"Quillsnapper 2026-12-10 10.00.00.png");
    Send({first});
    auto commands = WaitForLines(editor.wstring() + L".commands.log", 1);
    EXPECT_EQ(commands, (std::vector<std::wstring>{OpenCommand(first)}));
    EXPECT_EQ(ReadLines(editor.wstring() + L".starts.log"), (std::vector<std::wstring>{L"/dde"}));

    const auto second = Shot(L"Quillsnapper 2026-12-10 10.00.05.png");
    Send({second});
    commands = WaitForLines(editor.wstring() + L".commands.log", 2);
    EXPECT_EQ(commands, (std::vector<std::wstring>{OpenCommand(first), OpenCommand(second)}));
    EXPECT_EQ(ReadLines(editor.wstring() + L".starts.log").size(), 1u) << "a second editor was started";
    EXPECT_EQ(ReadLines(editor.wstring() + L".events.log"),
              (std::vector<std::wstring>{L"initiate", L"terminate", L"initiate", L"terminate"}));
}

TEST_F(HandOffProcess, AnEditorWhoseWindowAppearsLateStillGetsTheFile)
{
    const auto editor = Install(QS_FAKE_EDITOR_EXE, L"Brimvale", L"Brimvale.exe");
    std::ofstream(std::filesystem::path(editor.wstring() + L".delay")) << "2500";
    settings.AssociatedProgramIndex = cSettingsRecord::Brimvale;
    settings.AssociatedProgramPath = U16(editor.wstring());

    const auto shot = Shot(L"late.png");
    Send({shot});
    EXPECT_EQ(WaitForLines(editor.wstring() + L".commands.log", 1), (std::vector<std::wstring>{OpenCommand(shot)}));
    EXPECT_EQ(ReadLines(editor.wstring() + L".starts.log"), (std::vector<std::wstring>{L"/dde"}));
}

TEST_F(HandOffProcess, TheProEditorGetsTheFileUnderItsOwnService)
{
    // The plain editor runs as well; it must not hear of the file.
    const auto plain = Install(QS_FAKE_EDITOR_EXE, L"Brimvale", L"Brimvale.exe");
    const auto pro = Install(QS_FAKE_EDITOR_EXE, L"Vadrin Brimvale Pro", L"BrimvalePro.exe");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + plain.wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(plain.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ASSERT_TRUE(Testing::PumpUntil([] { return FindWindowW(L"QsFakeDDEServer", L"Brimvale") != nullptr; }, 10000));

    settings.AssociatedProgramIndex = cSettingsRecord::BrimvalePro;
    settings.AssociatedProgramPath = U16(pro.wstring());
    const auto shot = Shot(L"pro.png");
    Send({shot});
    EXPECT_EQ(WaitForLines(pro.wstring() + L".commands.log", 1), (std::vector<std::wstring>{OpenCommand(shot)}));
    EXPECT_EQ(ReadLines(pro.wstring() + L".starts.log"), (std::vector<std::wstring>{L"/dde"}));
    EXPECT_TRUE(ReadLines(plain.wstring() + L".commands.log").empty());
    EXPECT_TRUE(ReadLines(plain.wstring() + L".events.log").empty());
}

TEST_F(HandOffProcess, AProgramOfTheUsersIsStartedOncePerFileWithTheQuotedPath)
{
    const auto program = Install(QS_ARGUMENT_RECORDER_EXE, L"My Tools", L"viewer.exe");
    settings.AssociatedProgramIndex = cSettingsRecord::UserProgram;
    settings.AssociatedProgramPathForUser = U16(program.wstring());

    const auto first = Shot(L"Quillsnapper 1.png");
    const auto second = Shot(L"Quillsnapper 2.png");
    Send({first, second});
    auto lines = WaitForLines(program.wstring() + L".log", 2);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"\"" + first.wstring() + L"\"", L"\"" + second.wstring() + L"\""}));
}

TEST_F(HandOffProcess, FindsARunningEditorWhateverTheCaseOfItsFileName)
{
    // Windows file names ignore case: an editor installed as brimvale.EXE is
    // the editor all the same, and is not started a second time.
    const auto editor = Install(QS_FAKE_EDITOR_EXE, L"Brimvale", L"brimvale.EXE");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + editor.wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(editor.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ASSERT_TRUE(Testing::PumpUntil([] { return FindWindowW(L"QsFakeDDEServer", L"Brimvale") != nullptr; }, 10000));

    settings.AssociatedProgramIndex = cSettingsRecord::Brimvale;
    settings.AssociatedProgramPath = U16(editor.wstring());
    const auto shot = Shot(L"running.png");
    Send({shot});
    EXPECT_EQ(WaitForLines(editor.wstring() + L".commands.log", 1), (std::vector<std::wstring>{OpenCommand(shot)}));
    // Only the start of this test: no "/dde" start by the hand-off.
    EXPECT_EQ(ReadLines(editor.wstring() + L".starts.log"), (std::vector<std::wstring>{L""}));
}

TEST_F(HandOffProcess, TheShellStartCountsOnlyWhenTheProgramStarted)
{
    cProgramHandOff::cSystem system;
    const auto recorder = Install(QS_ARGUMENT_RECORDER_EXE, L"Tools", L"recorder.exe");
    // A file named like a program that is none: the shell answers 32 or below.
    const auto broken = temp.Path() / L"Brimvale" / L"Brimvale.exe";
    std::filesystem::create_directories(broken.parent_path());
    std::ofstream(broken, std::ios::binary) << "not a program";

    EXPECT_TRUE(system.StartProgram(Container::cWideString(U16(recorder.wstring())), Container::cWideString(u"\"x\"")));
    EXPECT_FALSE(system.StartProgram(Container::cWideString(U16(broken.wstring())), Container::cWideString(u"/dde")));
    EXPECT_FALSE(system.StartProgram(Container::cWideString(U16((temp.Path() / L"missing.exe").wstring())),
                                     Container::cWideString(u"/dde")));
    EXPECT_EQ(WaitForLines(recorder.wstring() + L".log", 1), (std::vector<std::wstring>{L"\"x\""}));
    // Existence is that of a file: folders and empty paths are no program.
    EXPECT_TRUE(system.ProgramExists(Container::cWideString(U16(recorder.wstring()))));
    EXPECT_FALSE(system.ProgramExists(Container::cWideString(U16(temp.Path().wstring()))));
    EXPECT_FALSE(system.ProgramExists(Container::cWideString()));
}

TEST_F(HandOffProcess, AHungProgramDoesNotHoldUpTheHandOff)
{
    // Some other program's top-level window stops answering messages; the
    // initiate broadcast reaches it too, and must not wait for it forever.
    const auto hung = Install(QS_FAKE_EDITOR_EXE, L"Hung", L"hung.exe");
    std::ofstream(std::filesystem::path(hung.wstring() + L".hang")) << "";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + hung.wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(hung.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ASSERT_TRUE(Testing::PumpUntil([] { return FindWindowW(L"QsHungWindow", L"hung") != nullptr; }, 10000));

    const auto editor = Install(QS_FAKE_EDITOR_EXE, L"Brimvale", L"Brimvale.exe");
    settings.AssociatedProgramIndex = cSettingsRecord::Brimvale;
    settings.AssociatedProgramPath = U16(editor.wstring());
    const auto shot = Shot(L"despite the hang.png");
    Send({shot});
    EXPECT_EQ(WaitForLines(editor.wstring() + L".commands.log", 1), (std::vector<std::wstring>{OpenCommand(shot)}));
}
