#include "app/PreferenceDialog.h"

#include <objbase.h>
#include <shlobj.h>

#include "app/AboutDialog.h"
#include "app/MakerSite.h"
#include "app/settings/SettingsEnvironment.h"
#include "app/settings/SettingsRecord.h"
#include "framework/core/PathHelpers.h"
#include "framework/document/BVPictureFileFactory.h"
#include "framework/picturefile/CodecFile.h"
#include "framework/picturefile/PictureFile.h"
#include "framework/settings/LanguageIds.h"
#include "framework/settings/LanguageTable.h"
#include "framework/settings/win32/GrammarCheck.h"
#include "framework/window/FileDialog.h"
#include "framework/window/SystemLibrary.h"
#include "framework/window/WebLink.h"
#include "framework/window/skin/Skin.h"
#include "resources/AboutResources.h"
#include "resources/PreferenceResources.h"

#include <memory>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// The list of the formats, in the order the dialog offers them.
constexpr const char16_t* FormatList[] = {u"png", u"jpg", u"gif", u"bmp", u"ico", u"jpc", u"jp2", u"pcx", u"pgx",
                                          u"pnm", u"pgm", u"ppm", u"ras", u"ska", u"tga", u"wmf", u"tbv"};

constexpr const char16_t* UninstallKeyPro = u"Vadrin Brimvale Pro";
constexpr const char16_t* UninstallKeyEditor = u"Vadrin Brimvale";

const int ProgramRadios[] = {IDC_RADIO_BRIMVALE_PRO, IDC_RADIO_BRIMVALE, IDC_RADIO_PAINT,
                             IDC_ASSOCIATED_PROGRAM_RADIO_USER};

bool IsInstalled(cSettingsEnvironment& environment, const char16_t* key)
{
    Container::cWideString location;
    return environment.InstalledProgram(key, location) != cSettingsEnvironment::NotInstalled;
}

bool PaintExists(cSettingsEnvironment& environment)
{
    Container::cWideString system;
    if (!environment.SystemFolder(system))
        return false;
    system.Append(u"\\mspaint.exe");
    return environment.PathExists(system);
}

// A file-name prefix may not carry a folder or characters file names refuse.
bool IsPrefix(const Container::cWideString& text)
{
    if (text.IsEmpty())
        return false;
    for (std::size_t i = 0; i < text.Length(); ++i) {
        const char16_t c = text[i];
        if (c < 0x20 || c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' ||
            c == u'>' || c == u'|')
            return false;
    }
    return true;
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0) {
        // The folder of the edit box; some browsers need it twice, the
        // second time once they have settled.
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
        Sleep(500);
        PostMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

} // namespace

cPreferenceDialog::cPreferenceDialog(cSettingsRecord& settings, cSettingsEnvironment& environment,
                                     cAppLanguage::sSources languages)
    : m_settings(settings), m_environment(environment), m_languages(std::move(languages))
{
}

cPreferenceDialog::~cPreferenceDialog() = default;

Container::cStringList cPreferenceDialog::WritableFormats()
{
    Container::cStringList formats;
    const Brimvale::cBVPictureFileFactory factory;
    for (const char16_t* format : FormatList) {
        Container::cWideString name(u"x.");
        name.Append(format);
        std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(name));
        if (file == nullptr)
            continue;
        // The codec layer reads more formats than it writes.
        const int codecType = PictureFile::cPictureFileFactory::CodecTypeOf(Container::cWideString(format));
        if (codecType != PictureFile::cCodecFile::TypeNone && !PictureFile::cCodecFile::CanWrite(codecType))
            continue;
        formats.Append(format);
    }
    return formats;
}

