#pragma once

#include <windows.h>

#include "framework/core/WideString.h"

// The client side of one raw-message DDE conversation: it finds a server by
// broadcasting WM_DDE_INITIATE, posts one WM_DDE_EXECUTE command and then
// WM_DDE_TERMINATE, and hears the server's acknowledgements and its
// terminate through FilterMessage, which the client window's procedure
// offers every message to.
//
// Only one conversation runs at a time: Execute fails while a server is
// known (until it has answered the terminate, or Abandon is called).
class cDDEClient
{
public:
    // How long the initiate broadcast waits for any one window; windows
    // that do not answer in time (or are hung) are skipped.
    static constexpr UINT BroadcastTimeoutMs = 1000;
    static constexpr const char16_t* Topic = u"system";

    cDDEClient() = default;
    virtual ~cDDEClient();
    cDDEClient(const cDDEClient&) = delete;
    cDDEClient& operator=(const cDDEClient&) = delete;

    // Starts a conversation of clientWindow with the server of service on
    // the topic "system" and sends it command. True when the command was
    // posted; a server window is then known until the server's
    // WM_DDE_TERMINATE arrives. False for an empty command, when no server
    // answers, or when the command cannot be posted.
    bool Execute(HWND clientWindow, const char16_t* service, const Container::cWideString& command);

    // Handles the DDE messages meant for the client window. True when the
    // message was consumed (result then holds its answer).
    bool FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Gives up a conversation whose server does not answer any more: posts
    // it WM_DDE_TERMINATE and forgets it (OnTerminated is not called).
    void Abandon();

    HWND ClientWindow() const { return m_client; }
    HWND ServerWindow() const { return m_server; }
    // WM_DDE_INITIATE during the broadcast, WM_DDE_EXECUTE while posting
    // the command, WM_DDE_TERMINATE after it, 0 otherwise.
    UINT MessageInProgress() const { return m_inProgress; }
    // The command block of the last execute until the server's
    // acknowledgement handed it back (it is freed then); null after that.
    HGLOBAL PendingCommand() const { return m_command; }

protected:
    // Every WM_DDE_ACK the client accepts; the answer of the message.
    virtual LRESULT OnAcknowledge(WPARAM wParam, LPARAM lParam);
    // The current server has ended the conversation.
    virtual void OnTerminated() = 0;

private:
    void OnInitiateAcknowledged(HWND server, LPARAM lParam);
    void OnExecuteAcknowledged(HWND server, LPARAM lParam);

    HWND m_client = nullptr;
    HWND m_server = nullptr;
    UINT m_inProgress = 0;
    // The command block of the last execute, until the server hands it
    // back in its acknowledgement (then it is freed here).
    HGLOBAL m_command = nullptr;
    HWND m_commandServer = nullptr;
};
