// The options dialog on a machine described by a fake environment: what it
// shows, what OK, Cancel and the radio buttons change in the settings
// record, and the addresses it opens (through the opener's seam).

#include <gtest/gtest.h>

#include <windows.h>

#include "app/PreferenceDialog.h"
#include "app/settings/SettingsEnvironment.h"
#include "app/settings/SettingsRecord.h"
#include "framework/painter/Picture.h"
#include "framework/document/BVPictureFileFactory.h"
#include "framework/picturefile/PictureFile.h"
#include "framework/window/WebLink.h"
#include "resources/AboutResources.h"
#include "resources/PreferenceResources.h"
#include "tests/support/TempFolder.h"
#include "tests/window/DialogTestSupport.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <algorithm>
#include <string>
#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

Container::cWideString Text(const std::filesystem::path& path)
{
    return Container::cWideString(path.u16string());
}

// A machine with a desktop and a system folder in a scratch folder, Paint
// there or not, and the editors installed or not.
class cFakeEnvironment : public cSettingsEnvironment
{
public:
    explicit cFakeEnvironment(const std::filesystem::path& root) : m_root(root)
    {
        std::filesystem::create_directories(root / "Desktop");
        std::filesystem::create_directories(root / "System");
    }
    void SetPaint(bool present)
    {
        if (present)
            std::ofstream(m_root / "System" / "mspaint.exe") << "paint";
        else
            std::filesystem::remove(m_root / "System" / "mspaint.exe");
    }
    // An installed editor, at root\name.
    void Install(const std::u16string& key, const std::string& name) { m_installed[key] = m_root / name; }

    bool IsOnRemovableDrive(const Container::cWideString&) override { return false; }
    bool ApplicationDataFolder(Container::cWideString& folder) override
    {
        folder = Text(m_root);
        return true;
    }
    bool DesktopFolder(Container::cWideString& folder) override
    {
        folder = Text(m_root / "Desktop");
        return true;
    }
    bool SystemFolder(Container::cWideString& folder) override
    {
        folder = Text(m_root / "System");
        return true;
    }
    eInstallState InstalledProgram(const char16_t* keyName, Container::cWideString& location) override
    {
        const auto found = m_installed.find(keyName);
        if (found == m_installed.end())
            return NotInstalled;
        location = Text(found->second);
        return LocationKnown;
    }

    std::filesystem::path Desktop() const { return m_root / "Desktop"; }
    std::filesystem::path Paint() const { return m_root / "System" / "mspaint.exe"; }

private:
    std::filesystem::path m_root;
    std::map<std::u16string, std::filesystem::path> m_installed;
};

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

void Click(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Shown (the dialog itself may be hidden).
bool Shown(HWND dialog, int id)
{
    return (GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

// A click as the user makes it: check boxes and radio buttons change.
void Press(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<std::u16string> ListEntries(HWND dialog, int id)
{
    std::vector<std::u16string> entries;
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        entries.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return entries;
}

void Select(HWND dialog, int id, const wchar_t* entry)
{
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(entry));
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, WPARAM(index), 0);
}

class PreferenceDialog : public ::testing::Test
{
protected:
    PreferenceDialog() : environment(folder.Path())
    {
        language.Select(u"English");
        m_previous = Window::cWebLink::SetOpener(RecordingOpener);
        g_opened.clear();
        settings.SaveFilePath = Text(environment.Desktop());
        settings.DefaultLanguage = u"English";
    }
    ~PreferenceDialog() override
    {
        if (dialog.Handle() != nullptr)
            dialog.Destroy();
        Window::cWebLink::SetOpener(m_previous);
        Window::cDialog::EnableFooterLinks(false);
    }

    HWND Open()
    {
        return dialog.Create(IDD_OPTIONS, nullptr) ? dialog.Handle() : nullptr;
    }

    Testing::cDialogLanguage language;
    Testing::cTempFolder folder;
    cFakeEnvironment environment;
    cSettingsRecord settings;
    cPreferenceDialog dialog{settings, environment, language.Sources()};

private:
    Window::cWebLink::Opener m_previous = nullptr;
};

} // namespace

TEST(PreferenceFormats, OffersOnlyFormatsThatCanBeWritten)
{
    std::vector<std::u16string> formats;
    const Container::cStringList list = cPreferenceDialog::WritableFormats();
    for (std::size_t i = 0; i < list.Count(); ++i)
        formats.emplace_back(list[i].View());
    // The picture formats in the list's order; "wmf" has no writer.
    const std::vector<std::u16string> pictures{u"png", u"jpg", u"gif", u"bmp", u"ico", u"jpc", u"jp2", u"pcx",
                                               u"pgx", u"pnm", u"pgm", u"ppm", u"ras", u"ska", u"tga"};
    ASSERT_GE(formats.size(), pictures.size());
    EXPECT_TRUE(std::equal(pictures.begin(), pictures.end(), formats.begin()));
    EXPECT_EQ(std::find(formats.begin(), formats.end(), u"wmf"), formats.end());
    // Every format offered really writes a file.
    Testing::cTempFolder folder;
    Painter::cPicture picture;
    ASSERT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 4, 3));
    const Brimvale::cBVPictureFileFactory factory;
    for (const std::u16string& format : formats) {
        const Container::cWideString path(folder.File(u"shot." + format));
        std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(path));
        ASSERT_NE(file, nullptr) << std::string(format.begin(), format.end());
        EXPECT_TRUE(file->Save(picture, path)) << std::string(format.begin(), format.end());
    }
}

