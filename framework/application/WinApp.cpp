#include "framework/application/WinApp.h"

#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace Application {

namespace {

cWinApp* g_currentApp = nullptr;

const wchar_t* Wide(const Container::cWideString& text)
{
    return reinterpret_cast<const wchar_t*>(text.Text());
}

} // namespace

cWinApp::cWinApp()
{
    g_currentApp = this;
}

cWinApp::~cWinApp()
{
    if (g_currentApp == this)
        g_currentApp = nullptr;
}

cWinApp* cWinApp::GetApp()
{
    return g_currentApp;
}

bool cWinApp::PreTranslateMessage(MSG*)
{
    return false;
}

int cWinApp::Run(const char16_t* commandLine, int showCommand)
{
    if (!InitInstance(commandLine, showCommand)) {
        ExitInstance();
        return -1;
    }
    const int exitCode = MessageLoop();
    ExitInstance();
    return exitCode;
}

bool cWinApp::InitInstance(const char16_t*, int)
{
    return false;
}

int cWinApp::ExitInstance()
{
    return 0;
}

void cWinApp::DispatchQueued(MSG& message)
{
    if (PreTranslateMessage(&message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int cWinApp::MessageLoop()
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            break;
        if (got == -1)
            continue;
        DispatchQueued(message);
    }
    return static_cast<int>(message.wParam);
}

bool cWinApp::PumpMessages(int& exitCode)
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            return false;
        }
        if (got == -1) {
            exitCode = -1;
            return false;
        }
        DispatchQueued(message);
    }
    return true;
}

bool cWinApp::SetModule(HINSTANCE instance)
{
    m_module.Attach(instance);
    // The path may exceed MAX_PATH where long paths are enabled: grow the
    // buffer until the whole path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(instance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return false;
        if (length < buffer.size())
            break;
        if (buffer.size() >= 32768)
            return false;
        buffer.resize(buffer.size() * 2);
    }
    const char16_t* path = reinterpret_cast<const char16_t*>(buffer.data());
    size_t folderLength = 0;
    for (size_t i = 0; i < length; ++i) {
        if (path[i] == u'\\' || path[i] == u'/')
            folderLength = i;
    }
    Container::cWideString filePath;
    Container::cWideString folder;
    if (!filePath.Assign(path, length) || !folder.Assign(path, folderLength))
        return false;
    m_modulePath = std::move(filePath);
    m_moduleFolder = std::move(folder);
    return true;
}

int cWinApp::AppMessageBox(HWND owner, const Container::cWideString& text) const
{
    return MessageBoxW(owner, Wide(text), Wide(m_appName), MB_OK);
}

bool cWinApp::GetProductVersionText(Container::cWideString& text) const
{
    return m_module.GetProductVersionText(text);
}

} // namespace Application