bool cPreferenceDialog::OnInitDialog()
{
    Window::cDialog::OnInitDialog();
    ApplyLanguageTexts();
    EnableFooterLinks(true);
    const cLanguage* language = cLanguage::Current();
    const Container::cWideString* promotion = language != nullptr ? language->Text(LanguageIds::PromotionUrl) : nullptr;
    const std::int32_t line = GetSkin() != nullptr ? GetSkin()->LineHeight() : 0;
    AddFooterLink(promotion != nullptr ? promotion->Text() : u"", line * 2);

    HWND window = Handle();
    const Container::cStringList formats = WritableFormats();
    for (std::size_t i = 0; i < formats.Count(); ++i)
        SendDlgItemMessageW(window, IDC_SAVE_FILE_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(formats[i].Text())));
    const Container::cStringList languages = cAppLanguage::LanguageList(m_languages);
    for (std::size_t i = 0; i < languages.Count(); ++i)
        SendDlgItemMessageW(window, IDC_DEFAULT_SETTING_LANGUAGE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Wide(languages[i].Text())));

    for (int id : {IDC_DOWNLOAD_BRIMVALE_PRO, IDC_DOWNLOAD_BRIMVALE})
        ShowWindow(GetDlgItem(window, id), SW_HIDE);
    ShowUserProgram(false);
    UpdateControls();
    return true;
}

void cPreferenceDialog::UpdateControls()
{
    HWND window = Handle();
    std::uint32_t& index = m_settings.AssociatedProgramIndex;
    if (index > cSettingsRecord::UserProgram)
        index = cSettingsRecord::BrimvalePro;
    const bool pro = IsInstalled(m_environment, UninstallKeyPro);
    EnableWindow(GetDlgItem(window, IDC_RADIO_BRIMVALE_PRO), pro);
    ShowWindow(GetDlgItem(window, IDC_DOWNLOAD_BRIMVALE_PRO), pro ? SW_HIDE : SW_SHOW);
    const bool editor = IsInstalled(m_environment, UninstallKeyEditor);
    EnableWindow(GetDlgItem(window, IDC_RADIO_BRIMVALE), editor);
    ShowWindow(GetDlgItem(window, IDC_DOWNLOAD_BRIMVALE), editor ? SW_HIDE : SW_SHOW);
    const bool paint = PaintExists(m_environment);
    EnableWindow(GetDlgItem(window, IDC_RADIO_PAINT), paint);
    // The index moves down past what is missing, and the program's path
    // follows it, so that the files go where the dialog shows.
    if ((index == cSettingsRecord::BrimvalePro && !pro) || (index == cSettingsRecord::Brimvale && !editor) ||
        (index == cSettingsRecord::Paint && !paint))
        SelectProgram(index);

    for (std::size_t i = 0; i < std::size(ProgramRadios); ++i)
        SetChecked(ProgramRadios[i], i == index);
    ShowUserProgram(index == cSettingsRecord::UserProgram);

    SetItemText(IDC_SAVE_FILE_NAME, m_settings.FileNamePrefix);
    SetChecked(IDC_CHECK_COPY_CLIPBOARD, m_settings.CheckedCopyClipboard);
    SetChecked(IDC_OPTIONS_SEND_TO_ASSOCIATED_PROGRAM, m_settings.CheckedAssociatedProgram);
    SetChecked(IDC_SAVE_FILE_CHECK_SAME_NAME, m_settings.CheckedSameFileName);
    SetChecked(IDC_DEFAULT_CHECK_ASSISTANCE, m_settings.CheckedAssistance);
    const LRESULT format = SendDlgItemMessageW(window, IDC_SAVE_FILE_FORMAT, CB_FINDSTRINGEXACT, WPARAM(-1),
                                               reinterpret_cast<LPARAM>(Wide(m_settings.SaveFileFormat.Text())));
    if (format != CB_ERR)
        SendDlgItemMessageW(window, IDC_SAVE_FILE_FORMAT, CB_SETCURSEL, WPARAM(format), 0);
    SetItemText(IDC_SAVE_FILE_PATH, m_settings.SaveFilePath);
    SetItemText(IDC_USER_PROGRAM_PATH, m_settings.AssociatedProgramPathForUser);
    const LRESULT language = SendDlgItemMessageW(window, IDC_DEFAULT_SETTING_LANGUAGE, CB_FINDSTRINGEXACT, WPARAM(-1),
                                                 reinterpret_cast<LPARAM>(Wide(m_settings.DefaultLanguage.Text())));
    if (language != CB_ERR)
        SendDlgItemMessageW(window, IDC_DEFAULT_SETTING_LANGUAGE, CB_SETCURSEL, WPARAM(language), 0);
}

