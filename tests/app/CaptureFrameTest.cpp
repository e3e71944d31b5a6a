// The capture frame on its own: its colour key, its companions' places,
// drags by messages, and the ends of a drag.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/CaptureFrame.h"
#include "app/MainToolWindow.h"
#include "app/capture/FrameGeometry.h"
#include "app/settings/SettingsRecord.h"
#include "framework/settings/AppLanguage.h"
#include "framework/window/Toolkit.h"

#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

using Container::sRect;

namespace {

sRect RectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The frame's owned pop-ups of a class, in no particular order.
std::vector<HWND> Companions(HWND frame, const wchar_t* className)
{
    struct sSearch
    {
        HWND frame;
        const wchar_t* className;
        std::vector<HWND> found;
    } search{frame, className, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<sSearch*>(data);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (GetWindow(window, GW_OWNER) == s->frame && std::wstring(name) == s->className)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LPARAM Point(int x, int y)
{
    return MAKELPARAM(std::uint16_t(std::int16_t(x)), std::uint16_t(std::int16_t(y)));
}

class CaptureFrameTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Window::cToolkit::Initialize(GetModuleHandleW(nullptr));
        cAppLanguage::sSources sources;
        Container::cWideString chosen;
        s_language.RegisterIdNames();
        s_language.SelectLanguage(u"English", sources, chosen);
    }
    void SetUp() override
    {
        ASSERT_TRUE(tool.Create(GetModuleHandleW(nullptr), settings, frame));
        ASSERT_TRUE(frame.Create(GetModuleHandleW(nullptr)));
        frame.SetToolWindow(&tool);
        frame.ShowNoActivate();
        ASSERT_TRUE(frame.IsVisible());
    }
    void TearDown() override
    {
        tool.Destroy();
        frame.Destroy();
    }

    static cAppLanguage s_language;
    cSettingsRecord settings;
    cMainToolWindow tool;
    cCaptureFrame frame;
};

cAppLanguage CaptureFrameTest::s_language;

} // namespace

