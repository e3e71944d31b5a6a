#pragma once

#include <windows.h>

#include "framework/painter/Picture.h"
#include "framework/window/Window.h"

namespace Window {

// Push buttons, check boxes, radio buttons and image buttons. The button
// keeps its check state and its look (normal, hot, pressed, disabled) and
// runs the mouse and keyboard state machine; the skin paints it.
class cButton : public cWindow
{
public:
    enum eVisualState : int
    {
        StateNormal = 0,
        StateHot = 1,
        StatePressed = 2,
        StateDisabled = 3,
    };

    cButton() = default;

    // 0 unchecked, 1 checked, 2 indeterminate. A radio button is a tab stop
    // only while it is checked.
    void SetCheck(int state);
    int GetCheck() const { return m_checkState; }
    int GetVisualState() const { return m_visualState; }
    // Checks this button and unchecks every other radio button of its group.
    void CheckInGroup();
    // What a click does: an auto radio button checks itself in its group, an
    // auto check box toggles; then the parent gets BN_CLICKED.
    void Click();

    // The low four bits of the style (BS_PUSHBUTTON ... BS_PUSHBOX).
    UINT GetButtonType() const;
    bool IsRadio() const;
    bool IsCheckBox() const;

    void SetImage(const Painter::cPicture& image);
    const Painter::cPicture& GetImage() const { return m_image; }
    void SetTintImage(bool tint);
    void SetShowTextWithImage(bool show);

    Container::cWideString GetClassName() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttach(DWORD style) override;
    void OnEnable(bool enabled) override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnMouseLeave() override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    // A quick second press is a press like the first (the system classes
    // that may be subclassed send double clicks).
    void OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnKeyUp(UINT key, std::int32_t repeat, std::int32_t flags) override;
    void OnSetFocus(cWindow* previous) override;
    void OnKillFocus(cWindow* next) override;
    LRESULT OnGetDlgCode(std::int32_t key, MSG* message) override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;

private:
    // Changes the look, repainting only when it differs.
    void SetVisualState(int state);
    bool ClientContains(int x, int y) const;
    // The capture went elsewhere (our own release or another window):
    // the press ends without a click.
    void OnCaptureLost();
    // The BM_GETSTATE answer.
    LRESULT StateBits() const;

    Painter::cPicture m_image;
    bool m_tintImage = false;
    int m_checkState = 0;
    int m_visualState = StateNormal;
    bool m_mouseInside = false;
    bool m_leaveTracking = false;
    bool m_showTextWithImage = true;
    bool m_mousePressed = false;  // pressed with the mouse, holding the capture
    bool m_keyPressed = false;    // pressed with Space
};

} // namespace Window
