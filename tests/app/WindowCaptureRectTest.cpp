// The rectangle Alt+Print Screen captures, on real (Wine) windows.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/MonitorList.h"
#include "app/WindowCaptureRect.h"

#include <vector>

namespace {

// A shown top-level test window of the given style and owner.
class cTestWindow
{
public:
    cTestWindow(DWORD style, HWND parent, RECT rect)
    {
        // A class of its own: static controls are transparent to hit tests.
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QsCaptureRectTest";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"capture rect test", style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (m_window != nullptr)
            ShowWindow(m_window, SW_SHOWNA);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    ~cTestWindow()
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }
    HWND Handle() const { return m_window; }

private:
    HWND m_window = nullptr;
};

} // namespace

TEST(WindowCaptureRect, ClipsToTheBoxAroundTheMonitors)
{
    // Two monitors, the left one at negative coordinates.
    const std::vector<Container::sRect> monitors = {{0, 0, 1920, 1080}, {-1280, 56, 0, 1080}};
    struct sCase
    {
        Container::sRect window;
        bool inside;
        Container::sRect expected;
    };
    const sCase cases[] = {
        {{100, 100, 500, 400}, true, {100, 100, 500, 400}},
        {{-1400, -20, -1000, 300}, true, {-1280, 0, -1000, 300}},
        {{1800, 1000, 2100, 1300}, true, {1800, 1000, 1920, 1080}},
        {{-100, 500, 100, 700}, true, {-100, 500, 100, 700}},
        {{2000, 0, 2400, 300}, false, {2000, 0, 2400, 300}},
    };
    for (const sCase& c : cases) {
        Container::sRect rect = c.window;
        EXPECT_EQ(cWindowCaptureRect::ClipToMonitors(rect, monitors), c.inside);
        EXPECT_EQ(rect, c.expected);
    }
    Container::sRect rect{0, 0, 10, 10};
    EXPECT_FALSE(cWindowCaptureRect::ClipToMonitors(rect, {}));
    EXPECT_EQ(cMonitorList::Bounds(monitors), (Container::sRect{-1280, 0, 1920, 1080}));
}

TEST(WindowCaptureRect, AnOwnedPopupOrAChildLeadsToTheTopLevelWindow)
{
    cTestWindow owner(WS_POPUP | WS_BORDER, nullptr, {100, 100, 700, 500});
    ASSERT_NE(owner.Handle(), nullptr);
    cTestWindow popup(WS_POPUP | WS_BORDER, owner.Handle(), {200, 150, 400, 300});
    ASSERT_NE(popup.Handle(), nullptr);
    HWND child = CreateWindowExW(0, L"BUTTON", L"child", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, popup.Handle(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(child, nullptr);

    EXPECT_EQ(cWindowCaptureRect::TopLevelAt({230, 180}), owner.Handle()); // on the child
    EXPECT_EQ(cWindowCaptureRect::TopLevelAt({350, 280}), owner.Handle()); // on the popup
    EXPECT_EQ(cWindowCaptureRect::TopLevelAt({600, 450}), owner.Handle()); // on the owner

    // The rectangle found is the owner's frame: Wine's desktop window
    // manager reports no extended bounds, so it is the window rectangle.
    RECT expected{};
    ASSERT_TRUE(GetWindowRect(owner.Handle(), &expected));
    Container::sRect rect;
    ASSERT_TRUE(cWindowCaptureRect::Find({230, 180}, cMonitorList::Enumerate(), rect));
    EXPECT_EQ(rect, (Container::sRect{expected.left, expected.top, expected.right, expected.bottom}));
}

TEST(WindowCaptureRect, TheMonitorsOfThisDesktopAreListed)
{
    const std::vector<Container::sRect> monitors = cMonitorList::Enumerate();
    ASSERT_FALSE(monitors.empty());
    const Container::sRect bounds = cMonitorList::Bounds(monitors);
    EXPECT_EQ(bounds.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(bounds.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(bounds.Width(), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(bounds.Height(), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}
