#include "app/AboutDialog.h"

#include "app/CopyrightDialog.h"
#include "app/MakerSite.h"
#include "framework/application/Module.h"
#include "framework/core/PathHelpers.h"
#include "framework/settings/LanguageIds.h"
#include "framework/settings/LanguageTable.h"
#include "framework/window/WebLink.h"
#include "framework/window/skin/Skin.h"
#include "resources/AboutResources.h"
#include "resources/resource.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

Container::cWideString LanguageText(std::int32_t id)
{
    const cLanguage* language = cLanguage::Current();
    const Container::cWideString* text = language != nullptr ? language->Text(id) : nullptr;
    return text != nullptr ? *text : Container::cWideString();
}

} // namespace

cAboutDialog::cAboutDialog(Container::cWideString programFolder) : m_programFolder(std::move(programFolder))
{
    if (m_programFolder.IsEmpty())
        m_programFolder = ProgramFolder();
}

cAboutDialog::~cAboutDialog()
{
    if (m_picture != nullptr)
        DeleteObject(m_picture);
}

Container::cWideString cAboutDialog::VersionLabel(const int (&parts)[4])
{
    Container::cWideString text;
    text.Format(u"v%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3]);
    return text;
}

Container::cWideString cAboutDialog::VersionForAddress(const int (&parts)[4])
{
    Container::cWideString text;
    text.Format(u"%d-%d-%d-%d", parts[0], parts[1], parts[2], parts[3]);
    return text;
}

bool cAboutDialog::ProgramVersion(int (&parts)[4])
{
    const Application::cModule program(GetModuleHandleW(nullptr));
    return program.GetProductVersion(parts);
}

Container::cWideString cAboutDialog::ProgramFolder()
{
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return Container::cWideString();
    return Storage::DirectoryOf(reinterpret_cast<const char16_t*>(path));
}

bool cAboutDialog::OnInitDialog()
{
    HWND window = Handle();
    // The link to the program's page, before the base turns the other
    // statics into toolkit ones.
    m_productLink.Attach(GetDlgItem(window, IDS_PRODUCT_URL));
    Window::cDialog::OnInitDialog();
    m_productLink.SetTarget(LanguageText(IDS_PRODUCT_URL));

    const std::int32_t line = GetSkin() != nullptr ? GetSkin()->LineHeight() : 0;
    AddFooterLink(LanguageText(LanguageIds::PromotionUrl).Text(), line * 2);

    const HINSTANCE module = GetModuleHandleW(nullptr);
    m_picture = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(IDB_ABOUT_PICTURE), IMAGE_BITMAP, 0, 0, 0));
    if (m_picture != nullptr)
        SendDlgItemMessageW(window, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_picture));
    if (HICON icon = LoadIconW(module, MAKEINTRESOURCEW(IDI_QUILLSNAPPER)))
        SendDlgItemMessageW(window, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    ApplyLanguage();
    return true;
}

void cAboutDialog::ApplyLanguage()
{
    Window::cDialog::ApplyLanguage();
    HWND window = Handle();
    int parts[4] = {};
    if (window == nullptr || !ProgramVersion(parts))
        return; // the template's texts stay
    SetDlgItemTextW(window, IDC_ABOUT_NAME, Wide(FullName));
    SetDlgItemTextW(window, IDC_ABOUT_VERSION, Wide(VersionLabel(parts).Text()));
    SetDlgItemTextW(window, IDC_ABOUT_NOTE, L"");
    const Container::cWideString product = LanguageText(IDS_PRODUCT_URL);
    SetDlgItemTextW(window, IDS_PRODUCT_URL, Wide(product.Text()));
    m_productLink.SetTarget(product);
}

bool cAboutDialog::OnCommand(std::int32_t id, std::int32_t code, HWND control)
{
    if (code != BN_CLICKED)
        return Window::cDialog::OnCommand(id, code, control);
    int parts[4] = {};
    const Container::cWideString version = ProgramVersion(parts) ? VersionForAddress(parts) : Container::cWideString(u"0-0-0-0");
    switch (id) {
    case IDC_CHECK_UPDATE:
        Window::cWebLink::Open(
            cMakerSite::UpdateCheck(static_cast<std::uint32_t>(GetUserDefaultLCID()), Container::cWideString(AppName), version));
        return true;
    case IDC_SUPPORT_HOMEPAGE:
        Window::cWebLink::Open(cMakerSite::Support(Container::cWideString(AppName), version));
        return true;
    case IDC_COPYRIGHTS: {
        cCopyrightDialog copyright(m_programFolder);
        copyright.DoModal(IDD_COPYRIGHT, this);
        return true;
    }
    default:
        return Window::cDialog::OnCommand(id, code, control);
    }
}
