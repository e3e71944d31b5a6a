#include "framework/window/ComboBox.h"

#include <algorithm>

#include "framework/window/BufferedPaint.h"
#include "framework/window/rules/DropDownPlacement.h"
#include "framework/window/skin/Skin.h"

namespace Window {

namespace {

constexpr DWORD kComboTypeMask = 0x3;

bool IsSystemCombo(HWND window)
{
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) > 0 && lstrcmpiW(name, L"ComboBox") == 0;
}

} // namespace

cComboBox::cComboBox() : m_edit(*this), m_list(std::make_unique<cComboListBox>(*this)) {}

cComboBox::~cComboBox() = default;

bool cComboBox::IsEditable() const
{
    return (GetStyle() & kComboTypeMask) == CBS_DROPDOWN;
}

std::int32_t cComboBox::GetCount() const
{
    return m_list->GetCount();
}

Container::cWideString cComboBox::GetItemText(std::int32_t index) const
{
    const cListBox::cItem* item = m_list->GetItem(index);
    return item ? item->text : Container::cWideString();
}

std::int32_t cComboBox::GetCurSel() const
{
    return m_current;
}

void cComboBox::TakeFocus()
{
    SetFocus(IsEditable() && m_edit.IsBound() ? m_edit.Handle() : Handle());
}

std::int32_t cComboBox::AddString(const Container::cWideString& text)
{
    const std::int32_t at = (GetStyle() & CBS_SORT) ? m_list->SortedIndex(text) : m_list->GetCount();
    return m_list->InsertItem(at, text);
}

void cComboBox::ResetContent()
{
    CloseDropDown();
    m_list->ClearItems();
    SetCurSel(-1);
}

void cComboBox::SetCurSel(std::int32_t index)
{
    m_list->SetSelection(index);
    m_current = m_list->GetSelection();
    const Container::cWideString text = GetItemText(m_current);
    if (IsEditable() && m_edit.IsBound())
    {
        m_edit.SetText(text);
        if (GetFocus() == m_edit.Handle())
            SendMessageW(m_edit.Handle(), EM_SETSEL, 0, -1);
    }
    else
        m_text = text;
    Invalidate(false);
}

void cComboBox::Notify(WORD code)
{
    HWND self = Handle();
    if (HWND parent = GetParent(self))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), code), reinterpret_cast<LPARAM>(self));
}

void cComboBox::ChooseItem(std::int32_t index)
{
    if (index < 0 || index >= GetCount())
        return;
    const bool changed = index != GetCurSel();
    SetCurSel(index);
    if (changed)
        Notify(NotifySelectionChanged);
}

bool cComboBox::IsDroppedDown() const
{
    return m_list && m_list->IsShowing();
}

Container::sRect cComboBox::DropDownRect() const
{
    sDropDownRequest request;
    request.combo = GetWindowRect();
    request.hasItems = GetCount() > 0;
    const RECT combo{request.combo.left, request.combo.top, request.combo.right, request.combo.bottom};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(MONITORINFO);
    if (GetMonitorInfoW(MonitorFromRect(&combo, MONITOR_DEFAULTTONEAREST), &monitor))
        request.workArea = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    else
        request.workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT frame{0, 0, 0, 0};
    if (m_list->IsBound())
        AdjustWindowRectEx(&frame, (m_list->GetStyle() & ~WS_CHILD) | WS_POPUP, FALSE, m_list->GetExStyle());
    request.wantedHeight = (GetCount() > 0 ? m_list->GetItemBottom(GetCount() - 1) : 0) + (frame.bottom - frame.top);
    request.maxHeight = m_dropMaxHeight;
    request.width = m_dropWidth;
    return PlaceDropDown(request);
}

