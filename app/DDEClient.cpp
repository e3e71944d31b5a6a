#include "app/DDEClient.h"

#include <dde.h>

#include <cstring>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

} // namespace

cDDEClient::~cDDEClient()
{
    // A command the server never handed back stays with the server: freeing
    // it here could pull it from under a server that is still reading it.
}

bool cDDEClient::Execute(HWND clientWindow, const char16_t* service, const Container::cWideString& command)
{
    if (command.IsEmpty() || clientWindow == nullptr || service == nullptr || *service == 0)
        return false;
    if (m_server != nullptr)
        return false; // a conversation is still open
    m_client = clientWindow;

    const ATOM serviceAtom = GlobalAddAtomW(Wide(service));
    const ATOM topicAtom = GlobalAddAtomW(Wide(Topic));
    if (serviceAtom != 0 && topicAtom != 0) {
        // Every server of the service answers with WM_DDE_ACK while the
        // broadcast is out; a hung window must not hold the program up.
        m_inProgress = WM_DDE_INITIATE;
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(clientWindow),
                            MAKELPARAM(serviceAtom, topicAtom), SMTO_ABORTIFHUNG | SMTO_NORMAL, BroadcastTimeoutMs,
                            &answer);
        m_inProgress = 0;
    }
    if (serviceAtom != 0)
        GlobalDeleteAtom(serviceAtom);
    if (topicAtom != 0)
        GlobalDeleteAtom(topicAtom);
    if (m_server == nullptr)
        return false;

    const std::size_t bytes = (command.Length() + 1) * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* text = block != nullptr ? GlobalLock(block) : nullptr;
    if (text == nullptr) {
        if (block != nullptr)
            GlobalFree(block);
        Abandon();
        return false;
    }
    std::memcpy(text, command.Text(), bytes);
    GlobalUnlock(block);

    m_inProgress = WM_DDE_EXECUTE;
    const LPARAM packed = PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(block));
    if (!PostMessageW(m_server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(clientWindow), packed)) {
        FreeDDElParam(WM_DDE_EXECUTE, packed);
        GlobalFree(block);
        m_inProgress = 0;
        Abandon();
        return false;
    }
    m_command = block;
    m_commandServer = m_server;

    m_inProgress = WM_DDE_TERMINATE;
    if (!PostMessageW(m_server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(clientWindow), 0)) {
        // The command went out, but the server will never end the
        // conversation: it is over from this side.
        m_server = nullptr;
        m_inProgress = 0;
    }
    return true;
}

bool cDDEClient::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_client == nullptr)
        return false;
    const HWND sender = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_DDE_ACK:
        if (m_inProgress == WM_DDE_INITIATE)
            OnInitiateAcknowledged(sender, lParam);
        else if (sender != nullptr && sender == m_commandServer)
            OnExecuteAcknowledged(sender, lParam);
        else
            return false; // not an answer to anything of ours
        result = OnAcknowledge(wParam, lParam);
        return true;
    case WM_DDE_TERMINATE:
        // Servers that were turned down answer our terminate too: only the
        // current server ends the conversation.
        if (sender == nullptr || sender != m_server)
            return false;
        m_server = nullptr;
        m_inProgress = 0;
        OnTerminated();
        return false;
    default:
        return false;
    }
}

void cDDEClient::Abandon()
{
    if (m_server != nullptr && m_client != nullptr)
        PostMessageW(m_server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_client), 0);
    m_server = nullptr;
    m_inProgress = 0;
}

LRESULT cDDEClient::OnAcknowledge(WPARAM, LPARAM)
{
    return 0;
}

void cDDEClient::OnInitiateAcknowledged(HWND server, LPARAM lParam)
{
    // The server made these atoms for its answer; they are ours to delete.
    const ATOM application = LOWORD(lParam);
    const ATOM topic = HIWORD(lParam);
    if (application != 0)
        GlobalDeleteAtom(application);
    if (topic != 0)
        GlobalDeleteAtom(topic);
    if (server == nullptr || !IsWindow(server))
        return;
    // The last server to answer is chosen; one chosen before is told that
    // its conversation is over.
    if (m_server != nullptr && m_server != server)
        PostMessageW(m_server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_client), 0);
    m_server = server;
}

void cDDEClient::OnExecuteAcknowledged(HWND, LPARAM lParam)
{
    UINT_PTR status = 0;
    UINT_PTR handle = 0;
    if (!UnpackDDElParam(WM_DDE_ACK, lParam, &status, &handle))
        return;
    FreeDDElParam(WM_DDE_ACK, lParam);
    // The acknowledgement hands the command block back: free it, once.
    if (m_command != nullptr && reinterpret_cast<HGLOBAL>(handle) == m_command) {
        GlobalFree(m_command);
        m_command = nullptr;
        m_commandServer = nullptr;
    }
}
