#include "framework/window/Button.h"

#include "framework/window/BufferedPaint.h"
#include "framework/window/skin/Skin.h"

namespace Window {

namespace {

constexpr UINT kTypeMask = 0x0F;
// The mouse is over the button (BM_GETSTATE); not in every SDK's headers.
constexpr LRESULT kStateHot = 0x0200;

} // namespace

UINT cButton::GetButtonType() const
{
    return static_cast<UINT>(GetWindowLongW(Handle(), GWL_STYLE)) & kTypeMask;
}

bool cButton::IsRadio() const
{
    const UINT type = GetButtonType();
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool cButton::IsCheckBox() const
{
    const UINT type = GetButtonType();
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

Container::cWideString cButton::GetClassName() const
{
    return u"MiraButton";
}

void cButton::SetVisualState(int state)
{
    if (state == m_visualState)
        return;
    m_visualState = state;
    Invalidate(false);
}

bool cButton::ClientContains(int x, int y) const
{
    return Container::RectContains(GetClientRect(), {x, y});
}

void cButton::SetCheck(int state)
{
    HWND window = Handle();
    if (IsRadio())
    {
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        const LONG wanted = state != 0 ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (wanted != style)
            SetWindowLongW(window, GWL_STYLE, wanted);
    }
    if (state != m_checkState)
    {
        m_checkState = state;
        Invalidate(false);
    }
}

void cButton::CheckInGroup()
{
    SetCheck(1);
    HWND self = Handle();
    HWND dialog = GetParent(self);
    if (!dialog)
        return;
    // A group has far fewer members than this; the bound only guards
    // against a group walk that never comes back.
    HWND item = self;
    for (int guard = 0; guard < 1024; ++guard)
    {
        item = GetNextDlgGroupItem(dialog, item, FALSE);
        if (!item || item == self)
            break;
        if (!(SendMessageW(item, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (auto* button = dynamic_cast<cButton*>(cWindow::FromHandle(item)))
            button->SetCheck(0);
        else
            SendMessageW(item, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void cButton::Click()
{
    HWND window = Handle();
    const UINT type = GetButtonType();
    if (type == BS_AUTORADIOBUTTON)
        CheckInGroup();
    else if (type == BS_AUTOCHECKBOX)
        SetCheck((m_checkState + 1) % 2);
    Invalidate(false);
    // Last: the parent may destroy the button in its handler.
    if (HWND parent = GetParent(window))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED), reinterpret_cast<LPARAM>(window));
}

void cButton::SetImage(const Painter::cPicture& image)
{
    if (image.IsEmpty())
        m_image.Release();
    else
        m_image.CopyFrom(image);
    Invalidate(false);
}

void cButton::SetTintImage(bool tint)
{
    if (tint == m_tintImage)
        return;
    m_tintImage = tint;
    Invalidate(false);
}

void cButton::SetShowTextWithImage(bool show)
{
    if (show == m_showTextWithImage)
        return;
    m_showTextWithImage = show;
    Invalidate(false);
}

LRESULT cButton::StateBits() const
{
    LRESULT bits = m_checkState & 3;
    if (m_visualState == StatePressed)
        bits |= BST_PUSHED;
    if (GetFocus() == Handle())
        bits |= BST_FOCUS;
    if (m_visualState == StateHot)
        bits |= kStateHot;
    return bits;
}

LRESULT cButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Handle();
    switch (message)
    {
    case BM_GETCHECK:
        return m_checkState;
    case BM_SETCHECK:
        SetCheck(static_cast<int>(wParam));
        return 0;
    case BM_GETSTATE:
        return StateBits();
    case BM_SETSTATE:
        if (!m_mousePressed && !m_keyPressed && m_visualState != StateDisabled)
            SetVisualState(wParam ? StatePressed : (m_mouseInside ? StateHot : StateNormal));
        return 0;
    case BM_SETSTYLE:
    {
        // The dialog manager moves the default button with this.
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        const LONG wanted = (style & ~static_cast<LONG>(kTypeMask)) | static_cast<LONG>(wParam & kTypeMask);
        if (wanted != style)
            SetWindowLongW(window, GWL_STYLE, wanted);
        Invalidate(false);
        if (lParam)
            UpdateWindow(window);
        return 0;
    }
    case BM_CLICK:
        // Mnemonics and the dialog manager click buttons with this.
        if (IsWindowEnabled(window))
            Click();
        return 0;
    case BM_GETIMAGE:
    case BM_SETIMAGE:
    case BM_SETDONTCLICK:
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window)
            OnCaptureLost();
        return DefaultProc(message, wParam, lParam);
    case WM_SETTEXT:
    {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        Invalidate(false);
        UpdateWindow(window);
        return result;
    }
    default:
        return cWindow::WindowProc(message, wParam, lParam);
    }
}

void cButton::OnAttach(DWORD style)
{
    cWindow::OnAttach(style);
    m_checkState = 0;
    m_visualState = IsWindowEnabled(Handle()) ? StateNormal : StateDisabled;
    m_mouseInside = m_leaveTracking = m_mousePressed = m_keyPressed = false;
}

void cButton::OnEnable(bool enabled)
{
    cWindow::OnEnable(enabled);
    m_mousePressed = m_keyPressed = false;
    m_mouseInside = false;
    m_visualState = enabled ? StateNormal : StateDisabled;
    Invalidate(false);
    UpdateWindow(Handle());
}

void cButton::OnCaptureLost()
{
    if (!m_mousePressed)
        return;
    m_mousePressed = false;
    m_mouseInside = false;
    SetVisualState(StateNormal);
}

void cButton::OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    if (m_mousePressed && GetCapture() == Handle())
    {
        m_mouseInside = ClientContains(x, y);
        SetVisualState(m_mouseInside ? StatePressed : StateNormal);
        return;
    }
    if (!m_leaveTracking)
    {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Handle(), HOVER_DEFAULT};
        m_leaveTracking = TrackMouseEvent(&track) != FALSE;
    }
    if (!m_mouseInside)
    {
        m_mouseInside = true;
        if (!m_keyPressed)
            SetVisualState(StateHot);
    }
}

void cButton::OnMouseLeave()
{
    m_leaveTracking = false;
    if (m_mousePressed)
        return;  // the captured moves keep the look
    if (m_mouseInside)
    {
        m_mouseInside = false;
        if (!m_keyPressed)
            SetVisualState(StateNormal);
    }
}

void cButton::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    HWND window = Handle();
    // The capture first: the focus that follows must not check an auto
    // radio button on its own (the release does, once).
    m_mousePressed = true;
    SetCapture(window);
    if (GetFocus() != window)
        SetFocus(window);
    if (!m_mousePressed)
        return;  // the focus change took the capture away
    m_mouseInside = true;
    SetVisualState(StatePressed);
}

void cButton::OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    HWND window = Handle();
    if (!m_mousePressed || GetCapture() != window)
        return;
    m_mousePressed = false;
    ReleaseCapture();
    m_mouseInside = ClientContains(x, y);
    SetVisualState(m_mouseInside ? StateHot : StateNormal);
    if (m_mouseInside)
        Click();
}

void cButton::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    if (key == VK_SPACE)
    {
        if (!m_keyPressed && !m_mousePressed)
        {
            m_keyPressed = true;
            SetVisualState(StatePressed);
        }
        return;
    }
    if (key == VK_ESCAPE && m_keyPressed)
    {
        m_keyPressed = false;
        SetVisualState(m_mouseInside ? StateHot : StateNormal);
        return;
    }
    cWindow::OnKeyDown(key, repeat, flags);
}

