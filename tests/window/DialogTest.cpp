#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/window/Button.h"
#include "framework/window/Dialog.h"
#include "framework/window/GroupBox.h"
#include "framework/window/LinkStatic.h"
#include "framework/window/Static.h"
#include "framework/window/ToolTip.h"
#include "framework/window/skin/Skin.h"
#include "tests/window/DialogTestResources.h"
#include "tests/window/DialogTestSupport.h"

#include <map>
#include <string>
#include <vector>

using Testing::PumpUntil;
using Testing::WindowText;

namespace {

const char16_t* const Korean = cAppLanguage::Korean;

// Records what reaches the dialog's operations.
class cRecordingDialog : public Window::cDialog
{
public:
    std::vector<std::string> calls;
    std::vector<std::int32_t> commands;
    std::function<void(cRecordingDialog&)> onInit;
    std::vector<USHORT> rawKeys;
    LRESULT notifyResult = 0;
    bool handleNotify = false;
    // Yes and No leave the dialog as it is.
    bool keepOpen = false;

    bool OnInitDialog() override
    {
        calls.push_back("init");
        const bool result = cDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return result;
    }
    void OnOK() override { calls.push_back("ok"); cDialog::OnOK(); }
    void OnCancel() override { calls.push_back("cancel"); cDialog::OnCancel(); }
    void OnYes() override
    {
        calls.push_back("yes");
        if (!keepOpen)
            cDialog::OnYes();
    }
    void OnNo() override
    {
        calls.push_back("no");
        if (!keepOpen)
            cDialog::OnNo();
    }
    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override
    {
        commands.push_back(id);
        return cDialog::OnCommand(id, code, control);
    }
    bool OnNotify(NMHDR* header, LRESULT* result) override
    {
        if (!handleNotify || !header)
            return false;
        *result = notifyResult;
        return true;
    }
    void OnRawInput(const RAWINPUT& input) override
    {
        if (input.header.dwType == RIM_TYPEKEYBOARD)
            rawKeys.push_back(input.data.keyboard.VKey);
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> moves;
    void OnMove(std::int32_t x, std::int32_t y) override
    {
        moves.emplace_back(x, y);
        cDialog::OnMove(x, y);
    }
};

// A child page that takes one command of its own.
class cPage : public Window::cDialog
{
public:
    std::vector<std::int32_t> commands;
    bool OnCommand(std::int32_t id, std::int32_t, HWND) override
    {
        if (id != 4000)
            return false;
        commands.push_back(id);
        return true;
    }
};

// A plain toolkit object over a template button that keeps its clicks.
class cKeepingButton : public Window::cWindow
{
public:
    int commands = 0;
    bool OnCommand(std::int32_t, std::int32_t, HWND) override
    {
        ++commands;
        return true;
    }
};

class DialogTest : public testing::Test
{
protected:
    void TearDown() override
    {
        if (m_dialog.Handle())
            DestroyWindow(m_dialog.Handle());
    }

    HWND Item(int id) const { return GetDlgItem(m_dialog.Handle(), id); }

    Testing::cDialogLanguage m_language;
    cRecordingDialog m_dialog;
};

} // namespace

TEST_F(DialogTest, ModalDialogsEndWithTheCodeOfTheirCommand)
{
    m_language.Select(u"English");
    const struct
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        int expected;
        std::vector<std::string> calls;
    } cases[] = {
        {"OK", WM_COMMAND, MAKEWPARAM(IDOK, 0), IDOK, {"init", "ok"}},
        {"Cancel", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), IDCANCEL, {"init", "cancel"}},
        {"Yes", WM_COMMAND, MAKEWPARAM(IDYES, 0), IDYES, {"init", "yes"}},
        {"No", WM_COMMAND, MAKEWPARAM(IDNO, 0), IDNO, {"init", "no"}},
        {"Close", WM_CLOSE, 0, IDCANCEL, {"init", "cancel"}},
        {"end session", WM_ENDSESSION, TRUE, IDCANCEL, {"init", "cancel"}},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        cRecordingDialog dialog;
        dialog.onInit = [&](cRecordingDialog& self) {
            EXPECT_TRUE(self.IsModal());
            PostMessageW(self.Handle(), test.message, test.wParam, 0);
        };
        EXPECT_EQ(test.expected, dialog.DoModal(IDD_TEST_DIALOG, nullptr));
        EXPECT_EQ(test.calls, dialog.calls);
        EXPECT_FALSE(dialog.IsModal());
        EXPECT_EQ(nullptr, dialog.Handle());
    }
}

