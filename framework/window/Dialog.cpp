#include "framework/window/Dialog.h"

#include <windowsx.h>

#include "framework/application/WinApp.h"
#include "framework/settings/CaptionText.h"
#include "framework/settings/LanguageTable.h"
#include "framework/window/Button.h"
#include "framework/window/ComboBox.h"
#include "framework/window/GroupBox.h"
#include "framework/window/LinkStatic.h"
#include "framework/window/Static.h"
#include "framework/window/Toolkit.h"
#include "framework/window/ToolTip.h"
#include "framework/window/skin/Skin.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

namespace Window {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is passed to Win32 as wchar_t");

const wchar_t* W(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// The class of a window ("Static", "Button", ...), compared ignoring case.
bool HasClass(HWND window, const wchar_t* name)
{
    wchar_t buffer[257] = {};
    return GetClassNameW(window, buffer, 257) > 0 && lstrcmpiW(buffer, name) == 0;
}

// The visible direct children of window that are toolkit dialogs.
std::vector<cDialog*> VisibleChildDialogs(HWND window)
{
    std::vector<cDialog*> dialogs;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* dialog = dynamic_cast<cDialog*>(cWindow::FromHandle(child)); dialog && IsWindowVisible(child))
            dialogs.push_back(dialog);
    return dialogs;
}

bool g_footerLinks = false;

} // namespace

cDialog::cDialog() = default;

cDialog::~cDialog()
{
    delete m_footerLink;
}

void cDialog::EnableFooterLinks(bool enabled)
{
    g_footerLinks = enabled;
}

bool cDialog::FooterLinksEnabled()
{
    return g_footerLinks;
}

void cDialog::SetResult(LRESULT result)
{
    if (m_window)
        SetWindowLongPtrW(m_window, DWLP_MSGRESULT, result);
}

HINSTANCE cDialog::TemplateModule(std::int32_t resourceId) const
{
    if (const Application::cWinApp* app = Application::cWinApp::GetApp())
    {
        const HINSTANCE module = app->Instance();
        if (module && FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(5) /* RT_DIALOG */))
            return module;
    }
    return GetModuleHandleW(nullptr);
}

bool cDialog::Create(std::int32_t resourceId, cWindow* parent)
{
    if (m_window)
        return false;
    m_resourceId = resourceId;
    // The object travels as the dialog's init parameter and is bound on
    // WM_INITDIALOG, from this very call only.
    const HWND window = CreateDialogParamW(TemplateModule(resourceId), MAKEINTRESOURCEW(resourceId),
                                           parent ? parent->Handle() : nullptr, DialogProc,
                                           reinterpret_cast<LPARAM>(this));
    return window != nullptr && m_window == window;
}

int cDialog::DoModal(std::int32_t resourceId, cWindow* parent)
{
    return DoModalOwnedBy(resourceId, parent ? parent->Handle() : nullptr);
}

int cDialog::DoModalOwnedBy(std::int32_t resourceId, HWND owner)
{
    if (m_window)
        return -1;
    if (owner && IsIconic(owner))
        ShowWindow(owner, SW_RESTORE);
    m_resourceId = resourceId;
    m_modal = true;
    const INT_PTR code = DialogBoxParamW(TemplateModule(resourceId), MAKEINTRESOURCEW(resourceId), owner, DialogProc,
                                         reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return static_cast<int>(code);
}

INT_PTR CALLBACK cDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!FromHandle(window))
    {
        // Messages before WM_INITDIALOG go to the dialog manager.
        if (message != WM_INITDIALOG || lParam == 0)
            return FALSE;
        auto* dialog = reinterpret_cast<cDialog*>(lParam);
        if (dialog->m_window || !dialog->Adopt(window))
            return FALSE;
    }
    // Through the toolkit's procedure, which keeps the message being
    // handled for PassOn and survives an object that deletes itself.
    return static_cast<INT_PTR>(ToolkitProc(window, message, wParam, lParam));
}

// ---- Dispatch -------------------------------------------------------------------

