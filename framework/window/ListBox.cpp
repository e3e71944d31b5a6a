#include "framework/window/ListBox.h"

#include <algorithm>

#include "framework/window/BufferedPaint.h"
#include "framework/window/skin/Skin.h"

namespace Window {

namespace {

char16_t Folded(char16_t c)
{
    return static_cast<char16_t>(reinterpret_cast<std::uintptr_t>(
        CharLowerW(reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(static_cast<std::uint16_t>(c))))));
}

int CompareNoCase(std::u16string_view a, std::u16string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
    {
        const char16_t x = Folded(a[i]);
        const char16_t y = Folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

Container::cWideString cListBox::GetClassName() const
{
    return u"MiraList";
}

const cListBox::cItem* cListBox::GetItem(std::int32_t index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return &m_items[static_cast<std::size_t>(index)];
}

std::int32_t cListBox::AddItem(const Container::cWideString& text, std::uint32_t flags)
{
    return InsertItem(GetCount(), text, flags);
}

std::int32_t cListBox::InsertItem(std::int32_t index, const Container::cWideString& text, std::uint32_t flags)
{
    if (index < 0 || index > GetCount())
        index = GetCount();
    cItem item;
    item.text = text;
    item.flags = flags;
    m_items.insert(m_items.begin() + index, std::move(item));
    for (std::int32_t* mark : {&m_selection, &m_anchor, &m_caret})
        if (*mark >= index)
            ++*mark;
    m_hot = -1;
    UpdateContentSize();
    return index;
}

bool cListBox::DeleteItem(std::int32_t index)
{
    if (index < 0 || index >= GetCount())
        return false;
    m_items.erase(m_items.begin() + index);
    for (std::int32_t* mark : {&m_selection, &m_anchor, &m_caret})
        if (*mark == index)
            *mark = -1;
        else if (*mark > index)
            --*mark;
    m_hot = -1;
    UpdateContentSize();
    return true;
}

void cListBox::ClearItems()
{
    m_items.clear();
    m_selection = m_anchor = m_caret = m_hot = -1;
    UpdateContentSize();
}

std::int32_t cListBox::SortedIndex(const Container::cWideString& text) const
{
    std::int32_t index = 0;
    while (index < GetCount() && CompareNoCase(m_items[static_cast<std::size_t>(index)].text.View(), text.View()) <= 0)
        ++index;
    return index;
}

std::int32_t cListBox::FindItem(std::u16string_view text) const
{
    for (std::int32_t i = 0; i < GetCount(); ++i)
        if (CompareNoCase(m_items[static_cast<std::size_t>(i)].text.View(), text) == 0)
            return i;
    return -1;
}

void cListBox::UpdateContentSize()
{
    if (IsBound())
    {
        SetLineStep(RowHeight());
        SetContentSize(0, GetCount() * RowHeight());
        Invalidate(false);
    }
}

std::int32_t cListBox::RowHeight() const
{
    return GetSkin()->LineHeight() + 4;
}

Container::sRect cListBox::GetRowRect(std::int32_t index) const
{
    const Container::sRect view = GetContentRect();
    const std::int32_t top = view.top + index * RowHeight() - GetScrollPosition().y;
    return {view.left, top, view.right, top + RowHeight()};
}

std::int32_t cListBox::GetItemBottom(std::int32_t index) const
{
    return (index + 1) * RowHeight();
}

std::int32_t cListBox::HitTestItem(std::int32_t x, std::int32_t y) const
{
    const Container::sRect view = GetContentRect();
    if (!Container::RectContains(view, {x, y}))
        return -1;
    const std::int32_t index = (y - view.top + GetScrollPosition().y) / RowHeight();
    return index >= 0 && index < GetCount() ? index : -1;
}

void cListBox::EnsureItemVisible(std::int32_t index)
{
    if (index < 0 || index >= GetCount())
        return;
    BringIntoView({0, index * RowHeight(), 1, (index + 1) * RowHeight()});
}

void cListBox::RedrawItem(std::int32_t index)
{
    if (index < 0 || index >= GetCount() || !IsBound())
        return;
    const Container::sRect row = GetRowRect(index);
    const RECT rect{row.left, row.top, row.right, row.bottom};
    InvalidateRect(Handle(), &rect, FALSE);
}

void cListBox::SetSelection(std::int32_t index)
{
    if (index < -1 || index >= GetCount())
        index = -1;
    RedrawItem(m_selection);
    RedrawItem(m_caret);
    m_selection = m_anchor = m_caret = index;
    RedrawItem(index);
}

void cListBox::SetHotItem(std::int32_t index)
{
    if (index == m_hot)
        return;
    const std::int32_t old = m_hot;
    m_hot = index;
    RedrawItem(old);
    RedrawItem(index);
    if (IsBound())
        UpdateWindow(Handle());
}

void cListBox::TrackHot(std::int32_t x, std::int32_t y)
{
    if (!Container::RectContains(GetContentRect(), {x, y}))
        return;
    SetHotItem(HitTestItem(x, y));
}

void cListBox::NotifyOwner(UINT code, std::int32_t item, bool close)
{
    HWND self = Handle();
    HWND owner = m_owner ? m_owner : GetParent(self);
    if (!owner)
        return;
    sNotify notify{};
    notify.header.hwndFrom = self;
    notify.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(self));
    notify.header.code = code;
    notify.item = item;
    notify.close = close;
    SendMessageW(owner, WM_NOTIFY, notify.header.idFrom, reinterpret_cast<LPARAM>(&notify));
}

bool cListBox::HandleKey(UINT key)
{
    const std::int32_t count = GetCount();
    if (count == 0)
        return key == VK_HOME || key == VK_END || key == VK_UP || key == VK_DOWN || key == VK_LEFT ||
               key == VK_RIGHT || key == VK_PRIOR || key == VK_NEXT || key == VK_RETURN || key == VK_SPACE;
    const std::int32_t page = std::max(GetContentRect().Height() / std::max(GetSkin()->LineHeight(), 1), 1);
    const std::int32_t from = m_caret;
    std::int32_t caret = from;
    switch (key)
    {
    case VK_HOME:
        caret = 0;
        break;
    case VK_END:
        caret = count - 1;
        break;
    case VK_UP:
    case VK_LEFT:
        caret = from < 0 ? 0 : std::max(from - 1, 0);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        caret = from < 0 ? 0 : std::min(from + 1, count - 1);
        break;
    case VK_PRIOR:
        caret = std::max((from < 0 ? 0 : from) - page, 0);
        break;
    case VK_NEXT:
        caret = std::min((from < 0 ? 0 : from) + page, count - 1);
        break;
    case VK_RETURN:
    case VK_SPACE:
        if (m_caret >= 0)
            NotifyOwner(NotifyPick, m_caret, true);
        return true;
    default:
        return false;
    }
    if (caret == from)
        return true;
    RedrawItem(from);
    if (GetKeyState(VK_CONTROL) < 0)
    {
        m_caret = caret;
        RedrawItem(caret);
        EnsureItemVisible(caret);
        return true;
    }
    SetSelection(caret);
    EnsureItemVisible(caret);
    NotifyOwner(NotifySelectionChanged, caret, false);
    if (GetStyle() & StyleNotifyOnKey)
        NotifyOwner(NotifyPick, caret, false);
    return true;
}

void cListBox::OnAttach(DWORD style)
{
    cScrollWnd::OnAttach(style);
    UpdateContentSize();
}

void cListBox::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    cScrollWnd::OnSize(type, cx, cy);
    Invalidate(false);
}

void cListBox::OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (!m_leaveTracking)
        m_leaveTracking = TrackMouseLeave();
    SetHotItem(HitTestItem(x, y));
}