void cComboBox::ShowDropDown()
{
    if (IsDroppedDown() || GetCount() == 0 || !m_list->IsBound())
        return;
    HWND list = m_list->Handle();
    const Container::sRect rect = DropDownRect();
    // A child cannot stand on the desktop: swap WS_CHILD for WS_POPUP
    // before re-parenting, and let the combo's top-level window own it.
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    SetWindowLongW(list, GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP);
    SetParent(list, nullptr);
    SetWindowLongPtrW(list, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(GetAncestor(Handle(), GA_ROOT)));
    m_list->SetSelection(GetCurSel());
    m_list->SetHotItem(-1);
    SetWindowPos(list, HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    m_list->EnsureItemVisible(GetCurSel());
    Invalidate(false);
}

void cComboBox::CloseDropDown()
{
    m_dragging = false;
    if (!IsDroppedDown())
        return;
    HWND list = m_list->Handle();
    m_list->ReleaseMouse();
    ShowWindow(list, SW_HIDE);
    SetWindowLongPtrW(list, GWLP_HWNDPARENT, 0);
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    SetWindowLongW(list, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
    SetParent(list, Handle());
    Invalidate(false);
}

bool cComboBox::ToggleDropDown()
{
    if (IsDroppedDown())
    {
        CloseDropDown();
        return true;
    }
    if (GetCount() == 0)
        return false;
    ShowDropDown();
    m_list->HoldMouse();
    return true;
}

void cComboBox::PickFromList(std::int32_t item, bool close)
{
    const bool changed = item != GetCurSel();
    SetCurSel(item);
    if (close)
    {
        CloseDropDown();
        TakeFocus();
    }
    Invalidate(false);
    if (changed)
        Notify(NotifySelectionChanged);
}

bool cComboBox::NavigationKey(UINT key)
{
    switch (key)
    {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        m_list->HandleKey(key);
        return true;
    default:
        return false;
    }
}

bool cComboBox::HandleEditKey(UINT key)
{
    if (IsDroppedDown() && (key == VK_ESCAPE || key == VK_RETURN || key == VK_F4))
    {
        OnKeyDown(key, 1, 0);
        return true;
    }
    if (key == VK_F4)
        return ToggleDropDown();
    if (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT)
    {
        // Typed text that is not the selected item's is put back first.
        Container::cWideString typed;
        m_edit.GetText(typed);
        const Container::cWideString selected = GetItemText(GetCurSel());
        if (GetCurSel() >= 0 && !(typed.View() == selected.View()))
        {
            m_edit.SetText(selected);
            SendMessageW(m_edit.Handle(), EM_SETSEL, 0, -1);
            Notify(NotifySelectionChanged);
            return true;
        }
        return NavigationKey(key);
    }
    return false;
}

bool cComboBox::IsPart(HWND window) const
{
    return window && (window == Handle() || (m_edit.IsBound() && window == m_edit.Handle()) ||
                      (m_list->IsBound() && (window == m_list->Handle() || IsChild(m_list->Handle(), window))));
}

void cComboBox::OnPartLostFocus(cWindow* next)
{
    HWND nextWindow = next ? next->Handle() : GetFocus();
    if (!IsPart(nextWindow))
        CloseDropDown();
    Invalidate(false);
}

HFONT cComboBox::ComboFont()
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    return font ? font : GetSkin()->Font(Skin::cSkin::FontNormal);
}

void cComboBox::Layout()
{
    const Container::sRect client = GetClientRect();
    const std::int32_t button = std::min(GetSystemMetrics(SM_CXVSCROLL), client.Width());
    m_buttonRect = {client.right - button, client.top, client.right, client.bottom};
    m_fieldRect = {client.left, client.top, m_buttonRect.left, client.bottom};
    m_textRect = {m_fieldRect.left + 1, m_fieldRect.top + 1, m_fieldRect.right - 1, m_fieldRect.bottom - 1};
    if (m_edit.IsBound())
        MoveWindow(m_edit.Handle(), m_textRect.left + 1, m_textRect.top + 1, std::max(m_textRect.Width() - 2, 0),
                   std::max(m_textRect.Height() - 2, 0), TRUE);
}

void cComboBox::OnAttach(DWORD style)
{
    cWindow::OnAttach(style);
    HWND self = Handle();
    Layout();
    if (IsEditable() && !m_edit.IsBound())
    {
        if (IsSystemCombo(self))
        {
            COMBOBOXINFO info{};
            info.cbSize = sizeof(COMBOBOXINFO);
            if (DefaultProc(CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)) && info.hwndItem)
                m_edit.Attach(info.hwndItem);
        }
        else
        {
            m_edit.CreateControl(0, u"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, m_textRect.left + 1,
                                 m_textRect.top + 1, m_textRect.right - 1, m_textRect.bottom - 1, self, 1, true);
        }
        if (m_edit.IsBound())
            SendMessageW(m_edit.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ComboFont()), FALSE);
        Layout();
    }
    if (!m_list->IsBound())
    {
        m_list->Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, u"",
                       WS_CHILD | WS_BORDER | WS_CLIPCHILDREN | cListBox::StyleNotifyOnKey, 0, 0,
                       GetClientRect().Width(), 10, self, 0);
        m_list->SetOwnerWindow(self);
        SendMessageW(m_list->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ComboFont()), FALSE);
    }
}

