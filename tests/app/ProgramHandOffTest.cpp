// The hand-off's decisions with the system replaced: which program gets
// the files, how they are started, how long an editor is waited for, and
// the order and overlap of the DDE conversations (with a server in the
// test's own process under the editor's service name).

#include <gtest/gtest.h>

#include <windows.h>

#include "app/ProgramHandOff.h"
#include "app/settings/SettingsRecord.h"
#include "tests/helpers/FakeDDEServer.h"
#include "tests/helpers/MessagePump.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

std::wstring Wide(const Container::cWideString& text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.Text()), text.Length());
}

Container::cStringList Files(std::initializer_list<const char16_t*> paths)
{
    Container::cStringList list;
    for (const char16_t* path : paths)
        list.Append(path);
    return list;
}

class cFakeSystem : public cProgramHandOff::cSystem
{
public:
    bool exists = true;
    bool startSucceeds = true;
    // FindProgramWindow answers window from its findsUntilFound-th call on.
    HWND window = nullptr;
    int findsUntilFound = 1;

    std::vector<std::pair<std::wstring, std::wstring>> starts;
    std::vector<DWORD> pauses;
    std::vector<std::wstring> searched;
    std::vector<HWND> allowed;
    // Called at each pause, after it is recorded.
    std::function<void()> onPause;

    bool ProgramExists(const Container::cWideString&) override { return exists; }
    bool StartProgram(const Container::cWideString& program, const Container::cWideString& parameters) override
    {
        starts.emplace_back(Wide(program), Wide(parameters));
        return startSucceeds;
    }
    void Pause(DWORD milliseconds) override
    {
        pauses.push_back(milliseconds);
        if (onPause)
            onPause();
    }
    HWND FindProgramWindow(const char16_t* executableName) override
    {
        searched.push_back(reinterpret_cast<const wchar_t*>(executableName));
        return static_cast<int>(searched.size()) >= findsUntilFound ? window : nullptr;
    }
    void AllowForeground(HWND target) override { allowed.push_back(target); }
};

const char16_t EditorPath[] = u"C:\\Program Files\\Vadrin Brimvale\\Brimvale.exe";

class ProgramHandOff : public ::testing::Test
{
protected:
    ProgramHandOff()
    {
        settings.AssociatedProgramIndex = cSettingsRecord::Brimvale;
        settings.AssociatedProgramPath = EditorPath;
    }

    // A server under the editor's service, in this process; the fake
    // system reports its window as the running editor.
    bool StartServer(std::function<void(const std::wstring&)> onEvent = {})
    {
        server = std::make_unique<Testing::cFakeDDEServer>(
            L"Brimvale", [this, onEvent](Testing::cFakeDDEServer::eRecord kind, const std::wstring& text) {
                (kind == Testing::cFakeDDEServer::Command ? commands : events).push_back(text);
                if (kind == Testing::cFakeDDEServer::Event && onEvent)
                    onEvent(text);
            });
        if (!server->Create())
            return false;
        system.window = server->Window();
        return true;
    }

    bool WaitForCommands(std::size_t count)
    {
        return Testing::PumpUntil([&] { return commands.size() >= count && !handOff.InConversation(); }, 10000);
    }

    cSettingsRecord settings;
    cFakeSystem system;
    cProgramHandOff handOff{settings, &system};
    std::unique_ptr<Testing::cFakeDDEServer> server;
    std::vector<std::wstring> commands;
    std::vector<std::wstring> events;
};

} // namespace