TEST_F(DialogTest, CommandWithANotificationCodeIsNoOK)
{
    cRecordingDialog dialog;
    dialog.onInit = [](cRecordingDialog& self) {
        PostMessageW(self.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_DOUBLECLICKED), 0);
        PostMessageW(self.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal(IDD_TEST_DIALOG, nullptr));
    EXPECT_EQ((std::vector<std::string>{"init", "cancel"}), dialog.calls);
    EXPECT_EQ((std::vector<std::int32_t>{IDOK, IDCANCEL}), dialog.commands);

    // Another caller's EndDialog code comes back as it is.
    cRecordingDialog other;
    other.onInit = [](cRecordingDialog& self) { EndDialog(self.Handle(), 42); };
    EXPECT_EQ(42, other.DoModal(IDD_TEST_DIALOG, nullptr));
}

TEST_F(DialogTest, MissingTemplateCreatesNothing)
{
    cRecordingDialog dialog;
    EXPECT_FALSE(dialog.Create(IDD_TEST_MISSING, nullptr));
    EXPECT_EQ(nullptr, dialog.Handle());
    const int code = dialog.DoModal(IDD_TEST_MISSING, nullptr);
    EXPECT_TRUE(code == -1 || code == 0) << code;
    EXPECT_TRUE(dialog.calls.empty());
}

