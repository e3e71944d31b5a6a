#include <gtest/gtest.h>

#include "framework/window/Menu.h"
#include "framework/window/Window.h"
#include "tests/window/DialogTestResources.h"
#include "tests/window/DialogTestSupport.h"

#include <string>
#include <vector>

namespace {

std::u16string ItemText(HMENU menu, int position)
{
    wchar_t buffer[256] = {};
    GetMenuStringW(menu, UINT(position), buffer, 256, MF_BYPOSITION);
    return reinterpret_cast<const char16_t*>(buffer);
}

ULONG_PTR ItemData(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, UINT(position), TRUE, &info);
    return info.dwItemData;
}

// Sets the state of the test menu's commands the way a window would.
class cUpdatingWindow : public Window::cWindow
{
public:
    std::vector<int> updated;
    bool OnUpdateCommand(Window::cControlModifier& modifier) override
    {
        updated.push_back(modifier.Command());
        switch (modifier.Command())
        {
        case IDC_TEST_CAPTURE: modifier.Enable(false); break;
        case IDOK: modifier.SetCheck(true); break;
        case 4321: modifier.SetRadio(true); break;
        default: break;
        }
        modifier.SetVisible(false);
        return true;
    }
};

const std::vector<ACCEL> Accelerators = {
    {FVIRTKEY | FCONTROL, 'S', IDC_TEST_CAPTURE},
    {FVIRTKEY | FALT, VK_F4, IDOK},
    {FVIRTKEY | FCONTROL | FSHIFT | FALT, VK_BROWSER_FAVORITES, IDC_TEST_CHECK},
};

} // namespace

TEST(MenuTest, ApplyLanguageLocalisesItemsWithMnemonicsAndKeys)
{
    Testing::cDialogLanguage language;
    language.Select(u"English");
    Window::cMenu menu;
    ASSERT_TRUE(menu.Load(GetModuleHandleW(nullptr), IDM_TEST_MENU));
    menu.ApplyLanguage(language.Language(), &Accelerators);
    const HMENU bar = menu.Handle();
    EXPECT_EQ(u"Main Tools", ItemText(bar, 0));
    EXPECT_EQ(ULONG_PTR(45057), ItemData(bar, 0));
    const HMENU tools = GetSubMenu(bar, 0);
    EXPECT_EQ(u"Capture\tCtrl+S", ItemText(tools, 0));
    EXPECT_EQ(ULONG_PTR(IDC_TEST_CAPTURE), ItemData(tools, 0));
    EXPECT_EQ(u"OK\tAlt+F4", ItemText(tools, 2));
    // A submenu whose caption is no id name keeps it; its items are done.
    EXPECT_EQ(u"NOT_AN_ID_NAME", ItemText(tools, 3));
    // The key text is cut to the room a menu gives it.
    EXPECT_EQ(u"Copy to clipboard\tCtrl+Shift+Alt+Browser Favori", ItemText(GetSubMenu(tools, 3), 0));
    // An id without a text keeps the resource caption.
    EXPECT_EQ(u"Template unknown", ItemText(tools, 4));
    EXPECT_EQ(UINT(MF_SEPARATOR), GetMenuState(tools, 1, MF_BYPOSITION) & MF_SEPARATOR);

    // In Korean the captions change, the keys stay.
    language.Select(cAppLanguage::Korean);
    Window::cMenu korean;
    ASSERT_TRUE(korean.Load(GetModuleHandleW(nullptr), IDM_TEST_MENU));
    korean.ApplyLanguage(language.Language(), nullptr);
    EXPECT_EQ(u"\uC8FC\uC694 \uB3C4\uAD6C", ItemText(korean.Handle(), 0)); // 주요 도구
    EXPECT_EQ(u"\uCEA1\uCC98", ItemText(GetSubMenu(korean.Handle(), 0), 0)); // 캡처
}

