#pragma once

#include <windows.h>

#include "app/AckReceiver.h"
#include "app/BVDDEClient.h"
#include "framework/core/StringList.h"
#include "framework/core/WideString.h"
#include "framework/window/Window.h"

class cSettingsRecord;

// Hands saved files to the associated program of the settings. The maker's
// editors (a program path containing "Brimvale") get each file through a
// DDE conversation, one conversation at a time, started when the editor is
// not running yet; any other program is started once per file with the
// file's path in quotes.
//
// The tool window owns one and routes SendToAssociatedProgram to it. The
// DDE conversations need a client window: by default the hand-off creates
// a message-only window of its own; a window that offers its messages to
// FilterMessage can be given instead.
class cProgramHandOff : public cAckReceiver
{
public:
    // What the hand-off asks of the system; tests replace it.
    class cSystem
    {
    public:
        virtual ~cSystem() = default;
        // True when path names an existing file.
        virtual bool ProgramExists(const Container::cWideString& path);
        // Opens program with parameters through the shell; true when it
        // started (the shell answered above 32).
        virtual bool StartProgram(const Container::cWideString& program, const Container::cWideString& parameters);
        virtual void Pause(DWORD milliseconds);
        // The first top-level window of a process whose executable file is
        // named executableName (any case), or null.
        virtual HWND FindProgramWindow(const char16_t* executableName);
        // Lets the process of window come to the front by itself.
        virtual void AllowForeground(HWND window);
    };

    // Pauses between direct starts, after starting an editor, and the polls
    // for the editor's window; a started editor whose window is there gets
    // as many polls again to answer the conversation.
    static constexpr DWORD StartPauseMs = 200;
    static constexpr DWORD EditorStartPauseMs = 400;
    static constexpr DWORD EditorPollPauseMs = 200;
    static constexpr int EditorPolls = 25;

    // settings (and system, when given) must outlive the object.
    explicit cProgramHandOff(const cSettingsRecord& settings, cSystem* system = nullptr);
    ~cProgramHandOff() override;
    cProgramHandOff(const cProgramHandOff&) = delete;
    cProgramHandOff& operator=(const cProgramHandOff&) = delete;

    // Hands files (possibly none) to the associated program. For the editor
    // they join the waiting list; a conversation starts unless one is open.
    void SendToAssociatedProgram(const Container::cStringList& files);
    // Sends the last waiting file to the editor, starting the editor first
    // when it is not running. Does nothing while a conversation is open.
    void SendNextToEditor();
    // The editor has ended a conversation: the next file goes.
    void OnConversationEnded() override;

    // Makes window the client window of the conversations instead of the
    // hand-off's own; its procedure must offer messages to FilterMessage.
    void SetClientWindow(HWND window);
    bool FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The program files go to: the user's program for index 3, else the
    // detected one.
    Container::cWideString Program() const;
    std::size_t WaitingCount() const { return m_waiting.Count(); }
    bool InConversation() const { return m_client.ServerWindow() != nullptr; }
    const cBVDDEClient& Client() const { return m_client; }

    // True when program is one of the maker's editors ("Brimvale" in its path).
    static bool IsEditor(const Container::cWideString& program);
    // The DDE service and the executable file name of the editor at program:
    // "BrimvalePro" and "BrimvalePro.exe" when its path says so, else
    // "Brimvale" and "Brimvale.exe".
    static void EditorNames(const Container::cWideString& program, const char16_t*& service,
                            const char16_t*& executable);
    // "[open("path")]": the path as it stands, nothing escaped.
    static Container::cWideString OpenCommand(const Container::cWideString& path);

private:
    // The hand-off's own client window: message-only, its messages offered
    // to the DDE client first.
    class cClientWindow : public Window::cWindow
    {
    public:
        explicit cClientWindow(cProgramHandOff& owner) : m_owner(owner) {}
        ~cClientWindow() override;
        Container::cWideString GetClassName() const override { return u"QuillsnapperDDEClient"; }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        cProgramHandOff& m_owner;
    };

    HWND ClientWindow();
    // started tells whether the editor was started here (and so may not
    // serve its conversations yet).
    HWND FindOrStartEditor(const Container::cWideString& program, const char16_t* executable, bool& started);

    const cSettingsRecord& m_settings;
    cSystem m_defaultSystem;
    cSystem& m_system;
    cBVDDEClient m_client;
    Container::cStringList m_waiting;
    cClientWindow m_ownWindow{*this};
    HWND m_clientWindow = nullptr;
    // True from taking a file until its conversation is open (or failed),
    // so that files arriving in between only join the list.
    bool m_sending = false;
};