TEST_F(PreferenceDialog, ShowsTheSettingsAndTheProgramsOfTheMachine)
{
    environment.SetPaint(true);
    settings.CheckedCopyClipboard = false;
    settings.CheckedAssociatedProgram = true;
    settings.CheckedSameFileName = true;
    settings.CheckedAssistance = true;
    settings.SaveFileFormat = u"gif";
    settings.AssociatedProgramIndex = cSettingsRecord::BrimvalePro;
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Testing::WindowText(window), u"Quillsnapper Options");
    EXPECT_FALSE(Checked(window, IDC_CHECK_COPY_CLIPBOARD));
    EXPECT_TRUE(Checked(window, IDC_OPTIONS_SEND_TO_ASSOCIATED_PROGRAM));
    EXPECT_TRUE(Checked(window, IDC_SAVE_FILE_CHECK_SAME_NAME));
    EXPECT_TRUE(Checked(window, IDC_DEFAULT_CHECK_ASSISTANCE));
    EXPECT_EQ(ItemText(window, IDC_SAVE_FILE_NAME), u"Quillsnapper");
    EXPECT_EQ(ItemText(window, IDC_SAVE_FILE_FORMAT), u"gif");
    EXPECT_EQ(ItemText(window, IDC_SAVE_FILE_PATH), environment.Desktop().u16string());
    EXPECT_EQ(CompareStringOrdinal(reinterpret_cast<const wchar_t*>(ItemText(window, IDC_DEFAULT_SETTING_LANGUAGE).c_str()), -1,
                                   L"English", -1, TRUE),
              CSTR_EQUAL);
    // Without the maker's editors: their radios are off, their download
    // buttons shown, and the index has moved to Paint with Paint's path.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_RADIO_BRIMVALE_PRO)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_RADIO_BRIMVALE)));
    EXPECT_TRUE(Shown(window, (IDC_DOWNLOAD_BRIMVALE_PRO)));
    EXPECT_TRUE(Shown(window, (IDC_DOWNLOAD_BRIMVALE)));
    EXPECT_TRUE(Checked(window, IDC_RADIO_PAINT));
    EXPECT_FALSE(Checked(window, IDC_RADIO_BRIMVALE_PRO));
    EXPECT_EQ(settings.AssociatedProgramIndex, std::uint32_t(cSettingsRecord::Paint));
    EXPECT_EQ(std::u16string(settings.AssociatedProgramPath.View()), environment.Paint().u16string());
    EXPECT_FALSE(Shown(window, (IDC_USER_PROGRAM_PATH)));
    // Every format offered, no "wmf".
    EXPECT_EQ(ListEntries(window, IDC_SAVE_FILE_FORMAT).size(), cPreferenceDialog::WritableFormats().Count());
    // The built-in languages and the files of the language folder.
    const auto languages = ListEntries(window, IDC_DEFAULT_SETTING_LANGUAGE);
    std::string names;
    for (const auto& name : languages)
        names += std::string(name.begin(), name.end()) + " ";
    EXPECT_GE(languages.size(), 2u) << names;
}