TEST(ProgramHandOffNames, ChoosesTheServiceAndExecutableByThePath)
{
    struct sCase
    {
        const char16_t* program;
        bool editor;
        const char16_t* service;
        const char16_t* executable;
    };
    const sCase cases[] = {
        {u"C:\\Program Files\\Vadrin Brimvale Pro\\BrimvalePro.exe", true, u"BrimvalePro", u"BrimvalePro.exe"},
        {u"C:\\Program Files\\Vadrin Brimvale\\Brimvale.exe", true, u"Brimvale", u"Brimvale.exe"},
        // A program of the user's whose path holds the marker is an editor too.
        {u"D:\\Brimvale tools\\viewer.exe", true, u"Brimvale", u"Brimvale.exe"},
        {u"D:\\BrimvalePro\\other.exe", true, u"BrimvalePro", u"BrimvalePro.exe"},
        // The marker is matched with its case.
        {u"C:\\brimvale\\brimvale.exe", false, u"Brimvale", u"Brimvale.exe"},
        {u"C:\\Windows\\system32\\mspaint.exe", false, u"Brimvale", u"Brimvale.exe"},
    };
    for (const sCase& c : cases) {
        const Container::cWideString program(c.program);
        const char16_t* service = nullptr;
        const char16_t* executable = nullptr;
        cProgramHandOff::EditorNames(program, service, executable);
        EXPECT_EQ(cProgramHandOff::IsEditor(program), c.editor) << Wide(program);
        EXPECT_EQ(std::u16string(service), std::u16string(c.service)) << Wide(program);
        EXPECT_EQ(std::u16string(executable), std::u16string(c.executable)) << Wide(program);
    }
}

TEST(ProgramHandOffNames, PutsThePathIntoTheOpenCommandAsItStands)
{
    const struct
    {
        const char16_t* path;
        const char16_t* command;
    } cases[] = {
        {u"C:\\shots\\Quillsnapper 1.png", u"[open(\"C:\\shots\\Quillsnapper 1.png\")]"},
        {u"C:\\odd \"quoted\"\\a.png", u"[open(\"C:\\odd \"quoted\"\\a.png\")]"},
        {u"", u"[open(\"\")]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Wide(cProgramHandOff::OpenCommand(Container::cWideString(c.path))),
                  reinterpret_cast<const wchar_t*>(c.command));
    // Long paths are not cut.
    const Container::cWideString longPath(std::u16string(2000, u'x'));
    EXPECT_EQ(cProgramHandOff::OpenCommand(longPath).Length(), 2000u + 10u);
}

TEST_F(ProgramHandOff, StartsAnyOtherProgramOncePerFileWithTheQuotedPath)
{
    settings.AssociatedProgramIndex = cSettingsRecord::UserProgram;
    settings.AssociatedProgramPathForUser = u"D:\\Tools\\viewer.exe";
    settings.AssociatedProgramPath = u"C:\\Windows\\system32\\mspaint.exe";
    handOff.SendToAssociatedProgram(Files({u"C:\\shots\\a 1.png", u"C:\\shots\\a 2.png"}));
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"D:\\Tools\\viewer.exe", L"\"C:\\shots\\a 1.png\""},
        {L"D:\\Tools\\viewer.exe", L"\"C:\\shots\\a 2.png\""},
    };
    EXPECT_EQ(system.starts, expected);
    EXPECT_EQ(system.pauses, (std::vector<DWORD>{200, 200}));
    EXPECT_TRUE(system.searched.empty());
    EXPECT_EQ(handOff.WaitingCount(), 0u);
}

TEST_F(ProgramHandOff, UsesTheDetectedProgramForTheOtherIndices)
{
    settings.AssociatedProgramIndex = cSettingsRecord::Paint;
    settings.AssociatedProgramPath = u"C:\\Windows\\system32\\mspaint.exe";
    settings.AssociatedProgramPathForUser = u"D:\\Tools\\viewer.exe";
    handOff.SendToAssociatedProgram(Files({u"C:\\shots\\a.png"}));
    ASSERT_EQ(system.starts.size(), 1u);
    EXPECT_EQ(system.starts[0].first, L"C:\\Windows\\system32\\mspaint.exe");
    EXPECT_EQ(Wide(handOff.Program()), L"C:\\Windows\\system32\\mspaint.exe");
}