void cPreferenceDialog::SelectProgram(std::uint32_t index)
{
    // The path of another program must not stay behind: the detection
    // below leaves it alone when an editor's location cannot be read.
    if (index != m_settings.AssociatedProgramIndex)
        m_settings.AssociatedProgramPath.Clear();
    m_settings.AssociatedProgramIndex = index;
    m_settings.DetectAssociatedProgram(m_environment);
}

bool cPreferenceDialog::OnCommand(std::int32_t id, std::int32_t code, HWND control)
{
    if (code != BN_CLICKED)
        return Window::cDialog::OnCommand(id, code, control);
    switch (id) {
    case IDC_CHOOSE_SAVE_PATH: BrowseForSaveFolder(); return true;
    case IDC_SAVE_FILE_DEFAULT: {
        Container::cWideString desktop;
        if (m_environment.DesktopFolder(desktop))
            SetItemText(IDC_SAVE_FILE_PATH, desktop);
        return true;
    }
    case IDC_DEFAULT_SETTING_LANGUAGE_CHECK: {
        const Container::cWideString language = Selection(IDC_DEFAULT_SETTING_LANGUAGE);
        if (!language.IsEmpty()) {
            Container::cWideString caption;
            GetText(caption);
            ShowGrammarCheck(Handle(), caption.Text(), language, m_languages);
        }
        return true;
    }
    case IDC_SETTING_DEFAULT:
        m_settings.AssociatedProgramIndex = cSettingsRecord::BrimvalePro;
        m_settings.AssociatedProgramPath.Clear();
        m_settings.DetectAssociatedProgram(m_environment);
        UpdateControls();
        return true;
    case IDC_CHOOSE_ASSOCIATED_PROGRAM: ChooseUserProgram(); return true;
    case IDC_DOWNLOAD_BRIMVALE_PRO: Window::cWebLink::Open(cMakerSite::EditorDownload(true)); return true;
    case IDC_DOWNLOAD_BRIMVALE: Window::cWebLink::Open(cMakerSite::EditorDownload(false)); return true;
    case IDC_RADIO_BRIMVALE_PRO:
    case IDC_RADIO_BRIMVALE:
    case IDC_RADIO_PAINT:
    case IDC_ASSOCIATED_PROGRAM_RADIO_USER: {
        const std::uint32_t index = static_cast<std::uint32_t>(id == IDC_RADIO_BRIMVALE_PRO ? 0
                                                               : id == IDC_RADIO_BRIMVALE   ? 1
                                                               : id == IDC_RADIO_PAINT      ? 2
                                                                                            : 3);
        SelectProgram(index);
        for (std::size_t i = 0; i < std::size(ProgramRadios); ++i)
            SetChecked(ProgramRadios[i], ProgramRadios[i] == id);
        ShowUserProgram(index == cSettingsRecord::UserProgram);
        return true;
    }
    case IDC_OPTIONS_ABOUT: {
        cAboutDialog about;
        about.DoModal(IDD_APP_ABOUT, this);
        return true;
    }
    default: return Window::cDialog::OnCommand(id, code, control);
    }
}