TEST_F(PreferenceDialog, InstalledEditorsCanBeChosenAndTheirPathFollowsTheRadios)
{
    environment.SetPaint(true);
    environment.Install(u"Vadrin Brimvale Pro", "Pro");
    environment.Install(u"Vadrin Brimvale", "Editor");
    settings.AssociatedProgramIndex = cSettingsRecord::BrimvalePro;
    settings.AssociatedProgramPath = Text(folder.Path() / "Pro" / "BrimvalePro.exe");
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_RADIO_BRIMVALE_PRO)));
    EXPECT_FALSE(Shown(window, (IDC_DOWNLOAD_BRIMVALE_PRO)));
    EXPECT_TRUE(Checked(window, IDC_RADIO_BRIMVALE_PRO));

    // Each radio changes the index at once, and the path with it.
    const struct
    {
        int radio;
        std::uint32_t index;
        std::filesystem::path path;
    } cases[] = {
        {IDC_RADIO_PAINT, 2, environment.Paint()},
        {IDC_RADIO_BRIMVALE, 1, folder.Path() / "Editor" / "Brimvale.exe"},
        {IDC_RADIO_BRIMVALE_PRO, 0, folder.Path() / "Pro" / "BrimvalePro.exe"},
    };
    for (const auto& c : cases) {
        Press(window, c.radio);
        EXPECT_EQ(settings.AssociatedProgramIndex, c.index);
        EXPECT_EQ(std::u16string(settings.AssociatedProgramPath.View()), c.path.u16string());
        EXPECT_TRUE(Checked(window, c.radio));
    }
    Press(window, IDC_ASSOCIATED_PROGRAM_RADIO_USER);
    EXPECT_EQ(settings.AssociatedProgramIndex, std::uint32_t(cSettingsRecord::UserProgram));
    EXPECT_TRUE(Shown(window, (IDC_USER_PROGRAM_PATH)));
    EXPECT_TRUE(Shown(window, (IDC_CHOOSE_ASSOCIATED_PROGRAM)));
    // Cancel keeps what the radios changed.
    Click(window, IDCANCEL);
    EXPECT_EQ(settings.AssociatedProgramIndex, std::uint32_t(cSettingsRecord::UserProgram));
}

TEST_F(PreferenceDialog, OkCopiesTheControlsAndCancelDoesNot)
{
    environment.SetPaint(true);
    const std::filesystem::path shots = folder.Path() / "Shots";
    std::filesystem::create_directories(shots);
    for (const bool ok : {false, true}) {
        cSettingsRecord before = settings;
        cPreferenceDialog options(settings, environment, language.Sources());
        ASSERT_TRUE(options.Create(IDD_OPTIONS, nullptr));
        HWND window = options.Handle();
        Press(window, IDC_CHECK_COPY_CLIPBOARD);
        Press(window, IDC_SAVE_FILE_CHECK_SAME_NAME);
        Press(window, IDC_DEFAULT_CHECK_ASSISTANCE);
        Press(window, IDC_OPTIONS_SEND_TO_ASSOCIATED_PROGRAM);
        Select(window, IDC_SAVE_FILE_FORMAT, L"jp2");
        // Another language than the one selected.
        const auto languages = ListEntries(window, IDC_DEFAULT_SETTING_LANGUAGE);
        ASSERT_GE(languages.size(), 2u);
        const LRESULT selected = SendDlgItemMessageW(window, IDC_DEFAULT_SETTING_LANGUAGE, CB_GETCURSEL, 0, 0);
        const std::u16string other = languages[selected == 0 ? 1 : 0];
        SendDlgItemMessageW(window, IDC_DEFAULT_SETTING_LANGUAGE, CB_SETCURSEL, selected == 0 ? 1 : 0, 0);
        SetDlgItemTextW(window, IDC_SAVE_FILE_PATH, reinterpret_cast<const wchar_t*>(shots.u16string().c_str()));
        SetDlgItemTextW(window, IDC_SAVE_FILE_NAME, L"Shot");
        Click(window, ok ? IDOK : IDCANCEL);
        if (ok) {
            EXPECT_EQ(settings.CheckedCopyClipboard, !before.CheckedCopyClipboard);
            EXPECT_EQ(settings.CheckedSameFileName, !before.CheckedSameFileName);
            EXPECT_EQ(settings.CheckedAssistance, !before.CheckedAssistance);
            EXPECT_EQ(settings.CheckedAssociatedProgram, !before.CheckedAssociatedProgram);
            EXPECT_EQ(std::u16string(settings.SaveFileFormat.View()), u"jp2");
            EXPECT_EQ(std::u16string(settings.DefaultLanguage.View()), other);
            EXPECT_EQ(std::u16string(settings.SaveFilePath.View()), shots.u16string());
            EXPECT_EQ(std::u16string(settings.FileNamePrefix.View()), u"Shot");
        } else {
            EXPECT_EQ(settings.CheckedCopyClipboard, before.CheckedCopyClipboard);
            EXPECT_EQ(settings.CheckedAssistance, before.CheckedAssistance);
            EXPECT_TRUE(settings.SaveFileFormat == before.SaveFileFormat);
            EXPECT_TRUE(settings.SaveFilePath == before.SaveFilePath);
            EXPECT_TRUE(settings.DefaultLanguage == before.DefaultLanguage);
            EXPECT_TRUE(settings.FileNamePrefix == before.FileNamePrefix);
        }
        options.Destroy();
    }
}

