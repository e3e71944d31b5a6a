#include <gtest/gtest.h>

#include <windows.h>

#include "framework/window/EditBox.h"
#include "tests/window/ControlHarness.h"

using namespace WindowTest;

namespace {

constexpr int kId = 61;

struct sEditFixture
{
    cRecordingParent& parent = SharedParent();
    Window::cEditBox edit;

    explicit sEditFixture(DWORD style = WS_BORDER | ES_AUTOHSCROLL, DWORD exStyle = 0)
    {
        edit.CreateControl(exStyle, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 20, 20, 260, 80, parent.Handle(),
                           kId, true);
        MouseMove(edit.Handle(), 30, 10);
        Activate(parent.Handle(), edit.Handle());
        parent.notices.clear();
    }
    ~sEditFixture()
    {
        SetPreTranslate(nullptr);
        edit.Destroy();
        Settle();
    }
    HWND Handle() const { return edit.Handle(); }
    std::u16string Text() const
    {
        wchar_t buffer[128] = {};
        GetWindowTextW(edit.Handle(), buffer, 128);
        return std::u16string(reinterpret_cast<const char16_t*>(buffer));
    }
};

} // namespace

TEST(EditBoxTest, SetTextIsQuietAndTypingIsNot)
{
    sEditFixture f;
    ASSERT_TRUE(f.edit.IsBound());
    EXPECT_TRUE(f.edit.SetText(u"hello"));
    EXPECT_EQ(u"hello", f.Text());
    Settle();
    EXPECT_EQ(0, f.parent.Commands(kId, EN_CHANGE));
    EXPECT_EQ(0, f.parent.Commands(kId, EN_UPDATE));
    SendMessageW(f.Handle(), EM_SETSEL, 5, 5);
    Type(L"ab");
    EXPECT_EQ(u"helloab", f.Text());
    EXPECT_EQ(2, f.parent.Commands(kId, EN_CHANGE));
    EXPECT_TRUE(f.edit.ChangedSinceFocus());
}

TEST(EditBoxTest, EnterInASingleLineEditSendsOk)
{
    sEditFixture f;
    KeyPress(VK_RETURN);
    ASSERT_EQ(1, f.parent.Commands(IDOK, 0));
    for (const sNotice& notice : f.parent.notices)
        if (notice.message == WM_COMMAND && notice.id == IDOK)
            EXPECT_EQ(f.Handle(), notice.from);
    EXPECT_EQ(u"", f.Text());
}

TEST(EditBoxTest, EnterInAMultiLineEditThatWantsItBreaksTheLine)
{
    sEditFixture f(WS_BORDER | ES_MULTILINE | ES_WANTRETURN);
    Type(L"a");
    KeyPress(VK_RETURN);
    Type(L"b");
    EXPECT_EQ(u"a\r\nb", f.Text());
    EXPECT_EQ(0, f.parent.Commands(IDOK, 0));
}

TEST(EditBoxTest, CtrlAReachesTheEditBeforeAnAccelerator)
{
    sEditFixture f;
    f.edit.SetText(u"some words");
    SendMessageW(f.Handle(), EM_SETSEL, 10, 10);
    ACCEL accel{FCONTROL | FVIRTKEY, 'A', 777};
    HACCEL table = CreateAcceleratorTableW(&accel, 1);
    HWND parent = f.parent.Handle();
    // The accelerator alone takes the key (the check below can fail).
    SetPreTranslate([&](MSG* msg) { return TranslateAcceleratorW(parent, table, msg) != 0; });
    KeyPressWith(VK_CONTROL, 'A');
    EXPECT_EQ(1, f.parent.CommandsFrom(777));
    // The edit first, as the application loop offers keys.
    SetPreTranslate([&](MSG* msg) {
        if (f.edit.PreTranslateMessage(msg))
            return true;
        return TranslateAcceleratorW(parent, table, msg) != 0;
    });
    KeyPressWith(VK_CONTROL, 'A');
    EXPECT_EQ(1, f.parent.CommandsFrom(777));
    DWORD start = 99, end = 99;
    SendMessageW(f.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(10u, end);
    SetPreTranslate(nullptr);
    DestroyAcceleratorTable(table);
}

TEST(EditBoxTest, FrameOfAnEditWithoutBorderFollowsTheFocus)
{
    sEditFixture f(ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    EXPECT_EQ(Palette(22), WindowPixelAt(f.Handle(), 0, 0));  // focused
    SetFocus(f.parent.Handle());
    Settle();
    EXPECT_EQ(Palette(8), WindowPixelAt(f.Handle(), 0, 0));
    EXPECT_EQ(Palette(8), WindowPixelAt(f.Handle(), 100, 0));
}