void cButton::OnKeyUp(UINT key, std::int32_t repeat, std::int32_t flags)
{
    if (key == VK_SPACE)
    {
        if (m_keyPressed)
        {
            m_keyPressed = false;
            SetVisualState(m_mouseInside ? StateHot : StateNormal);
            Click();
        }
        return;
    }
    cWindow::OnKeyUp(key, repeat, flags);
}

void cButton::OnSetFocus(cWindow* previous)
{
    HWND window = Handle();
    cWindow::OnSetFocus(previous);
    // Arrow keys in a group move the focus and so select; a mouse press
    // (which holds the capture) selects on its release instead.
    if (GetButtonType() == BS_AUTORADIOBUTTON && m_checkState == 0 && GetCapture() != window)
        Click();
    Invalidate(false);
}

void cButton::OnKillFocus(cWindow* next)
{
    cWindow::OnKillFocus(next);
    if (m_keyPressed)
    {
        m_keyPressed = false;
        m_visualState = m_mouseInside ? StateHot : StateNormal;
    }
    Invalidate(false);
}

LRESULT cButton::OnGetDlgCode(std::int32_t key, MSG* message)
{
    switch (GetButtonType())
    {
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        // Not a push button: the dialog manager must not make it the default.
        return DLGC_BUTTON;
    default:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    }
}

bool cButton::OnEraseBackground(GDI::cDC& dc)
{
    return true;
}

bool cButton::OnPaint()
{
    HWND window = Handle();
    Container::cWideString text;
    GetText(text);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const bool focused = GetFocus() == window;
    Skin::sButtonState record;
    record.state = enabled ? m_visualState : StateDisabled;
    record.focused = focused ? 1 : 0;
    record.glyph = -1;
    cBufferedPaint paint(window);
    if (paint.Ready())
    {
        GDI::cPictureDC& dc = paint.Buffer();
        const Container::sRect& client = paint.ClientRect();
        GetSkin()->DrawButton(dc, client, GetStyle(), enabled, focused, text.View(), font, m_checkState, record,
                              m_image.IsEmpty() ? nullptr : &m_image, m_showTextWithImage, m_tintImage);
    }
    return true;
}

void cButton::OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    OnLButtonDown(keys, x, y);
}

} // namespace Window
