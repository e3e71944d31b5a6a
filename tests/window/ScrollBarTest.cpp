#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "framework/window/ScrollBar.h"
#include "framework/window/rules/ScrollInfo.h"
#include "tests/window/ControlHarness.h"

using namespace WindowTest;

namespace {

struct sBarFixture
{
    cRecordingParent& parent = SharedParent();
    Window::cScrollBar bar;
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    static constexpr int kHeight = 240;

    explicit sBarFixture(int max = 99, UINT page = 10)
    {
        bar.Create(0, u"", WS_CHILD | WS_VISIBLE | SBS_VERT, 300, 20, 300 + GetSystemMetrics(SM_CXVSCROLL),
                   20 + kHeight, parent.Handle(), 0);
        SCROLLINFO info{};
        info.cbSize = sizeof(SCROLLINFO);
        info.fMask = SIF_ALL;
        info.nMax = max;
        info.nPage = page;
        SendMessageW(bar.Handle(), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
        parent.notices.clear();
        Settle();
    }
    ~sBarFixture()
    {
        bar.Destroy();
        Settle();
    }
    HWND Handle() const { return bar.Handle(); }
    int Middle() const { return GetSystemMetrics(SM_CXVSCROLL) / 2; }
    std::int32_t Pos() const { return static_cast<std::int32_t>(SendMessageW(bar.Handle(), SBM_GETPOS, 0, 0)); }
};

} // namespace

TEST(ScrollBarTest, ScrollInfoIsClampedAndTheNewPositionAnswered)
{
    sBarFixture f;
    SCROLLINFO info{};
    info.cbSize = sizeof(SCROLLINFO);
    info.fMask = SIF_POS;
    info.nPos = 500;
    EXPECT_EQ(90, SendMessageW(f.Handle(), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info)));
    // The system's SetScrollInfo passes the answer on.
    info.nPos = -7;
    EXPECT_EQ(0, SetScrollInfo(f.Handle(), SB_CTL, &info, TRUE));
    info.nPos = 95;
    EXPECT_EQ(90, SetScrollInfo(f.Handle(), SB_CTL, &info, TRUE));

    SCROLLINFO read{};
    read.cbSize = sizeof(SCROLLINFO);
    read.fMask = SIF_ALL;
    EXPECT_TRUE(SendMessageW(f.Handle(), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&read)));
    EXPECT_EQ(0, read.nMin);
    EXPECT_EQ(99, read.nMax);
    EXPECT_EQ(10u, read.nPage);
    EXPECT_EQ(90, read.nPos);
    read.fMask = 0;
    EXPECT_FALSE(SendMessageW(f.Handle(), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&read)));

    EXPECT_EQ(90, SendMessageW(f.Handle(), SBM_SETPOS, 30, TRUE));  // answers the old position
    EXPECT_EQ(30, f.Pos());
    int low = -1, high = -1;
    EXPECT_EQ(30, SendMessageW(f.Handle(), SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high)));
    EXPECT_EQ(0, low);
    EXPECT_EQ(99, high);
    SendMessageW(f.Handle(), SBM_SETRANGEREDRAW, 0, 20);
    EXPECT_EQ(11, f.Pos());  // brought back to 20 - 10 + 1
}

