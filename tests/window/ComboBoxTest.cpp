#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "framework/window/ComboBox.h"
#include "framework/window/Toolkit.h"
#include "framework/window/skin/Skin.h"
#include "tests/window/ControlHarness.h"

using namespace WindowTest;
using Window::cComboBox;

namespace {

constexpr int kId = 51;

struct sComboFixture
{
    cRecordingParent& parent = SharedParent();
    cComboBox combo;

    explicit sComboFixture(DWORD type = CBS_DROPDOWNLIST, int items = 5, HWND owner = nullptr)
    {
        combo.Create(0, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | type, 20, 20, 220, 44,
                     owner ? owner : parent.Handle(), kId);
        const char16_t* names[] = {u"Alpha", u"Bravo", u"Charlie", u"Delta", u"Echo", u"Foxtrot", u"Golf"};
        for (int i = 0; i < items; ++i)
            combo.AddString(names[i % 7]);
        Activate(GetAncestor(combo.Handle(), GA_ROOT), combo.Handle());
        parent.notices.clear();
    }
    ~sComboFixture()
    {
        combo.Destroy();
        Settle();
    }
    HWND Handle() const { return combo.Handle(); }
    HWND List() { return combo.GetList().Handle(); }
    // Client coordinates of the list for item i's row.
    POINT Row(int i)
    {
        const Container::sRect row = combo.GetList().GetRowRect(i);
        return {row.left + 20, (row.top + row.bottom) / 2};
    }
    Container::cWideString Text() const
    {
        wchar_t buffer[64] = {};
        GetWindowTextW(combo.Handle(), buffer, 64);
        return Container::cWideString(reinterpret_cast<const char16_t*>(buffer));
    }
};

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

} // namespace

