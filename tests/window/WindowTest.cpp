// The window base under Wine: binding, creation hand-over, decoding of the
// messages into operations, passing on with the original parameters,
// reflection, lifetime and the utilities.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include "framework/window/WindowClass.h"
#include "framework/window/skin/Skin.h"

using namespace WindowTests;
using Window::cWindow;

namespace {

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureToolkit();
        ASSERT_TRUE(host.Open());
    }
    void TearDown() override
    {
        if (host.Handle())
            host.Destroy();
    }
    cHost host;
};

LPARAM Pack(int x, int y) { return MAKELPARAM(std::uint16_t(x), std::uint16_t(y)); }

// A system window procedure that records the last message it got.
WNDPROC g_editProc = nullptr;
UINT g_seenMessage = 0;
WPARAM g_seenWParam = 0;
LPARAM g_seenLParam = 0;
LRESULT CALLBACK SpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_seenMessage = message;
    g_seenWParam = wParam;
    g_seenLParam = lParam;
    return CallWindowProcW(g_editProc, window, message, wParam, lParam);
}

} // namespace

TEST_F(WindowTest, CreatedWindowIsBoundAndSeesItsCreationMessages)
{
    cRecorder child;
    int parameter = 0;
    ASSERT_TRUE(child.Create(0, u"child", WS_CHILD | WS_VISIBLE, 10, 20, 110, 70, host.Handle(), 5, &parameter));
    EXPECT_EQ(cWindow::FromHandle(child.Handle()), &child);
    // The handlers see the caller's parameter, not the toolkit's hand-over.
    EXPECT_EQ(child.ncCreateParam, &parameter);
    EXPECT_EQ(child.createParam, &parameter);
    EXPECT_EQ(child.attachCount, 1);
    EXPECT_EQ(child.attachStyle, DWORD(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(child.GetId(), 5);
    EXPECT_EQ(child.GetPlacementRect(), (Container::sRect{10, 20, 110, 70}));
    Container::cWideString text;
    EXPECT_EQ(child.GetText(text), 5);
    EXPECT_EQ(text.View(), u"child");
    EXPECT_TRUE(child.Destroy());
    EXPECT_EQ(child.Handle(), nullptr);
    EXPECT_EQ(cWindow::FromHandle(nullptr), nullptr);
}

// A class the registration table does not list is registered on its first
// Create instead of failing.
TEST_F(WindowTest, ClassNamedByAWindowIsRegisteredOnFirstCreate)
{
    struct cResizeWindow : cRecorder
    {
        Container::cWideString GetClassName() const override { return u"ResizeWindow"; }
    };
    cResizeWindow first, second;
    ASSERT_TRUE(first.Create(0, nullptr, WS_CHILD, 0, 0, 10, 10, host.Handle(), 1));
    ASSERT_TRUE(second.Create(0, nullptr, WS_CHILD, 0, 0, 10, 10, host.Handle(), 2));
    wchar_t name[64] = {};
    GetClassNameW(first.Handle(), name, 64);
    EXPECT_STREQ(name, L"ResizeWindow");
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(Window::cToolkit::Instance(), L"ResizeWindow", &info));
    EXPECT_EQ(info.lpfnWndProc, &cWindow::ToolkitProc);
    // The table's own classes keep their styles.
    ASSERT_TRUE(GetClassInfoExW(Window::cToolkit::Instance(), L"MiraList", &info));
    EXPECT_EQ(info.style, UINT(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    ASSERT_TRUE(GetClassInfoExW(Window::cToolkit::Instance(), L"MiraPropertyTreePanel", &info));
    EXPECT_EQ(info.style, 0u);
    EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

TEST_F(WindowTest, FailedCreateLeavesTheObjectUnboundAndAdoptsNothingLater)
{
    struct cRefuses : cRecorder
    {
        std::int32_t OnCreate(CREATESTRUCTW*) override { return -1; }
    };
    cRefuses refused;
    EXPECT_FALSE(refused.Create(0, nullptr, WS_CHILD, 0, 0, 10, 10, host.Handle(), 1));
    EXPECT_EQ(refused.Handle(), nullptr);
    // A window made later without the toolkit's hand-over stays unbound.
    HWND plain = CreateWindowExW(0, L"MiraWindow", L"", WS_CHILD, 0, 0, 10, 10, host.Handle(), nullptr,
                                 Window::cToolkit::Instance(), nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(cWindow::FromHandle(plain), nullptr);
    EXPECT_EQ(refused.Handle(), nullptr);
    DestroyWindow(plain);
}

// The operations get the arguments decoded; mouse coordinates are signed.
TEST_F(WindowTest, MessagesArriveAsDecodedOperations)
{
    struct sCase
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        sCall expected;
    };
    const sCase cases[] = {
        {WM_MOUSEMOVE, MK_LBUTTON, Pack(-5, 7), {"OnMouseMove", MK_LBUTTON, -5, 7}},
        {WM_LBUTTONDOWN, MK_SHIFT | MK_LBUTTON, Pack(300, -2), {"OnLButtonDown", MK_SHIFT | MK_LBUTTON, 300, -2}},
        {WM_RBUTTONUP, 0, Pack(32767, -32768), {"OnRButtonUp", 0, 32767, -32768}},
        {WM_NCLBUTTONDOWN, HTCLIENT, Pack(-100, 50), {"OnNcLButtonDown", HTCLIENT, -100, 50}},
        {WM_CONTEXTMENU, 0, Pack(-1, -1), {"OnContextMenu", 0, -1, -1}},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WORD(-240)), Pack(12, -34),
         {"OnMouseWheel", MK_CONTROL, -240, 12 * 100000 - 34}},
        {WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0xC03F), {"OnKeyDown", VK_F5, 3, 0xC03F}},
        {WM_CHAR, u'x', MAKELPARAM(1, 0x002D), {"OnChar", u'x', 1, 0x002D}},
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(0xFFF6, 20), {"OnSize", SIZE_MAXIMIZED, 0xFFF6, 20}},
        {WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0, {"OnActivate", WA_CLICKACTIVE, 0, 1}},
        {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0xFFFF), 0, {"OnHScroll", SB_THUMBTRACK, 0xFFFF, 0}},
    };
    for (const sCase& c : cases)
    {
        host.calls.clear();
        SendMessageW(host.Handle(), c.message, c.wParam, c.lParam);
        // The first call is the message's own; passing it on may bring more
        // (WM_RBUTTONUP brings WM_CONTEXTMENU).
        ASSERT_FALSE(host.calls.empty()) << "message " << c.message;
        EXPECT_EQ(host.calls[0], c.expected);
    }
    // The other window of WM_ACTIVATE reaches the operation as an object.
    host.calls.clear();
    SendMessageW(host.Handle(), WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(host.Handle()));
    EXPECT_TRUE(host.Has({"OnActivate", WA_ACTIVE, 1, 0}));
}