TEST_F(ProgramHandOff, DoesNothingWhenTheProgramIsMissing)
{
    system.exists = false;
    for (std::uint32_t index : {0u, 1u, 2u, 3u}) {
        settings.AssociatedProgramIndex = index;
        settings.AssociatedProgramPathForUser = u"D:\\Brimvale\\gone.exe";
        handOff.SendToAssociatedProgram(Files({u"C:\\shots\\a.png"}));
    }
    EXPECT_TRUE(system.starts.empty());
    EXPECT_TRUE(system.pauses.empty());
    EXPECT_TRUE(system.searched.empty());
    EXPECT_EQ(handOff.WaitingCount(), 0u);
}

TEST_F(ProgramHandOff, DoesNotWaitForAnEditorThatCouldNotBeStarted)
{
    system.startSucceeds = false;
    handOff.SendToAssociatedProgram(Files({u"C:\\shots\\a.png"}));
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {{Wide(Container::cWideString(EditorPath)), L"/dde"}};
    EXPECT_EQ(system.starts, expected);
    EXPECT_EQ(system.searched, (std::vector<std::wstring>{L"Brimvale.exe"}));
    EXPECT_TRUE(system.pauses.empty());
    EXPECT_EQ(handOff.WaitingCount(), 0u);
}

TEST_F(ProgramHandOff, PollsForAStartedEditorAndDropsTheFileWhenItNeverAppears)
{
    settings.AssociatedProgramIndex = cSettingsRecord::BrimvalePro;
    settings.AssociatedProgramPath = u"C:\\Vadrin Brimvale Pro\\BrimvalePro.exe";
    handOff.SendToAssociatedProgram(Files({u"C:\\shots\\1.png", u"C:\\shots\\2.png"}));
    std::vector<DWORD> expectedPauses{400};
    expectedPauses.insert(expectedPauses.end(), 25, 200);
    EXPECT_EQ(system.pauses, expectedPauses);
    EXPECT_EQ(system.searched, std::vector<std::wstring>(26, L"BrimvalePro.exe"));
    EXPECT_EQ(system.starts.size(), 1u);
    // The last file was taken and dropped; the other waits for the next call.
    EXPECT_EQ(handOff.WaitingCount(), 1u);
    EXPECT_FALSE(handOff.InConversation());
}

TEST_F(ProgramHandOff, SendsToAnEditorThatAppearsWhilePolled)
{
    ASSERT_TRUE(StartServer());
    system.findsUntilFound = 4; // the first search and two polls find nothing
    handOff.SendToAssociatedProgram(Files({u"C:\\shots\\late.png"}));
    EXPECT_EQ(system.pauses, (std::vector<DWORD>{400, 200, 200}));
    ASSERT_TRUE(WaitForCommands(1));
    EXPECT_EQ(commands, (std::vector<std::wstring>{L"[open(\"C:\\shots\\late.png\")]"}));
    EXPECT_EQ(system.allowed, (std::vector<HWND>{server->Window()}));
}

TEST_F(ProgramHandOff, WaitsForAStartedEditorToServeItsConversation)
{
    // The started editor's window is there at the first poll, its
    // conversation server only from the third pause on.
    system.window = GetDesktopWindow();
    system.findsUntilFound = 2;
    system.onPause = [this] {
        if (system.pauses.size() == 3)
            ASSERT_TRUE(StartServer());
    };
    handOff.SendToAssociatedProgram(Files({u"C:\\shots\\early.png"}));
    EXPECT_EQ(system.pauses, (std::vector<DWORD>{400, 200, 200}));
    ASSERT_TRUE(WaitForCommands(1));
    EXPECT_EQ(commands, (std::vector<std::wstring>{L"[open(\"C:\\shots\\early.png\")]"}));
    EXPECT_EQ(handOff.WaitingCount(), 0u);
}