TEST(ScrollBarTest, ArrowAndPageClicksSendOneRequestEach)
{
    sBarFixture f;
    // A click shorter than the repeat delay (500 ms) sends its request once;
    // on a loaded machine a slow click may repeat, which is right then.
    auto click = [&](int y, int code) {
        MouseMove(f.Handle(), f.Middle(), y);
        const DWORD start = GetTickCount();
        LeftDown();
        LeftUp();
        const int sent = f.parent.Scrolls(WM_VSCROLL, code);
        if (GetTickCount() - start < 450)
            EXPECT_EQ(1, sent) << code;
        else
            EXPECT_GE(sent, 1) << code;
    };
    click(sBarFixture::kHeight - 3, SB_LINEDOWN);
    EXPECT_EQ(1, f.parent.Scrolls(WM_VSCROLL, SB_ENDSCROLL));
    EXPECT_EQ(f.Handle(), f.parent.notices.front().from);
    click(2, SB_LINEUP);
    click(sBarFixture::kHeight - f.arrow - 5, SB_PAGEDOWN);  // below the thumb
    EXPECT_EQ(0, f.parent.Scrolls(WM_VSCROLL, SB_PAGEUP));
    EXPECT_EQ(3, f.parent.Scrolls(WM_VSCROLL, SB_ENDSCROLL));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(ScrollBarTest, HeldArrowRepeatsUntilReleased)
{
    sBarFixture f;
    MouseMove(f.Handle(), f.Middle(), sBarFixture::kHeight - 3);
    LeftDown();
    EXPECT_TRUE(PumpUntil([&] { return f.parent.Scrolls(WM_VSCROLL, SB_LINEDOWN) >= 4; }, 3000));
    LeftUp();
    const int count = f.parent.Scrolls(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(1, f.parent.Scrolls(WM_VSCROLL, SB_ENDSCROLL));
    // No more repeats once released.
    EXPECT_FALSE(PumpUntil([&] { return f.parent.Scrolls(WM_VSCROLL, SB_LINEDOWN) > count; }, 700));
}

TEST(ScrollBarTest, CaptureTakenMidPressStopsTheRepeats)
{
    sBarFixture f;
    MouseMove(f.Handle(), f.Middle(), sBarFixture::kHeight - 3);
    LeftDown();
    ASSERT_TRUE(f.bar.IsPressed());
    SetCapture(f.parent.Handle());  // a message box, a menu
    Settle();
    EXPECT_FALSE(f.bar.IsPressed());
    EXPECT_EQ(1, f.parent.Scrolls(WM_VSCROLL, SB_ENDSCROLL));
    const int count = f.parent.Scrolls(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_FALSE(PumpUntil([&] { return f.parent.Scrolls(WM_VSCROLL, SB_LINEDOWN) > count; }, 800));
    ReleaseCapture();
    LeftUp();
}

TEST(ScrollBarTest, DraggedThumbStaysWithinTheRule)
{
    sBarFixture f;
    // The thumb starts right below the first arrow.
    MouseMove(f.Handle(), f.Middle(), f.arrow + 4);
    LeftDown();
    for (int y = f.arrow + 20; y <= sBarFixture::kHeight + 100; y += 30)
        MouseMove(f.Handle(), f.Middle(), y);
    EXPECT_EQ(90, f.Pos());  // max - page + 1
    int tracks = 0;
    for (const sNotice& notice : f.parent.notices)
        if (notice.code == SB_THUMBTRACK)
        {
            ++tracks;
            EXPECT_GE(notice.position, 0);
            EXPECT_LE(notice.position, 90);
        }
    EXPECT_GT(tracks, 2);
    LeftUp();
    ASSERT_GE(f.parent.notices.size(), 2u);
    const sNotice& last = f.parent.notices.back();
    const sNotice& before = f.parent.notices[f.parent.notices.size() - 2];
    EXPECT_EQ(SB_ENDSCROLL, last.code);
    EXPECT_EQ(SB_THUMBPOSITION, before.code);
    EXPECT_EQ(90, before.position);
    // And back to the top.
    MouseMove(f.Handle(), f.Middle(), sBarFixture::kHeight - f.arrow - 4);
    LeftDown();
    MouseMove(f.Handle(), f.Middle(), -200);
    LeftUp();
    EXPECT_EQ(0, f.Pos());
}

TEST(ScrollBarTest, WheelMovesThePosition)
{
    sBarFixture f(999, 10);
    MouseMove(f.Handle(), f.Middle(), 100);
    SetFocus(f.Handle());
    Settle();
    Wheel(-120);
    EXPECT_EQ(120, f.Pos());
    Wheel(30);
    EXPECT_EQ(90, f.Pos());
    Wheel(-5000);
    EXPECT_EQ(990, f.Pos());  // max - page + 1
    EXPECT_EQ(3, f.parent.Scrolls(WM_VSCROLL, SB_THUMBPOSITION));
    Wheel(-120);  // at the end: nothing changes, nothing is sent
    EXPECT_EQ(3, f.parent.Scrolls(WM_VSCROLL, SB_THUMBPOSITION));
}

TEST(ScrollBarTest, PixelsShowTheArrowStates)
{
    sBarFixture f;
    const int x = 2, y = sBarFixture::kHeight - f.arrow + 2;  // a corner of the second arrow
    MouseMove(f.parent.Handle(), 10, 300);
    EXPECT_EQ(Palette(7), PixelAt(f.Handle(), x, y));
    MouseMove(f.Handle(), f.Middle(), sBarFixture::kHeight - 3);
    EXPECT_EQ(Palette(23), PixelAt(f.Handle(), x, y));  // hot
    LeftDown();
    EXPECT_EQ(Palette(8), PixelAt(f.Handle(), x, y));   // pressed
    LeftUp();
    // A bar whose page covers the range shows no thumb: the track is the face.
    SCROLLINFO info{};
    info.cbSize = sizeof(SCROLLINFO);
    info.fMask = SIF_PAGE;
    info.nPage = 100;
    SendMessageW(f.Handle(), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
    MouseMove(f.parent.Handle(), 10, 300);
    EXPECT_EQ(Palette(4), PixelAt(f.Handle(), f.Middle(), f.arrow + 5));
}