TEST_F(DialogTest, ModelessDialogIsBoundOnInitAndEndSessionLeavesIt)
{
    m_language.Select(u"English");
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    EXPECT_EQ(&m_dialog, Window::cWindow::FromHandle(m_dialog.Handle()));
    EXPECT_EQ((std::vector<std::string>{"init"}), m_dialog.calls);
    EXPECT_FALSE(m_dialog.IsModal());
    SendMessageW(m_dialog.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ((std::vector<std::string>{"init"}), m_dialog.calls);
    EXPECT_TRUE(IsWindow(m_dialog.Handle()));
}

// A dialog left of and above the primary monitor hears negative positions.
TEST_F(DialogTest, MovePositionsAreSigned)
{
    m_language.Select(u"English");
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    m_dialog.moves.clear();
    SendMessageW(m_dialog.Handle(), WM_MOVE, 0, MAKELPARAM(std::uint16_t(-120), std::uint16_t(-40)));
    ASSERT_EQ(m_dialog.moves.size(), 1u);
    EXPECT_EQ(m_dialog.moves.back(), std::make_pair(std::int32_t(-120), std::int32_t(-40)));
}

TEST_F(DialogTest, TitleAndCaptionsComeFromTheLanguage)
{
    m_language.Select(u"English");
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    const HWND dialog = m_dialog.Handle();
    EXPECT_EQ(u"Quillsnapper Options", WindowText(dialog));
    const std::map<int, std::u16string> english = {
        {IDC_TEST_LABEL, u"File Name:"},        {IDC_TEST_CENTER, u"Language:"},
        {IDC_TEST_RIGHT, u"Save Path:"},        {IDC_TEST_GROUP, u"Default"},
        {IDC_TEST_CAPTURE, u"Capture"},         {IDC_TEST_CHECK, u"Copy to clipboard"},
        {IDC_TEST_RADIO, u"Other program:"},    {IDC_TEST_OWNERDRAW, u"Confirm Saving"},
        {IDC_TEST_BLEND, u"&Blend:"},           {IDYES, u"&Yes"},
        {IDNO, u"&No"},                         {IDOK, u"OK"},
        {IDCANCEL, u"Cancel"},
    };
    for (const auto& [id, text] : english)
        EXPECT_EQ(text, WindowText(Item(id))) << id;
    // Statics without an id, edits and combo boxes keep their texts.
    EXPECT_EQ(u"Unnamed static", WindowText(GetDlgItem(dialog, -1)));
    EXPECT_EQ(u"Static 65535", WindowText(GetDlgItem(dialog, 65535)));
    EXPECT_EQ(u"", WindowText(Item(IDC_TEST_EDIT)));

    // Switching to Korean changes every text of the dialog.
    std::map<int, std::u16string> before;
    for (const auto& [id, text] : english)
        before[id] = WindowText(Item(id));
    m_language.Select(Korean);
    m_dialog.ApplyLanguage();
    EXPECT_EQ(u"Quillsnapper \uC635\uC158", WindowText(dialog)); // Quillsnapper 옵션
    for (const auto& [id, text] : before)
        EXPECT_NE(text, WindowText(Item(id))) << id;
    // English mnemonics go into the Korean captions.
    EXPECT_EQ(u"\uC608(&Y)", WindowText(Item(IDYES)));                  // 예(&Y)
    EXPECT_EQ(u"\uC544\uB2C8\uC694(&N)", WindowText(Item(IDNO)));       // 아니요(&N)
    EXPECT_EQ(u"\uD63C\uD569(&B):", WindowText(Item(IDC_TEST_BLEND)));  // 혼합(&B):
    EXPECT_EQ(u"\uCEA1\uCC98", WindowText(Item(IDC_TEST_CAPTURE)));     // 캡처
    EXPECT_EQ(u"\uD30C\uC77C \uC774\uB984:", WindowText(Item(IDC_TEST_LABEL)));

    // And back: applying a language again rewrites every caption.
    m_language.Select(u"English");
    m_dialog.ApplyLanguage();
    for (const auto& [id, text] : english)
        EXPECT_EQ(text, WindowText(Item(id))) << id;
}

TEST_F(DialogTest, WithoutALanguageTheTemplateTextsStay)
{
    cLanguage::SetCurrent(nullptr);
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    EXPECT_EQ(u"Template title", WindowText(m_dialog.Handle()));
    EXPECT_EQ(u"Template capture", WindowText(Item(IDC_TEST_CAPTURE)));
    EXPECT_EQ(u"Template OK", WindowText(Item(IDOK)));
}

TEST_F(DialogTest, MnemonicsPressTheirButtonsInEveryLanguage)
{
    for (const char16_t* language : {u"English", Korean})
    {
        m_language.Select(language);
        cRecordingDialog dialog;
        dialog.keepOpen = true;
        ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
        for (const auto& [key, call] : {std::pair{L'y', "yes"}, std::pair{L'n', "no"}})
        {
            // The dialog manager presses only buttons that can be seen.
            ShowWindow(dialog.Handle(), SW_SHOWNA);
            MSG message{};
            message.hwnd = dialog.Handle();
            message.message = WM_SYSCHAR;
            message.wParam = key;
            message.lParam = 0x20000001; // Alt held
            EXPECT_TRUE(dialog.PreTranslateMessage(&message));
            PumpUntil([&] { return !dialog.calls.empty() && dialog.calls.back() == call; },
                      std::chrono::milliseconds(2000));
            EXPECT_EQ(call, dialog.calls.back());
        }
        DestroyWindow(dialog.Handle());
    }
}

TEST_F(DialogTest, NotifyResultGoesThroughTheMessageResult)
{
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    NMHDR header{};
    header.hwndFrom = Item(IDC_TEST_CAPTURE);
    header.idFrom = IDC_TEST_CAPTURE;
    header.code = NM_CLICK;
    m_dialog.handleNotify = true;
    m_dialog.notifyResult = 1234;
    EXPECT_EQ(1234, SendMessageW(m_dialog.Handle(), WM_NOTIFY, IDC_TEST_CAPTURE, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(1234, GetWindowLongPtrW(m_dialog.Handle(), DWLP_MSGRESULT));
}

TEST_F(DialogTest, CommandsGoToControlsFirstAndToChildPagesLast)
{
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    ShowWindow(m_dialog.Handle(), SW_SHOWNA);
    cPage page;
    ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &m_dialog));
    ASSERT_TRUE(IsWindowVisible(page.Handle()));

    // A command the dialog does not take reaches the visible page.
    SendMessageW(m_dialog.Handle(), WM_COMMAND, MAKEWPARAM(4000, 0), 0);
    EXPECT_EQ((std::vector<std::int32_t>{4000}), page.commands);
    EXPECT_EQ((std::vector<std::int32_t>{4000}), m_dialog.commands);
    ShowWindow(page.Handle(), SW_HIDE);
    SendMessageW(m_dialog.Handle(), WM_COMMAND, MAKEWPARAM(4000, 0), 0);
    EXPECT_EQ(1u, page.commands.size());

    // A toolkit control that takes its own command keeps it from the dialog
    // (the owner-drawn button is the template's one system button).
    cKeepingButton button;
    ASSERT_TRUE(button.Attach(Item(IDC_TEST_OWNERDRAW)));
    m_dialog.commands.clear();
    SendMessageW(m_dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDC_TEST_OWNERDRAW, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_TEST_OWNERDRAW)));
    EXPECT_EQ(1, button.commands);
    EXPECT_TRUE(m_dialog.commands.empty());
    button.Detach();
    DestroyWindow(page.Handle());
}

