#include <gtest/gtest.h>

#include "framework/window/FileDialog.h"
#include "tests/support/TempFolder.h"
#include "tests/window/DialogTestSupport.h"

#include <string>

namespace {

// The common dialog this thread shows, once it is there.
HWND FindFileDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(window))
            {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Presses a button of the file dialog as soon as it shows.
void PressWhenShown(int button)
{
    for (int attempt = 0; attempt < 500; ++attempt)
    {
        if (const HWND dialog = FindFileDialog())
        {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            return;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

} // namespace

TEST(FileDialogTest, CancelKeepsAProposedNameOfAnyLength)
{
    Testing::cDialogLanguage language;
    for (const std::size_t length : {std::size_t(8), std::size_t(259), std::size_t(400), std::size_t(2000)})
    {
        SCOPED_TRACE(length);
        const std::u16string name = std::u16string(length - 4, u'n') + u".png";
        Window::cFileDialog dialog(false, name.c_str(), u"png", nullptr, OFN_OVERWRITEPROMPT,
                                   u"PNG files|*.png|All files|*.*", 1);
        int code = 0;
        {
            Testing::cModalAction cancel([] { PressWhenShown(IDCANCEL); });
            code = dialog.DoModal(nullptr);
        }
        EXPECT_EQ(IDCANCEL, code);
        EXPECT_EQ(name, dialog.FileName().View());
    }
}

TEST(FileDialogTest, OKGivesTheChosenPath)
{
    Testing::cDialogLanguage language;
    Testing::cTempFolder folder;
    const std::u16string initial = folder.Path().u16string();
    Window::cFileDialog dialog(false, u"shot.png", u"png", initial.c_str(), OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                               u"PNG files|*.png", 1);
    int code = 0;
    {
        Testing::cModalAction ok([] { PressWhenShown(IDOK); });
        code = dialog.DoModal(nullptr);
    }
    ASSERT_EQ(IDOK, code);
    EXPECT_TRUE(dialog.FileName().View().ends_with(u"\\shot.png")) << std::string(dialog.FileName().View().begin(), dialog.FileName().View().end());
    EXPECT_EQ(1u, dialog.FilterIndex());
    EXPECT_EQ(sizeof(OPENFILENAMEW), dialog.Record().lStructSize);
}