TEST_F(WindowTest, AnswersFollowTheOperations)
{
    EXPECT_EQ(SendMessageW(host.Handle(), WM_MOUSEWHEEL, 0, 0), 1);
    // Timers the window knows are handled; others reach DefaultProc.
    EXPECT_EQ(SendMessageW(host.Handle(), WM_TIMER, 7, 0), 0);
    EXPECT_TRUE(host.Has({"OnTimer", 7}));
    // WM_GETFONT answers the stored font.
    HFONT font = host.GetSkin()->Font();
    SendMessageW(host.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(host.Handle(), WM_GETFONT, 0, 0)), font);
}

// WM_MOVE carries the client origin as signed words: left of the primary
// monitor it is negative.
TEST_F(WindowTest, MovePositionsLeftOfTheMonitorAreNegative)
{
    host.calls.clear();
    ASSERT_TRUE(SetWindowPos(host.Handle(), nullptr, -120, -40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_FALSE(host.calls.empty());
    const sCall last = [&] {
        sCall found;
        for (const sCall& c : host.calls)
            if (c.name == "OnMove")
                found = c;
        return found;
    }();
    EXPECT_EQ(last, (sCall{"OnMove", -120, -40}));
    cRecorder child;
    ASSERT_TRUE(child.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, host.Handle(), 1));
    child.calls.clear();
    EXPECT_TRUE(child.MoveTo(-10, 4));
    EXPECT_TRUE(child.Has({"OnMove", -10, 4}));
}

// A message passed on reaches the previous window procedure with its own
// wParam and lParam, also bits that decoding does not keep.
TEST_F(WindowTest, PassingOnForwardsTheOriginalParameters)
{
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, host.Handle(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    g_editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyProc)));
    cRecorder object;
    ASSERT_TRUE(object.Attach(edit));
    EXPECT_EQ(object.attachStyle, 0u);
    const LPARAM wide = LPARAM(sizeof(LPARAM) > 4 ? (LPARAM(0x1234) << 32) : 0) | Pack(-3, 9);
    SendMessageW(edit, WM_MOUSEMOVE, 0x10000 | MK_RBUTTON, wide);
    EXPECT_TRUE(object.Has({"OnMouseMove", 0x10000 | MK_RBUTTON, -3, 9}));
    EXPECT_EQ(g_seenMessage, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(g_seenWParam, WPARAM(0x10000 | MK_RBUTTON));
    EXPECT_EQ(g_seenLParam, wide);
    // The previous procedure still does its work: characters reach the edit.
    SendMessageW(edit, WM_CHAR, u'q', 1);
    EXPECT_TRUE(object.Has({"OnChar", u'q', 1, 0}));
    wchar_t text[8] = {};
    GetWindowTextW(edit, text, 8);
    EXPECT_STREQ(text, L"q");
    // Detach puts the old procedure back.
    EXPECT_EQ(object.Detach(), edit);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)), &SpyProc);
    EXPECT_EQ(cWindow::FromHandle(edit), nullptr);
    DestroyWindow(edit);
}