void cListBox::OnMouseLeave()
{
    m_leaveTracking = false;
    SetHotItem(-1);
}

void cListBox::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    SetFocus(Handle());
    const std::int32_t item = HitTestItem(x, y);
    if (item < 0 || item == m_selection)
        return;
    SetSelection(item);
    NotifyOwner(NotifySelectionChanged, item, false);
}

void cListBox::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    if (!HandleKey(key))
        cScrollWnd::OnKeyDown(key, repeat, flags);
}

LRESULT cListBox::OnGetDlgCode(std::int32_t key, MSG* message)
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

HFONT cListBox::GetFont()
{
    HFONT font = cScrollWnd::GetFont();
    return font ? font : GetSkin()->Font(Skin::cSkin::FontNormal);
}

bool cListBox::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

bool cListBox::OnPaint()
{
    Skin::cSkin& skin = *GetSkin();
    HFONT font = GetFont();
    cBufferedPaint paint(Handle());
    if (paint.Ready())
    {
        GDI::cPictureDC& dc = paint.Buffer();
        const Container::sRect& client = paint.ClientRect();
        skin.DrawListBackground(dc, client);
        const Container::sRect view = GetContentRect();
        const std::int32_t row = RowHeight();
        const std::int32_t first = std::max(GetScrollPosition().y / row, 0);
        HGDIOBJ oldFont = SelectObject(dc.Handle(), font);
        SetBkMode(dc.Handle(), TRANSPARENT);
        for (std::int32_t i = first; i < GetCount(); ++i)
        {
            const Container::sRect rect = GetRowRect(i);
            if (rect.top >= view.bottom)
                break;
            const bool selected = i == m_selection;
            const bool hot = i == m_hot;
            const bool caret = i == m_caret;
            if (selected || hot || caret)
                skin.DrawListItemBackground(dc, rect, selected, hot, caret);
            RECT text{rect.left + 3, rect.top + 1, rect.right, rect.top + 1 + skin.LineHeight() + 1};
            SetTextColor(dc.Handle(), skin.ColourRef(selected ? 20 : 2));
            const Container::cWideString& label = m_items[static_cast<std::size_t>(i)].text;
            DrawTextW(dc.Handle(), reinterpret_cast<const wchar_t*>(label.Text()), static_cast<int>(label.Length()),
                      &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        SelectObject(dc.Handle(), oldFont);
    }
    return true;
}

} // namespace Window
