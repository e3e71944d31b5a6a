#include "app/CopyrightDialog.h"

#include "app/LibraryNotices.h"
#include "framework/settings/LanguageTable.h"
#include "resources/AboutResources.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

cCopyrightDialog::cCopyrightDialog(Container::cWideString programFolder) : m_programFolder(std::move(programFolder))
{
}

cCopyrightDialog::~cCopyrightDialog() = default;

bool cCopyrightDialog::OnInitDialog()
{
    Window::cDialog::OnInitDialog();
    ApplyLanguage();
    return true;
}

void cCopyrightDialog::ApplyLanguage()
{
    Window::cDialog::ApplyLanguage();
    HWND window = Handle();
    if (window == nullptr)
        return;
    const cLanguage* language = cLanguage::Current();
    const Container::cWideString* text = language != nullptr ? language->Text(IDS_LIBRARY_) : nullptr;
    if (text != nullptr && !text->IsEmpty()) {
        const Container::cWideString heading = cLibraryNotices::Heading(*text);
        SetDlgItemTextW(window, IDS_LIBRARY_, reinterpret_cast<const wchar_t*>(heading.Text()));
    }
    const Container::cWideString list = cLibraryNotices::CopyrightText(m_programFolder);
    SetDlgItemTextW(window, IDC_COPYRIGHT_TEXT, reinterpret_cast<const wchar_t*>(list.Text()));
}
