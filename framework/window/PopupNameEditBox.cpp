#include "framework/window/PopupNameEditBox.h"

namespace Window {

LRESULT cPopupNameEditBox::OnGetDlgCode(std::int32_t key, MSG* message)
{
    return DLGC_WANTALLKEYS;
}

void cPopupNameEditBox::OnSetFocus(cWindow* previous)
{
    m_cancelled = false;
    cEditBox::OnSetFocus(previous);
}

void cPopupNameEditBox::OnKillFocus(cWindow* next)
{
    cEditBox::OnKillFocus(next);
    ShowWindow(Handle(), SW_HIDE);
}

void cPopupNameEditBox::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    if (key == VK_RETURN || key == VK_ESCAPE)
    {
        m_cancelled = key == VK_ESCAPE;
        ShowWindow(Handle(), SW_HIDE);
        return;
    }
    cEditBox::OnKeyDown(key, repeat, flags);
}

void cPopupNameEditBox::OnChar(UINT character, std::int32_t repeat, std::int32_t flags)
{
    if (character == L'\r' || character == 0x1B)
        return;  // no beep for the keys that close the editor
    cEditBox::OnChar(character, repeat, flags);
}

} // namespace Window