void cComboBox::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    cWindow::OnSize(type, cx, cy);
    Layout();
    Invalidate(false);
}

LRESULT cComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SETTEXT:
        if (IsEditable() && m_edit.IsBound())
            return SendMessageW(m_edit.Handle(), message, wParam, lParam);
        m_text = Container::cWideString(reinterpret_cast<const char16_t*>(lParam ? lParam : reinterpret_cast<LPARAM>(u"")));
        Invalidate(false);
        return TRUE;
    case WM_GETTEXT:
    {
        if (IsEditable() && m_edit.IsBound())
            return SendMessageW(m_edit.Handle(), message, wParam, lParam);
        if (wParam == 0 || !lParam)
            return 0;
        auto* out = reinterpret_cast<char16_t*>(lParam);
        const std::size_t count = std::min<std::size_t>(m_text.Length(), wParam - 1);
        std::copy_n(m_text.Text(), count, out);
        out[count] = 0;
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
        if (IsEditable() && m_edit.IsBound())
            return SendMessageW(m_edit.Handle(), message, wParam, lParam);
        return static_cast<LRESULT>(m_text.Length());
    case WM_CAPTURECHANGED:
        if (!m_releasing && reinterpret_cast<HWND>(lParam) != Handle() && m_captured)
        {
            // Taken mid-press by another window: the press is over.
            m_captured = false;
            m_buttonPressed = false;
            if (!(m_list->IsBound() && reinterpret_cast<HWND>(lParam) == m_list->Handle()))
                CloseDropDown();
            Invalidate(false);
        }
        return DefaultProc(message, wParam, lParam);
    // The combo answers the system combo box's messages itself, so that
    // the system's own list never opens.
    case CB_ADDSTRING:
        return lParam ? AddString(reinterpret_cast<const char16_t*>(lParam)) : CB_ERR;
    case CB_RESETCONTENT:
        ResetContent();
        return CB_OKAY;
    case CB_GETCOUNT:
        return GetCount();
    case CB_GETCURSEL:
        return GetCurSel() >= 0 ? GetCurSel() : CB_ERR;
    case CB_SETCURSEL:
        SetCurSel(static_cast<std::int32_t>(wParam));
        return GetCurSel() >= 0 ? GetCurSel() : CB_ERR;
    case CB_GETLBTEXTLEN:
        return m_list->GetItem(static_cast<std::int32_t>(wParam))
                   ? static_cast<LRESULT>(GetItemText(static_cast<std::int32_t>(wParam)).Length())
                   : CB_ERR;
    case CB_GETLBTEXT:
    {
        const cListBox::cItem* item = m_list->GetItem(static_cast<std::int32_t>(wParam));
        if (!item || !lParam)
            return CB_ERR;
        auto* out = reinterpret_cast<char16_t*>(lParam);
        std::copy_n(item->text.Text(), item->text.Length(), out);
        out[item->text.Length()] = 0;
        return static_cast<LRESULT>(item->text.Length());
    }
    case CB_FINDSTRINGEXACT:
        return lParam ? m_list->FindItem(reinterpret_cast<const char16_t*>(lParam)) : CB_ERR;
    case CB_SHOWDROPDOWN:
        if (wParam)
            ShowDropDown();
        else
            CloseDropDown();
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return IsDroppedDown();
    default:
        return cWindow::WindowProc(message, wParam, lParam);
    }
}

void cComboBox::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    HWND self = Handle();
    m_captured = true;
    SetCapture(self);
    m_buttonPressed = true;
    Invalidate(false);
    UpdateWindow(self);
    if (IsDroppedDown())
    {
        CloseDropDown();
        return;
    }
    if (GetCount() == 0)
        return;
    ShowDropDown();
    SetFocus(IsEditable() && m_edit.IsBound() ? m_edit.Handle() : self);
    m_list->SetHotItem(-1);
    m_dragging = true;  // a release on an item picks it in one movement
}

