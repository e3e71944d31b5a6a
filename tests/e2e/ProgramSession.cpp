#include "tests/e2e/ProgramSession.h"

#include "framework/document/BVPictureFileFactory.h"
#include "framework/picturefile/PictureFile.h"
#include "tests/e2e/ScreenPattern.h"

#include <shlobj.h>

#include <cstdio>
#include <memory>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace E2e {

std::vector<RECT> Monitors()
{
    std::vector<RECT> monitors;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (GetMonitorInfoW(monitor, &info))
                reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}


namespace {

const wchar_t kToolWindowCaption[] = L"Vadrin Quillsnapper";
const wchar_t kPatternCaption[] = L"Quillsnapper test pattern";

struct sFind
{
    DWORD process;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data)
{
    auto* find = reinterpret_cast<sFind*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t caption[128] = {};
    GetWindowTextW(window, caption, 128);
    if (owner == find->process && std::wstring(caption) == find->caption && IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WindowOf(DWORD process, const wchar_t* caption)
{
    sFind find{process, caption, nullptr};
    EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

int managedWindowsHeld = 0;

// Wine reads the X11 driver's options of a program when it starts, the
// program's own (AppDefaults\NAME.exe) before the session's.
void SetWindowManagement(const std::wstring& application)
{
    const std::wstring name = application.substr(application.find_last_of(L"\\/") + 1);
    const std::wstring keyPath = L"Software\\Wine\\AppDefaults\\" + name + L"\\X11 Driver";
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const wchar_t* managed = managedWindowsHeld > 0 ? L"Y" : L"N";
    RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(managed), 2 * sizeof(wchar_t));
    RegCloseKey(key);
}

bool StartProcess(const std::wstring& application, const std::wstring& arguments, PROCESS_INFORMATION& info)
{
    // A Unix program is started by its Unix path in the command line alone.
    const bool unixProgram = !application.empty() && application.front() == L'/';
    if (!unixProgram)
        SetWindowManagement(application);
    std::wstring commandLine =
        unixProgram ? application + L" " + arguments : L"\"" + application + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return CreateProcessW(unixProgram ? nullptr : application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info) != FALSE;
}

void EndProcess(PROCESS_INFORMATION& info)
{
    if (info.hProcess == nullptr)
        return;
    DWORD code = 0;
    if (GetExitCodeProcess(info.hProcess, &code) && code == STILL_ACTIVE) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 10000);
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    info = {};
}

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
}

bool WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr)
        return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

} // namespace

std::string Narrow(const std::wstring& text)
{
    std::string result;
    for (wchar_t c : text)
        result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

std::wstring WindowsPath(const std::string& unixPath)
{
    std::wstring path = !unixPath.empty() && unixPath.front() == '/' ? L"Z:" : L"";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

std::wstring ProgramPath()
{
    return WindowsPath(QS_QUILLSNAPPER_EXE);
}

std::wstring HelperPath()
{
    return WindowsPath(QS_E2E_HELPER_EXE);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(pollMs);
    }
}

int RunAndWait(const std::wstring& application, const std::wstring& arguments, DWORD timeoutMs)
{
    PROCESS_INFORMATION info{};
    if (!StartProcess(application, arguments, info))
        return -1;
    int result = -1;
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        result = static_cast<int>(code);
    }
    EndProcess(info);
    return result;
}

bool Xdotool(const std::wstring& arguments)
{
    // Wine starts a Unix program but cannot wait for it: a shell runs
    // xdotool and then writes its exit code to a file in /tmp, which this
    // process sees on drive Z:.
    static int counter = 0;
    const std::wstring name = L"qs-xdotool-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    const std::wstring done = L"Z:\\tmp\\" + name;
    DeleteFileW(done.c_str());
    const std::string tool = QS_XDOTOOL;
    PROCESS_INFORMATION info{};
    if (!StartProcess(L"/bin/sh", L"-c \"" + std::wstring(tool.begin(), tool.end()) + L" " + arguments +
                                      L"; echo $? > /tmp/" + name + L".part && mv /tmp/" + name + L".part /tmp/" +
                                      name + L"\"",
                      info))
        return false;
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    std::vector<std::uint8_t> code;
    const bool ended = WaitUntil([&] { return ReadFileBytes(done, code); }, 20000, 20);
    DeleteFileW(done.c_str());
    return ended && !code.empty() && code[0] == '0';
}

std::wstring MouseMoveTo(int x, int y)
{
    return L"mousemove " + std::to_wstring(x - GetSystemMetrics(SM_XVIRTUALSCREEN)) + L" " +
           std::to_wstring(y - GetSystemMetrics(SM_YVIRTUALSCREEN));
}

// ---- cManagedWindows ---------------------------------------------------

cManagedWindows::cManagedWindows()
{
    ++managedWindowsHeld;
}

