// How fast Quillsnapper.exe comes up, how much memory it holds when idle,
// and how long Print Screen takes to a PNG on disk, each next to a
// reference measured in the same run:
//   start and memory: a bare Win32 program that shows one window (this
//   executable started with "bare");
//   Print Screen: grabbing the screen and writing the PNG in a new process
//   of this executable, as cold as the program's first capture (the floor
//   the program cannot beat), and again in this process once warm; the
//   program's 550 ms wait for the desktop to repaint is taken off its figure.
//
//   bench_ProgramStartup QUILLSNAPPER.exe [RUNS]
// Run it through tools/bench-program.sh (Wine with unmanaged windows, so
// that Wine's wait for a window manager does not count).
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/gdi/GrabScreen.h"
#include "framework/document/BVPictureFileFactory.h"
#include "framework/picturefile/PictureFile.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t kBareCaption[] = L"Bare reference window";
const DWORD kHideWaitMs = 550;

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct sFind
{
    DWORD process;
    const wchar_t* caption;
    HWND found;
};

// EnumWindows wants a CALLBACK (stdcall on i686): a plain function, not a lambda.
BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data)
{
    auto* find = reinterpret_cast<sFind*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t caption[128] = {};
    GetWindowTextW(window, caption, 128);
    if (owner == find->process && IsWindowVisible(window) && std::wstring(caption) == find->caption) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindowOf(DWORD process, const wchar_t* caption)
{
    sFind find{process, caption, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

struct sRun
{
    double startMs = -1;
    double idleMegabytes = -1;
    double hotKeyMs = -1;
};

// Starts commandLine, waits for its visible window, lets it settle and reads
// its working set; with saveFolder, presses Print Screen and waits for the PNG.
sRun Measure(const std::wstring& application, const std::wstring& arguments, const wchar_t* caption,
             const std::wstring& saveFolder)
{
    sRun run;
    std::wstring commandLine = L"\"" + application + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const double start = Now();
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return run;
    HWND window = nullptr;
    while (window == nullptr && Now() - start < 20000 && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        window = VisibleWindowOf(info.dwProcessId, caption);
        if (window == nullptr)
            Sleep(1);
    }
    if (window != nullptr)
        run.startMs = Now() - start;
    Sleep(1500);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(info.hProcess, &memory, sizeof(memory)))
        run.idleMegabytes = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);

    if (window != nullptr && !saveFolder.empty()) {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_SNAPSHOT;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        const double pressed = Now();
        SendInput(2, keys, sizeof(INPUT));
        const std::wstring pattern = saveFolder + L"\\*.png";
        while (Now() - pressed < 20000) {
            WIN32_FIND_DATAW entry;
            HANDLE found = FindFirstFileW(pattern.c_str(), &entry);
            if (found != INVALID_HANDLE_VALUE) {
                FindClose(found);
                run.hotKeyMs = Now() - pressed - kHideWaitMs;
                break;
            }
            Sleep(1);
        }
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return run;
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int RunBareWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"QsBareReference";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, kBareCaption, WS_OVERLAPPEDWINDOW, 100, 100, 380,
                                  150, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNA);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

struct sReference
{
    double grabMs = -1;
    double saveMs = -1;
};

// Grab the primary monitor and write it as PNG, in this process; the two
// parts are timed apart.
sReference GrabAndSave(const std::wstring& folder, int index)
{
    sReference reference;
    const Container::sRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const std::wstring path = folder + L"\\reference" + std::to_wstring(index) + L".png";
    const Container::cWideString widePath(reinterpret_cast<const char16_t*>(path.c_str()));
    const double start = Now();
    Painter::cPicture picture;
    if (!GDI::GrabScreen(screen, picture))
        return reference;
    const double grabbed = Now();
    Brimvale::cBVPictureFileFactory factory;
    std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(widePath));
    if (!file || !file->Save(picture, widePath))
        return reference;
    reference.grabMs = grabbed - start;
    reference.saveMs = Now() - grabbed;
    DeleteFileW(path.c_str());
    return reference;
}

// The same in a process of its own, as cold as the program's first capture:
// nothing of the grab or the save has run in it before.
sReference GrabAndSaveInNewProcess(const std::wstring& self, const std::wstring& folder, int index)
{
    sReference reference;
    const std::wstring result = folder + L"\\reference-result.txt";
    DeleteFileW(result.c_str());
    std::wstring commandLine = L"\"" + self + L"\" reference \"" + folder + L"\" " + std::to_wstring(index);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return reference;
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    if (FILE* file = _wfopen(result.c_str(), L"r")) {
        if (std::fscanf(file, "%lf %lf", &reference.grabMs, &reference.saveMs) != 2)
            reference = sReference();
        std::fclose(file);
    }
    DeleteFileW(result.c_str());
    return reference;
}

int RunReference(const std::wstring& folder, int index)
{
    const sReference reference = GrabAndSave(folder, index);
    if (reference.grabMs < 0)
        return 1;
    FILE* file = _wfopen((folder + L"\\reference-result.txt").c_str(), L"w");
    if (file == nullptr)
        return 1;
    std::fprintf(file, "%.3f %.3f\n", reference.grabMs, reference.saveMs);
    return std::fclose(file) == 0 ? 0 : 1;
}

void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

// The program's settings file, pointing its saves at folder.
bool WriteSettings(const std::wstring& folder)
{
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    const std::wstring settingsFolder = std::wstring(appData) + L"\\Vadrin\\Quillsnapper";
    SHCreateDirectoryExW(nullptr, settingsFolder.c_str(), nullptr);
    std::wstring escaped;
    for (wchar_t c : folder) {
        escaped += c;
        if (c == L'\\')
            escaped += L'\\';
    }
    const std::wstring text = L"\xFEFFQuillsnapper = {\r\n\tProgram = {\r\n\t\tSaveFilePath = \"" + escaped +
                              L"\"\r\n\t}\r\n};\r\n";
    FILE* file = _wfopen((settingsFolder + L"\\QuillsnapperConfig.asl").c_str(), L"wb");
    if (file == nullptr)
        return false;
    fwrite(text.data(), sizeof(wchar_t), text.size(), file);
    return fclose(file) == 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 2 && std::wstring(argv[1]) == L"bare")
        return RunBareWindow();
    if (argc >= 4 && std::wstring(argv[1]) == L"reference")
        return RunReference(argv[2], _wtoi(argv[3]));
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_ProgramStartup QUILLSNAPPER.exe [RUNS]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const int runs = argc >= 3 ? std::max(1, _wtoi(argv[2])) : 5;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"qs-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    if (!WriteSettings(folder)) {
        std::fprintf(stderr, "cannot write the settings file\n");
        return 1;
    }

    std::vector<double> bareStart, bareMemory, start, memory, hotKey, reference, referenceGrab, referenceSave, warm;
    for (int i = 0; i < runs; ++i) {
        const sRun bare = Measure(self, L"bare", kBareCaption, L"");
        EmptyFolder(folder);
        const sRun run = Measure(program, L"", L"Vadrin Quillsnapper", folder);
        if (bare.startMs >= 0)
            bareStart.push_back(bare.startMs);
        if (bare.idleMegabytes >= 0)
            bareMemory.push_back(bare.idleMegabytes);
        if (run.startMs >= 0)
            start.push_back(run.startMs);
        if (run.idleMegabytes >= 0)
            memory.push_back(run.idleMegabytes);
        if (run.hotKeyMs >= 0)
            hotKey.push_back(run.hotKeyMs);
        const sReference measured = GrabAndSaveInNewProcess(self, folder, i);
        if (measured.grabMs >= 0) {
            reference.push_back(measured.grabMs + measured.saveMs);
            referenceGrab.push_back(measured.grabMs);
            referenceSave.push_back(measured.saveMs);
        }
        const sReference again = GrabAndSave(folder, i);
        if (again.grabMs >= 0)
            warm.push_back(again.grabMs + again.saveMs);
    }
    EmptyFolder(folder);
    RemoveDirectoryW(folder.c_str());

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::printf("medians of %d runs, screen %d x %d\n", runs, width, height);
    std::printf("%-44s %10s %10s\n", "", "program", "reference");
    std::printf("%-44s %10.1f %10.1f   (goal <= 300 ms; reference: bare window)\n", "start to visible window (ms)",
                Median(start), Median(bareStart));
    std::printf("%-44s %10.1f %10.1f   (goal <= 20 MB; reference: bare window)\n", "idle working set (MB)",
                Median(memory), Median(bareMemory));
    std::printf("%-44s %10.1f %10.1f   (goal <= 100 ms; reference: grab + PNG in a new process)\n",
                "Print Screen to PNG, less the 550 ms (ms)", Median(hotKey), Median(reference));
    std::printf("%-44s %10s %10.1f   (the reference's screen grab)\n", "  of which grabbing the screen (ms)", "",
                Median(referenceGrab));
    std::printf("%-44s %10s %10.1f   (the reference's PNG save)\n", "  of which writing the PNG (ms)", "",
                Median(referenceSave));
    std::printf("%-44s %10s %10.1f   (grab + PNG again and again in one process)\n", "  the same, warm (ms)", "",
                Median(warm));
    std::printf("samples: start %zu, memory %zu, hot key %zu\n", start.size(), memory.size(), hotKey.size());
    return start.empty() || hotKey.empty() ? 1 : 0;
}
