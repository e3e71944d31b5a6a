#pragma once

#include <windows.h>

#include "framework/settings/AppLanguage.h"
#include "framework/window/Toolkit.h"
#include "tests/support/TempFolder.h"

#include <chrono>
#include <functional>
#include <string>

namespace Testing {

// The toolkit set up once, and a language table loaded from the built-in
// languages of this test executable (its resources carry them as the
// program's do). The current language is reset when the object dies.
class cDialogLanguage
{
public:
    cDialogLanguage()
    {
        if (!Window::cToolkit::IsInitialized())
            Window::cToolkit::Initialize();
        m_language.RegisterIdNames();
        m_sources.programFolder = Container::cWideString(m_folder.Path().u16string());
    }
    ~cDialogLanguage() { cLanguage::SetCurrent(nullptr); }

    // English, or the Korean built-in language.
    void Select(const char16_t* name)
    {
        Container::cWideString setting;
        m_language.SelectLanguage(Container::cWideString(name), m_sources, setting);
    }
    cAppLanguage& Language() { return m_language; }
    const cAppLanguage::sSources& Sources() const { return m_sources; }

private:
    cTempFolder m_folder;
    cAppLanguage::sSources m_sources;
    cAppLanguage m_language;
};

inline std::u16string WindowText(HWND window)
{
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return reinterpret_cast<const char16_t*>(buffer);
}

// Handles messages until condition holds or timeout runs out; answers the
// condition.
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(5000))
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Runs action once from inside the modal loop that the next call starts
// (a thread timer fires in any message loop of this thread).
class cModalAction
{
public:
    explicit cModalAction(std::function<void()> action, UINT delay = 30)
    {
        Pending() = std::move(action);
        m_timer = SetTimer(nullptr, 0, delay, Fire);
    }
    ~cModalAction()
    {
        KillTimer(nullptr, m_timer);
        Pending() = nullptr;
    }

private:
    static std::function<void()>& Pending()
    {
        static std::function<void()> action;
        return action;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        if (auto action = std::move(Pending()))
        {
            Pending() = nullptr;
            action();
        }
    }
    UINT_PTR m_timer = 0;
};

} // namespace Testing
