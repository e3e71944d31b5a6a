#pragma once
// What the control tests share: a toolkit parent that records what its
// children tell it, real input through SendInput, waits on conditions, and
// pixels read back from a window's DC.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/window/Window.h"

namespace WindowTest {

// The toolkit, once per test program.
void InitializeToolkit();

// One message a child sent to the parent.
struct sNotice
{
    UINT message = 0;
    std::int32_t id = 0;    // control id (WM_COMMAND, WM_NOTIFY)
    std::int32_t code = 0;  // notification or scroll request
    std::int32_t position = 0;
    HWND from = nullptr;
};

// A top-level toolkit popup (no caption, so showing and hiding is quick
// without a window manager) that records the commands, notifications and
// scroll requests it gets from its children.
class cRecordingParent : public Window::cWindow
{
public:
    explicit cRecordingParent(int width = 480, int height = 360, int left = 60, int top = 60);
    ~cRecordingParent() override;

    std::vector<sNotice> notices;
    // WM_COMMAND notices from the control id with the notification code.
    int Commands(int id, int code) const;
    // All WM_COMMAND notices from the control id.
    int CommandsFrom(int id) const;
    // Scroll requests (WM_HSCROLL or WM_VSCROLL) with the request code.
    int Scrolls(UINT message, int code) const;

    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    void OnHScroll(std::int32_t code, std::int32_t position, Window::cWindow* bar) override;
    void OnVScroll(std::int32_t code, std::int32_t position, Window::cWindow* bar) override;
};

// The parent most tests share (destroying a top-level window takes Wine
// about 2 s without a window manager): its notices cleared, in front.
cRecordingParent& SharedParent();

// Messages the pumps offer before dispatching (as the application loop
// does); answer true to keep a message from being dispatched.
void SetPreTranslate(std::function<bool(MSG*)> filter);

// Dispatches every message that is waiting, and keeps doing so until the
// queue stays empty for a moment.
void Settle();
// Dispatches messages until the condition holds; false after timeoutMs.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 3000);

// Input as the user makes it. Points are client coordinates of `window`.
void MouseMove(HWND window, int x, int y);
void LeftDown();
void LeftUp();
void LeftClick(HWND window, int x, int y);
void Wheel(int delta);
void KeyDown(WORD key);
void KeyUp(WORD key);
void KeyPress(WORD key);
// A key pressed with a modifier held (VK_MENU, VK_CONTROL, VK_SHIFT).
void KeyPressWith(WORD modifier, WORD key);
// Types the characters as key presses.
void Type(const wchar_t* text);

// Brings the window to the front with the keyboard focus on `focus`.
void Activate(HWND window, HWND focus);

// The colour at a client point, 0xRRGGBB, read from the window's DC after
// pending painting is done.
std::uint32_t PixelAt(HWND window, int x, int y);
// The colour at a point of the whole window (frame included).
std::uint32_t WindowPixelAt(HWND window, int x, int y);
// The skin's palette entry as 0xRRGGBB.
std::uint32_t Palette(int entry);
// True when every channel of a and b differs by at most tolerance.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance);
// How many pixels of the client rectangle have the colour.
int CountColour(HWND window, const RECT& area, std::uint32_t rgb);

} // namespace WindowTest
