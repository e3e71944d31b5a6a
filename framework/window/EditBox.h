#pragma once

#include <windows.h>

#include "framework/core/WideString.h"
#include "framework/window/CommonControl.h"

namespace Window {

// The system edit control with a skinned frame and a few keyboard rules:
// clipboard, undo and select-all keys reach it before any accelerator or
// dialog handling, and Enter in an edit that does not want it sends IDOK to
// the parent.
class cEditBox : public cCommonControl
{
public:
    cEditBox() = default;

    // Sets the text; the EN_CHANGE and EN_UPDATE this causes are kept from
    // the parent.
    bool SetText(const Container::cWideString& text);
    bool HasFocus() const { return m_hasFocus; }
    bool ChangedSinceFocus() const { return m_changedSinceFocus; }

    Container::cWideString GetClassName() const override;
    bool PreTranslateMessage(MSG* message) override;
    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnChar(UINT character, std::int32_t repeat, std::int32_t flags) override;
    void OnSetFocus(cWindow* previous) override;
    void OnKillFocus(cWindow* next) override;
    void OnEnable(bool enabled) override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    void OnNcPaint(HRGN region) override;

protected:
    // Whether Enter belongs to the edit (its dialog code asks for all keys).
    bool WantsReturn();
    bool m_hasFocus = false;
    bool m_changedSinceFocus = false;
    bool m_settingText = false;
};

} // namespace Window
