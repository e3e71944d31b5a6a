#include "app/QuillsnapperApp.h"

#include "app/settings/win32/WindowsSettingsEnvironment.h"
#include "framework/core/PathHelpers.h"
#include "platform/Platform.h"
#include "framework/window/Dialog.h"
#include "framework/window/Toolkit.h"
#include "resources/ToolWindowResource.h"

#include <commctrl.h>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

cQuillsnapperApp* g_quillsnapperApp = nullptr;

const wchar_t kInstanceMutex[] = L"Local\\Vadrin.Quillsnapper.SingleInstance";
const wchar_t kToolWindowCaption[] = L"Vadrin Quillsnapper";
const wchar_t kDialogClass[] = L"#32770";

} // namespace

cQuillsnapperApp::cQuillsnapperApp() : m_language(std::make_unique<cAppLanguage>())
{
    g_quillsnapperApp = this;
}

cQuillsnapperApp::~cQuillsnapperApp()
{
    // Pictures handed over are written while everything still exists.
    m_toolWindow.StopWorkers();
    if (m_instanceMutex != nullptr)
        CloseHandle(m_instanceMutex);
    if (cLanguage::Current() == m_language.get())
        cLanguage::SetCurrent(nullptr);
    if (g_quillsnapperApp == this)
        g_quillsnapperApp = nullptr;
}

cQuillsnapperApp* cQuillsnapperApp::Get()
{
    return g_quillsnapperApp;
}

Container::cWideString cQuillsnapperApp::DefaultLanguageName(std::uint16_t userLanguage)
{
    // The primary language is the low 10 bits; 0x12 is Korean.
    return (userLanguage & 0x3FF) == 0x12 ? Container::cWideString(u"한국어") : Container::cWideString(u"English");
}

bool cQuillsnapperApp::ClaimSingleInstance()
{
    m_instanceMutex = CreateMutexW(nullptr, TRUE, kInstanceMutex);
    if (m_instanceMutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS)
        return true;
    if (m_instanceMutex != nullptr) {
        CloseHandle(m_instanceMutex);
        m_instanceMutex = nullptr;
    }
    // Another copy runs: bring its tool window to the front.
    if (HWND running = FindWindowW(kDialogClass, kToolWindowCaption)) {
        SetWindowPos(running, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(running);
    }
    return false;
}

int cQuillsnapperApp::Run(const char16_t* commandLine, int showCommand)
{
    if (!ClaimSingleInstance())
        return 0;
    return cWinApp::Run(commandLine, showCommand);
}

bool cQuillsnapperApp::InitInstance(const char16_t*, int)
{
    // The command line is accepted and not interpreted.
    SetCompanyName(u"Vadrin");
    SetAppName(u"Quillsnapper");

    cWindowsSettingsEnvironment environment;
    if (cSettingsRecord::SettingsFile(environment, ModuleFolder(), m_settingsFile)) {
        const bool read = m_settings.LoadSettings(m_settingsFile, environment);
        // A file that is there but cannot be read is kept beside the one
        // written at exit, so the user's settings are never simply lost.
        if (!read && Storage::PathExists(m_settingsFile)) {
            const Container::cWideString backup = m_settingsFile + u".bak";
            CopyFileW(reinterpret_cast<const wchar_t*>(m_settingsFile.Text()),
                      reinterpret_cast<const wchar_t*>(backup.Text()), FALSE);
        }
    } else {
        m_settingsFile.Clear();
    }

    // Common controls, the toolkit's classes and its skin.
    Window::cToolkit::SetInstance(Instance());
    if (!Window::cToolkit::Initialize(Instance()))
        return false;

    // An empty setting takes the name chosen here and is saved at exit.
    m_language->RegisterIdNames();
    SelectLanguage();

    Window::cDialog::EnableFooterLinks(true);

    if (!m_toolWindow.Create(Instance(), m_settings, m_frame))
        return false;
    m_toolWindow.SetEndSessionHandler([this] { OnEndSession(); });
    m_toolWindow.SetLanguageHandler([this] { SelectLanguage(); });

    HWND toolWindow = m_toolWindow.Handle();
    // Registered before the window shows, so that no Print Screen pressed
    // once it is visible is lost.
    // Print Screen reaches the tool window whatever program is in front.
    RAWINPUTDEVICE keyboard{};
    keyboard.usUsagePage = 1;
    keyboard.usUsage = 6;
    keyboard.dwFlags = RIDEV_INPUTSINK;
    keyboard.hwndTarget = toolWindow;
    RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
    SetWindowPos(toolWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!IsWindowVisible(toolWindow))
        ShowWindow(toolWindow, SW_SHOWNA);

    // The capture frame is made once the tool window shows, so the user
    // sees the program sooner; nothing can use it before the message loop
    // runs.
    if (!m_frame.Create(Instance()))
        return false;
    m_frame.SetToolWindow(&m_toolWindow);
    SetWindowPos(m_frame.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The tool window stays above the frame, as when the frame came first.
    SetWindowPos(toolWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    return true;
}

void cQuillsnapperApp::SaveSettings()
{
    if (!m_settingsFile.IsEmpty())
        m_settings.SaveSettings(m_settingsFile);
}

void cQuillsnapperApp::SelectLanguage()
{
    cAppLanguage::sSources sources;
    sources.programFolder = ModuleFolder();
    sources.resourceModule = Instance();
    const Container::cWideString wanted = m_settings.DefaultLanguage.IsEmpty()
                                              ? DefaultLanguageName(Platform::UserDefaultLanguage())
                                              : m_settings.DefaultLanguage;
    m_language->SelectLanguage(wanted, sources, m_settings.DefaultLanguage);
}

void cQuillsnapperApp::OnEndSession()
{
    m_toolWindow.StopWorkers();
    SaveSettings();
}

int cQuillsnapperApp::ExitInstance()
{
    m_toolWindow.StopWorkers();
    // The last capture stays on the clipboard after the program.
    m_toolWindow.ReleaseClipboard();
    SaveSettings();
    m_toolWindow.Destroy();
    m_frame.Destroy();
    return 0;
}

bool cQuillsnapperApp::PreTranslateMessage(MSG* message)
{
    const bool toolWindowVisible = m_toolWindow.IsVisible();
    if (message->message == WM_KEYDOWN && !toolWindowVisible && m_toolWindow.Handle() != nullptr) {
        // A capture mode that hides the tool window is on: Escape ends it,
        // Enter captures the picked window (and ends drag-select).
        if (message->wParam == VK_ESCAPE || message->wParam == VK_RETURN) {
            m_toolWindow.OnCaptureModeKey(message->wParam == VK_RETURN);
            return true;
        }
    }
    if (toolWindowVisible && m_toolWindow.PreTranslateMessage(message))
        return true;
    if (m_frame.IsVisible() && m_frame.PreTranslateMessage(message))
        return true;
    return false;
}