TEST_F(CaptureFrameTest, IsLayeredWithAGreenKeyAndFramesTheInsideOfItsBorder)
{
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(frame.Handle(), &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(0, 255, 0));
    EXPECT_NE(flags & LWA_COLORKEY, 0u);
    EXPECT_NE(GetWindowLongPtrW(frame.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(GetWindowLongPtrW(frame.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    const sRect window = RectOf(frame.Handle());
    EXPECT_EQ(frame.FramedRect(), sRect(window.left + 8, window.top + 8, window.right - 8, window.bottom - 8));
}

TEST_F(CaptureFrameTest, HandlesAndTheMoveAreaFollowEveryMoveAndResize)
{
    for (const sRect& wanted : {sRect{100, 120, 400, 330}, sRect{250, 90, 290, 140}}) {
        frame.MoveFrame(wanted);
        ASSERT_EQ(RectOf(frame.Handle()), wanted);
        const std::vector<HWND> handles = Companions(frame.Handle(), L"ResizeWindow");
        ASSERT_EQ(handles.size(), 8u);
        std::vector<bool> placed(8, false);
        for (HWND handle : handles)
            for (int index = 0; index < 8; ++index)
                if (RectOf(handle) == cFrameGeometry::HandleRect(wanted, cCaptureFrame::Widths(), index))
                    placed[index] = true;
        for (int index = 0; index < 8; ++index)
            EXPECT_TRUE(placed[index]) << index;
        const std::vector<HWND> moveAreas = Companions(frame.Handle(), L"MoveWindow");
        ASSERT_EQ(moveAreas.size(), 1u);
        EXPECT_EQ(RectOf(moveAreas[0]), cFrameGeometry::MoveAreaRect(wanted, cCaptureFrame::Widths()));
    }
}

TEST_F(CaptureFrameTest, MovesAreFittedIntoTheVirtualScreenGrownByTheBorder)
{
    const sRect screen = cCaptureFrame::VirtualScreen();
    frame.MoveFrame({screen.left - 500, screen.top - 500, screen.left - 200, screen.top - 300});
    EXPECT_EQ(RectOf(frame.Handle()), sRect(screen.left - 8, screen.top - 8, screen.left + 292, screen.top + 192));
    frame.MoveFrame({screen.right, screen.bottom, screen.right + 300, screen.bottom + 200});
    EXPECT_EQ(RectOf(frame.Handle()), sRect(screen.right - 292, screen.bottom - 192, screen.right + 8, screen.bottom + 8));
}

TEST_F(CaptureFrameTest, ABorderDragResizesAndEndsOnRelease)
{
    frame.MoveFrame({200, 200, 500, 400});
    // The right border, then 50 pixels further right.
    SendMessageW(frame.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(296, 100));
    ASSERT_TRUE(frame.IsDragging());
    EXPECT_EQ(GetCapture(), frame.Handle());
    SendMessageW(frame.Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(346, 100));
    EXPECT_EQ(RectOf(frame.Handle()), sRect(200, 200, 555, 400));
    SendMessageW(frame.Handle(), WM_LBUTTONUP, 0, Point(346, 100));
    EXPECT_FALSE(frame.IsDragging());
    EXPECT_NE(GetCapture(), frame.Handle());
    // Without a drag a move changes nothing.
    SendMessageW(frame.Handle(), WM_MOUSEMOVE, 0, Point(10, 10));
    EXPECT_EQ(RectOf(frame.Handle()), sRect(200, 200, 555, 400));
}

TEST_F(CaptureFrameTest, ADragEndsWhenTheMouseIsTakenOrTheFrameHides)
{
    frame.MoveFrame({200, 200, 500, 400});
    // Another window takes the mouse (Alt+Tab, a capture key mid-drag).
    SendMessageW(frame.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 100));
    ASSERT_TRUE(frame.IsDragging());
    SetCapture(tool.Handle());
    EXPECT_FALSE(frame.IsDragging());
    ReleaseCapture();
    // The frame hides mid-drag: the drag and the capture end with it.
    SendMessageW(frame.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 100));
    ASSERT_TRUE(frame.IsDragging());
    frame.HideAll();
    EXPECT_FALSE(frame.IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(frame.IsVisible());
    for (const wchar_t* name : {L"ResizeWindow", L"MoveWindow", L"CornerWindow"})
        for (HWND companion : Companions(frame.Handle(), name))
            EXPECT_FALSE(IsWindowVisible(companion)) << name;
    // Shown again, it stands where it was.
    frame.ShowNoActivate();
    EXPECT_EQ(RectOf(frame.Handle()), sRect(200, 200, 500, 400));
}

TEST_F(CaptureFrameTest, APressOnAHandleResizesByItsZoneAndOnTheMoveAreaMoves)
{
    frame.MoveFrame({200, 200, 500, 400});
    auto handleAt = [&](int index) -> HWND {
        const sRect place = cFrameGeometry::HandleRect({200, 200, 500, 400}, cCaptureFrame::Widths(), index);
        for (HWND handle : Companions(frame.Handle(), L"ResizeWindow"))
            if (RectOf(handle) == place)
                return handle;
        return nullptr;
    };
    // The bottom-right handle (5), pressed in its middle: the drag is the
    // frame's, which follows the pointer while it holds the mouse.
    HWND handle = handleAt(5);
    ASSERT_NE(handle, nullptr);
    SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, Point(4, 4));
    ASSERT_TRUE(frame.IsDragging());
    EXPECT_EQ(GetCapture(), frame.Handle());
    for (HWND companion : Companions(frame.Handle(), L"ResizeWindow"))
        EXPECT_FALSE(IsWindowVisible(companion));
    // Frame client point of the press: (288, 188); 40 right and 30 down.
    SendMessageW(frame.Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(328, 218));
    EXPECT_EQ(RectOf(frame.Handle()), sRect(200, 200, 200 + 328 + 9, 200 + 218 + 9));
    SendMessageW(frame.Handle(), WM_LBUTTONUP, 0, Point(328, 218));
    EXPECT_FALSE(frame.IsDragging());

    // The move area: the frame moves by the pointer's way.
    frame.MoveFrame({200, 200, 500, 400});
    const std::vector<HWND> moveAreas = Companions(frame.Handle(), L"MoveWindow");
    ASSERT_EQ(moveAreas.size(), 1u);
    SendMessageW(moveAreas[0], WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    ASSERT_TRUE(frame.IsDragging());
    // The press was at frame client (26, 26).
    SendMessageW(frame.Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(26 - 70, 26 + 15));
    EXPECT_EQ(RectOf(frame.Handle()), sRect(130, 215, 430, 415));
    SendMessageW(frame.Handle(), WM_LBUTTONUP, 0, Point(26 - 70, 26 + 15));
    EXPECT_FALSE(frame.IsDragging());
}
