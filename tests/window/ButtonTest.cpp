#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "framework/window/Button.h"
#include "framework/window/Toolkit.h"
#include "framework/window/skin/Skin.h"
#include "framework/window/skin/rules/PainterGeometry.h"
#include "tests/window/ControlHarness.h"

using namespace WindowTest;
using Window::cButton;

namespace {

// A button of the given style in a fresh parent.
struct sButtonFixture
{
    cRecordingParent& parent = SharedParent();
    cButton button;
    static constexpr int kId = 41;

    explicit sButtonFixture(DWORD style, const char16_t* text = u"Check me")
    {
        button.Create(0, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 20, 20, 180, 44, parent.Handle(), kId);
        Settle();
    }
    ~sButtonFixture()
    {
        button.Destroy();
        Settle();
    }
    HWND Handle() const { return button.Handle(); }
};

// The centre of a check box's mark box.
POINT MarkCentre(const cButton& button)
{
    const Container::sRect client = button.GetClientRect();
    const Container::sRect box = Skin::CheckMarkBox(client, Window::cToolkit::CurrentSkin()->LineHeight());
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

} // namespace

TEST(ButtonTest, CheckBoxClickTogglesAndSendsOneCommand)
{
    sButtonFixture f(BS_AUTOCHECKBOX);
    ASSERT_TRUE(f.button.IsBound());
    LeftClick(f.Handle(), 60, 12);
    EXPECT_EQ(1, f.button.GetCheck());
    EXPECT_EQ(BST_CHECKED, SendMessageW(f.Handle(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(1, f.parent.Commands(sButtonFixture::kId, BN_CLICKED));
    EXPECT_EQ(1, f.parent.CommandsFrom(sButtonFixture::kId));
    LeftClick(f.Handle(), 60, 12);
    EXPECT_EQ(0, f.button.GetCheck());
    EXPECT_EQ(2, f.parent.Commands(sButtonFixture::kId, BN_CLICKED));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(ButtonTest, ReleasedOutsideSendsNothingAndLooksNormal)
{
    sButtonFixture f(BS_AUTOCHECKBOX);
    MouseMove(f.Handle(), 60, 12);
    LeftDown();
    EXPECT_EQ(cButton::StatePressed, f.button.GetVisualState());
    EXPECT_EQ(f.Handle(), GetCapture());
    MouseMove(f.Handle(), 60, 120);  // off the button, still captured
    EXPECT_EQ(cButton::StateNormal, f.button.GetVisualState());
    MouseMove(f.Handle(), 61, 12);  // back in: pressed again
    EXPECT_EQ(cButton::StatePressed, f.button.GetVisualState());
    MouseMove(f.Handle(), 300, 200);
    LeftUp();
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, f.button.GetCheck());
    EXPECT_EQ(0, f.parent.CommandsFrom(sButtonFixture::kId));
    EXPECT_EQ(cButton::StateNormal, f.button.GetVisualState());
}

TEST(ButtonTest, IndeterminateCheckBoxBecomesChecked)
{
    sButtonFixture f(BS_AUTOCHECKBOX);
    f.button.SetCheck(2);
    EXPECT_EQ(BST_INDETERMINATE, SendMessageW(f.Handle(), BM_GETCHECK, 0, 0));
    LeftClick(f.Handle(), 60, 12);
    EXPECT_EQ(1, f.button.GetCheck());
}

TEST(ButtonTest, RadioGroupClickSendsOneCommandAndMovesTheCheck)
{
    cRecordingParent& parent = SharedParent();
    cButton radios[3];
    for (int i = 0; i < 3; ++i)
        radios[i].Create(0, u"Choice", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), 20,
                         20 + 30 * i, 180, 44 + 30 * i, parent.Handle(), 10 + i);
    radios[0].SetCheck(1);
    Activate(parent.Handle(), radios[0].Handle());
    parent.notices.clear();

    LeftClick(radios[1].Handle(), 60, 12);
    EXPECT_EQ(1, parent.Commands(11, BN_CLICKED));  // once, although the click also moved the focus
    EXPECT_EQ(1, parent.CommandsFrom(11));
    EXPECT_EQ(0, radios[0].GetCheck());
    EXPECT_EQ(1, radios[1].GetCheck());
    EXPECT_EQ(0, radios[2].GetCheck());
    // Only the checked radio is a tab stop.
    EXPECT_FALSE(GetWindowLongW(radios[0].Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(radios[1].Handle(), GWL_STYLE) & WS_TABSTOP);

    // Pressed and dragged off: nothing is selected.
    MouseMove(radios[2].Handle(), 60, 12);
    LeftDown();
    MouseMove(radios[2].Handle(), 400, 12);
    LeftUp();
    EXPECT_EQ(0, radios[2].GetCheck());
    EXPECT_EQ(1, radios[1].GetCheck());
    EXPECT_EQ(0, parent.CommandsFrom(12));

    // The keyboard focus arriving (arrow keys in a dialog) selects.
    SetFocus(radios[0].Handle());
    Settle();
    EXPECT_EQ(1, radios[0].GetCheck());
    EXPECT_EQ(0, radios[1].GetCheck());
    EXPECT_EQ(1, parent.Commands(10, BN_CLICKED));
    for (cButton& radio : radios)
        radio.Destroy();
}

TEST(ButtonTest, MessagesTheDialogManagerSends)
{
    sButtonFixture f(BS_AUTOCHECKBOX);
    // BM_CLICK clicks (mnemonics use it).
    EXPECT_EQ(0, SendMessageW(f.Handle(), BM_CLICK, 0, 0));
    EXPECT_EQ(1, f.button.GetCheck());
    EXPECT_EQ(1, f.parent.Commands(sButtonFixture::kId, BN_CLICKED));
    EXPECT_EQ(BST_CHECKED, SendMessageW(f.Handle(), BM_GETCHECK, 0, 0) & 3);
    EXPECT_EQ(0, SendMessageW(f.Handle(), BM_SETCHECK, BST_UNCHECKED, 0));
    EXPECT_EQ(0, f.button.GetCheck());
    // A disabled button does not click.
    EnableWindow(f.Handle(), FALSE);
    SendMessageW(f.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, f.parent.CommandsFrom(sButtonFixture::kId));

    const struct
    {
        DWORD type;
        LRESULT code;
    } codes[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_CHECKBOX, DLGC_BUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_3STATE, DLGC_BUTTON},
        {BS_AUTO3STATE, DLGC_BUTTON},
        {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
        {BS_PUSHBOX, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
    };
    for (const auto& c : codes)
    {
        sButtonFixture typed(c.type, u"");
        EXPECT_EQ(c.code, SendMessageW(typed.Handle(), WM_GETDLGCODE, 0, 0)) << "type " << c.type;
    }

    // BM_SETSTYLE moves the default: the type changes and the code follows.
    sButtonFixture push(BS_PUSHBUTTON, u"OK");
    SendMessageW(push.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<LONG>(BS_DEFPUSHBUTTON), GetWindowLongW(push.Handle(), GWL_STYLE) & 0xF);
    EXPECT_TRUE(GetWindowLongW(push.Handle(), GWL_STYLE) & WS_VISIBLE);  // the rest of the style stays
    EXPECT_EQ(DLGC_BUTTON | DLGC_DEFPUSHBUTTON, SendMessageW(push.Handle(), WM_GETDLGCODE, 0, 0));
    SendMessageW(push.Handle(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, SendMessageW(push.Handle(), WM_GETDLGCODE, 0, 0));
}

TEST(ButtonTest, CaptureTakenMidPressEndsThePress)
{
    sButtonFixture f(BS_PUSHBUTTON, u"Go");
    MouseMove(f.Handle(), 60, 12);
    LeftDown();
    ASSERT_EQ(cButton::StatePressed, f.button.GetVisualState());
    // Another window (a message box, a menu) takes the mouse.
    SetCapture(f.parent.Handle());
    Settle();
    EXPECT_EQ(cButton::StateNormal, f.button.GetVisualState());
    LeftUp();
    ReleaseCapture();
    EXPECT_EQ(0, f.parent.CommandsFrom(sButtonFixture::kId));
    // The next press works as usual.
    LeftClick(f.Handle(), 60, 12);
    EXPECT_EQ(1, f.parent.Commands(sButtonFixture::kId, BN_CLICKED));
}

TEST(ButtonTest, SpaceClicksAndEscCancels)
{
    sButtonFixture f(BS_AUTOCHECKBOX);
    MouseMove(f.parent.Handle(), 400, 300);
    Activate(f.parent.Handle(), f.Handle());
    KeyDown(VK_SPACE);
    EXPECT_EQ(cButton::StatePressed, f.button.GetVisualState());
    KeyUp(VK_SPACE);
    EXPECT_EQ(1, f.button.GetCheck());
    EXPECT_EQ(1, f.parent.Commands(sButtonFixture::kId, BN_CLICKED));
    KeyDown(VK_SPACE);
    KeyPress(VK_ESCAPE);
    EXPECT_EQ(cButton::StateNormal, f.button.GetVisualState());
    KeyUp(VK_SPACE);
    EXPECT_EQ(1, f.button.GetCheck());
    EXPECT_EQ(1, f.parent.CommandsFrom(sButtonFixture::kId));
}

TEST(ButtonTest, CheckBoxPixelsShowTheStates)
{
    sButtonFixture f(BS_AUTOCHECKBOX);
    const POINT mark = MarkCentre(f.button);
    MouseMove(f.parent.Handle(), 400, 300);
    // normal: white fill (palette 0)
    EXPECT_EQ(Palette(0), PixelAt(f.Handle(), mark.x, mark.y));
    // hot
    MouseMove(f.Handle(), 100, 12);
    EXPECT_EQ(cButton::StateHot, f.button.GetVisualState());
    EXPECT_EQ(Palette(23), PixelAt(f.Handle(), mark.x, mark.y));
    // pressed
    LeftDown();
    EXPECT_EQ(Palette(7), PixelAt(f.Handle(), mark.x, mark.y));
    MouseMove(f.Handle(), 100, 200);
    LeftUp();
    // checked: the mark's glyph colour appears in the box
    f.button.SetCheck(1);
    MouseMove(f.parent.Handle(), 400, 300);
    const Container::sRect box = Skin::CheckMarkBox(f.button.GetClientRect(), Window::cToolkit::CurrentSkin()->LineHeight());
    const RECT area{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    EXPECT_GT(CountColour(f.Handle(), area, Palette(10)), 0);
    f.button.SetCheck(0);
    EXPECT_EQ(0, CountColour(f.Handle(), area, Palette(10)));
    // disabled: fill palette 7, no hot look
    EnableWindow(f.Handle(), FALSE);
    Settle();
    EXPECT_EQ(cButton::StateDisabled, f.button.GetVisualState());
    EXPECT_EQ(Palette(7), PixelAt(f.Handle(), mark.x, mark.y));
}

TEST(ButtonTest, PushButtonPixelsShowTheStates)
{
    sButtonFixture f(BS_PUSHBUTTON, u"");
    const int x = 80, y = 12;
    MouseMove(f.parent.Handle(), 400, 300);
    const std::uint32_t normal = PixelAt(f.Handle(), x, y);
    EXPECT_TRUE(Near(normal, Palette(7), 12)) << std::hex << normal;
    MouseMove(f.Handle(), x, y);
    const std::uint32_t hot = PixelAt(f.Handle(), x, y);
    EXPECT_TRUE(Near(hot, Palette(5), 12)) << std::hex << hot;
    LeftDown();
    const std::uint32_t pressed = PixelAt(f.Handle(), x, y);
    EXPECT_TRUE(Near(pressed, Palette(8), 12)) << std::hex << pressed;
    EXPECT_NE(normal, pressed);
    MouseMove(f.Handle(), 400, 200);
    LeftUp();
    EnableWindow(f.Handle(), FALSE);
    EXPECT_EQ(Palette(7), PixelAt(f.Handle(), x, y));
    // The outline is palette 8 whatever the state.
    EXPECT_EQ(Palette(8), PixelAt(f.Handle(), 0, y));
}

TEST(ButtonTest, SubclassedSystemCheckBoxCountsEveryClickOfADoubleClick)
{
    cRecordingParent& parent = SharedParent();
    HWND system = CreateWindowExW(0, L"Button", L"System", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 20,
                                  20, 180, 44, parent.Handle(), reinterpret_cast<HMENU>(42), GetModuleHandleW(nullptr),
                                  nullptr);
    cButton button;
    ASSERT_TRUE(button.Attach(system));
    LeftClick(system, 60, 12);
    LeftClick(system, 60, 12);  // within the double-click time: a WM_LBUTTONDBLCLK
    EXPECT_EQ(0, button.GetCheck());
    EXPECT_EQ(2, parent.Commands(42, BN_CLICKED));
    EXPECT_EQ(nullptr, GetCapture());
    button.Destroy();
    Settle();
}

TEST(ButtonTest, RadioPixelsShowTheDot)
{
    sButtonFixture f(BS_AUTORADIOBUTTON);
    const POINT mark = MarkCentre(f.button);
    MouseMove(f.parent.Handle(), 400, 300);
    EXPECT_EQ(Palette(0), PixelAt(f.Handle(), mark.x, mark.y));  // unchecked: the fill
    f.button.SetCheck(1);
    EXPECT_EQ(Palette(21), PixelAt(f.Handle(), mark.x, mark.y));  // checked: the dot
    EnableWindow(f.Handle(), FALSE);
    EXPECT_EQ(Palette(8), PixelAt(f.Handle(), mark.x, mark.y));  // disabled dot
}