// The slot Windows keeps for user data stays the window's own: a window
// with a value in it is not taken for a toolkit window.
TEST_F(WindowTest, ForeignUserDataIsNotAnObject)
{
    HWND foreign = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 10, 10, host.Handle(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
    EXPECT_EQ(cWindow::FromHandle(foreign), nullptr);
    host.calls.clear();
    SendMessageW(host.Handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(foreign));
    EXPECT_TRUE(host.Has({"OnHScroll", SB_LINEDOWN, 0, 0}));
    cRecorder attached;
    ASSERT_TRUE(attached.Attach(foreign));
    EXPECT_EQ(GetWindowLongPtrW(foreign, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&host));
    // One object per window.
    cRecorder second;
    EXPECT_FALSE(second.Attach(foreign));
    EXPECT_FALSE(attached.Attach(host.Handle()));
    DestroyWindow(foreign);
    EXPECT_EQ(attached.Handle(), nullptr);
}

TEST_F(WindowTest, CommandsAreReflectedToTheControlFirst)
{
    cRecorder control;
    ASSERT_TRUE(control.Create(0, nullptr, WS_CHILD, 0, 0, 20, 20, host.Handle(), 33));
    const auto controlHandle = reinterpret_cast<long long>(control.Handle());
    const LPARAM fromControl = reinterpret_cast<LPARAM>(control.Handle());

    // The control keeps what it handles.
    control.commandResult = true;
    SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(33, BN_CLICKED), fromControl);
    EXPECT_TRUE(control.Has({"OnCommand", 33, BN_CLICKED, controlHandle}));
    EXPECT_EQ(host.Count("OnCommand"), 0);

    // What it does not handle goes on to the parent.
    control.calls.clear();
    control.commandResult = false;
    SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(33, EN_CHANGE), fromControl);
    EXPECT_EQ(control.Count("OnCommand"), 1);
    EXPECT_TRUE(host.Has({"OnCommand", 33, EN_CHANGE, controlHandle}));

    // A command naming the receiver itself is handled once, unreflected.
    host.calls.clear();
    SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(9, 1), reinterpret_cast<LPARAM>(host.Handle()));
    EXPECT_EQ(host.Count("OnCommand"), 1);

    // SendCommand packs the control's id and handle.
    host.calls.clear();
    control.calls.clear();
    host.SendCommand(BN_DOUBLECLICKED, &control);
    EXPECT_TRUE(host.Has({"OnCommand", 33, BN_DOUBLECLICKED, controlHandle}));
    host.calls.clear();
    host.SendCommand(4, nullptr);
    EXPECT_TRUE(host.Has({"OnCommand", 0, 4, 0}));
}

