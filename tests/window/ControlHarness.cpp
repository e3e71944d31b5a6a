#include "tests/window/ControlHarness.h"

#include <cstdlib>

#include "framework/window/Toolkit.h"
#include "framework/window/skin/Skin.h"

namespace WindowTest {

namespace {

std::function<bool(MSG*)> g_filter;

void Dispatch(MSG& msg)
{
    if (g_filter && g_filter(&msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void SendOne(INPUT input)
{
    SendInput(1, &input, sizeof(INPUT));
    Settle();
}

} // namespace

void InitializeToolkit()
{
    static const bool done = Window::cToolkit::Initialize();
    (void)done;
}

cRecordingParent::cRecordingParent(int width, int height, int left, int top)
{
    InitializeToolkit();
    Create(0, u"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, left, top, left + width, top + height, nullptr, 0);
    Activate(Handle(), Handle());
}

cRecordingParent::~cRecordingParent()
{
    if (Handle())
        Destroy();
    Settle();
}

cRecordingParent& SharedParent()
{
    static cRecordingParent* parent = new cRecordingParent();  // lives as long as the process
    parent->notices.clear();
    Activate(parent->Handle(), parent->Handle());
    return *parent;
}

int cRecordingParent::Commands(int id, int code) const
{
    int count = 0;
    for (const sNotice& notice : notices)
        if (notice.message == WM_COMMAND && notice.id == id && notice.code == code)
            ++count;
    return count;
}

int cRecordingParent::CommandsFrom(int id) const
{
    int count = 0;
    for (const sNotice& notice : notices)
        if (notice.message == WM_COMMAND && notice.id == id)
            ++count;
    return count;
}

int cRecordingParent::Scrolls(UINT message, int code) const
{
    int count = 0;
    for (const sNotice& notice : notices)
        if (notice.message == message && notice.code == code)
            ++count;
    return count;
}

bool cRecordingParent::OnCommand(std::int32_t id, std::int32_t code, HWND control)
{
    notices.push_back({WM_COMMAND, id, code, 0, control});
    return true;
}

bool cRecordingParent::OnNotify(NMHDR* header, LRESULT* result)
{
    notices.push_back({WM_NOTIFY, static_cast<std::int32_t>(header->idFrom), static_cast<std::int32_t>(header->code),
                       0, header->hwndFrom});
    return false;
}

void cRecordingParent::OnHScroll(std::int32_t code, std::int32_t position, Window::cWindow* bar)
{
    notices.push_back({WM_HSCROLL, 0, code, position, bar ? bar->Handle() : nullptr});
}

void cRecordingParent::OnVScroll(std::int32_t code, std::int32_t position, Window::cWindow* bar)
{
    notices.push_back({WM_VSCROLL, 0, code, position, bar ? bar->Handle() : nullptr});
}

void SetPreTranslate(std::function<bool(MSG*)> filter)
{
    g_filter = std::move(filter);
}

void Settle()
{
    // Input that SendInput queued, and the messages it causes, arrive
    // within a few milliseconds; stop once the queue has stayed empty for
    // three consecutive short waits.
    int quiet = 0;
    const DWORD end = GetTickCount() + 2000;
    while (quiet < 3 && static_cast<LONG>(end - GetTickCount()) > 0)
    {
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            any = true;
            Dispatch(msg);
        }
        quiet = any ? 0 : quiet + 1;
        if (!any)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD end = GetTickCount() + timeoutMs;
    for (;;)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            Dispatch(msg);
        if (condition())
            return true;
        if (static_cast<LONG>(end - GetTickCount()) <= 0)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void MouseMove(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (point.x * 65536 + 65535) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (point.y * 65536 + 65535) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendOne(input);
}

void LeftDown()
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendOne(input);
}

void LeftUp()
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendOne(input);
}

void LeftClick(HWND window, int x, int y)
{
    MouseMove(window, x, y);
    LeftDown();
    LeftUp();
}

void Wheel(int delta)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(delta);
    SendOne(input);
}

void KeyDown(WORD key)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    SendOne(input);
}

void KeyUp(WORD key)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    SendOne(input);
}

void KeyPress(WORD key)
{
    KeyDown(key);
    KeyUp(key);
}

void KeyPressWith(WORD modifier, WORD key)
{
    KeyDown(modifier);
    KeyPress(key);
    KeyUp(modifier);
}

void Type(const wchar_t* text)
{
    for (; *text; ++text)
    {
        const SHORT scan = VkKeyScanW(*text);
        const WORD key = static_cast<WORD>(scan & 0xFF);
        if ((scan >> 8) & 1)
            KeyPressWith(VK_SHIFT, key);
        else
            KeyPress(key);
    }
}

void Activate(HWND window, HWND focus)
{
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetFocus(focus);
    Settle();
}

namespace {

std::uint32_t ToRgb(COLORREF colour)
{
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

} // namespace

std::uint32_t PixelAt(HWND window, int x, int y)
{
    UpdateWindow(window);
    Settle();
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return ToRgb(colour);
}

std::uint32_t WindowPixelAt(HWND window, int x, int y)
{
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    HDC dc = GetWindowDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return ToRgb(colour);
}

std::uint32_t Palette(int entry)
{
    return Window::cToolkit::CurrentSkin()->Colour(entry) & 0xFFFFFFu;
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

int CountColour(HWND window, const RECT& area, std::uint32_t rgb)
{
    UpdateWindow(window);
    Settle();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return 0;
    // One copy of the area, then the pixels from memory.
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
    GdiFlush();
    int count = 0;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        if ((pixels[i] & 0xFFFFFFu) == rgb)
            ++count;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return count;
}

} // namespace WindowTest