LRESULT cDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto x = std::int32_t(GET_X_LPARAM(lParam));
    const auto y = std::int32_t(GET_Y_LPARAM(lParam));
    switch (message)
    {
    case WM_CREATE: return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_MOVE: OnMove(x, y); return TRUE;  // signed: left of or above the primary monitor is negative
    case WM_SIZE: OnSize(std::int32_t(wParam), LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_PAINT: return OnPaint() ? TRUE : FALSE;
    case WM_CLOSE: OnClose(); return TRUE;
    case WM_ERASEBKGND:
    {
        GDI::cDC dc(reinterpret_cast<HDC>(wParam), false);
        return OnEraseBackground(dc) ? TRUE : FALSE;
    }
    case WM_ENDSESSION: OnEndSession(wParam != 0, lParam); return FALSE;
    case WM_SHOWWINDOW: OnShowWindow(wParam != 0, std::int32_t(lParam)); return TRUE;
    case WM_DRAWITEM:
    {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        cWindow* control = wParam != 0 && item ? FromHandle(item->hwndItem) : nullptr;
        if (control)
            control->OnDrawItem(std::int32_t(wParam), item);
        else
            OnDrawItem(std::int32_t(wParam), item);
        return TRUE;
    }
    case WM_MEASUREITEM:
    {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (wParam != 0 && item)
            if (cWindow* control = FromHandle(GetDlgItem(m_window, int(item->CtlID)));
                control && control->OnMeasureItem(std::int32_t(wParam), item))
                return TRUE;
        return OnMeasureItem(std::int32_t(wParam), item) ? TRUE : FALSE;
    }
    case WM_NOTIFY:
    {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        bool handled = OnNotify(header, &result);
        if (!handled && header && header->hwndFrom != m_window)
            if (cWindow* sender = FromHandle(header->hwndFrom))
                handled = sender->OnNotify(header, &result);
        if (!handled)
            return FALSE;
        SetResult(result);
        return TRUE;
    }
    case WM_NCDESTROY: OnNcDestroy(); return TRUE;
    case WM_INPUT: ReceiveRawInput(reinterpret_cast<HRAWINPUT>(lParam)); return TRUE;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_KEYUP: OnKeyUp(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_INITDIALOG:
    {
        const bool focus = OnInitDialog();
        ApplyLanguage();
        return focus ? TRUE : FALSE;
    }
    case WM_COMMAND:
    {
        const auto control = reinterpret_cast<HWND>(lParam);
        const std::int32_t id = LOWORD(wParam), code = HIWORD(wParam);
        if (control && control != m_window)
            if (cWindow* object = FromHandle(control); object && object->OnCommand(id, code, control))
                return TRUE;
        if (OnCommand(id, code, control))
            return TRUE;
        return RouteCommand(id, code, control) ? TRUE : FALSE;
    }
    case WM_SYSCOMMAND: OnSysCommand(std::int32_t(wParam), lParam); return FALSE;
    case WM_TIMER: return OnTimer(wParam, lParam) ? TRUE : FALSE;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return TRUE;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_MOUSEMOVE: OnMouseMove(std::int32_t(wParam), x, y); return TRUE;
    case WM_LBUTTONDOWN: OnLButtonDown(std::int32_t(wParam), x, y); return TRUE;
    case WM_LBUTTONUP: OnLButtonUp(std::int32_t(wParam), x, y); return TRUE;
    case WM_MBUTTONDOWN: OnMButtonDown(std::int32_t(wParam), x, y); return TRUE;
    case WM_MBUTTONUP: OnMButtonUp(std::int32_t(wParam), x, y); return TRUE;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), x, y) ? TRUE : FALSE;
    default: return FALSE;
    }
}

bool cDialog::RouteCommand(std::int32_t id, std::int32_t code, HWND control)
{
    if (code == 0)
    {
        switch (id)
        {
        case IDOK: OnOK(); return true;
        case IDCANCEL: OnCancel(); return true;
        case IDYES: OnYes(); return true;
        case IDNO: OnNo(); return true;
        default: break;
        }
    }
    // Embedded pages get the commands the dialog itself does not know.
    for (cDialog* page : VisibleChildDialogs(m_window))
        if (page->OnCommand(id, code, control))
            return true;
    return false;
}

void cDialog::ReceiveRawInput(HRAWINPUT input)
{
    UINT size = 0;
    if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0)
        return;
    // RAWINPUT holds 64-bit fields on x86_64: keep the buffer aligned.
    std::unique_ptr<std::uint64_t[]> buffer(new (std::nothrow) std::uint64_t[(size + 7) / 8]);
    if (!buffer)
        return;
    UINT read = size;
    if (GetRawInputData(input, RID_INPUT, buffer.get(), &read, sizeof(RAWINPUTHEADER)) != size)
        return;
    OnRawInput(*reinterpret_cast<const RAWINPUT*>(buffer.get()));
}

// ---- Virtual operations ---------------------------------------------------------

void cDialog::EndWith(int code)
{
    if (m_window && (GetStyle() & WS_POPUP))
        EndDialog(m_window, code);
}

