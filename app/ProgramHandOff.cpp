#include "app/ProgramHandOff.h"

#include <shellapi.h>

#include "app/settings/SettingsRecord.h"
#include "framework/core/PathHelpers.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

struct sWindowSearch
{
    Container::cWideString executable;
    HWND found = nullptr;
};

// True when the executable file of process is named as search asks.
bool ProcessRuns(DWORD process, const Container::cWideString& executable)
{
    // Limited query rights suffice for the image name, and are granted for
    // 64-bit and for elevated processes as well.
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (handle == nullptr)
        return false;
    wchar_t path[MAX_PATH * 4];
    DWORD length = static_cast<DWORD>(sizeof(path) / sizeof(path[0]));
    const bool read = QueryFullProcessImageNameW(handle, 0, path, &length) != FALSE;
    CloseHandle(handle);
    if (!read)
        return false;
    const Container::cWideString name = Storage::FileNameOf(reinterpret_cast<const char16_t*>(path));
    return name.CompareNoCase(executable) == 0;
}

BOOL CALLBACK OnTopLevelWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<sWindowSearch*>(context);
    DWORD process = 0;
    if (GetWindowThreadProcessId(window, &process) == 0 || process == GetCurrentProcessId())
        return TRUE;
    if (!ProcessRuns(process, search->executable))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

bool cProgramHandOff::cSystem::ProgramExists(const Container::cWideString& path)
{
    return !path.IsEmpty() && Storage::PathExists(path) && !Storage::IsFolder(path);
}

bool cProgramHandOff::cSystem::StartProgram(const Container::cWideString& program,
                                            const Container::cWideString& parameters)
{
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", Wide(program.Text()), parameters.IsEmpty() ? nullptr : Wide(parameters.Text()),
                      nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void cProgramHandOff::cSystem::Pause(DWORD milliseconds)
{
    Sleep(milliseconds);
}

HWND cProgramHandOff::cSystem::FindProgramWindow(const char16_t* executableName)
{
    sWindowSearch search;
    search.executable = executableName;
    EnumWindows(OnTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void cProgramHandOff::cSystem::AllowForeground(HWND window)
{
    DWORD process = 0;
    if (window != nullptr && GetWindowThreadProcessId(window, &process) != 0)
        AllowSetForegroundWindow(process);
}

cProgramHandOff::cProgramHandOff(const cSettingsRecord& settings, cSystem* system)
    : m_settings(settings), m_system(system != nullptr ? *system : m_defaultSystem), m_client(this)
{
}

cProgramHandOff::~cProgramHandOff() = default;

Container::cWideString cProgramHandOff::Program() const
{
    return m_settings.AssociatedProgramIndex == cSettingsRecord::UserProgram ? m_settings.AssociatedProgramPathForUser
                                                                             : m_settings.AssociatedProgramPath;
}

bool cProgramHandOff::IsEditor(const Container::cWideString& program)
{
    return program.Find(u"Brimvale") < program.Length();
}

void cProgramHandOff::EditorNames(const Container::cWideString& program, const char16_t*& service,
                                  const char16_t*& executable)
{
    if (program.Find(u"BrimvalePro") < program.Length()) {
        service = u"BrimvalePro";
        executable = u"BrimvalePro.exe";
    } else {
        service = u"Brimvale";
        executable = u"Brimvale.exe";
    }
}

Container::cWideString cProgramHandOff::OpenCommand(const Container::cWideString& path)
{
    // Built by appending: a pattern would cut very long paths.
    Container::cWideString command(u"[open(\"");
    command.Append(path);
    command.Append(u"\")]");
    return command;
}

void cProgramHandOff::SendToAssociatedProgram(const Container::cStringList& files)
{
    const Container::cWideString program = Program();
    if (!m_system.ProgramExists(program))
        return;
    if (!IsEditor(program)) {
        for (std::size_t i = 0; i < files.Count(); ++i) {
            Container::cWideString parameters(u"\"");
            parameters.Append(files[i]);
            parameters.Append(u'"');
            m_system.StartProgram(program, parameters);
            m_system.Pause(StartPauseMs);
        }
        return;
    }
    for (std::size_t i = 0; i < files.Count(); ++i)
        m_waiting.Append(files[i]);
    // A server that vanished without ending its conversation would keep
    // every later file waiting.
    const HWND server = m_client.ServerWindow();
    if (server != nullptr && !IsWindow(server))
        m_client.Abandon();
    SendNextToEditor();
}

void cProgramHandOff::SendNextToEditor()
{
    if (m_sending || InConversation() || m_waiting.IsEmpty())
        return;
    m_sending = true;
    const std::size_t last = m_waiting.Count() - 1;
    const Container::cWideString file = m_waiting[last];
    m_waiting.Remove(last);

    const Container::cWideString program = Program();
    const char16_t* service = nullptr;
    const char16_t* executable = nullptr;
    EditorNames(program, service, executable);
    HWND client = ClientWindow();
    bool sent = false;
    bool started = false;
    if (client != nullptr && FindOrStartEditor(program, executable, started) != nullptr) {
        const Container::cWideString command = OpenCommand(file);
        sent = m_client.Execute(client, service, command);
        // An editor just started shows its window before it serves its
        // conversations: without waiting for it the file would be lost.
        for (int poll = 0; !sent && started && poll < EditorPolls && m_client.ServerWindow() == nullptr; ++poll) {
            m_system.Pause(EditorPollPauseMs);
            sent = m_client.Execute(client, service, command);
        }
        if (sent && m_client.ServerWindow() != nullptr)
            m_system.AllowForeground(m_client.ServerWindow());
    }
    m_sending = false;
    // A command that went out without a conversation left open (its
    // terminate could not be posted) has no end to wait for.
    if (sent && !InConversation())
        SendNextToEditor();
}

HWND cProgramHandOff::FindOrStartEditor(const Container::cWideString& program, const char16_t* executable,
                                        bool& started)
{
    started = false;
    HWND editor = m_system.FindProgramWindow(executable);
    if (editor != nullptr)
        return editor;
    if (!m_system.StartProgram(program, u"/dde"))
        return nullptr; // it never started: nothing to wait for
    started = true;
    m_system.Pause(EditorStartPauseMs);
    for (int poll = 0; poll < EditorPolls; ++poll) {
        editor = m_system.FindProgramWindow(executable);
        if (editor != nullptr)
            return editor;
        m_system.Pause(EditorPollPauseMs);
    }
    return nullptr;
}

void cProgramHandOff::OnConversationEnded()
{
    SendNextToEditor();
}

void cProgramHandOff::SetClientWindow(HWND window)
{
    m_clientWindow = window;
}

bool cProgramHandOff::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return m_client.FilterMessage(message, wParam, lParam, result);
}

HWND cProgramHandOff::ClientWindow()
{
    if (m_clientWindow != nullptr)
        return m_clientWindow;
    if (!m_ownWindow.IsBound())
        m_ownWindow.Create(0, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0);
    return m_ownWindow.Handle();
}

cProgramHandOff::cClientWindow::~cClientWindow()
{
    // The toolkit's objects never destroy their windows; this one belongs
    // to the hand-off alone and goes with it.
    if (IsBound())
        Destroy();
}

LRESULT cProgramHandOff::cClientWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_owner.FilterMessage(message, wParam, lParam, result))
        return result;
    return Window::cWindow::WindowProc(message, wParam, lParam);
}
