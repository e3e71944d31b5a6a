#pragma once

// A DDE server for the tests, on a hidden top-level window of its own: it
// answers initiates for one service on the topic "system", reads the text
// of every WM_DDE_EXECUTE, acknowledges it (handing the command block back
// to the client, as the protocol says) and answers each terminate with its
// own. Everything it sees goes to a recorder: the commands, and the events
// of its conversations, so that tests can tell overlapping or stray
// conversations apart.

#include <windows.h>
#include <dde.h>

#include <functional>
#include <set>
#include <string>

namespace Testing {

class cFakeDDEServer
{
public:
    enum eRecord
    {
        Command,    // the text of an execute
        Event,      // initiate, terminate and protocol faults seen
    };
    using Recorder = std::function<void(eRecord kind, const std::wstring& text)>;

    static constexpr const wchar_t* ClassName = L"QsFakeDDEServer";

    cFakeDDEServer(std::wstring service, Recorder recorder) : m_service(std::move(service)), m_recorder(std::move(recorder))
    {
    }
    ~cFakeDDEServer()
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }
    cFakeDDEServer(const cFakeDDEServer&) = delete;
    cFakeDDEServer& operator=(const cFakeDDEServer&) = delete;

    bool Create()
    {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        if (!GetClassInfoExW(instance, ClassName, &existing)) {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = Procedure;
            windowClass.hInstance = instance;
            windowClass.lpszClassName = ClassName;
            if (RegisterClassExW(&windowClass) == 0)
                return false;
        }
        m_window = CreateWindowExW(0, ClassName, m_service.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                   nullptr, instance, this);
        return m_window != nullptr;
    }

    HWND Window() const { return m_window; }
    // The command block of the last execute, as the client sent it.
    HGLOBAL LastCommandBlock() const { return m_lastBlock; }
    std::size_t OpenConversations() const { return m_open.size(); }
    // Ends the process's message loop when the window is closed.
    void QuitOnClose(bool quit) { m_quitOnClose = quit; }

private:
    static std::wstring AtomName(ATOM atom)
    {
        wchar_t name[256] = {};
        return atom != 0 && GlobalGetAtomNameW(atom, name, 256) != 0 ? std::wstring(name) : std::wstring();
    }

    void Record(eRecord kind, const std::wstring& text)
    {
        if (m_recorder)
            m_recorder(kind, text);
    }

    LRESULT OnInitiate(HWND client, LPARAM lParam)
    {
        const std::wstring service = AtomName(LOWORD(lParam));
        const std::wstring topic = AtomName(HIWORD(lParam));
        if (CompareStringOrdinal(service.c_str(), -1, m_service.c_str(), -1, TRUE) != CSTR_EQUAL ||
            CompareStringOrdinal(topic.c_str(), -1, L"system", -1, TRUE) != CSTR_EQUAL)
            return 0;
        Record(Event, m_open.count(client) != 0 ? L"initiate while open" : L"initiate");
        m_open.insert(client);
        // The answer carries atoms of its own; the client deletes them.
        SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(m_window),
                     MAKELPARAM(GlobalAddAtomW(m_service.c_str()), GlobalAddAtomW(L"system")));
        return 0;
    }

    LRESULT OnExecute(HWND client, LPARAM lParam)
    {
        UINT_PTR unused = 0;
        UINT_PTR handle = 0;
        if (!UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &handle)) {
            Record(Event, L"execute unreadable");
            return 0;
        }
        if (m_open.count(client) == 0)
            Record(Event, L"execute outside a conversation");
        HGLOBAL block = reinterpret_cast<HGLOBAL>(handle);
        m_lastBlock = block;
        const auto* text = static_cast<const wchar_t*>(GlobalLock(block));
        if (text != nullptr) {
            Record(Command, std::wstring(text, wcsnlen(text, GlobalSize(block) / sizeof(wchar_t))));
            GlobalUnlock(block);
        } else {
            Record(Event, L"execute block unreadable");
        }
        PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(m_window),
                     ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, 0x8000, handle));
        return 0;
    }

    LRESULT OnTerminate(HWND client)
    {
        if (m_open.erase(client) == 0) {
            Record(Event, L"terminate without a conversation");
            return 0;
        }
        Record(Event, L"terminate");
        PostMessageW(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_window), 0);
        return 0;
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* server = reinterpret_cast<cFakeDDEServer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (server != nullptr) {
            const HWND client = reinterpret_cast<HWND>(wParam);
            switch (message) {
            case WM_DDE_INITIATE:
                return server->OnInitiate(client, lParam);
            case WM_DDE_EXECUTE:
                return server->OnExecute(client, lParam);
            case WM_DDE_TERMINATE:
                return server->OnTerminate(client);
            case WM_NCDESTROY:
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                server->m_window = nullptr;
                if (server->m_quitOnClose)
                    PostQuitMessage(0);
                break;
            default:
                break;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::wstring m_service;
    Recorder m_recorder;
    HWND m_window = nullptr;
    HGLOBAL m_lastBlock = nullptr;
    std::set<HWND> m_open;
    bool m_quitOnClose = false;
};

} // namespace Testing
