// The About dialog and the copyright dialog it opens, made from the
// program's templates with the built-in English texts: what they show and
// which addresses they hand to the browser (through the opener's seam).

#include <gtest/gtest.h>

#include <windows.h>

#include "app/AboutDialog.h"
#include "app/CopyrightDialog.h"
#include "app/LibraryNotices.h"
#include "framework/window/LinkStatic.h"
#include "framework/window/WebLink.h"
#include "resources/AboutResources.h"
#include "tests/helpers/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/window/DialogTestSupport.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

std::vector<std::u16string> g_opened;

bool RecordingOpener(const char16_t* address)
{
    g_opened.emplace_back(address);
    return true;
}

std::u16string ItemText(HWND dialog, int id)
{
    return Testing::WindowText(GetDlgItem(dialog, id));
}

std::u16string LongText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return std::u16string(text.begin(), text.end());
}

// A left click in the middle of a link's text.
void ClickLink(HWND link)
{
    auto* object = static_cast<Window::cLinkStatic*>(Window::cWindow::FromHandle(link));
    ASSERT_NE(object, nullptr);
    const Container::sRect area = object->GetHitArea();
    const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(link, WM_LBUTTONUP, 0, at);
}

void Click(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class AboutDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_opened.clear();
        m_previous = Window::cWebLink::SetOpener(RecordingOpener);
        Window::cDialog::EnableFooterLinks(true);
        language.Select(u"English");
    }
    void TearDown() override
    {
        Window::cWebLink::SetOpener(m_previous);
        Window::cDialog::EnableFooterLinks(false);
    }

    Testing::cDialogLanguage language;

private:
    Window::cWebLink::Opener m_previous = nullptr;
};

// The copyright dialog while it runs modally: its heading and its text, read
// from a timer inside its loop, after which it is closed with OK.
struct sCopyrightSeen
{
    HWND owner = nullptr;
    std::u16string title;
    std::u16string heading;
    std::u16string text;
    bool seen = false;
};
sCopyrightSeen* g_seen = nullptr;

void CALLBACK ReadCopyrightDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", L"Copyright Information");
    if (dialog == nullptr || g_seen == nullptr || g_seen->seen)
        return;
    KillTimer(nullptr, timer);
    g_seen->seen = true;
    g_seen->owner = GetWindow(dialog, GW_OWNER);
    g_seen->title = Testing::WindowText(dialog);
    g_seen->heading = ItemText(dialog, IDS_LIBRARY_);
    g_seen->text = LongText(GetDlgItem(dialog, IDC_COPYRIGHT_TEXT));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

sCopyrightSeen RunCopyrightsFrom(cAboutDialog& about)
{
    sCopyrightSeen seen;
    g_seen = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadCopyrightDialog);
    Click(about.Handle(), IDC_COPYRIGHTS);
    KillTimer(nullptr, timer);
    g_seen = nullptr;
    return seen;
}

} // namespace

