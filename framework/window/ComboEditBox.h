#pragma once

#include "framework/window/EditBox.h"

namespace Window {

class cComboBox;

// The edit part of an editable combo box. It selects all its text when it
// gets the focus; its navigation keys go to the combo (after putting back
// the selected item's text when the typed text is not that item's), and
// while the drop-down shows it hands Enter and Esc to the combo.
class cComboEditBox : public cEditBox
{
public:
    explicit cComboEditBox(cComboBox& combo) : m_combo(combo) {}

    LRESULT OnGetDlgCode(std::int32_t key, MSG* message) override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnChar(UINT character, std::int32_t repeat, std::int32_t flags) override;
    void OnSetFocus(cWindow* previous) override;
    void OnKillFocus(cWindow* next) override;

private:
    cComboBox& m_combo;
};

} // namespace Window