void cDialog::OnOK() { EndWith(IDOK); }
void cDialog::OnCancel() { EndWith(IDCANCEL); }
void cDialog::OnYes() { EndWith(IDYES); }
void cDialog::OnNo() { EndWith(IDNO); }
void cDialog::OnRawInput(const RAWINPUT&) {}

bool cDialog::OnInitDialog()
{
    if (const cLanguage* language = cLanguage::Current(); language && m_resourceId >= 0)
    {
        const Container::cWideString* title = language->Text(m_resourceId);
        SetWindowTextW(m_window, W(title ? title->Text() : u""));
    }
    SubclassControls();
    return true;
}

void cDialog::ApplyLanguage()
{
    if (!cLanguage::Current())
        return;
    ApplyLanguageTexts();
    // Tips follow the language too; registering replaces the old tools.
    if (m_toolTip)
        RegisterToolTips();
}

void cDialog::ApplyLanguageTexts()
{
    const cLanguage* language = cLanguage::Current();
    if (!language || !m_window)
        return;
    if (m_resourceId >= 0)
    {
        const Container::cWideString* title = language->Text(m_resourceId);
        SetWindowTextW(m_window, W(title ? title->Text() : u""));
    }
    for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        const int id = GetDlgCtrlID(child);
        if (id == -1 || id == 0xFFFF)
            continue;
        if (!HasClass(child, L"Static") && !HasClass(child, L"Button") && !IsCaptionControl(FromHandle(child)))
            continue;
        const Container::cWideString* text = language->Text(id);
        if (!text || text->IsEmpty())
            continue;
        const Container::cWideString* base = language->BaseText(id);
        const std::u16string_view baseView = base ? base->View() : std::u16string_view();
        const std::u16string caption = CaptionText::Caption(text->View(), base ? &baseView : nullptr);
        SetWindowTextW(child, W(caption.c_str()));
        InvalidateRect(child, nullptr, TRUE);
    }
}

void cDialog::RecalcLayout()
{
    if (!m_window)
        return;
    RECT client{};
    ::GetClientRect(m_window, &client);
    m_layout.Arrange(0, client.left, client.top, client.right, client.bottom);
}

bool cDialog::PreTranslateMessage(MSG* message)
{
    return m_window && message && IsDialogMessageW(m_window, message);
}

LRESULT cDialog::DefaultProc(UINT, WPARAM, LPARAM)
{
    // The dialog manager does the default processing of what we leave.
    return 0;
}

bool cDialog::OnCommand(std::int32_t, std::int32_t, HWND)
{
    return false;
}

bool cDialog::OnUpdateCommand(cControlModifier& modifier)
{
    for (cDialog* page : VisibleChildDialogs(m_window))
        if (page->OnUpdateCommand(modifier))
            return true;
    return false;
}

void cDialog::OnDestroy()
{
    DestroyFooterLink();
    cWindow::OnDestroy();
}

void cDialog::OnClose()
{
    OnCancel();
    cWindow::OnClose();
}

void cDialog::OnEndSession(bool, LPARAM)
{
    if (m_modal)
        OnCancel();
}

void cDialog::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    RecalcLayout();
    cWindow::OnSize(type, cx, cy);
}

bool cDialog::OnEraseBackground(GDI::cDC&) { return false; }
bool cDialog::OnPaint() { return false; }
bool cDialog::OnSetCursor(cWindow*, std::int32_t, std::int32_t) { return false; }
bool cDialog::OnTimer(UINT_PTR, LPARAM) { return false; }

void cDialog::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    CloseFocusedDropDown();
    cWindow::OnLButtonDown(keys, x, y);
}

bool cDialog::OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y)
{
    cWindow::OnMouseWheel(keys, delta, x, y);
    return false;
}

HBRUSH cDialog::OnCtlColor(UINT message, HDC dc, HWND)
{
    if (!m_skin)
        return nullptr;
    const Skin::cSkin& skin = *m_skin;
    switch (message)
    {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORDLG: return skin.DialogBrush();
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        SetTextColor(dc, skin.ColourRef(Skin::cPalette::EditText));
        SetBkColor(dc, skin.ColourRef(Skin::cPalette::EditBackground));
        return skin.EditBrush();
    case WM_CTLCOLORBTN:
        SetTextColor(dc, skin.ColourRef(Skin::cPalette::EditText));
        SetBkColor(dc, skin.ColourRef(Skin::cPalette::EditBackground));
        return skin.ButtonBrush();
    case WM_CTLCOLORSCROLLBAR: return skin.EditBrush();
    case WM_CTLCOLORSTATIC:
        SetTextColor(dc, skin.ColourRef(Skin::cPalette::Text));
        SetBkColor(dc, skin.ColourRef(Skin::cPalette::DialogFace));
        return skin.DialogBrush();
    default: return nullptr;
    }
}

