// The About dialog of the running program, opened as a user opens it.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/ProgramSession.h"

using namespace E2e;

TEST(About, TheSystemMenuOpensTheAboutDialogWithTheVersionOwnedByTheToolWindow)
{
    cScratch scratch;
    ASSERT_TRUE(scratch.WriteSettings({}));
    cProgram program;
    ASSERT_TRUE(program.Start());
    HWND tool = program.WaitForToolWindow();
    ASSERT_NE(tool, nullptr);
    // "About Quillsnapper..." of the system menu.
    ASSERT_TRUE(PostMessageW(tool, WM_SYSCOMMAND, 32774, 0));
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            about = FindWindowW(L"#32770", L"About...");
            return about != nullptr && IsWindowVisible(about);
        },
        20000));
    EXPECT_EQ(GetWindow(about, GW_OWNER), tool);
    wchar_t text[64] = {};
    GetDlgItemTextW(about, 1000, text, 64);
    EXPECT_STREQ(text, L"v1.0.0.0");
    GetDlgItemTextW(about, 150, text, 64);
    EXPECT_STREQ(text, L"Vadrin Quillsnapper");
    // OK closes it, and the program goes on.
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 20000));
    EXPECT_TRUE(program.IsRunning());
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.WaitForExit(60000), 0u);
}