TEST(MenuTest, ModifiersSetTheStateOfTheirItems)
{
    Testing::cDialogLanguage language;
    Window::cMenu menu;
    ASSERT_TRUE(menu.Load(GetModuleHandleW(nullptr), IDM_TEST_MENU));
    const Window::cMenu tools(GetSubMenu(menu.Handle(), 0), false);
    cUpdatingWindow window;
    tools.UpdateItems(window);
    // Separators and submenus have no command.
    EXPECT_EQ((std::vector<int>{IDC_TEST_CAPTURE, IDOK, 4321}), window.updated);
    const HMENU handle = tools.Handle();
    EXPECT_TRUE(GetMenuState(handle, IDC_TEST_CAPTURE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(handle, IDOK, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(handle, 4321, MF_BYCOMMAND) & MF_CHECKED);

    // Turning the states off again.
    Window::cMenu::cModifier capture(IDC_TEST_CAPTURE, tools);
    capture.Enable(true);
    EXPECT_FALSE(GetMenuState(handle, IDC_TEST_CAPTURE, MF_BYCOMMAND) & MF_GRAYED);
    Window::cMenu::cModifier ok(IDOK, tools);
    ok.SetCheck(false);
    EXPECT_FALSE(GetMenuState(handle, IDOK, MF_BYCOMMAND) & MF_CHECKED);
    Window::cMenu::cModifier unknown(4321, tools);
    unknown.SetRadio(false);
    EXPECT_FALSE(GetMenuState(handle, 4321, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(MenuTest, PopupsAskTheWindowButTheSystemMenuDoesNot)
{
    Testing::cDialogLanguage language;
    cUpdatingWindow window;
    ASSERT_TRUE(window.Create(0, u"menu test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, 0));
    Window::cMenu menu;
    ASSERT_TRUE(menu.Load(GetModuleHandleW(nullptr), IDM_TEST_MENU));
    const HMENU tools = GetSubMenu(menu.Handle(), 0);
    SendMessageW(window.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(window.updated.empty());
    SendMessageW(window.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), MAKELPARAM(0, FALSE));
    EXPECT_EQ((std::vector<int>{IDC_TEST_CAPTURE, IDOK, 4321}), window.updated);
    window.Destroy();
}

TEST(MenuTest, FindAboutItemAndOwnership)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 10, L"one");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    {
        const Window::cMenu wrapper(menu, false);
        EXPECT_EQ(2, wrapper.FindAboutItem());
        AppendMenuW(menu, MF_STRING, Window::cMenu::AboutCommand, L"About");
        EXPECT_EQ(2, wrapper.FindAboutItem());
    }
    // A wrapper that does not own the menu leaves it alive.
    EXPECT_TRUE(IsMenu(menu));
    {
        const Window::cMenu owner(menu, true);
    }
    EXPECT_FALSE(IsMenu(menu));
}

TEST(MenuTest, KeyAndToolTipTextsFromAccelerators)
{
    wchar_t key[Window::cMenu::MenuKeyTextCapacity];
    const ACCEL save{FVIRTKEY | FCONTROL | FSHIFT, 'S', 1};
    EXPECT_EQ(12u, Window::cMenu::KeyText(save, key, Window::cMenu::MenuKeyTextCapacity));
    EXPECT_EQ(std::wstring(L"Ctrl+Shift+S"), key);
    wchar_t small[5];
    EXPECT_EQ(4u, Window::cMenu::KeyText(save, small, 5));
    EXPECT_EQ(std::wstring(L"Ctrl"), small);

    wchar_t tip[Window::cMenu::ToolTipCapacity];
    const ACCEL exit{FVIRTKEY | FALT, VK_F4, 2};
    Window::cMenu::ToolTipText(L"E&xit|Quit the program|Exit", &exit, tip);
    EXPECT_EQ(std::wstring(L"Exit (Alt+F4)"), tip);
    const std::wstring longText = L"a|b|" + std::wstring(200, L'x');
    EXPECT_EQ(80u, Window::cMenu::ToolTipText(longText.c_str(), nullptr, tip));
}
