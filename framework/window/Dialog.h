#pragma once

#include <windows.h>

#include "framework/window/Layout.h"
#include "framework/window/Window.h"

#include <cstdint>

namespace Window {

class cLinkStatic;
class cToolTip;

// A window made from a dialog template: created by the system dialog
// manager (modeless with Create, modal with DoModal) and bound to this
// object on WM_INITDIALOG. The template's statics, buttons and group boxes
// become toolkit controls (SubclassControls), the title and captions come
// from the current language (with the base language's mnemonics), and
// OK/Cancel/Yes/No, raw keyboard input and embedded child dialogs are
// routed to virtual operations.
//
// The dialog's resource id is also the language id of its title; the
// controls' ids are the language ids of their captions.
//
// Writing a dialog:
//   class cAboutDialog : public Window::cDialog
//   {
//       bool OnInitDialog() override { cDialog::OnInitDialog(); ...; return true; }
//       bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
//   };
//   cAboutDialog about;
//   const int code = about.DoModal(IDD_APP_ABOUT, &parent);
//
// WindowProc answers the dialog procedure's BOOL: false leaves a message
// to the dialog manager. A result for the sender goes through
// DWLP_MSGRESULT (SetResult).
class cDialog : public cWindow
{
public:
    // The id of the footer link and of its text.
    static constexpr std::int32_t FooterLinkId = 32775;

    cDialog();
    ~cDialog() override;

    // Modeless: true when the window was created.
    bool Create(std::int32_t resourceId, cWindow* parent);
    // Modal: the code EndDialog was given (1 OK, 2 Cancel, 6 Yes, 7 No, or
    // another), -1 or 0 when the dialog cannot be created.
    int DoModal(std::int32_t resourceId, cWindow* parent);
    // The same, owned by a window that is no toolkit window (null: none).
    int DoModalOwnedBy(std::int32_t resourceId, HWND owner);
    // The dialog procedure of every toolkit dialog.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::int32_t ResourceId() const { return m_resourceId; }
    // Negative: the title keeps the template's text.
    void SetResourceId(std::int32_t id) { m_resourceId = id; }
    bool IsModal() const { return m_modal; }
    cToolTip* GetToolTip() const { return m_toolTip; }
    cLinkStatic* FooterLink() const { return m_footerLink; }
    // The root of the dialog's box layout, arranged in the client area by
    // RecalcLayout (and so on every WM_SIZE).
    cLayout& Layout() { return m_layout; }

    // Replaces the template's statics (text and etched types), group boxes
    // and buttons (types up to 10) by toolkit controls that die with their
    // windows. Other controls stay system controls.
    void SubclassControls();
    // Writes the current language's texts into the title and into the
    // captions of the statics and buttons; controls without a text keep
    // the template's.
    void ApplyLanguageTexts();
    // Gives every button, static and combo box with a language text its
    // tool tip (the text after the first '|'). Tools registered before are
    // replaced, so calling it again after a language change keeps one tool
    // per control.
    void RegisterToolTips();
    // Adds the link with the text of FooterLinkId below the client area
    // and grows the dialog to hold it; height 0 takes the skin's line
    // height. Null when footer links are off, the dialog has one already,
    // or it cannot be created.
    cLinkStatic* AddFooterLink(const char16_t* url, std::int32_t height);

    // Footer links are off until the application turns them on.
    static void EnableFooterLinks(bool enabled);
    static bool FooterLinksEnabled();

    // The result of a message for its sender (DWLP_MSGRESULT).
    void SetResult(LRESULT result);

    // ---- Virtual operations after those of cWindow --------------------------
    // Stores the tool tip (not owned) and, when it is not null, registers
    // the controls' tips with it.
    virtual void SetToolTip(cToolTip* toolTip);
    // IDOK, IDCANCEL, IDYES, IDNO with code 0: EndDialog with that id when
    // the dialog is a popup. OnCancel also for WM_CLOSE, and for
    // WM_ENDSESSION while modal.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnYes();
    virtual void OnNo();
    // WM_INPUT: the whole raw input record. Base: nothing.
    virtual void OnRawInput(const RAWINPUT& input);
    // WM_INITDIALOG: the title from the language table and SubclassControls.
    // The answer tells the system whether to set the focus.
    virtual bool OnInitDialog();

    // ---- cWindow operations a dialog replaces --------------------------------
    void ApplyLanguage() override;
    void RecalcLayout() override;
    bool PreTranslateMessage(MSG* message) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(std::int32_t id, std::int32_t code, HWND control) override;
    bool OnUpdateCommand(cControlModifier& modifier) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void OnClose() override;
    void OnEndSession(bool ending, LPARAM flags) override;
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;
    bool OnSetCursor(cWindow* window, std::int32_t hit, std::int32_t mouseMessage) override;
    bool OnTimer(UINT_PTR id, LPARAM lParam) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    bool OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y) override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control) override;

private:
    // True for the toolkit buttons and statics that take captions.
    static bool IsCaptionControl(const cWindow* window);
    void DestroyFooterLink();
    // A click in the dialog closes an open drop-down list.
    void CloseFocusedDropDown();
    // The module whose resources hold the template.
    HINSTANCE TemplateModule(std::int32_t resourceId) const;
    // IDOK, IDCANCEL, IDYES, IDNO and the embedded child dialogs.
    bool RouteCommand(std::int32_t id, std::int32_t code, HWND control);
    void ReceiveRawInput(HRAWINPUT input);
    // Ends the dialog with code when it is a popup.
    void EndWith(int code);

    std::int32_t m_resourceId = -1;
    cToolTip* m_toolTip = nullptr;
    cLayout m_layout;
    bool m_modal = false;
    cLinkStatic* m_footerLink = nullptr;
};

} // namespace Window