TEST_F(WindowTest, NotificationsGoToTheParentThenTheSender)
{
    cRecorder control;
    ASSERT_TRUE(control.Create(0, nullptr, WS_CHILD, 0, 0, 20, 20, host.Handle(), 44));
    NMHDR header{control.Handle(), 44, UINT(NM_CLICK)};
    const LPARAM lParam = reinterpret_cast<LPARAM>(&header);

    host.notifyResult = true;
    EXPECT_EQ(SendMessageW(host.Handle(), WM_NOTIFY, 44, lParam), 42);
    EXPECT_EQ(control.Count("OnNotify"), 0);

    host.notifyResult = false;
    control.notifyResult = true;
    EXPECT_EQ(SendMessageW(host.Handle(), WM_NOTIFY, 44, lParam), 42);
    EXPECT_EQ(control.Count("OnNotify"), 1);
    EXPECT_EQ(host.defaultNotify, 0);

    control.notifyResult = false;
    SendMessageW(host.Handle(), WM_NOTIFY, 44, lParam);
    EXPECT_EQ(host.defaultNotify, 1);
}

TEST_F(WindowTest, DeleteOnDestroyFreesTheObjectWithItsWindow)
{
    bool destroyed = false;
    auto* child = new cRecorder;
    child->destroyed = &destroyed;
    child->SetDeleteOnDestroy(true);
    ASSERT_TRUE(child->Create(0, nullptr, WS_CHILD, 0, 0, 10, 10, host.Handle(), 1));
    const HWND handle = child->Handle();
    // Destroying the parent destroys the child and so deletes its object.
    host.Destroy();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(cWindow::FromHandle(handle), nullptr);
    EXPECT_EQ(host.Handle(), nullptr);
}

