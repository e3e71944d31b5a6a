#pragma once

// What the end-to-end tests need to act as a user of Quillsnapper.exe: start
// it, press keys and click with xdotool, wait for what appears (windows,
// files), and read back what another program would see (files, the
// clipboard through a helper process, the settings file).

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/painter/Picture.h"

namespace E2e {

// Turns a Unix path of the build into the Windows path Wine gives it (Z:).
std::wstring WindowsPath(const std::string& unixPath);
std::wstring ProgramPath();
std::wstring HelperPath();

// Polls condition every pollMs until it holds or timeoutMs have passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

// Starts a program (a Windows one, or a Unix one such as xdotool) and waits
// for it; answers its exit code, or -1 when it could not be started or did
// not end in time.
int RunAndWait(const std::wstring& application, const std::wstring& arguments, DWORD timeoutMs = 20000);
// xdotool with the arguments, e.g. L"key Print".
bool Xdotool(const std::wstring& arguments);
// xdotool's arguments that move the pointer to a point given in Windows
// screen coordinates. X coordinates start at the virtual screen's top left
// corner, which is negative when a monitor lies left of or above the
// primary one.
std::wstring MouseMoveTo(int x, int y);
// Every monitor's rectangle, in enumeration order.
std::vector<RECT> Monitors();

// How Wine's X11 driver shows the windows of the Windows programs started
// from here (the program, the helper, the stand-ins), set for each one as it
// starts. Unmanaged by default: hiding or closing a window then takes no
// 2 s wait for a window manager that never answers; but Wine moves the X
// focus with its activation, so once a capture has handed the foreground to
// another program, keys no longer reach the one that lost it. A test whose
// keys must reach a window that cannot become the foreground again holds a
// cManagedWindows while it starts its programs: keys then go to the window
// under the pointer.
class cManagedWindows
{
public:
    cManagedWindows();
    ~cManagedWindows();
    cManagedWindows(const cManagedWindows&) = delete;
    cManagedWindows& operator=(const cManagedWindows&) = delete;

    // Whether one is held: the programs started now get managed windows.
    static bool Held();
};

// One started copy of the program; killed if a test leaves it running.
class cProgram
{
public:
    cProgram() = default;
    cProgram(const cProgram&) = delete;
    cProgram& operator=(const cProgram&) = delete;
    ~cProgram();

    bool Start(const std::wstring& arguments = L"");
    // The program's visible tool window ("Vadrin Quillsnapper"), or null
    // when none appeared in time or the program ended first.
    HWND WaitForToolWindow(DWORD timeoutMs = 20000);
    HWND ToolWindow() const { return m_toolWindow; }
    // The exit code after the program ended, or STILL_ACTIVE on time-out.
    DWORD WaitForExit(DWORD timeoutMs) const;
    bool IsRunning() const;
    DWORD ProcessId() const { return m_info.dwProcessId; }
    // Closes the tool window as the system menu's Close does.
    bool Close() const;

    // The tool window's status line.
    std::wstring StatusText() const;
    bool IsControlVisible(int id) const;
    // Waits until the tool window is visible again after a capture.
    bool WaitIdle(DWORD timeoutMs = 20000) const;
    // A capture hides the tool window for at least the desktop's repaint
    // wait: waits for that and for the window to come back.
    bool WaitForCapture() const;
    // Puts the pointer over the tool window's status line and clicks it, so
    // that keys reach the tool window (unmanaged windows get them once in
    // front, managed ones while under the pointer); true once it is in front.
    bool PointAtStatusLine() const;
    // A visible dialog of the program other than the tool window (a save
    // dialog), or null when none appeared in time.
    HWND WaitForDialog(DWORD timeoutMs = 30000) const;

private:
    PROCESS_INFORMATION m_info{};
    HWND m_toolWindow = nullptr;
};

// The pattern helper: a window painted with E2e::PatternPixel, in front
// of everything but the top-most tool window.
class cPatternWindow
{
public:
    cPatternWindow() = default;
    cPatternWindow(const cPatternWindow&) = delete;
    cPatternWindow& operator=(const cPatternWindow&) = delete;
    ~cPatternWindow();

    // The whole virtual screen, or the given rectangle; waits until painted.
    bool Show(const RECT* rect = nullptr);
    HWND Handle() const { return m_window; }
    void Close();

private:
    PROCESS_INFORMATION m_info{};
    HWND m_window = nullptr;
};

// A scratch save folder and the program's settings file for one test; both
// are removed again at the end.
class cScratch
{
public:
    cScratch();
    ~cScratch();
    cScratch(const cScratch&) = delete;
    cScratch& operator=(const cScratch&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    // %APPDATA%\Vadrin\Quillsnapper\QuillsnapperConfig.asl
    static std::wstring SettingsFile();
    // Writes the settings file with these lines (e.g. L"ConfirmSaving = true")
    // in the Program block, SaveFilePath being the scratch folder.
    bool WriteSettings(const std::vector<std::wstring>& lines) const;
    // The settings file as text (UTF-16 with its byte-order mark dropped).
    static std::wstring ReadSettings();
    static void RemoveSettings();

    // File names in the folder that end in "." + extension.
    std::vector<std::wstring> Files(const std::wstring& extension) const;
    // Waits until there are at least count of them.
    bool WaitForFiles(const std::wstring& extension, std::size_t count, DWORD timeoutMs = 60000) const;

private:
    std::wstring m_folder;
};

// The clipboard as a second process of ours reads it.
struct sClipboard
{
    std::vector<std::uint8_t> dib;
    std::vector<std::uint8_t> dibV5;
};
bool ReadClipboard(sClipboard& clipboard);

// Loads a picture file with the program's own readers, as 32-bit pixels.
bool LoadPicture(const std::wstring& path, Painter::cPicture& picture);
bool ReadFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes);
// The number of pixels of picture (placed at screen point left, top) that
// differ from the screen pattern; the first one is described in where.
std::int64_t PatternMismatches(const Painter::cPicture& picture, int left, int top, std::string& where);
// The same for the pixel rows of a bottom-up DIB block (24 or 32 bits).
std::int64_t DibPatternMismatches(const std::vector<std::uint8_t>& dib, int left, int top, std::string& where);

std::string Narrow(const std::wstring& text);

} // namespace E2e