cManagedWindows::~cManagedWindows()
{
    --managedWindowsHeld;
}

bool cManagedWindows::Held()
{
    return managedWindowsHeld > 0;
}

// ---- cProgram ----------------------------------------------------------

cProgram::~cProgram()
{
    EndProcess(m_info);
}

bool cProgram::Start(const std::wstring& arguments)
{
    return StartProcess(ProgramPath(), arguments, m_info);
}

HWND cProgram::WaitForToolWindow(DWORD timeoutMs)
{
    m_toolWindow = nullptr;
    WaitUntil(
        [&] {
            m_toolWindow = WindowOf(m_info.dwProcessId, kToolWindowCaption);
            return m_toolWindow != nullptr || !IsRunning();
        },
        timeoutMs);
    return m_toolWindow;
}

DWORD cProgram::WaitForExit(DWORD timeoutMs) const
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

bool cProgram::IsRunning() const
{
    return m_info.hProcess != nullptr && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool cProgram::Close() const
{
    return m_toolWindow != nullptr && PostMessageW(m_toolWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::wstring cProgram::StatusText() const
{
    wchar_t text[256] = {};
    GetDlgItemTextW(m_toolWindow, 160, text, 256);
    return text;
}

bool cProgram::IsControlVisible(int id) const
{
    HWND control = GetDlgItem(m_toolWindow, id);
    return control != nullptr && IsWindowVisible(control);
}

bool cProgram::WaitIdle(DWORD timeoutMs) const
{
    return WaitUntil([&] { return IsWindowVisible(m_toolWindow) != FALSE; }, timeoutMs);
}

bool cProgram::WaitForCapture() const
{
    return WaitUntil([&] { return !IsWindowVisible(m_toolWindow); }, 20000, 20) && WaitIdle();
}

bool cProgram::PointAtStatusLine() const
{
    RECT status{};
    if (!GetWindowRect(GetDlgItem(m_toolWindow, 160), &status))
        return false;
    if (!Xdotool(MouseMoveTo((status.left + status.right) / 2, (status.top + status.bottom) / 2) + L" click 1"))
        return false;
    // The click has reached the program once its window is in front.
    return WaitUntil([&] { return GetForegroundWindow() == m_toolWindow; }, 10000);
}

HWND cProgram::WaitForDialog(DWORD timeoutMs) const
{
    struct sSearch
    {
        DWORD process;
        HWND toolWindow;
        HWND found;
    } search{m_info.dwProcessId, m_toolWindow, nullptr};
    auto find = [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<sSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (owner == search->process && window != search->toolWindow && IsWindowVisible(window) &&
            std::wstring(className) == L"#32770") {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    };
    WaitUntil(
        [&] {
            EnumWindows(find, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

// ---- cPatternWindow ----------------------------------------------------

cPatternWindow::~cPatternWindow()
{
    Close();
}

bool cPatternWindow::Show(const RECT* rect)
{
    const std::wstring ready = TempFolder() + L"qs-pattern-ready-" + std::to_wstring(GetTickCount64());
    DeleteFileW(ready.c_str());
    std::wstring arguments = L"pattern \"" + ready + L"\"";
    if (rect != nullptr)
        arguments += L" " + std::to_wstring(rect->left) + L" " + std::to_wstring(rect->top) + L" " +
                     std::to_wstring(rect->right - rect->left) + L" " + std::to_wstring(rect->bottom - rect->top);
    if (!StartProcess(HelperPath(), arguments, m_info))
        return false;
    const bool painted = WaitUntil([&] { return GetFileAttributesW(ready.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                   20000);
    DeleteFileW(ready.c_str());
    m_window = WindowOf(m_info.dwProcessId, kPatternCaption);
    return painted && m_window != nullptr;
}

void cPatternWindow::Close()
{
    if (m_window != nullptr)
        PostMessageW(m_window, WM_CLOSE, 0, 0);
    if (m_info.hProcess != nullptr)
        WaitForSingleObject(m_info.hProcess, 10000);
    EndProcess(m_info);
    m_window = nullptr;
}

// ---- cScratch ----------------------------------------------------------

cScratch::cScratch()
{
    m_folder = TempFolder() + L"qs-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(GetTickCount64());
    CreateDirectoryW(m_folder.c_str(), nullptr);
    RemoveSettings();
}

cScratch::~cScratch()
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((m_folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((m_folder + L"\\" + entry.cFileName).c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(m_folder.c_str());
    RemoveSettings();
}

std::wstring cScratch::SettingsFile()
{
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::wstring(appData) + L"\\Vadrin\\Quillsnapper\\QuillsnapperConfig.asl";
}

void cScratch::RemoveSettings()
{
    DeleteFileW(SettingsFile().c_str());
    DeleteFileW((SettingsFile() + L".bak").c_str());
}

bool cScratch::WriteSettings(const std::vector<std::wstring>& lines) const
{
    std::wstring escaped;
    for (wchar_t c : m_folder) {
        escaped += c;
        if (c == L'\\')
            escaped += L'\\';
    }
    std::wstring text = L"Quillsnapper = {\r\n\tProgram = {\r\n\t\tSaveFilePath = \"" + escaped + L"\"";
    for (const std::wstring& line : lines)
        text += L",\r\n\t\t" + line;
    text += L"\r\n\t}\r\n};\r\n";
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const std::wstring file = SettingsFile();
    SHCreateDirectoryExW(nullptr, file.substr(0, file.rfind(L'\\')).c_str(), nullptr);
    return WriteBytes(file, bytes);
}

std::wstring cScratch::ReadSettings()
{
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(SettingsFile(), bytes) || bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        return L"";
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

std::vector<std::wstring> cScratch::Files(const std::wstring& extension) const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((m_folder + L"\\*." + extension).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        // Only names that really end in the extension (not temporary files).
        if (name.size() > extension.size() + 1 &&
            _wcsicmp(name.c_str() + name.size() - extension.size() - 1, (L"." + extension).c_str()) == 0)
            names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

bool cScratch::WaitForFiles(const std::wstring& extension, std::size_t count, DWORD timeoutMs) const
{
    return WaitUntil([&] { return Files(extension).size() >= count; }, timeoutMs);
}

// ---- Reading back ------------------------------------------------------

bool ReadClipboard(sClipboard& clipboard)
{
    const std::wstring out = TempFolder() + L"qs-clipboard-" + std::to_wstring(GetTickCount64());
    if (RunAndWait(HelperPath(), L"clipboard \"" + out + L"\"") != 0)
        return false;
    clipboard = {};
    ReadFileBytes(out + L".dib", clipboard.dib);
    ReadFileBytes(out + L".dibv5", clipboard.dibV5);
    DeleteFileW((out + L".dib").c_str());
    DeleteFileW((out + L".dibv5").c_str());
    return true;
}

bool ReadFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr)
        return false;
    bytes.clear();
    std::uint8_t buffer[65536];
    size_t count;
    while ((count = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + count);
    fclose(file);
    return true;
}

bool LoadPicture(const std::wstring& path, Painter::cPicture& picture)
{
    const Container::cWideString widePath(reinterpret_cast<const char16_t*>(path.c_str()));
    Brimvale::cBVPictureFileFactory factory;
    std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(widePath));
    Painter::cPicture loaded;
    if (!file || !file->Load(loaded, widePath))
        return false;
    return picture.CopyFrom(loaded);
}

std::int64_t PatternMismatches(const Painter::cPicture& picture, int left, int top, std::string& where)
{
    std::int64_t mismatches = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint32_t expected = 0xFF000000u | PatternPixel(left + x, top + y);
            const std::uint32_t actual = picture.Pixel(x, y);
            if (actual != expected && mismatches++ == 0) {
                char text[96];
                std::snprintf(text, sizeof(text), "(%d, %d): %08X instead of %08X", x, y, actual, expected);
                where = text;
            }
        }
    return mismatches;
}

std::int64_t DibPatternMismatches(const std::vector<std::uint8_t>& dib, int left, int top, std::string& where)
{
    auto read32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(dib[at] | (dib[at + 1] << 8) | (dib[at + 2] << 16) |
                                          (static_cast<std::uint32_t>(dib[at + 3]) << 24));
    };
    if (dib.size() < 40) {
        where = "no header";
        return -1;
    }
    const std::uint32_t header = read32(0);
    const int width = static_cast<int>(read32(4));
    const int height = static_cast<int>(read32(8));
    const int bits = dib[14] | (dib[15] << 8);
    const std::size_t rowSize = (static_cast<std::size_t>(width) * (bits / 8) + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || (bits != 24 && bits != 32) ||
        dib.size() < header + rowSize * static_cast<std::size_t>(height)) {
        where = "bad layout";
        return -1;
    }
    std::int64_t mismatches = 0;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* pixels = dib.data() + header + rowSize * static_cast<std::size_t>(row);
        const int y = height - 1 - row; // bottom-up
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = pixels + x * (bits / 8);
            std::uint32_t actual = static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
            std::uint32_t expected = PatternPixel(left + x, top + y);
            if (bits == 32) {
                actual |= static_cast<std::uint32_t>(p[3]) << 24;
                expected |= 0xFF000000u;
            }
            if (actual != expected && mismatches++ == 0) {
                char text[96];
                std::snprintf(text, sizeof(text), "(%d, %d): %08X instead of %08X", x, y, actual, expected);
                where = text;
            }
        }
    }
    return mismatches;
}

} // namespace E2e
