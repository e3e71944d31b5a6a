#include <gtest/gtest.h>

#include <windows.h>

#include "framework/window/Button.h"
#include "framework/window/ToolTip.h"
#include "tests/window/ControlHarness.h"

using namespace WindowTest;

TEST(ToolTipTest, ShowsTheTextOfTheToolUnderThePointer)
{
    cRecordingParent& parent = SharedParent();
    Window::cButton button;
    button.Create(0, u"Capture", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 200, 160, 230, parent.Handle(), 71);
    Window::cToolTip tip;
    ASSERT_TRUE(tip.Create(parent.Handle()));
    EXPECT_FALSE(tip.Create(parent.Handle()));  // once
    tip.SetMaxTipWidth(300);
    tip.Activate(true);
    ASSERT_TRUE(tip.AddTool(button.Handle(), u"Capture the whole screen"));
    EXPECT_EQ(1, tip.GetToolCount());
    EXPECT_EQ(std::u16string_view(u"Capture the whole screen"), tip.GetToolText(button.Handle()).View());

    MouseMove(parent.Handle(), 400, 20);
    MouseMove(button.Handle(), 40, 10);
    MouseMove(button.Handle(), 42, 12);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tip.Handle()) != FALSE; }, 5000));
    // The tip draws its text.
    RECT client{};
    GetClientRect(tip.Handle(), &client);
    const COLORREF text = GetSysColor(COLOR_INFOTEXT);
    EXPECT_GT(CountColour(tip.Handle(), client, (GetRValue(text) << 16) | (GetGValue(text) << 8) | GetBValue(text)),
              10);

    EXPECT_TRUE(tip.SetToolText(button.Handle(), u"Another text"));
    EXPECT_EQ(std::u16string_view(u"Another text"), tip.GetToolText(button.Handle()).View());
    EXPECT_TRUE(tip.RemoveTool(button.Handle()));
    EXPECT_EQ(0, tip.GetToolCount());
    MouseMove(parent.Handle(), 400, 20);
    tip.Destroy();
    button.Destroy();
    Settle();
}
