#pragma once

#include "framework/window/EditBox.h"

namespace Window {

// The in-place name editor of lists and trees: a popup edit that takes
// every key; Enter or losing the focus hides it, Esc cancels and hides it.
// Its owner reads the text (unless cancelled) once it is hidden.
class cPopupNameEditBox : public cEditBox
{
public:
    bool IsCancelled() const { return m_cancelled; }

    LRESULT OnGetDlgCode(std::int32_t key, MSG* message) override;
    void OnSetFocus(cWindow* previous) override;
    void OnKillFocus(cWindow* next) override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnChar(UINT character, std::int32_t repeat, std::int32_t flags) override;

private:
    bool m_cancelled = false;
};

} // namespace Window
