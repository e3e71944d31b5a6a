#include <gtest/gtest.h>

#include <windows.h>

#include "framework/window/Button.h"
#include "framework/window/GroupBox.h"
#include "framework/window/LinkStatic.h"
#include "framework/window/PictureStatic.h"
#include "framework/window/Static.h"
#include "tests/window/ControlHarness.h"

using namespace WindowTest;

TEST(StaticTest, TextFlagsFromTheStyle)
{
    const struct
    {
        DWORD style;
        int placement;
        UINT flags;
    } cases[] = {
        {SS_LEFT, Window::cStatic::PlaceTop, DT_WORDBREAK},
        {SS_CENTER, Window::cStatic::PlaceTop, DT_WORDBREAK | DT_CENTER},
        {SS_RIGHT | SS_NOPREFIX, Window::cStatic::PlaceTop, DT_WORDBREAK | DT_RIGHT | DT_NOPREFIX},
        {SS_SIMPLE, Window::cStatic::PlaceTop, 0},
        {SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS, Window::cStatic::PlaceTop, DT_END_ELLIPSIS | DT_WORD_ELLIPSIS},
        {SS_LEFT | SS_PATHELLIPSIS, Window::cStatic::PlaceTop, DT_WORDBREAK | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS},
        {SS_LEFT | SS_WORDELLIPSIS, Window::cStatic::PlaceTop, DT_WORDBREAK | DT_WORD_ELLIPSIS},
        {SS_LEFT, Window::cStatic::PlaceCentre, DT_WORDBREAK | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTER, Window::cStatic::PlaceBottom, DT_WORDBREAK | DT_CENTER | DT_BOTTOM | DT_SINGLELINE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.flags, Window::cStatic::TextFlags(c.style, c.placement)) << std::hex << c.style;
}

TEST(StaticTest, FocusGoesToTheNextTabItem)
{
    cRecordingParent& parent = SharedParent();
    Window::cStatic label;
    Window::cButton hidden, disabled, next;
    label.Create(0, u"Label", WS_CHILD | WS_VISIBLE, 10, 10, 100, 30, parent.Handle(), 1);
    hidden.Create(0, u"Hidden", WS_CHILD | WS_TABSTOP, 10, 40, 100, 60, parent.Handle(), 2);
    disabled.Create(0, u"Off", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 10, 70, 100, 90, parent.Handle(), 3);
    next.Create(0, u"Next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 100, 100, 120, parent.Handle(), 4);
    SetFocus(label.Handle());
    Settle();
    // Not the hidden or the disabled sibling that follows it.
    EXPECT_EQ(next.Handle(), GetFocus());

    // With no tab item to go to, the focus does not bounce around.
    next.Destroy();
    SetFocus(label.Handle());
    Settle();
    EXPECT_NE(hidden.Handle(), GetFocus());
    EXPECT_NE(disabled.Handle(), GetFocus());
    for (Window::cWindow* w : {static_cast<Window::cWindow*>(&label), static_cast<Window::cWindow*>(&hidden),
                               static_cast<Window::cWindow*>(&disabled)})
        w->Destroy();
}

TEST(StaticTest, LinkClickOnTheTextNotifiesAndBesideItDoesNot)
{
    cRecordingParent& parent = SharedParent();
    Window::cLinkStatic link;
    link.Create(0, u"Home page", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 400, 40, parent.Handle(), 7);
    Settle();
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    const Container::sRect hit = link.GetHitArea();
    ASSERT_FALSE(hit.IsEmpty());
    EXPECT_LT(hit.right, 300);  // the text, not the whole control

    LeftClick(link.Handle(), hit.left + 3, hit.top + 3);
    EXPECT_EQ(1, parent.Commands(7, STN_CLICKED));

    LeftClick(link.Handle(), 350, hit.top + 3);  // beside the text
    EXPECT_EQ(1, parent.Commands(7, STN_CLICKED));
    MouseMove(link.Handle(), 350, hit.top + 3);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
    MouseMove(link.Handle(), hit.left + 3, hit.top + 3);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());

    // Pressed on the text, released elsewhere: nothing.
    LeftDown();
    MouseMove(link.Handle(), 350, 30);
    LeftUp();
    EXPECT_EQ(1, parent.Commands(7, STN_CLICKED));

    // A tab-stop link keeps the focus, and Space follows it.
    SetFocus(link.Handle());
    Settle();
    EXPECT_EQ(link.Handle(), GetFocus());
    KeyPress(VK_SPACE);
    EXPECT_EQ(2, parent.Commands(7, STN_CLICKED));
    link.Destroy();
}

TEST(StaticTest, LinkOpensOnlyWebAddresses)
{
    cRecordingParent& parent = SharedParent();
    Window::cLinkStatic link;
    link.Create(0, u"Open", WS_CHILD | WS_VISIBLE, 10, 10, 200, 40, parent.Handle(), 8);
    for (const char16_t* target : {u"C:\\Windows\\System32\\calc.exe", u"file:///C:/Windows/notepad.exe",
                                   u"calc.exe", u"mailto:x@example.org"})
    {
        link.SetTarget(target);
        EXPECT_FALSE(link.Activate());
    }
    EXPECT_EQ(0, parent.CommandsFrom(8));  // a refused target does not notify either
    link.SetTarget(u"");
    EXPECT_TRUE(link.Activate());
    EXPECT_EQ(1, parent.Commands(8, STN_CLICKED));
    link.Destroy();
}

TEST(StaticTest, PictureStaticCanvasFollowsTheSize)
{
    cRecordingParent& parent = SharedParent();
    Window::cPictureStatic picture;
    picture.Create(0, u"", WS_CHILD | WS_VISIBLE, 10, 10, 111, 60, parent.Handle(), 9);
    EXPECT_EQ(104, picture.GetCanvas().Width());  // 101 rounded up to a multiple of 4
    EXPECT_EQ(50, picture.GetCanvas().Height());
    EXPECT_EQ(0u, picture.GetCanvas().Pixel(50, 20));  // cleared to transparent black
    // What the owner draws is what the window shows.
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 104; ++x)
            picture.GetCanvas().SetPixel(x, y, x < 50 ? 0xFF2040C0u : 0xFF10A030u);
    picture.Invalidate(false);
    EXPECT_EQ(0x2040C0u, PixelAt(picture.Handle(), 10, 10));
    EXPECT_EQ(0x10A030u, PixelAt(picture.Handle(), 90, 40));
    SetWindowPos(picture.Handle(), nullptr, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(32, picture.GetCanvas().Width());
    EXPECT_EQ(20, picture.GetCanvas().Height());
    picture.Destroy();
}

TEST(StaticTest, PixelsOfStaticsAndGroupBoxes)
{
    cRecordingParent& parent = SharedParent();
    Window::cStatic label;
    label.Create(0, u"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 40, parent.Handle(), 11);
    EXPECT_EQ(Palette(4), PixelAt(label.Handle(), 100, 15));
    label.Destroy();

    Window::cStatic etched;
    etched.Create(0, u"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 10, 50, 200, 60, parent.Handle(), 12);
    // A one-pixel line: its bottom-right colour is drawn last.
    EXPECT_EQ(Palette(6), PixelAt(etched.Handle(), 50, 0));
    etched.Destroy();

    Window::cStatic text;
    text.Create(0, u"WWWWWWWW", WS_CHILD | WS_VISIBLE, 10, 70, 300, 100, parent.Handle(), 13);
    const RECT all{0, 0, 290, 30};
    EXPECT_GT(CountColour(text.Handle(), all, Palette(10)), 10);  // enabled text
    EnableWindow(text.Handle(), FALSE);
    EXPECT_EQ(0, CountColour(text.Handle(), all, Palette(10)));
    EXPECT_GT(CountColour(text.Handle(), all, Palette(13)), 10);  // disabled text
    text.Destroy();

    // A group box is a subclassed system button; the skin draws its frame.
    HWND system = CreateWindowExW(0, L"Button", L"Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 110, 300, 200,
                                  parent.Handle(), reinterpret_cast<HMENU>(14), GetModuleHandleW(nullptr), nullptr);
    Window::cGroupBox group;
    ASSERT_TRUE(group.Attach(system));
    group.Invalidate(false);
    EXPECT_EQ(Palette(8), PixelAt(system, 150, 199));  // the bottom edge of the frame
    EXPECT_EQ(Palette(4), PixelAt(system, 150, 45));  // inside: the dialog colour
    // Without a caption there is no frame.
    SetWindowTextW(system, L"");
    group.Invalidate(false);
    EXPECT_EQ(Palette(4), PixelAt(system, 150, 199));
    group.Destroy();
}
