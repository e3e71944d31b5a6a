// The options dialog of the running program, as a user meets it: opened
// from the tool window, a format chosen and confirmed, the next capture in
// that format, and the settings file holding it at exit.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/ProgramSession.h"

using namespace E2e;

namespace {

HWND WaitForOptions(HWND tool)
{
    HWND options = nullptr;
    WaitUntil(
        [&] {
            options = FindWindowW(L"#32770", L"Quillsnapper Options");
            return options != nullptr && IsWindowVisible(options) && GetWindow(options, GW_OWNER) == tool;
        },
        20000);
    return options;
}

} // namespace

TEST(Options, TheChosenFormatIsUsedByTheNextCaptureAndKeptInTheSettingsFile)
{
    cScratch scratch;
    ASSERT_TRUE(scratch.WriteSettings({L"SaveFileFormat = \"png\""}));
    cProgram program;
    ASSERT_TRUE(program.Start());
    HWND tool = program.WaitForToolWindow();
    ASSERT_NE(tool, nullptr);

    // The Options button.
    HWND button = GetDlgItem(tool, 3056);
    ASSERT_TRUE(PostMessageW(tool, WM_COMMAND, MAKEWPARAM(3056, BN_CLICKED), reinterpret_cast<LPARAM>(button)));
    HWND options = WaitForOptions(tool);
    ASSERT_NE(options, nullptr);
    HWND formats = GetDlgItem(options, 3042);
    // The stored format is the one selected.
    EXPECT_EQ(SendMessageW(formats, CB_GETCURSEL, 0, 0),
              SendMessageW(formats, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(L"png")));
    const LRESULT bmp = SendMessageW(formats, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(L"bmp"));
    ASSERT_NE(bmp, CB_ERR);
    EXPECT_EQ(SendMessageW(formats, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(L"wmf")), CB_ERR);
    SendMessageW(formats, CB_SETCURSEL, WPARAM(bmp), 0);
    SendMessageW(GetDlgItem(options, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }, 20000));

    // The next capture is a BMP file.
    ASSERT_TRUE(program.WaitIdle());
    RECT status{};
    ASSERT_TRUE(GetWindowRect(GetDlgItem(tool, 160), &status));
    ASSERT_TRUE(Xdotool(L"mousemove " + std::to_wstring((status.left + status.right) / 2) + L" " +
                        std::to_wstring((status.top + status.bottom) / 2) + L" key Print"));
    EXPECT_TRUE(WaitUntil([&] { return !scratch.Files(L"bmp").empty(); }, 60000));
    EXPECT_TRUE(scratch.Files(L"png").empty());

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.WaitForExit(60000), 0u);
    EXPECT_NE(cScratch::ReadSettings().find(L"SaveFileFormat = \"bmp\""), std::wstring::npos)
        << Narrow(cScratch::ReadSettings());
}

TEST(Options, CancelLeavesTheSettingsAsTheyWere)
{
    cScratch scratch;
    ASSERT_TRUE(scratch.WriteSettings({L"SaveFileFormat = \"png\"", L"CheckedCopyClipboard = true"}));
    cProgram program;
    ASSERT_TRUE(program.Start());
    HWND tool = program.WaitForToolWindow();
    ASSERT_NE(tool, nullptr);
    HWND button = GetDlgItem(tool, 3056);
    ASSERT_TRUE(PostMessageW(tool, WM_COMMAND, MAKEWPARAM(3056, BN_CLICKED), reinterpret_cast<LPARAM>(button)));
    HWND options = WaitForOptions(tool);
    ASSERT_NE(options, nullptr);
    HWND formats = GetDlgItem(options, 3042);
    SendMessageW(formats, CB_SETCURSEL,
                 WPARAM(SendMessageW(formats, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(L"tga"))), 0);
    SendMessageW(GetDlgItem(options, 3019), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(options, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }, 20000));
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.WaitForExit(60000), 0u);
    const std::wstring settings = cScratch::ReadSettings();
    EXPECT_NE(settings.find(L"SaveFileFormat = \"png\""), std::wstring::npos) << Narrow(settings);
    EXPECT_NE(settings.find(L"CheckedCopyClipboard = true"), std::wstring::npos) << Narrow(settings);
}