// An object deleted while one of its messages is being handled is not
// touched afterwards (ASan-free under Wine shows as no crash; the flag
// shows the deletion happened inside the dispatch).
TEST_F(WindowTest, WindowDestroyedInsideItsOwnHandler)
{
    struct cSelfClosing : cRecorder
    {
        void OnLButtonDown(std::int32_t, std::int32_t, std::int32_t) override { Destroy(); }
    };
    bool destroyed = false;
    auto* window = new cSelfClosing;
    window->destroyed = &destroyed;
    window->SetDeleteOnDestroy(true);
    ASSERT_TRUE(window->Create(0, nullptr, WS_CHILD, 0, 0, 10, 10, host.Handle(), 1));
    const HWND handle = window->Handle();
    SendMessageW(handle, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(WindowTest, SizingKeepsTheMinimumSize)
{
    struct sCase
    {
        int edge;
        RECT in;
        RECT out;
    };
    const sCase cases[] = {
        {WMSZ_LEFT, {50, 0, 200, 100}, {0, 0, 200, 100}},          // width 150 -> left = right - 200
        {WMSZ_RIGHT, {0, 0, 150, 100}, {0, 0, 200, 100}},
        {WMSZ_TOPLEFT, {50, 0, 200, 10}, {0, 0, 200, 10}},         // the height is not limited
        {WMSZ_BOTTOMRIGHT, {0, 0, 120, 5}, {0, 0, 200, 5}},
        {WMSZ_LEFT, {0, 0, 250, 100}, {0, 0, 250, 100}},           // wide enough: unchanged
        {99, {0, 0, 10, 10}, {0, 0, 10, 10}},                      // unknown edge: unchanged
    };
    host.SetMinTrackSize(200, 0);
    for (const sCase& c : cases)
    {
        RECT r = c.in;
        EXPECT_EQ(SendMessageW(host.Handle(), WM_SIZING, c.edge, reinterpret_cast<LPARAM>(&r)), TRUE);
        EXPECT_TRUE(EqualRect(&r, &c.out)) << "edge " << c.edge << ": " << r.left << "," << r.top << "," << r.right
                                           << "," << r.bottom;
    }
    host.SetMinTrackSize(0, 60);
    RECT r{0, 50, 100, 70};
    SendMessageW(host.Handle(), WM_SIZING, WMSZ_TOP, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 10);
    r = {0, 0, 100, 20};
    SendMessageW(host.Handle(), WM_SIZING, WMSZ_BOTTOMLEFT, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.bottom, 60);
    EXPECT_EQ(r.left, 0);
}

TEST_F(WindowTest, AlphaTurnsTheLayeredStyleOnAndOff)
{
    struct sCase
    {
        int alpha;
        bool layered;
        BYTE expected;
    };
    const sCase cases[] = {{128, true, 128}, {255, false, 0}, {-5, true, 0}, {300, false, 0}, {0, true, 0}, {254, true, 254}};
    for (const sCase& c : cases)
    {
        EXPECT_TRUE(host.SetAlpha(c.alpha));
        EXPECT_EQ((host.GetExStyle() & WS_EX_LAYERED) != 0, c.layered) << "alpha " << c.alpha;
        if (c.layered)
        {
            BYTE alpha = 1;
            DWORD flags = 0;
            ASSERT_TRUE(GetLayeredWindowAttributes(host.Handle(), nullptr, &alpha, &flags));
            EXPECT_EQ(alpha, c.expected);
            EXPECT_TRUE(flags & LWA_ALPHA);
        }
    }
}

// Moving a window to where it stands makes no system call: no
// WM_WINDOWPOSCHANGED arrives.
TEST_F(WindowTest, MoveAndBoundsToTheCurrentPlaceDoNothing)
{
    struct cCounting : cRecorder
    {
        int changes = 0;
        void OnWindowPosChanged(WINDOWPOS* position) override
        {
            ++changes;
            cRecorder::OnWindowPosChanged(position);
        }
    };
    cCounting child;
    ASSERT_TRUE(child.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 5, 6, 25, 36, host.Handle(), 1));
    child.changes = 0;
    EXPECT_TRUE(child.MoveTo(5, 6));
    EXPECT_TRUE(child.SetBounds(5, 6, 25, 36));
    EXPECT_EQ(child.changes, 0);
    EXPECT_TRUE(child.SetBounds(5, 6, 45, 36));
    EXPECT_EQ(child.changes, 1);
    EXPECT_EQ(child.GetPlacementRect(), (Container::sRect{5, 6, 45, 36}));
    // A popup compares in screen coordinates.
    host.calls.clear();
    const Container::sRect screen = host.GetWindowRect();
    EXPECT_TRUE(host.MoveTo(screen.left, screen.top));
    EXPECT_EQ(host.Count("OnMove"), 0);
}

TEST_F(WindowTest, ShowNoActivateChangesVisibilityOnlyWhenNeeded)
{
    cRecorder child;
    ASSERT_TRUE(child.Create(0, nullptr, WS_CHILD, 0, 0, 10, 10, host.Handle(), 1));
    EXPECT_FALSE(child.IsVisible());
    child.ShowNoActivate(true);
    EXPECT_TRUE(child.IsVisible());
    child.ShowNoActivate(true);
    EXPECT_TRUE(child.IsVisible());
    child.ShowNoActivate(false);
    EXPECT_FALSE(child.IsVisible());
    child.ShowNoActivate(true);
    child.Hide();
    EXPECT_FALSE(child.IsVisible());
}

// Redraw(true) recurses through toolkit children only, each by its own
// Redraw; a system child in between is redrawn but not descended into.
TEST_F(WindowTest, RedrawReachesToolkitDescendants)
{
    cRecorder child, grandchild;
    ASSERT_TRUE(child.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, host.Handle(), 1));
    ASSERT_TRUE(grandchild.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, child.Handle(), 2));
    HWND system = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 60, 0, 50, 50, host.Handle(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    cRecorder underSystem;
    ASSERT_TRUE(underSystem.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, system, 3));

    host.Redraw(false);
    EXPECT_EQ(child.Count("Redraw"), 0);
    host.Redraw(true);
    EXPECT_TRUE(child.Has({"Redraw", 1}));
    EXPECT_TRUE(grandchild.Has({"Redraw", 1}));
    EXPECT_EQ(underSystem.Count("Redraw"), 0);
    DestroyWindow(system);
}

