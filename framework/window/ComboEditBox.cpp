#include "framework/window/ComboEditBox.h"

#include "framework/window/ComboBox.h"

namespace Window {

LRESULT cComboEditBox::OnGetDlgCode(std::int32_t key, MSG* message)
{
    LRESULT code = cEditBox::OnGetDlgCode(key, message);
    if (m_combo.IsDroppedDown())
        code |= DLGC_WANTALLKEYS;
    return code;
}

void cComboEditBox::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    if (m_combo.HandleEditKey(key))
        return;
    cEditBox::OnKeyDown(key, repeat, flags);
}

void cComboEditBox::OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    if ((key == VK_DOWN || key == VK_UP) && m_combo.ToggleDropDown())
        return;
    cEditBox::OnSysKeyDown(key, repeat, flags);
}

void cComboEditBox::OnChar(UINT character, std::int32_t repeat, std::int32_t flags)
{
    // Enter and Esc with the list showing were the combo's.
    if ((character == L'\r' || character == 0x1B) && m_combo.IsDroppedDown())
        return;
    cEditBox::OnChar(character, repeat, flags);
}

void cComboEditBox::OnSetFocus(cWindow* previous)
{
    cEditBox::OnSetFocus(previous);
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
    m_combo.Invalidate(false);
}

void cComboEditBox::OnKillFocus(cWindow* next)
{
    cEditBox::OnKillFocus(next);
    SendMessageW(Handle(), EM_SETSEL, 0, 0);
    m_combo.OnPartLostFocus(next);
}

} // namespace Window