TEST_F(AboutDialog, ShowsTheNameVersionPictureIconAndTexts)
{
    cAboutDialog about;
    ASSERT_TRUE(about.Create(IDD_APP_ABOUT, nullptr));
    HWND dialog = about.Handle();
    EXPECT_EQ(Testing::WindowText(dialog), u"About...");
    EXPECT_EQ(ItemText(dialog, IDC_ABOUT_NAME), u"Vadrin Quillsnapper");
    // The version resource of the program (1.0.0.0 here).
    EXPECT_EQ(ItemText(dialog, IDC_ABOUT_VERSION), u"v1.0.0.0");
    EXPECT_EQ(ItemText(dialog, IDC_ABOUT_NOTE), u"");
    EXPECT_EQ(ItemText(dialog, IDS_VADRIN_COPYRIGHT), u"Copyright (C) Vadrin. All rights reserved.");
    EXPECT_EQ(ItemText(dialog, IDC_CONTACT_SUPPORT), u"Contacts: support@vadrin.com");
    EXPECT_EQ(ItemText(dialog, IDS_PRODUCT_URL), u"https://www.vadrin.com/products/quillsnapper");
    EXPECT_NE(SendDlgItemMessageW(dialog, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_NE(SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
    ASSERT_NE(about.FooterLink(), nullptr);
    EXPECT_EQ(std::u16string(about.FooterLink()->GetTarget().View()),
              u"https://www.vadrin.com/downloads/brimvalepro/?from=Quillsnapper");
    about.Destroy();
}

TEST_F(AboutDialog, OpensTheUpdateCheckSupportPageProductPageAndPromotion)
{
    cAboutDialog about;
    ASSERT_TRUE(about.Create(IDD_APP_ABOUT, nullptr));
    HWND dialog = about.Handle();
    Click(dialog, IDC_CHECK_UPDATE);
    Click(dialog, IDC_SUPPORT_HOMEPAGE);
    ClickLink(GetDlgItem(dialog, IDS_PRODUCT_URL));
    ClickLink(about.FooterLink()->Handle());
    const std::u16string locale = std::u16string(u"locale=") + [] {
        const std::string number = std::to_string(GetUserDefaultLCID());
        return std::u16string(number.begin(), number.end());
    }();
    EXPECT_EQ(g_opened, (std::vector<std::u16string>{
                            u"https://www.vadrin.com/updates.php?" + locale + u"&app=Quillsnapper&version=1-0-0-0",
                            u"https://www.vadrin.com/support/?name=Quillsnapper&version=1-0-0-0",
                            u"https://www.vadrin.com/products/quillsnapper",
                            u"https://www.vadrin.com/downloads/brimvalepro/?from=Quillsnapper",
                        }));
    about.Destroy();
}

TEST_F(AboutDialog, ALanguageFileCannotMakeTheLinksOpenAnythingButWebAddresses)
{
    const std::filesystem::path folder = std::filesystem::path(language.Sources().programFolder.View()) / "language";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Sneaky.txt", std::ios::binary)
        << "IDS_PRODUCT_URL \"C:\\\\Windows\\\\system32\\\\calc.exe\"\r\n"
           "IDS_ADD_TRY_BRIMVALE_PRO_URL \"file:///C:/Windows/system32/calc.exe\"\r\n";
    language.Select(u"Sneaky");
    cAboutDialog about;
    ASSERT_TRUE(about.Create(IDD_APP_ABOUT, nullptr));
    HWND dialog = about.Handle();
    EXPECT_EQ(ItemText(dialog, IDS_PRODUCT_URL), u"C:\\Windows\\system32\\calc.exe");
    ClickLink(GetDlgItem(dialog, IDS_PRODUCT_URL));
    ClickLink(about.FooterLink()->Handle());
    EXPECT_TRUE(g_opened.empty());
    about.Destroy();
}

TEST_F(AboutDialog, CopyrightsShowsTheBuiltInListInADialogOwnedByTheAboutDialog)
{
    Testing::cTempFolder programFolder; // no Copyright.txt in it
    cAboutDialog about(Container::cWideString(programFolder.Path().u16string()));
    ASSERT_TRUE(about.Create(IDD_APP_ABOUT, nullptr));
    const sCopyrightSeen seen = RunCopyrightsFrom(about);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.owner, about.Handle());
    EXPECT_EQ(seen.title, u"Copyright Information");
    EXPECT_EQ(seen.heading, u"Vadrin Quillsnapper uses following libraries:");
    EXPECT_EQ(seen.text, std::u16string(cLibraryNotices::BuiltInText().View()));
    about.Destroy();
}

TEST_F(AboutDialog, ACopyrightFileNextToTheProgramReplacesTheList)
{
    Testing::cTempFolder programFolder;
    std::ofstream(programFolder.Path() / "Copyright.txt", std::ios::binary) << "\xEF\xBB\xBFOur own notices\nline 2\n";
    cAboutDialog about(Container::cWideString(programFolder.Path().u16string()));
    ASSERT_TRUE(about.Create(IDD_APP_ABOUT, nullptr));
    const sCopyrightSeen seen = RunCopyrightsFrom(about);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, u"Our own notices\r\nline 2\r\n");
    about.Destroy();
}

TEST(AboutDialogTexts, FormatsTheVersionForTheDialogAndForAddresses)
{
    const int parts[4] = {1, 2, 1, 0};
    EXPECT_EQ(std::u16string(cAboutDialog::VersionLabel(parts).View()), u"v1.2.1.0");
    EXPECT_EQ(std::u16string(cAboutDialog::VersionForAddress(parts).View()), u"1-2-1-0");
    const int big[4] = {65535, 0, 12, 65535};
    EXPECT_EQ(std::u16string(cAboutDialog::VersionLabel(big).View()), u"v65535.0.12.65535");
}