void cComboBox::OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    HWND self = Handle();
    if (m_captured && GetCapture() == self)
    {
        const bool pressed = Container::RectContains(IsEditable() ? m_buttonRect : GetClientRect(), {x, y});
        if (pressed != m_buttonPressed)
        {
            m_buttonPressed = pressed;
            Invalidate(false);
        }
        if (m_dragging && IsDroppedDown())
        {
            POINT point{x, y};
            MapWindowPoints(self, m_list->Handle(), &point, 1);
            m_list->TrackDrag(point.x, point.y);
        }
        return;
    }
    if (!m_leaveTracking)
        m_leaveTracking = TrackMouseLeave();
    if (!m_hot)
    {
        m_hot = true;
        Invalidate(false);
    }
}

void cComboBox::OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    HWND self = Handle();
    if (!m_captured || GetCapture() != self)
        return;
    m_captured = false;
    m_releasing = true;
    ReleaseCapture();
    m_releasing = false;
    m_buttonPressed = false;
    m_leaveTracking = false;
    Invalidate(false);
    if (!m_dragging || !IsDroppedDown())
        return;
    m_dragging = false;
    POINT point{x, y};
    MapWindowPoints(self, m_list->Handle(), &point, 1);
    const std::int32_t item = m_list->HitTestItem(point.x, point.y);
    if (item >= 0)
        PickFromList(item, true);
    else
        m_list->HoldMouse();  // a plain click: the list stays and holds the mouse
}

void cComboBox::OnMouseLeave()
{
    m_leaveTracking = false;
    if (m_hot)
    {
        m_hot = false;
        Invalidate(false);
    }
}

void cComboBox::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    const bool shown = IsDroppedDown();
    switch (key)
    {
    case VK_ESCAPE:
        if (shown || m_dragging)
        {
            CloseDropDown();
            return;
        }
        break;
    case VK_RETURN:
        if (shown)
        {
            const std::int32_t caret = m_list->GetCaret();
            if (caret >= 0)
                PickFromList(caret, true);
            else
                CloseDropDown();
            return;
        }
        break;
    case VK_SPACE:
        if (shown)
            CloseDropDown();
        else if (GetCount() > 0)
            ToggleDropDown();
        return;
    case VK_F4:
        ToggleDropDown();
        return;
    default:
        if (NavigationKey(key))
            return;
        break;
    }
    cWindow::OnKeyDown(key, repeat, flags);
}

void cComboBox::OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    // Alt+Down and Alt+Up toggle the toolkit list; passed on, a system
    // combo would open its own (empty) one.
    if (key == VK_DOWN || key == VK_UP)
    {
        ToggleDropDown();
        return;
    }
    cWindow::OnSysKeyDown(key, repeat, flags);
}

void cComboBox::OnChar(UINT character, std::int32_t repeat, std::int32_t flags)
{
    // Enter, Esc and Space were keys of the combo; the system combo would
    // beep or search with them.
    if (character == L'\r' || character == 0x1B || character == L' ')
        return;
    cWindow::OnChar(character, repeat, flags);
}

bool cComboBox::OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y)
{
    if (IsDroppedDown())
    {
        m_list->OnMouseWheel(keys, delta, x, y);
        return true;
    }
    const std::int32_t notches = m_wheel.Add(static_cast<std::int16_t>(delta));
    if (notches == 0 || GetCount() == 0)
        return true;
    const std::int32_t from = GetCurSel() < 0 ? (notches < 0 ? -1 : GetCount()) : GetCurSel();
    ChooseItem(std::clamp(from - notches, 0, GetCount() - 1));
    return true;
}

LRESULT cComboBox::OnGetDlgCode(std::int32_t key, MSG* message)
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    // While the list shows, Esc and Enter are the list's, not the dialog's.
    if (IsDroppedDown())
        code |= DLGC_WANTALLKEYS;
    return code;
}

void cComboBox::OnSetFocus(cWindow* previous)
{
    cWindow::OnSetFocus(previous);
    if (IsEditable() && m_edit.IsBound() && !IsDroppedDown())
    {
        SendMessageW(m_edit.Handle(), EM_SETSEL, 0, -1);
        SetFocus(m_edit.Handle());
    }
    Invalidate(false);
}