TEST_F(DialogTest, PrintScreenArrivesAsRawInput)
{
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    RAWINPUTDEVICE device{};
    device.usUsagePage = 1;
    device.usUsage = 6;
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = m_dialog.Handle();
    ASSERT_TRUE(RegisterRawInputDevices(&device, 1, sizeof device));

    INPUT keys[2] = {};
    for (INPUT& key : keys)
    {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_SNAPSHOT;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(2u, SendInput(2, keys, sizeof(INPUT)));
    EXPECT_TRUE(PumpUntil([&] { return m_dialog.rawKeys.size() >= 2; }));
    ASSERT_FALSE(m_dialog.rawKeys.empty());
    EXPECT_EQ(VK_SNAPSHOT, m_dialog.rawKeys.front());

    device.dwFlags = RIDEV_REMOVE;
    device.hwndTarget = nullptr;
    RegisterRawInputDevices(&device, 1, sizeof device);
}

TEST_F(DialogTest, LayoutArrangesTheChildrenOnSize)
{
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_EMPTY, nullptr));
    Window::cWindow fixed, first, second, hidden;
    for (Window::cWindow* child : {&fixed, &first, &second, &hidden})
        ASSERT_TRUE(child->Create(0, u"", WS_CHILD | (child == &hidden ? 0 : WS_VISIBLE), 0, 0, 10, 10,
                                  m_dialog.Handle(), 0));
    Window::cLayout& root = m_dialog.Layout();
    root.m_flags = Window::cLayout::Row;
    root.m_gap = 4;
    root.Add(new Window::cLayout(&fixed, 0, 100, 0));
    root.Add(new Window::cLayout(&hidden, 0, 50, 0));
    root.Add(new Window::cLayout(&first, Window::cLayout::Stretch, 0, 0));
    root.Add(new Window::cLayout(&second, Window::cLayout::Stretch, 0, 0));

    // A client area 300 wide: fixed total 2 * 4 + 100 + 4 = 112, shares 94.
    RECT frame{0, 0, 300, 80};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongW(m_dialog.Handle(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(m_dialog.Handle(), GWL_EXSTYLE)));
    SetWindowPos(m_dialog.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(300, m_dialog.GetClientRect().Width());
    const auto placed = [](const Window::cWindow& window) {
        const Container::sRect r = window.GetPlacementRect();
        return std::vector<int>{r.left, r.top, r.right, r.bottom};
    };
    EXPECT_EQ((std::vector<int>{4, 4, 104, 76}), placed(fixed));
    EXPECT_EQ((std::vector<int>{104, 0, 198, 80}), placed(first));
    EXPECT_EQ((std::vector<int>{198, 0, 292, 80}), placed(second));
    EXPECT_EQ((std::vector<int>{0, 0, 10, 10}), placed(hidden));

    // A column shares the height the same way.
    root.Clear();
    root.m_flags = 0;
    root.Add(new Window::cLayout(&fixed, 0, 0, 20));
    root.Add(new Window::cLayout(&first, Window::cLayout::Stretch, 0, 0));
    root.Add(new Window::cLayout(&second, Window::cLayout::Stretch, 0, 0, 5));
    m_dialog.RecalcLayout();
    EXPECT_EQ((std::vector<int>{0, 0, 300, 20}), placed(fixed));
    EXPECT_EQ((std::vector<int>{0, 20, 300, 50}), placed(first));
    EXPECT_EQ((std::vector<int>{0, 55, 300, 85}), placed(second));
    root.Clear();
    for (Window::cWindow* child : {&fixed, &first, &second, &hidden})
        child->Destroy();
}

TEST_F(DialogTest, TemplateControlsBecomeToolkitControlsOfTheirKind)
{
    m_language.Select(u"English");
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    const auto object = [&](HWND window) { return Window::cWindow::FromHandle(window); };
    const struct
    {
        int id;
        const char* kind;
    } cases[] = {
        {IDC_TEST_LABEL, "static"},   {IDC_TEST_CENTER, "static"}, {IDC_TEST_RIGHT, "static"},
        {-1, "static"},               {65535, "static"},          {IDC_TEST_RECT, "system"},
        {IDC_TEST_GROUP, "group"},    {IDC_TEST_CAPTURE, "button"}, {IDC_TEST_CHECK, "button"},
        {IDC_TEST_RADIO, "button"},   {IDC_TEST_OWNERDRAW, "system"}, {IDC_TEST_EDIT, "system"},
        {IDC_TEST_COMBO, "system"},   {IDOK, "button"},           {IDYES, "button"},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.id);
        Window::cWindow* control = object(GetDlgItem(m_dialog.Handle(), test.id));
        const std::string kind = !control                                        ? "system"
                                 : dynamic_cast<Window::cGroupBox*>(control)     ? "group"
                                 : dynamic_cast<Window::cButton*>(control)       ? "button"
                                 : dynamic_cast<Window::cStatic*>(control)       ? "static"
                                                                                 : "other";
        EXPECT_EQ(test.kind, kind);
        if (control)
            EXPECT_TRUE(control->DeleteOnDestroy());
    }
    // Subclassing again changes nothing; the controls die with the dialog.
    Window::cWindow* label = object(Item(IDC_TEST_LABEL));
    m_dialog.SubclassControls();
    EXPECT_EQ(label, object(Item(IDC_TEST_LABEL)));
    const HWND labelWindow = Item(IDC_TEST_LABEL);
    DestroyWindow(m_dialog.Handle());
    EXPECT_EQ(nullptr, object(labelWindow));
}