TEST(ComboBoxTest, ClickOpensTheListOnTheDesktop)
{
    sComboFixture f;
    LeftClick(f.Handle(), 60, 12);
    ASSERT_TRUE(f.combo.IsDroppedDown());
    const LONG style = GetWindowLongW(f.List(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(GetWindowLongW(f.List(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetDesktopWindow(), GetAncestor(f.List(), GA_PARENT));
    EXPECT_EQ(WindowRect(f.Handle()).bottom, WindowRect(f.List()).top);
    EXPECT_EQ(f.Handle(), GetFocus());  // the list never takes the focus or activation
    EXPECT_EQ(f.parent.Handle(), GetActiveWindow());

    // A click elsewhere closes it without choosing.
    LeftClick(f.parent.Handle(), 400, 300);
    EXPECT_FALSE(f.combo.IsDroppedDown());
    EXPECT_TRUE(GetWindowLongW(f.List(), GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(GetWindowLongW(f.List(), GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(f.Handle(), GetParent(f.List()));
    EXPECT_EQ(-1, f.combo.GetCurSel());
    EXPECT_EQ(0, f.parent.CommandsFrom(kId));
}

TEST(ComboBoxTest, KeysMoveTheSelectionAndEnterPicks)
{
    sComboFixture f;
    LeftClick(f.Handle(), 60, 12);
    ASSERT_TRUE(f.combo.IsDroppedDown());
    KeyPress(VK_DOWN);
    KeyPress(VK_DOWN);
    KeyPress(VK_UP);
    EXPECT_TRUE(f.combo.IsDroppedDown());
    KeyPress(VK_RETURN);
    EXPECT_FALSE(f.combo.IsDroppedDown());
    EXPECT_EQ(0, f.combo.GetCurSel());
    EXPECT_EQ(std::u16string_view(u"Alpha"), f.Text().View());
    EXPECT_EQ(3, f.parent.Commands(kId, cComboBox::NotifySelectionChanged));  // one per change, none for Enter
    // Closed, the arrows still choose; End goes to the last item.
    KeyPress(VK_END);
    EXPECT_EQ(4, f.combo.GetCurSel());
    EXPECT_EQ(4, f.parent.Commands(kId, cComboBox::NotifySelectionChanged));
}

TEST(ComboBoxTest, MouseClickOnAnItemPicksItOnce)
{
    sComboFixture f;
    LeftClick(f.Handle(), 60, 12);
    ASSERT_TRUE(f.combo.IsDroppedDown());
    const POINT row = f.Row(3);
    MouseMove(f.List(), row.x, row.y);
    EXPECT_EQ(3, f.combo.GetList().GetHotItem());  // hot tracking
    LeftClick(f.List(), row.x, row.y);
    EXPECT_FALSE(f.combo.IsDroppedDown());
    EXPECT_EQ(3, f.combo.GetCurSel());
    EXPECT_EQ(1, f.parent.Commands(kId, cComboBox::NotifySelectionChanged));
    EXPECT_EQ(1, f.parent.CommandsFrom(kId));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(ComboBoxTest, PressDragReleaseChoosesInOneMovement)
{
    sComboFixture f;
    MouseMove(f.Handle(), 60, 12);
    LeftDown();
    ASSERT_TRUE(f.combo.IsDroppedDown());
    const POINT row = f.Row(2);
    MouseMove(f.List(), row.x, row.y - 2);
    MouseMove(f.List(), row.x, row.y);
    LeftUp();
    EXPECT_FALSE(f.combo.IsDroppedDown());
    EXPECT_EQ(2, f.combo.GetCurSel());
    EXPECT_EQ(1, f.parent.Commands(kId, cComboBox::NotifySelectionChanged));
}

TEST(ComboBoxTest, EscAndEnterWithTheListOpenStayInTheCombo)
{
    // A dialog as the dialog manager runs it: IsDialogMessage first.
    struct sDialog
    {
        static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK))
            {
                Closes().push_back(LOWORD(wParam));
                return TRUE;
            }
            return message == WM_INITDIALOG;
        }
        static std::vector<int>& Closes()
        {
            static std::vector<int> closes;
            return closes;
        }
    };
    InitializeToolkit();
    alignas(4) WORD block[32] = {};
    auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(block);
    dialogTemplate->style = WS_POPUP | WS_VISIBLE;
    dialogTemplate->cx = 200;
    dialogTemplate->cy = 100;
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, nullptr, sDialog::Proc, 0);
    ASSERT_NE(nullptr, dialog);
    SetWindowPos(dialog, nullptr, 600, 60, 400, 300, SWP_NOZORDER);
    SetPreTranslate([dialog](MSG* msg) { return IsDialogMessageW(dialog, msg) != FALSE; });
    sDialog::Closes().clear();
    {
        sComboFixture f(CBS_DROPDOWNLIST, 5, dialog);
        MouseMove(dialog, 300, 250);
        KeyPress(VK_F4);
        ASSERT_TRUE(f.combo.IsDroppedDown());
        KeyPress(VK_ESCAPE);
        EXPECT_FALSE(f.combo.IsDroppedDown());
        EXPECT_TRUE(sDialog::Closes().empty());  // the dialog stays open
        KeyPress(VK_F4);
        KeyPress(VK_DOWN);
        KeyPress(VK_RETURN);
        EXPECT_FALSE(f.combo.IsDroppedDown());
        EXPECT_EQ(0, f.combo.GetCurSel());
        EXPECT_TRUE(sDialog::Closes().empty());
        // With the list closed, Esc is the dialog's again.
        KeyPress(VK_ESCAPE);
        ASSERT_EQ(1u, sDialog::Closes().size());
        EXPECT_EQ(IDCANCEL, sDialog::Closes()[0]);
    }
    SetPreTranslate(nullptr);
    DestroyWindow(dialog);
    Settle();
}

TEST(ComboBoxTest, AltDownAndF4Toggle)
{
    sComboFixture f;
    MouseMove(f.parent.Handle(), 400, 300);
    KeyPressWith(VK_MENU, VK_DOWN);
    EXPECT_TRUE(f.combo.IsDroppedDown());
    KeyPressWith(VK_MENU, VK_UP);
    EXPECT_FALSE(f.combo.IsDroppedDown());
    KeyPress(VK_F4);
    EXPECT_TRUE(f.combo.IsDroppedDown());
    KeyPress(VK_F4);
    EXPECT_FALSE(f.combo.IsDroppedDown());
    EXPECT_EQ(0, f.parent.CommandsFrom(kId));
}

TEST(ComboBoxTest, WheelOnAClosedComboMovesByOneAndStopsAtTheEnds)
{
    sComboFixture f;
    f.combo.SetCurSel(4);
    MouseMove(f.Handle(), 60, 12);
    Wheel(-120);  // towards the end: already there
    EXPECT_EQ(4, f.combo.GetCurSel());
    EXPECT_EQ(0, f.parent.CommandsFrom(kId));
    Wheel(120);
    EXPECT_EQ(3, f.combo.GetCurSel());
    EXPECT_EQ(1, f.parent.Commands(kId, cComboBox::NotifySelectionChanged));
    // A touchpad's small deltas add up to one step.
    Wheel(40);
    Wheel(40);
    EXPECT_EQ(3, f.combo.GetCurSel());
    Wheel(40);
    EXPECT_EQ(2, f.combo.GetCurSel());
    EXPECT_EQ(2, f.parent.Commands(kId, cComboBox::NotifySelectionChanged));
    EXPECT_FALSE(f.combo.IsDroppedDown());
}

TEST(ComboBoxTest, DropDownSizeAndPlacement)
{
    {
        sComboFixture f(CBS_DROPDOWNLIST, 3);
        f.combo.ShowDropDown();
        const RECT list = WindowRect(f.List());
        const int rows = 3 * (Window::cToolkit::CurrentSkin()->LineHeight() + 4);
        EXPECT_EQ(rows + 2 * GetSystemMetrics(SM_CYBORDER), list.bottom - list.top);
        EXPECT_EQ(WindowRect(f.Handle()).left, list.left);
        EXPECT_EQ(WindowRect(f.Handle()).right, list.right);
        f.combo.CloseDropDown();
    }
    // Near the bottom of the work area it opens upwards.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    cRecordingParent& parent = SharedParent();
    const RECT home = WindowRect(parent.Handle());
    SetWindowPos(parent.Handle(), nullptr, 60, work.bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    {
        sComboFixture f(CBS_DROPDOWNLIST, 5);
        f.combo.ShowDropDown();
        const RECT list = WindowRect(f.List());
        EXPECT_EQ(WindowRect(f.Handle()).top, list.bottom);
        EXPECT_GE(list.top, work.top);
        f.combo.CloseDropDown();
    }
    SetWindowPos(parent.Handle(), nullptr, home.left, home.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

TEST(ComboBoxTest, TypedTextThatMatchesAnItemSelectsIt)
{
    sComboFixture f(CBS_DROPDOWN);
    ASSERT_TRUE(f.combo.GetEdit().IsBound());
    MouseMove(f.parent.Handle(), 400, 300);
    SetFocus(f.combo.GetEdit().Handle());
    Settle();
    Type(L"delta");
    EXPECT_EQ(3, f.combo.GetCurSel());
    EXPECT_EQ(1, f.parent.Commands(kId, cComboBox::NotifyTextMatched));
    // Choosing an item puts its text into the edit part without a match notice.
    f.combo.SetCurSel(1);
    EXPECT_EQ(std::u16string_view(u"Bravo"), f.Text().View());
    EXPECT_EQ(1, f.parent.Commands(kId, cComboBox::NotifyTextMatched));
}

TEST(ComboBoxTest, PixelsOfTheListRows)
{
    sComboFixture f;
    f.combo.SetCurSel(1);
    LeftClick(f.Handle(), 60, 12);
    ASSERT_TRUE(f.combo.IsDroppedDown());
    const POINT hot = f.Row(3);
    MouseMove(f.List(), hot.x, hot.y);
    const POINT selected = f.Row(1);
    EXPECT_EQ(Palette(21), PixelAt(f.List(), selected.x + 60, selected.y));  // the selection
    EXPECT_EQ(Palette(23), PixelAt(f.List(), hot.x + 60, hot.y));            // the hot row
    const POINT plain = f.Row(4);
    EXPECT_EQ(Palette(0), PixelAt(f.List(), plain.x + 60, plain.y));         // the background
    KeyPress(VK_ESCAPE);
    EXPECT_FALSE(f.combo.IsDroppedDown());
    EXPECT_EQ(1, f.combo.GetCurSel());  // Esc keeps the selection
}

TEST(ComboBoxTest, PixelsOfTheFace)
{
    sComboFixture f;
    const int x = 8, y = 12;  // inside the face, left of any text
    MouseMove(f.parent.Handle(), 400, 300);
    const std::uint32_t normal = PixelAt(f.Handle(), x, y);
    EXPECT_TRUE(Near(normal, Palette(7), 12)) << std::hex << normal;
    MouseMove(f.Handle(), x, y);
    const std::uint32_t hot = PixelAt(f.Handle(), x, y);
    EXPECT_TRUE(Near(hot, Palette(5), 12)) << std::hex << hot;
    MouseMove(f.parent.Handle(), 400, 300);
    EnableWindow(f.Handle(), FALSE);
    EXPECT_EQ(Palette(7), PixelAt(f.Handle(), x, y));
    // The arrow glyph of a disabled combo is in the disabled text colour.
    const Container::sRect& button = f.combo.GetButtonRect();
    const RECT glyph{button.left + 3, button.top + 3, button.right - 3, button.bottom - 3};
    EXPECT_GT(CountColour(f.Handle(), glyph, Palette(13)), 3);
}

TEST(ComboBoxTest, AttachedSystemComboOpensOnlyTheToolkitList)
{
    cRecordingParent& parent = SharedParent();
    HWND system = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 20, 20,
                                  220, 200, parent.Handle(), reinterpret_cast<HMENU>(kId), GetModuleHandleW(nullptr),
                                  nullptr);
    cComboBox combo;
    ASSERT_TRUE(combo.Attach(system));
    EXPECT_EQ(0, SendMessageW(system, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"One")));
    EXPECT_EQ(1, SendMessageW(system, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Two")));
    EXPECT_EQ(2, combo.GetCount());
    COMBOBOXINFO info{};
    info.cbSize = sizeof(COMBOBOXINFO);
    ASSERT_TRUE(GetComboBoxInfo(system, &info));
    MouseMove(parent.Handle(), 400, 300);
    Activate(parent.Handle(), system);
    for (int round = 0; round < 2; ++round)
    {
        if (round == 0)
            KeyPress(VK_F4);
        else
            KeyPressWith(VK_MENU, VK_DOWN);
        EXPECT_TRUE(combo.IsDroppedDown());
        EXPECT_FALSE(info.hwndList && IsWindowVisible(info.hwndList));  // not the system's own list
        KeyPress(VK_DOWN);
        KeyPress(VK_RETURN);
        EXPECT_FALSE(combo.IsDroppedDown());
    }
    EXPECT_EQ(1, SendMessageW(system, CB_GETCURSEL, 0, 0));
    wchar_t text[16] = {};
    GetWindowTextW(system, text, 16);
    EXPECT_STREQ(L"Two", text);
    combo.Destroy();
    Settle();
}