TEST_F(PreferenceDialog, OkTakesOnlyAnExistingFolderAsSaveFolder)
{
    environment.SetPaint(true);
    const std::filesystem::path file = folder.Path() / "a file.txt";
    std::ofstream(file) << "x";
    const std::filesystem::path existing = folder.Path() / "Existing";
    std::filesystem::create_directories(existing);
    const struct
    {
        std::u16string typed;
        std::u16string kept;
    } cases[] = {
        {u"", environment.Desktop().u16string()},
        {(folder.Path() / "Missing").u16string(), environment.Desktop().u16string()},
        {file.u16string(), environment.Desktop().u16string()},
        {existing.u16string(), existing.u16string()},
    };
    for (const auto& c : cases) {
        settings.SaveFilePath = u"unchanged";
        cPreferenceDialog options(settings, environment, language.Sources());
        ASSERT_TRUE(options.Create(IDD_OPTIONS, nullptr));
        SetDlgItemTextW(options.Handle(), IDC_SAVE_FILE_PATH, reinterpret_cast<const wchar_t*>(c.typed.c_str()));
        Click(options.Handle(), IDOK);
        EXPECT_EQ(std::u16string(settings.SaveFilePath.View()), c.kept);
        options.Destroy();
    }
}

TEST_F(PreferenceDialog, AUserProgramThatIsGoneFallsBackToPaintOnOk)
{
    environment.SetPaint(true);
    settings.AssociatedProgramIndex = cSettingsRecord::UserProgram;
    settings.AssociatedProgramPathForUser = Text(folder.Path() / "gone.exe");
    settings.AssociatedProgramPath = u"C:\\stale\\path.exe";
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Checked(window, IDC_ASSOCIATED_PROGRAM_RADIO_USER));
    Click(window, IDOK);
    EXPECT_EQ(settings.AssociatedProgramIndex, std::uint32_t(cSettingsRecord::Paint));
    EXPECT_EQ(std::u16string(settings.AssociatedProgramPath.View()), environment.Paint().u16string());
}

TEST_F(PreferenceDialog, TheDefaultButtonsAndTheDownloadButtons)
{
    environment.SetPaint(false);
    settings.AssociatedProgramIndex = cSettingsRecord::Paint;
    settings.SaveFilePath = Text(folder.Path());
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    // No Paint either: the user's program is all that is left.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_RADIO_PAINT)));
    EXPECT_TRUE(Checked(window, IDC_ASSOCIATED_PROGRAM_RADIO_USER));
    EXPECT_EQ(settings.AssociatedProgramIndex, std::uint32_t(cSettingsRecord::UserProgram));

    Click(window, IDC_SAVE_FILE_DEFAULT);
    EXPECT_EQ(ItemText(window, IDC_SAVE_FILE_PATH), environment.Desktop().u16string());
    // Paint appears; the settings' Default picks the first program there is.
    environment.SetPaint(true);
    Click(window, IDC_SETTING_DEFAULT);
    EXPECT_EQ(settings.AssociatedProgramIndex, std::uint32_t(cSettingsRecord::Paint));
    EXPECT_TRUE(Checked(window, IDC_RADIO_PAINT));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_RADIO_PAINT)));

    Click(window, IDC_DOWNLOAD_BRIMVALE_PRO);
    Click(window, IDC_DOWNLOAD_BRIMVALE);
    EXPECT_EQ(g_opened, (std::vector<std::u16string>{u"https://www.vadrin.com/downloads/brimvalepro/",
                                                     u"https://www.vadrin.com/downloads/brimvale/"}));
}

namespace {

HWND g_aboutOwner = nullptr;
bool g_aboutSeen = false;

void CALLBACK CloseAbout(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND about = FindWindowW(L"#32770", L"About...");
    if (about == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_aboutSeen = true;
    g_aboutOwner = GetWindow(about, GW_OWNER);
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
}

} // namespace

TEST_F(PreferenceDialog, TheAboutButtonOpensTheAboutDialogOwnedByTheOptions)
{
    environment.SetPaint(true);
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    g_aboutSeen = false;
    g_aboutOwner = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseAbout);
    Click(window, IDC_OPTIONS_ABOUT);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_aboutSeen);
    EXPECT_EQ(g_aboutOwner, window);
    EXPECT_TRUE(IsWindow(window));
}