TEST_F(DialogTest, ToolTipsFollowTheLanguageWithOneToolPerControl)
{
    m_language.Select(u"English");
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_DIALOG, nullptr));
    Window::cToolTip tip;
    ASSERT_TRUE(tip.Create(m_dialog.Handle()));
    m_dialog.SetToolTip(&tip);
    // Buttons, statics and combo boxes with an id below 0xFFFF and a text:
    // all but the edit and the two statics without an id.
    const int count = tip.GetToolCount();
    EXPECT_EQ(15, count);
    EXPECT_EQ(u"Capture", tip.GetToolText(Item(IDC_TEST_CAPTURE)).View());
    EXPECT_EQ(u"File format:", tip.GetToolText(Item(IDC_TEST_COMBO)).View());
    EXPECT_EQ(u"", tip.GetToolText(Item(IDC_TEST_EDIT)).View());

    m_language.Select(cAppLanguage::Korean);
    m_dialog.ApplyLanguage();
    EXPECT_EQ(count, tip.GetToolCount());
    EXPECT_EQ(u"\uCEA1\uCC98", tip.GetToolText(Item(IDC_TEST_CAPTURE)).View());
    m_dialog.RegisterToolTips();
    EXPECT_EQ(count, tip.GetToolCount());

    // A text with a tip field shows only the tip.
    m_language.Language().Parse(u"IDC_CAPTURE \"&Grab|Takes a picture\"");
    m_dialog.ApplyLanguage();
    EXPECT_EQ(u"Takes a picture", tip.GetToolText(Item(IDC_TEST_CAPTURE)).View());
    EXPECT_EQ(u"&Grab", WindowText(Item(IDC_TEST_CAPTURE)));
    m_dialog.SetToolTip(nullptr);
    tip.Destroy();
}

TEST_F(DialogTest, FooterLinkIsAddedOnceBelowTheClientArea)
{
    m_language.Select(u"English");
    ASSERT_TRUE(m_dialog.Create(IDD_TEST_EMPTY, nullptr));
    Window::cDialog::EnableFooterLinks(false);
    EXPECT_EQ(nullptr, m_dialog.AddFooterLink(u"https://example.invalid/", 0));

    Window::cDialog::EnableFooterLinks(true);
    const Container::sRect before = m_dialog.GetClientRect();
    Window::cLinkStatic* link = m_dialog.AddFooterLink(u"https://example.invalid/", 20);
    ASSERT_NE(nullptr, link);
    EXPECT_EQ(nullptr, m_dialog.AddFooterLink(u"https://example.invalid/other", 20));
    EXPECT_EQ(link, m_dialog.FooterLink());
    const std::int32_t margin = m_dialog.GetSkin()->LineHeight() / 4;
    const Container::sRect placed = link->GetPlacementRect();
    EXPECT_EQ(before.left + margin, placed.left);
    EXPECT_EQ(before.right - margin, placed.right);
    EXPECT_EQ(before.bottom, placed.top);
    EXPECT_EQ(before.bottom + 20, placed.bottom);
    EXPECT_EQ(before.Height() + 20 + margin, m_dialog.GetClientRect().Height());
    // The promotion line of the built-in resource.
    EXPECT_EQ(u"Try Brimvale Pro, the image editor from Vadrin!", WindowText(link->Handle()));
    EXPECT_EQ(u"https://example.invalid/", link->GetTarget().View());
    EXPECT_EQ(DWORD(0x50031181), link->GetStyle());
    EXPECT_EQ(Window::cDialog::FooterLinkId, link->GetId());
    Window::cDialog::EnableFooterLinks(false);

    // The dialog deletes its link with its window.
    DestroyWindow(m_dialog.Handle());
    EXPECT_EQ(nullptr, m_dialog.FooterLink());
}
