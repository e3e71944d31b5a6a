// Toolkit classes inside a dialog template: the controls are created by
// the dialog manager while the dialog's own object waits for
// WM_INITDIALOG; none of them may take that object.
#include <gtest/gtest.h>

#include "WindowTestResources.h"
#include "WindowTestSupport.h"

using namespace WindowTests;
using Window::cWindow;

namespace {

struct cTestDialog : cRecorder
{
    int initDialogs = 0;
    HWND controlAtInit = nullptr;
};

// A dialog procedure that adopts the object handed over as the init
// parameter, as the toolkit's dialogs do.
INT_PTR CALLBACK AdoptingDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    auto* object = static_cast<cTestDialog*>(cWindow::FromHandle(dialog));
    if (object == nullptr)
    {
        if (message != WM_INITDIALOG)
            return FALSE;
        object = reinterpret_cast<cTestDialog*>(lParam);
        if (!object->Adopt(dialog))
            return FALSE;
        ++object->initDialogs;
        object->controlAtInit = GetDlgItem(dialog, IDC_TEST_TOOLKIT_BUTTON);
        return TRUE;
    }
    if (message == WM_NCDESTROY)
        object->Detach();
    return FALSE;
}

class DialogTemplateTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureToolkit(); }
};

} // namespace

TEST_F(DialogTemplateTest, ToolkitControlsDoNotTakeTheDialogsObject)
{
    cTestDialog dialogObject;
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_TEMPLATE), nullptr,
                                     &AdoptingDialogProc, reinterpret_cast<LPARAM>(&dialogObject));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialogObject.initDialogs, 1);
    EXPECT_EQ(cWindow::FromHandle(dialog), &dialogObject);
    EXPECT_EQ(dialogObject.Handle(), dialog);

    // The controls of toolkit classes exist and are nobody's yet.
    HWND button = GetDlgItem(dialog, IDC_TEST_TOOLKIT_BUTTON);
    HWND plain = GetDlgItem(dialog, IDC_TEST_TOOLKIT_WINDOW);
    ASSERT_NE(button, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(dialogObject.controlAtInit, button);
    EXPECT_EQ(cWindow::FromHandle(button), nullptr);
    EXPECT_EQ(cWindow::FromHandle(plain), nullptr);
    wchar_t name[32] = {};
    GetClassNameW(button, name, 32);
    EXPECT_STREQ(name, L"MiraButton");

    // Attached, a toolkit-class control gets its own object; what it passes
    // on reaches the default procedure (its text), not itself again.
    cRecorder control;
    ASSERT_TRUE(control.Attach(button));
    EXPECT_EQ(cWindow::FromHandle(button), &control);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_TRUE(control.Has({"OnLButtonDown", MK_LBUTTON, 3, 4}));
    Container::cWideString text;
    EXPECT_EQ(control.GetText(text), 2);
    EXPECT_EQ(text.View(), u"Go");

    DestroyWindow(dialog);
    EXPECT_EQ(control.Handle(), nullptr);
    EXPECT_EQ(dialogObject.Handle(), nullptr);
}

// A system control of the template attached the same way keeps working.
TEST_F(DialogTemplateTest, AttachedTemplateEditKeepsItsBehaviour)
{
    cTestDialog dialogObject;
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_TEMPLATE), nullptr,
                                     &AdoptingDialogProc, reinterpret_cast<LPARAM>(&dialogObject));
    ASSERT_NE(dialog, nullptr);
    cRecorder edit;
    ASSERT_TRUE(edit.Attach(GetDlgItem(dialog, IDC_TEST_EDIT)));
    SendMessageW(edit.Handle(), WM_CHAR, u'a', 1);
    SendMessageW(edit.Handle(), WM_CHAR, u'b', 1);
    Container::cWideString text;
    EXPECT_EQ(edit.GetText(text), 2);
    EXPECT_EQ(text.View(), u"ab");
    EXPECT_EQ(edit.Count("OnChar"), 2);
    DestroyWindow(dialog);
}