TEST_F(ProgramHandOff, DoesNotWaitForARunningEditorThatServesNoConversation)
{
    // Found at once, so not started here: one try, no waiting.
    system.window = GetDesktopWindow();
    handOff.SendToAssociatedProgram(Files({u"C:\\shots\\a.png"}));
    EXPECT_TRUE(system.pauses.empty());
    EXPECT_TRUE(system.starts.empty());
    EXPECT_FALSE(handOff.InConversation());
    EXPECT_EQ(handOff.WaitingCount(), 0u);
}

TEST_F(ProgramHandOff, SendsABatchOneConversationAfterTheOtherLastFileFirst)
{
    ASSERT_TRUE(StartServer());
    handOff.SendToAssociatedProgram(Files({u"C:\\s\\1.png", u"C:\\s\\2.png", u"C:\\s\\3.png"}));
    EXPECT_TRUE(handOff.InConversation());
    EXPECT_EQ(handOff.WaitingCount(), 2u);
    ASSERT_TRUE(WaitForCommands(3));
    EXPECT_EQ(commands, (std::vector<std::wstring>{L"[open(\"C:\\s\\3.png\")]", L"[open(\"C:\\s\\2.png\")]",
                                                   L"[open(\"C:\\s\\1.png\")]"}));
    const std::vector<std::wstring> conversation{L"initiate", L"terminate"};
    std::vector<std::wstring> expected;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), conversation.begin(), conversation.end());
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(system.starts.empty()) << "the running editor was started again";
    EXPECT_EQ(handOff.WaitingCount(), 0u);
}

TEST_F(ProgramHandOff, FilesArrivingDuringTheInitiateOnlyJoinTheList)
{
    // A save worker's notification can arrive while the broadcast is out.
    bool sentDuringInitiate = false;
    ASSERT_TRUE(StartServer([&](const std::wstring& event) {
        if (event == L"initiate" && !sentDuringInitiate) {
            sentDuringInitiate = true;
            handOff.SendToAssociatedProgram(Files({u"C:\\s\\during.png"}));
        }
    }));
    handOff.SendToAssociatedProgram(Files({u"C:\\s\\first.png"}));
    ASSERT_TRUE(sentDuringInitiate);
    ASSERT_TRUE(WaitForCommands(2));
    EXPECT_EQ(commands, (std::vector<std::wstring>{L"[open(\"C:\\s\\first.png\")]", L"[open(\"C:\\s\\during.png\")]"}));
    EXPECT_EQ(events, (std::vector<std::wstring>{L"initiate", L"terminate", L"initiate", L"terminate"}));
}

TEST_F(ProgramHandOff, FilesArrivingDuringAConversationWaitForItsEnd)
{
    ASSERT_TRUE(StartServer());
    handOff.SendToAssociatedProgram(Files({u"C:\\s\\1.png"}));
    ASSERT_TRUE(handOff.InConversation());
    handOff.SendToAssociatedProgram(Files({u"C:\\s\\2.png"}));
    EXPECT_EQ(handOff.WaitingCount(), 1u);
    ASSERT_TRUE(WaitForCommands(2));
    EXPECT_EQ(commands, (std::vector<std::wstring>{L"[open(\"C:\\s\\1.png\")]", L"[open(\"C:\\s\\2.png\")]"}));
    for (const std::wstring& event : events)
        EXPECT_NE(event, L"initiate while open");
}

TEST_F(ProgramHandOff, GivesUpAConversationWhoseServerVanished)
{
    ASSERT_TRUE(StartServer());
    handOff.SendToAssociatedProgram(Files({u"C:\\s\\1.png"}));
    ASSERT_TRUE(handOff.InConversation());
    // The editor goes away before it could answer.
    server.reset();
    Testing::DrainMessages();
    ASSERT_TRUE(handOff.InConversation());

    commands.clear();
    events.clear();
    ASSERT_TRUE(StartServer());
    handOff.SendToAssociatedProgram(Files({u"C:\\s\\2.png"}));
    ASSERT_TRUE(WaitForCommands(1));
    EXPECT_EQ(commands, (std::vector<std::wstring>{L"[open(\"C:\\s\\2.png\")]"}));
}