void cPreferenceDialog::OnOK()
{
    m_settings.CheckedCopyClipboard = IsChecked(IDC_CHECK_COPY_CLIPBOARD);
    m_settings.CheckedAssociatedProgram = IsChecked(IDC_OPTIONS_SEND_TO_ASSOCIATED_PROGRAM);
    if (const Container::cWideString format = Selection(IDC_SAVE_FILE_FORMAT); !format.IsEmpty())
        m_settings.SaveFileFormat = format;
    // Only a folder that exists is taken; anything else would lose every
    // capture, so the desktop stands in as at start-up.
    const Container::cWideString folder = ItemText(IDC_SAVE_FILE_PATH);
    if (!folder.IsEmpty() && Storage::IsFolder(folder)) {
        m_settings.SaveFilePath = folder;
    } else {
        Container::cWideString desktop;
        if (m_environment.DesktopFolder(desktop))
            m_settings.SaveFilePath = desktop;
    }
    m_settings.CheckedSameFileName = IsChecked(IDC_SAVE_FILE_CHECK_SAME_NAME);
    m_settings.AssociatedProgramPathForUser = ItemText(IDC_USER_PROGRAM_PATH);
    if (const Container::cWideString language = Selection(IDC_DEFAULT_SETTING_LANGUAGE); !language.IsEmpty())
        m_settings.DefaultLanguage = language;
    m_settings.CheckedAssistance = IsChecked(IDC_DEFAULT_CHECK_ASSISTANCE);
    // The prefix is not stored; an edit changes it for this session.
    if (const Container::cWideString prefix = ItemText(IDC_SAVE_FILE_NAME); IsPrefix(prefix))
        m_settings.FileNamePrefix = prefix;

    if (m_settings.AssociatedProgramIndex == cSettingsRecord::UserProgram &&
        !m_environment.PathExists(m_settings.AssociatedProgramPathForUser))
        SelectProgram(cSettingsRecord::Paint);
    else
        SelectProgram(m_settings.AssociatedProgramIndex);
    Window::cDialog::OnOK();
}

void cPreferenceDialog::ShowUserProgram(bool show)
{
    for (int id : {IDC_USER_PROGRAM_PATH, IDC_CHOOSE_ASSOCIATED_PROGRAM})
        ShowWindow(GetDlgItem(Handle(), id), show ? SW_SHOW : SW_HIDE);
}

void cPreferenceDialog::BrowseForSaveFolder()
{
    // The new dialog style needs a single-threaded apartment; the COM
    // library is loaded only when the folder dialog is wanted.
    using tInitialize = HRESULT(WINAPI*)(LPVOID, DWORD);
    using tUninitialize = void(WINAPI*)();
    const auto initialize = Window::cSystemLibrary::Find<tInitialize>(L"ole32.dll", "CoInitializeEx");
    const auto uninitialize = Window::cSystemLibrary::Find<tUninitialize>(L"ole32.dll", "CoUninitialize");
    const HRESULT com =
        initialize != nullptr && uninitialize != nullptr ? initialize(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
    m_browseStart = ItemText(IDC_SAVE_FILE_PATH);
    BROWSEINFOW info{};
    info.hwndOwner = Handle();
    info.lpszTitle = L"";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(m_browseStart.Text());
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(chosen, path))
            SetItemText(IDC_SAVE_FILE_PATH, Container::cWideString(reinterpret_cast<const char16_t*>(path)));
        ILFree(chosen);
    }
    if (SUCCEEDED(com))
        uninitialize();
}

void cPreferenceDialog::ChooseUserProgram()
{
    Window::cFileDialog dialog(true, nullptr, u"exe", nullptr,
                               OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING,
                               u"Excutable file|*.exe||", 1);
    if (dialog.DoModal(this) == IDOK)
        SetItemText(IDC_USER_PROGRAM_PATH, dialog.FileName());
}

Container::cWideString cPreferenceDialog::ItemText(int id) const
{
    HWND item = GetDlgItem(Handle(), id);
    const int length = item != nullptr ? GetWindowTextLengthW(item) : 0;
    Container::cWideString text;
    if (length <= 0 || !text.Resize(static_cast<std::size_t>(length)))
        return text;
    GetWindowTextW(item, reinterpret_cast<wchar_t*>(text.Data()), length + 1);
    text.Resize(Container::TextLength(text.Text()));
    return text;
}

void cPreferenceDialog::SetItemText(int id, const Container::cWideString& text)
{
    SetDlgItemTextW(Handle(), id, Wide(text.Text()));
}

bool cPreferenceDialog::IsChecked(int id) const
{
    return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

void cPreferenceDialog::SetChecked(int id, bool checked)
{
    CheckDlgButton(Handle(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

Container::cWideString cPreferenceDialog::Selection(int id) const
{
    HWND list = GetDlgItem(Handle(), id);
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return Container::cWideString();
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(index), 0);
    Container::cWideString text;
    if (length <= 0 || !text.Resize(static_cast<std::size_t>(length)))
        return text;
    SendMessageW(list, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.Data()));
    return text;
}
