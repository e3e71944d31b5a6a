#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/core/WideString.h"
#include "framework/window/CommonControl.h"

namespace Window {

// The system tool-tip control, bound to a toolkit object without being
// subclassed. Tools are windows (TTF_IDISHWND) whose mouse messages the
// control watches itself (TTF_SUBCLASS).
class cToolTip : public cCommonControl
{
public:
    cToolTip() = default;

    // Creates the control, topmost, owned by `owner`. False when it cannot
    // be created.
    bool Create(HWND owner);
    // A tip for a window; false when the control refuses it.
    bool AddTool(HWND tool, const Container::cWideString& text);
    bool SetToolText(HWND tool, const Container::cWideString& text);
    bool RemoveTool(HWND tool);
    // The tip text of a window; empty when it has none.
    Container::cWideString GetToolText(HWND tool) const;
    std::int32_t GetToolCount() const;
    void SetMaxTipWidth(std::int32_t width);
    void Activate(bool active);

    Container::cWideString GetClassName() const override;

private:
    // A TOOLINFOW for a window tool, its size from sizeof (the size of an
    // older layout makes the control drop the text on 64-bit Windows).
    TOOLINFOW ToolInfo(HWND tool, const char16_t* text) const;
};

} // namespace Window