// ---- Controls, tool tips and the footer link -------------------------------------

bool cDialog::IsCaptionControl(const cWindow* window)
{
    return dynamic_cast<const cButton*>(window) || dynamic_cast<const cStatic*>(window);
}

void cDialog::SubclassControls()
{
    if (!m_window)
        return;
    for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (FromHandle(child))
            continue;
        const DWORD style = DWORD(GetWindowLongW(child, GWL_STYLE));
        cWindow* control = nullptr;
        if (HasClass(child, L"Static"))
        {
            switch (style & SS_TYPEMASK)
            {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT:
            case SS_SIMPLE:
            case SS_ETCHEDHORZ:
            case SS_ETCHEDVERT:
            case SS_ETCHEDFRAME: control = new (std::nothrow) cStatic; break;
            default: break;  // icons, bitmaps, frames, rectangles, owner-drawn
            }
        }
        else if (HasClass(child, L"Button"))
        {
            const DWORD type = style & 0xF;
            if (type == BS_GROUPBOX)
                control = new (std::nothrow) cGroupBox;
            else if (type <= BS_PUSHBOX)
                control = new (std::nothrow) cButton;
            // BS_OWNERDRAW and later types stay system buttons.
        }
        if (!control)
            continue;
        control->SetDeleteOnDestroy(true);
        if (!control->Attach(child))
            delete control;
    }
}

void cDialog::SetToolTip(cToolTip* toolTip)
{
    m_toolTip = toolTip;
    if (m_toolTip)
        RegisterToolTips();
}

void cDialog::RegisterToolTips()
{
    const cLanguage* language = cLanguage::Current();
    if (!m_toolTip || !m_toolTip->IsBound() || !m_window || !language)
        return;
    for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        const int id = GetDlgCtrlID(child);
        if (id < 1 || id > 0xFFFE)
            continue;
        if (!HasClass(child, L"Button") && !HasClass(child, L"ComboBox") && !HasClass(child, L"Static") &&
            !(SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
            continue;
        const Container::cWideString* text = language->Text(id);
        if (!text || text->IsEmpty())
            continue;
        // A control keeps one tool: the old one (and its old text) goes.
        m_toolTip->RemoveTool(child);
        m_toolTip->AddTool(child, Container::cWideString(CaptionText::ControlToolTip(text->View())));
    }
}

cLinkStatic* cDialog::AddFooterLink(const char16_t* url, std::int32_t height)
{
    if (!g_footerLinks || m_footerLink || !m_window)
        return nullptr;
    const std::int32_t line = m_skin ? m_skin->LineHeight() : 0;
    const std::int32_t margin = line / 4;
    const std::int32_t linkHeight = height != 0 ? height : line;
    const Container::sRect client = GetClientRect();

    auto* link = new (std::nothrow) cLinkStatic;
    if (!link)
        return nullptr;
    const cLanguage* language = cLanguage::Current();
    const Container::cWideString* text = language ? language->Text(FooterLinkId) : nullptr;
    constexpr DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | SS_SUNKEN | SS_NOTIFY | SS_NOPREFIX |
                            SS_CENTER;
    static_assert(style == 0x50031181);
    if (!link->Create(0, text ? text->Text() : u"", style, client.left + margin, client.bottom,
                      client.right - margin, client.bottom + linkHeight, m_window, FooterLinkId))
    {
        delete link;
        return nullptr;
    }
    link->SetVerticalPlacement(cStatic::PlaceCentre);
    link->SetTarget(Container::cWideString(url));
    m_footerLink = link;

    // The dialog grows so that the link sits in its client area with a
    // margin below it.
    RECT frame{};
    ::GetWindowRect(m_window, &frame);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + linkHeight + margin,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return link;
}

void cDialog::DestroyFooterLink()
{
    if (!m_footerLink)
        return;
    m_footerLink->Destroy();
    delete m_footerLink;
    m_footerLink = nullptr;
}

void cDialog::CloseFocusedDropDown()
{
    if (auto* combo = dynamic_cast<cComboBox*>(GetFocusWindow()); combo && combo->IsDroppedDown())
        combo->CloseDropDown();
}

} // namespace Window
