// A helper program of the end-to-end tests, run as a process of its own:
//
//   qs_e2e_helper clipboard OUT    writes the clipboard's CF_DIB block to
//                                  OUT.dib and its CF_DIBV5 block to
//                                  OUT.dibv5 (a missing format writes no
//                                  file); exit code 0 when the clipboard
//                                  could be opened
//   qs_e2e_helper pattern READY [LEFT TOP WIDTH HEIGHT]
//                                  shows a window painted with the screen
//                                  pattern (the whole virtual screen by
//                                  default), takes the foreground, writes
//                                  READY once painted and runs until closed
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/ScreenPattern.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

bool WriteFile(const std::wstring& path, const void* bytes, size_t size)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr)
        return false;
    const bool written = fwrite(bytes, 1, size, file) == size;
    return fclose(file) == 0 && written;
}

int DumpClipboard(const std::wstring& out)
{
    bool opened = false;
    for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
        opened = OpenClipboard(nullptr) != FALSE;
        if (!opened)
            Sleep(20);
    }
    if (!opened)
        return 2;
    const struct
    {
        UINT format;
        const wchar_t* suffix;
    } formats[] = {{CF_DIB, L".dib"}, {CF_DIBV5, L".dibv5"}};
    for (const auto& entry : formats) {
        HANDLE data = GetClipboardData(entry.format);
        if (data == nullptr)
            continue;
        const void* bytes = GlobalLock(data);
        if (bytes != nullptr) {
            WriteFile(out + entry.suffix, bytes, GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return 0;
}

struct sPatternState
{
    std::wstring ready;
    bool signalled = false;
};

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<sPatternState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        const int width = client.right, height = client.bottom;
        std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[static_cast<size_t>(y) * width + x] = E2e::PatternPixel(origin.x + x, origin.y + y);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        EndPaint(window, &paint);
        if (state != nullptr && !state->signalled) {
            state->signalled = true;
            WriteFile(state->ready, "ready", 5);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int ShowPattern(const std::wstring& ready, int left, int top, int width, int height)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &PatternProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = L"QsE2ePattern";
    if (RegisterClassW(&windowClass) == 0)
        return 2;
    sPatternState state{ready};
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Quillsnapper test pattern", WS_POPUP, left, top,
                                  width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr)
        return 3;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && std::wstring(argv[1]) == L"clipboard")
        return DumpClipboard(argv[2]);
    if (argc >= 3 && std::wstring(argv[1]) == L"pattern") {
        int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        if (argc >= 7) {
            left = _wtoi(argv[3]);
            top = _wtoi(argv[4]);
            width = _wtoi(argv[5]);
            height = _wtoi(argv[6]);
        }
        return ShowPattern(argv[2], left, top, width, height);
    }
    return 1;
}
