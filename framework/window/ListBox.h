#pragma once

#include <windows.h>

#include <vector>

#include "framework/core/WideString.h"
#include "framework/window/ScrollWnd.h"

namespace Window {

// A list of single-line items in rows, with a selection, a caret and a hot
// item (-1 = none), painted by the skin. It tells its owner (the parent
// unless set) through WM_NOTIFY with a sNotify record.
class cListBox : public cScrollWnd
{
public:
    // One item: its text, flags of the owner, and the texts of further columns.
    struct cItem
    {
        Container::cWideString text;
        std::uint32_t flags = 0;
        std::vector<Container::cWideString> columns;
    };

    // Style bits of the list window.
    enum : DWORD
    {
        // The caret moved by the keyboard is handed to the owner at once
        // (without closing), as a drop-down list does.
        StyleNotifyOnKey = 0x0001,
    };

    // Notification codes.
    enum : UINT
    {
        NotifySelectionChanged = 0xA5E0,  // the user moved the selection
        NotifyPick = 0xA5E1,              // the user picked `item`; close asks to end the choice
    };
    struct sNotify
    {
        NMHDR header;
        std::int32_t item;
        bool close;
    };

    cListBox() = default;

    void SetOwnerWindow(HWND owner) { m_owner = owner; }

    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_items.size()); }
    const cItem* GetItem(std::int32_t index) const;
    // Appends an item; answers its index.
    std::int32_t AddItem(const Container::cWideString& text, std::uint32_t flags = 0);
    // Inserts before index (appends when index is out of range); answers
    // the index used.
    std::int32_t InsertItem(std::int32_t index, const Container::cWideString& text, std::uint32_t flags = 0);
    bool DeleteItem(std::int32_t index);
    void ClearItems();
    // Where an item with this text goes in a list sorted without regard to
    // case (after equal texts).
    std::int32_t SortedIndex(const Container::cWideString& text) const;
    // The first item whose text equals `text` without regard to case; -1.
    std::int32_t FindItem(std::u16string_view text) const;

    std::int32_t GetSelection() const { return m_selection; }
    // Selects one item (-1: none); caret and anchor follow. Redraws the rows.
    void SetSelection(std::int32_t index);
    std::int32_t GetCaret() const { return m_caret; }
    std::int32_t GetHotItem() const { return m_hot; }
    void SetHotItem(std::int32_t index);

    // The row height: the skin's line height + 4.
    std::int32_t RowHeight() const;
    // A row in client coordinates.
    Container::sRect GetRowRect(std::int32_t index) const;
    // The bottom of an item's row in content coordinates.
    std::int32_t GetItemBottom(std::int32_t index) const;
    // The item at a client point; -1 outside the rows.
    std::int32_t HitTestItem(std::int32_t x, std::int32_t y) const;
    void EnsureItemVisible(std::int32_t index);
    // Home, End, arrows, PgUp, PgDn, Enter, Space; false for other keys.
    bool HandleKey(UINT key);

    Container::cWideString GetClassName() const override;
    void OnAttach(DWORD style) override;
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnMouseLeave() override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    LRESULT OnGetDlgCode(std::int32_t key, MSG* message) override;
    HFONT GetFont() override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;

protected:
    void NotifyOwner(UINT code, std::int32_t item, bool close);
    void RedrawItem(std::int32_t index);
    // Hot tracking for a client point; only rows inside the client area count.
    void TrackHot(std::int32_t x, std::int32_t y);
    void UpdateContentSize();

    std::vector<cItem> m_items;
    std::int32_t m_selection = -1;
    std::int32_t m_anchor = -1;
    std::int32_t m_caret = -1;
    std::int32_t m_hot = -1;
    HWND m_owner = nullptr;
    bool m_leaveTracking = false;
};

} // namespace Window