TEST_F(WindowTest, RelatedWindowsAreFoundAsObjects)
{
    cRecorder first, second;
    ASSERT_TRUE(first.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, host.Handle(), 1));
    ASSERT_TRUE(second.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 40, 40, 90, 90, host.Handle(), 2));
    EXPECT_EQ(first.GetParentWindow(), &host);
    EXPECT_EQ(host.GetParentWindow(), nullptr);
    EXPECT_EQ(host.GetRelatedWindow(GW_CHILD), &first);
    // The first child in z-order holding the point wins.
    EXPECT_EQ(host.ChildFromPoint({45, 45}), &first);
    EXPECT_EQ(host.ChildFromPoint({80, 80}), &second);
    EXPECT_EQ(host.ChildFromPoint({200, 150}), nullptr);
    EXPECT_TRUE(second.SetParentWindow(&first));
    EXPECT_EQ(second.GetParentWindow(), &first);
}

// Focus changes are told to the toolkit parent chain.
TEST_F(WindowTest, FocusChangesReachTheParents)
{
    struct cFocusParent : cRecorder
    {
        cWindow* gained = nullptr;
        cWindow* lost = nullptr;
        void OnChildSetFocus(cWindow* child, cWindow*) override { gained = child; }
        void OnChildKillFocus(cWindow* child, cWindow*) override { lost = child; }
    };
    cFocusParent parent;
    ASSERT_TRUE(parent.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, host.Handle(), 1));
    cRecorder middle, leaf;
    ASSERT_TRUE(middle.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent.Handle(), 2));
    ASSERT_TRUE(leaf.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, middle.Handle(), 3));
    SendMessageW(leaf.Handle(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(parent.gained, &leaf);
    SendMessageW(leaf.Handle(), WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(parent.lost, &leaf);
}

// Control colours come from the skin's palette and brushes.
TEST_F(WindowTest, ControlColoursComeFromTheSkin)
{
    using P = Skin::cPalette;
    const Skin::cSkin& skin = *host.GetSkin();
    struct sCase
    {
        UINT message;
        int text;        // palette entry, or -1 when not set
        int background;
        HBRUSH brush;
    };
    const sCase cases[] = {
        {WM_CTLCOLORDLG, P::Text, P::DialogFace, skin.DialogBrush()},
        {WM_CTLCOLORMSGBOX, P::Text, P::DialogFace, skin.DialogBrush()},
        {WM_CTLCOLOREDIT, P::EditText, P::EditBackground, skin.EditBrush()},
        {WM_CTLCOLORLISTBOX, P::EditText, P::EditBackground, skin.EditBrush()},
        {WM_CTLCOLORSTATIC, P::EditText, P::DialogFace, skin.DialogBrush()},
        {WM_CTLCOLORBTN, -1, -1, skin.ButtonBrush()},
        {WM_CTLCOLORSCROLLBAR, -1, -1, skin.EditBrush()},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const sCase& c : cases)
    {
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(host.Handle(), c.message, reinterpret_cast<WPARAM>(dc), 0));
        EXPECT_NE(brush, nullptr) << c.message;
        EXPECT_EQ(brush, c.brush) << c.message;
        EXPECT_EQ(GetTextColor(dc), c.text < 0 ? RGB(1, 2, 3) : skin.ColourRef(c.text)) << c.message;
        EXPECT_EQ(GetBkColor(dc), c.background < 0 ? RGB(4, 5, 6) : skin.ColourRef(c.background)) << c.message;
    }
    DeleteDC(dc);
    // The brushes are solid brushes of their entries.
    LOGBRUSH info{};
    ASSERT_TRUE(GetObjectW(skin.EditBrush(), sizeof(info), &info));
    EXPECT_EQ(info.lbColor, skin.ColourRef(P::EditBackground));
    ASSERT_TRUE(GetObjectW(skin.DialogBrush(), sizeof(info), &info));
    EXPECT_EQ(info.lbColor, skin.ColourRef(P::DialogFace));
    ASSERT_TRUE(GetObjectW(skin.ButtonBrush(), sizeof(info), &info));
    EXPECT_EQ(info.lbColor, skin.ColourRef(P::ButtonFace));
}

// Non-client scroll hit codes are left to the system for every window.
TEST_F(WindowTest, ScrollBarHitsOfSubclassedEditsAreNotSwallowed)
{
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 0, 0, 100, 60,
                                host.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    g_editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyProc)));
    cRecorder object;
    ASSERT_TRUE(object.Attach(edit));
    g_seenMessage = 0;
    SendMessageW(edit, WM_NCMOUSEMOVE, HTVSCROLL, Pack(10, 10));
    EXPECT_EQ(g_seenMessage, UINT(WM_NCMOUSEMOVE));
    EXPECT_EQ(g_seenWParam, WPARAM(HTVSCROLL));
    object.Detach();
    DestroyWindow(edit);
}

