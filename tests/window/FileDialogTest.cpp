#include <gtest/gtest.h>

#include "framework/window/FileDialog.h"
#include "tests/support/TempFolder.h"
#include "tests/window/DialogTestSupport.h"

#include <dlgs.h>

#include <string>
#include <vector>

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

// Reads the file type list of the dialog once it shows, then cancels it.
std::vector<std::wstring> TypeListWhenShown()
{
    std::vector<std::wstring> types;
    for (int attempt = 0; attempt < 500 && types.empty(); ++attempt)
    {
        if (const HWND dialog = FindFileDialog())
        {
            const HWND list = GetDlgItem(dialog, cmb1);
            const LRESULT count = list ? SendMessageW(list, CB_GETCOUNT, 0, 0) : 0;
            for (LRESULT i = 0; i < count; ++i)
            {
                wchar_t text[128] = {};
                if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 128)
                    SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                types.emplace_back(text);
            }
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return types;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
    return types;
}

} // namespace

TEST(FileDialogTest, FilterPairsBecomeTheTypeListHoweverTheFilterEnds)
{
    Testing::cDialogLanguage language;
    // Without an end, or already ended by one or two separators: the same
    // two entries, and no empty one.
    for (const char16_t* filter : {u"PNG files|*.png|All files|*.*", u"PNG files|*.png|All files|*.*|",
                                   u"PNG files|*.png|All files|*.*||"})
    {
        SCOPED_TRACE(std::string(filter, filter + std::char_traits<char16_t>::length(filter)));
        Window::cFileDialog dialog(false, u"shot.png", u"png", nullptr, OFN_EXPLORER, filter, 2);
        std::vector<std::wstring> types;
        {
            Testing::cModalAction read([&types] { types = TypeListWhenShown(); });
            EXPECT_EQ(IDCANCEL, dialog.DoModal(nullptr));
        }
        EXPECT_EQ((std::vector<std::wstring>{L"PNG files", L"All files"}), types);
    }
}

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