void cComboBox::OnKillFocus(cWindow* next)
{
    cWindow::OnKillFocus(next);
    OnPartLostFocus(next);
    if (m_edit.IsBound() && !IsPart(GetFocus()))
        SendMessageW(m_edit.Handle(), EM_SETSEL, 0, 0);
}

void cComboBox::OnShowWindow(bool show, std::int32_t status)
{
    if (!show)
        CloseDropDown();
    cWindow::OnShowWindow(show, status);
}

void cComboBox::OnDestroy()
{
    if (m_list->IsBound())
    {
        CloseDropDown();
        m_list->Destroy();
    }
    if (m_edit.IsBound())
        m_edit.Destroy();
    cWindow::OnDestroy();
}

void cComboBox::OnEnable(bool enabled)
{
    cWindow::OnEnable(enabled);
    if (!enabled)
        CloseDropDown();
    Invalidate(false);
}

bool cComboBox::OnCommand(std::int32_t id, std::int32_t code, HWND control)
{
    if (!m_edit.IsBound() || control != m_edit.Handle())
        return cWindow::OnCommand(id, code, control);
    if (code == EN_CHANGE)
    {
        Container::cWideString typed;
        m_edit.GetText(typed);
        const std::int32_t found = m_list->FindItem(typed.View());
        if (found >= 0)
        {
            m_list->SetSelection(found);
            m_current = found;
            m_list->EnsureItemVisible(found);
            Notify(NotifyTextMatched);
        }
        return true;
    }
    if (code == EN_KILLFOCUS)
    {
        Notify(NotifyEditLostFocus);
        return true;
    }
    return true;
}

bool cComboBox::OnNotify(NMHDR* header, LRESULT* result)
{
    if (!header || !m_list->IsBound() || header->hwndFrom != m_list->Handle())
        return cWindow::OnNotify(header, result);
    const auto* notify = reinterpret_cast<const cListBox::sNotify*>(header);
    if (header->code == cListBox::NotifyPick)
        PickFromList(notify->item, notify->close);
    *result = 0;
    return true;
}

void cComboBox::DrawItem(GDI::cDC& dc, std::int32_t index, const Container::sRect& rect)
{
    Container::cWideString text;
    std::int32_t shown = index;
    if (index < 0)
    {
        shown = GetCurSel();
        text = shown >= 0 ? GetItemText(shown) : m_text;
    }
    else if (index >= GetCount())
        text = m_text;
    else
        text = GetItemText(index);
    GetSkin()->DrawComboItem(dc, GetStyle(), shown, rect, nullptr, text.View(), IsWindowEnabled(Handle()) != FALSE);
}

bool cComboBox::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

bool cComboBox::OnPaint()
{
    HWND self = Handle();
    Skin::cSkin& skin = *GetSkin();
    const bool enabled = IsWindowEnabled(self) != FALSE;
    HWND focus = GetFocus();
    Skin::sButtonState record;
    record.state = !enabled                                                    ? Skin::sButtonState::Disabled
                   : (m_captured && m_buttonPressed && GetCapture() == self) ? Skin::sButtonState::Pressed
                   : m_hot                                                     ? Skin::sButtonState::Hot
                                                                               : Skin::sButtonState::Normal;
    record.focused = (focus == self || (m_edit.IsBound() && focus == m_edit.Handle())) ? 1 : 0;
    record.glyph = 1;
    HFONT font = ComboFont();
    cBufferedPaint paint(self);
    if (paint.Ready())
    {
        GDI::cPictureDC& dc = paint.Buffer();
        const Container::sRect& client = paint.ClientRect();
        HGDIOBJ old = SelectObject(dc.Handle(), font);
        SetBkMode(dc.Handle(), TRANSPARENT);
        SetTextColor(dc.Handle(), skin.ColourRef(10));
        skin.FillRect(dc, client, skin.Colour(4));
        if (IsEditable())
            skin.DrawComboBox(dc, client, GetStyle(), enabled, m_buttonRect, record);
        else
        {
            skin.DrawComboButton(dc, GetStyle(), client, m_buttonRect, record);
            DrawItem(dc, -1, m_textRect);
        }
        SelectObject(dc.Handle(), old);
    }
    return true;
}

void cComboBox::OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    OnLButtonDown(keys, x, y);
}

} // namespace Window