namespace {

// A drop as the shell hands it over: DROPFILES, then the wide paths, each
// ended by a 0, and one more 0 (with spare zeros after it: readers of an
// empty list look one character past its end).
HDROP MakeDrop(const std::vector<std::u16string>& paths, POINT point)
{
    std::size_t characters = 4;
    for (const auto& path : paths)
        characters += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(char16_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<char16_t*>(drop + 1);
    for (const auto& path : paths)
    {
        std::copy(path.begin(), path.end(), text);
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

struct cDropTarget : cRecorder
{
    std::vector<std::u16string> files;
    int drops = 0;
    Container::sPoint at;
    void OnFilesDropped(const Container::cStringList& list, std::int32_t x, std::int32_t y) override
    {
        ++drops;
        at = {x, y};
        for (std::size_t i = 0; i < list.Count(); ++i)
            files.emplace_back(list.At(i)->View());
    }
};

} // namespace

TEST_F(WindowTest, DroppedFilesArriveInTheirOrder)
{
    cDropTarget target;
    ASSERT_TRUE(target.Create(0, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, host.Handle(), 1));
    SendMessageW(target.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({u"C:\\b.png", u"C:\\a\\c.jpg"}, {12, 34})), 0);
    EXPECT_EQ(target.drops, 1);
    EXPECT_EQ(target.files, (std::vector<std::u16string>{u"C:\\b.png", u"C:\\a\\c.jpg"}));
    EXPECT_EQ(target.at, (Container::sPoint{12, 34}));
    // A drop without readable paths is finished but not reported.
    SendMessageW(target.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({}, {1, 1})), 0);
    EXPECT_EQ(target.drops, 1);
}

TEST_F(WindowTest, CenterOnScreenUsesThePrimaryScreen)
{
    ASSERT_TRUE(host.CenterOnScreen());
    const Container::sRect r = host.GetWindowRect();
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
    EXPECT_EQ(r.Width(), 300);
}
