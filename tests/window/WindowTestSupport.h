#pragma once
// Shared pieces of the toolkit tests: the toolkit started once, a top-level
// host window, and a window class that records the operations it receives.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/window/Toolkit.h"
#include "framework/window/Window.h"

namespace WindowTests {

inline void EnsureToolkit()
{
    static const bool started = Window::cToolkit::Initialize(GetModuleHandleW(nullptr));
    (void)started;
}

// One decoded call: the operation's name and its arguments.
struct sCall
{
    std::string name;
    long long a = 0, b = 0, c = 0;
    friend bool operator==(const sCall&, const sCall&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const sCall& call)
{
    return out << call.name << "(" << call.a << ", " << call.b << ", " << call.c << ")";
}

// Records the decoded arguments of the operations the tests send, then
// lets the base pass them on.
class cRecorder : public Window::cWindow
{
public:
    std::vector<sCall> calls;
    bool commandResult = false;
    bool notifyResult = false;
    int defaultNotify = 0;
    void* ncCreateParam = nullptr;
    void* createParam = nullptr;
    DWORD attachStyle = 0xFFFFFFFF;
    int attachCount = 0;
    bool* destroyed = nullptr;

    ~cRecorder() override
    {
        if (destroyed)
            *destroyed = true;
    }

    void Record(const char* name, long long a = 0, long long b = 0, long long c = 0)
    {
        calls.push_back({name, a, b, c});
    }
    bool Has(const sCall& call) const
    {
        for (const sCall& c : calls)
            if (c == call)
                return true;
        return false;
    }
    int Count(const std::string& name) const
    {
        int n = 0;
        for (const sCall& c : calls)
            n += c.name == name;
        return n;
    }

    bool OnNcCreate(CREATESTRUCTW* create) override
    {
        ncCreateParam = create->lpCreateParams;
        return cWindow::OnNcCreate(create);
    }
    std::int32_t OnCreate(CREATESTRUCTW* create) override
    {
        createParam = create->lpCreateParams;
        return cWindow::OnCreate(create);
    }
    void OnAttach(DWORD style) override
    {
        attachStyle = style;
        ++attachCount;
        cWindow::OnAttach(style);
    }
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override
    {
        Record("OnMouseMove", keys, x, y);
        cWindow::OnMouseMove(keys, x, y);
    }
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override
    {
        Record("OnLButtonDown", keys, x, y);
        cWindow::OnLButtonDown(keys, x, y);
    }
    void OnRButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override
    {
        Record("OnRButtonUp", keys, x, y);
        cWindow::OnRButtonUp(keys, x, y);
    }
    void OnNcLButtonDown(std::int32_t hit, std::int32_t x, std::int32_t y) override
    {
        Record("OnNcLButtonDown", hit, x, y);
        cWindow::OnNcLButtonDown(hit, x, y);
    }
    void OnContextMenu(cWindow* window, std::int32_t x, std::int32_t y) override
    {
        Record("OnContextMenu", window == this, x, y);
    }
    bool OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y) override
    {
        Record("OnMouseWheel", keys, delta, x * 100000 + y);
        return true;
    }
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override
    {
        Record("OnKeyDown", key, repeat, flags);
        cWindow::OnKeyDown(key, repeat, flags);
    }
    void OnChar(UINT character, std::int32_t repeat, std::int32_t flags) override
    {
        Record("OnChar", character, repeat, flags);
        cWindow::OnChar(character, repeat, flags);
    }
    void OnMove(std::int32_t x, std::int32_t y) override
    {
        Record("OnMove", x, y);
        cWindow::OnMove(x, y);
    }
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override
    {
        Record("OnSize", type, cx, cy);
        cWindow::OnSize(type, cx, cy);
    }
    void OnActivate(std::int32_t state, cWindow* other, bool minimized) override
    {
        Record("OnActivate", state, other != nullptr, minimized);
    }
    void OnHScroll(std::int32_t code, std::int32_t position, cWindow* bar) override
    {
        Record("OnHScroll", code, position, reinterpret_cast<long long>(bar));
    }
    bool OnTimer(UINT_PTR id, LPARAM) override
    {
        Record("OnTimer", static_cast<long long>(id));
        return id == 7;
    }
    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override
    {
        Record("OnCommand", id, code, reinterpret_cast<long long>(control));
        return commandResult;
    }
    bool OnNotify(NMHDR* header, LRESULT* result) override
    {
        Record("OnNotify", header->idFrom, header->code);
        if (notifyResult)
            *result = 42;
        return notifyResult;
    }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
            ++defaultNotify;
        return cWindow::DefaultProc(message, wParam, lParam);
    }
    void Redraw(bool withChildren) override
    {
        Record("Redraw", withChildren);
        cWindow::Redraw(withChildren);
    }
};

// A visible top-level window without caption or border (popup), for
// children and pixel tests.
class cHost : public cRecorder
{
public:
    bool Open(int width = 300, int height = 200, int x = 40, int y = 40)
    {
        return Create(WS_EX_TOOLWINDOW, u"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, x + width, y + height,
                      nullptr, 0);
    }
};

// Handles what is waiting in the queue.
inline void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace WindowTests
