#include "app/QuillsnapperApp.h"

#include "app/settings/win32/WindowsSettingsEnvironment.h"
#include "resources/resource.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t MainWindowClass[] = L"QuillsnapperMain";

} // namespace

bool cQuillsnapperApp::InitInstance(const char16_t*, int showCommand)
{
    // The command line is accepted and not interpreted.
    SetCompanyName(u"Vadrin");
    SetAppName(u"Quillsnapper");

    cWindowsSettingsEnvironment environment;
    if (cSettingsRecord::SettingsFile(environment, ModuleFolder(), m_settingsFile))
        m_settings.LoadSettings(m_settingsFile, environment);
    else
        m_settingsFile.Assign(nullptr);

    HINSTANCE instance = Instance();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &cQuillsnapperApp::MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLSNAPPER));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLSNAPPER), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = MainWindowClass;
    if (RegisterClassExW(&windowClass) == 0)
        return false;

    m_mainWindow = CreateWindowExW(0, MainWindowClass, L"Quillsnapper", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    if (m_mainWindow == nullptr)
        return false;
    ShowWindow(m_mainWindow, showCommand);
    UpdateWindow(m_mainWindow);
    return true;
}

int cQuillsnapperApp::ExitInstance()
{
    // A failed save leaves the previous settings file as it was.
    if (!m_settingsFile.IsEmpty())
        m_settings.SaveSettings(m_settingsFile);

    if (m_mainWindow != nullptr) {
        DestroyWindow(m_mainWindow);
        m_mainWindow = nullptr;
    }
    UnregisterClassW(MainWindowClass, Instance());
    return 0;
}

LRESULT CALLBACK cQuillsnapperApp::MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        // The window lives until ExitInstance; closing it ends the loop.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
