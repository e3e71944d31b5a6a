#pragma once

#include <windows.h>

#include <memory>

#include "framework/core/WideString.h"
#include "framework/window/ComboEditBox.h"
#include "framework/window/ComboListBox.h"
#include "framework/window/Window.h"
#include "framework/window/rules/WheelAccumulator.h"

namespace Window {

// A combo box built from toolkit parts: a field, a drop button, an edit
// part for editable combos (CBS_DROPDOWN) and a toolkit list that drops
// down on the desktop. It tells its parent through WM_COMMAND with the
// codes below.
class cComboBox : public cWindow
{
public:
    enum : WORD
    {
        NotifySelectionChanged = 0,  // by the list, the wheel or the keys
        NotifyTextMatched = 1,       // the typed text found an item, now the selection
        NotifyEditLostFocus = 2,
    };

    cComboBox();
    ~cComboBox() override;

    bool IsEditable() const;
    // Appends (or with CBS_SORT inserts at its sorted place) an item;
    // answers its index, -1 on failure.
    std::int32_t AddString(const Container::cWideString& text);
    void ResetContent();
    std::int32_t GetCount() const;
    Container::cWideString GetItemText(std::int32_t index) const;
    std::int32_t GetCurSel() const;
    // The list's selection becomes index; the text follows it (empty for an
    // index out of range in a drop-down list). No notification.
    void SetCurSel(std::int32_t index);
    // 0: the combo's width / automatic height.
    void SetDropDownWidth(std::int32_t width) { m_dropWidth = width; }
    void SetDropDownMaxHeight(std::int32_t height) { m_dropMaxHeight = height; }

    void ShowDropDown();
    void CloseDropDown();
    bool IsDroppedDown() const;
    // Opens or closes the list; false when there is nothing to open.
    bool ToggleDropDown();
    // The screen rectangle the list takes when it drops down.
    Container::sRect DropDownRect() const;
    cComboListBox& GetList() { return *m_list; }
    cComboEditBox& GetEdit() { return m_edit; }
    const Container::sRect& GetButtonRect() const { return m_buttonRect; }
    const Container::sRect& GetTextRect() const { return m_textRect; }

    // Draws an item (-1: the selection; beyond the items: the window text).
    void DrawItem(GDI::cDC& dc, std::int32_t index, const Container::sRect& rect);

    // From the parts: the user picked an item in the list.
    void PickFromList(std::int32_t item, bool close);
    // A key the edit part got; true when the combo used it.
    bool HandleEditKey(UINT key);
    // Gives the focus to the combo (its edit part when it is editable).
    void TakeFocus();
    // The edit part lost the focus to `next`.
    void OnPartLostFocus(cWindow* next);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttach(DWORD style) override;
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    // A quick second press is a press like the first (the system classes
    // that may be subclassed send double clicks).
    void OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnMouseLeave() override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnChar(UINT character, std::int32_t repeat, std::int32_t flags) override;
    bool OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y) override;
    LRESULT OnGetDlgCode(std::int32_t key, MSG* message) override;
    void OnSetFocus(cWindow* previous) override;
    void OnKillFocus(cWindow* next) override;
    void OnShowWindow(bool show, std::int32_t status) override;
    void OnDestroy() override;
    void OnEnable(bool enabled) override;
    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT* result) override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;

private:
    void Layout();
    void Notify(WORD code);
    // The list's navigation keys; true when used.
    bool NavigationKey(UINT key);
    // Moves the selection to index and notifies when it changed.
    void ChooseItem(std::int32_t index);
    bool IsPart(HWND window) const;
    HFONT ComboFont();

    cComboEditBox m_edit;
    std::unique_ptr<cComboListBox> m_list;
    Container::cWideString m_text;  // the shown text of a drop-down list
    Container::sRect m_buttonRect;
    Container::sRect m_fieldRect;
    Container::sRect m_textRect;
    std::int32_t m_dropWidth = 0;
    std::int32_t m_dropMaxHeight = 0;
    bool m_buttonPressed = false;
    bool m_captured = false;     // the combo holds the mouse after a press
    bool m_dragging = false;     // that press opened the list: a release on an item picks it
    bool m_hot = false;
    bool m_leaveTracking = false;
    bool m_releasing = false;
    cWheelAccumulator m_wheel;
    std::int32_t m_current = -1;  // the selection the parent was told about
};

} // namespace Window
