#include "framework/window/EditBox.h"

#include "framework/gdi/PictureDC.h"
#include "framework/window/skin/Skin.h"

namespace Window {

Container::cWideString cEditBox::GetClassName() const
{
    return u"Edit";
}

bool cEditBox::SetText(const Container::cWideString& text)
{
    m_settingText = true;
    const bool done = SetWindowTextW(Handle(), reinterpret_cast<const wchar_t*>(text.Text())) != FALSE;
    m_settingText = false;
    return done;
}

bool cEditBox::PreTranslateMessage(MSG* message)
{
    if (message->message != WM_KEYDOWN || message->hwnd != Handle())
        return false;
    const UINT key = static_cast<UINT>(message->wParam);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    bool editKey = false;
    if (ctrl && !alt)
        editKey = key == VK_INSERT || key == 'A' || key == 'C' || key == 'V' || key == 'X' || key == 'Y' || key == 'Z';
    else if (shift && !alt)
        editKey = key == VK_INSERT || key == VK_DELETE;
    if (!editKey && (ctrl || alt))
        return false;
    if (!editKey && !(GetStyle() & WS_POPUP))
        return false;  // a child edit leaves the other keys to its dialog
    TranslateMessage(message);
    DispatchMessageW(message);
    return true;
}

bool cEditBox::OnCommand(std::int32_t id, std::int32_t code, HWND control)
{
    if (control != Handle())
        return false;
    if (code == EN_CHANGE || code == EN_UPDATE)
    {
        if (m_settingText)
            return true;  // the program's own change is not the user's
        if (code == EN_CHANGE)
            m_changedSinceFocus = true;
    }
    return false;
}

bool cEditBox::WantsReturn()
{
    MSG probe{};
    probe.hwnd = Handle();
    probe.message = WM_KEYDOWN;
    probe.wParam = VK_RETURN;
    const LRESULT code = SendMessageW(Handle(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&probe));
    return (code & DLGC_WANTALLKEYS) != 0;
}

void cEditBox::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    // Select-all, whatever version of the system edit this is.
    if (key == 'A' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0)
    {
        SendMessageW(Handle(), EM_SETSEL, 0, -1);
        return;
    }
    if (key == VK_RETURN && !WantsReturn())
    {
        HWND self = Handle();
        if (HWND parentWindow = GetParent(self))
            SendMessageW(parentWindow, WM_COMMAND, MAKEWPARAM(IDOK, 0), reinterpret_cast<LPARAM>(self));
        return;
    }
    cCommonControl::OnKeyDown(key, repeat, flags);
}

void cEditBox::OnChar(UINT character, std::int32_t repeat, std::int32_t flags)
{
    if (character == 0x01)
        return;  // Ctrl+A selected all on key down
    if (character == L'\r' && !WantsReturn())
        return;
    cCommonControl::OnChar(character, repeat, flags);
}

void cEditBox::OnSetFocus(cWindow* previous)
{
    m_hasFocus = true;
    m_changedSinceFocus = false;
    cCommonControl::OnSetFocus(previous);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void cEditBox::OnKillFocus(cWindow* next)
{
    m_hasFocus = false;
    cCommonControl::OnKillFocus(next);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void cEditBox::OnEnable(bool enabled)
{
    cCommonControl::OnEnable(enabled);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
}

bool cEditBox::OnEraseBackground(GDI::cDC& dc)
{
    cCommonControl::OnEraseBackground(dc);
    return true;
}

void cEditBox::OnNcPaint(HRGN region)
{
    HWND self = Handle();
    const DWORD style = GetStyle();
    if (!(style & WS_CHILD) || (style & (WS_BORDER | WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL)))
    {
        cCommonControl::OnNcPaint(region);
        return;
    }
    const Container::sRect window = GetWindowRect();
    const int width = window.Width();
    const int height = window.Height();
    HDC dc = GetWindowDC(self);
    if (!dc)
        return;
    // The client area is the edit's own; only the frame around it is ours.
    POINT origin{0, 0};
    ClientToScreen(self, &origin);
    const Container::sRect client = GetClientRect();
    const int left = origin.x - window.left;
    const int top = origin.y - window.top;
    ExcludeClipRect(dc, left, top, left + client.Width(), top + client.Height());
    GDI::cPictureDC buffer;
    if (width > 0 && height > 0 && buffer.Create(width, height))
    {
        Skin::cSkin& skin = *GetSkin();
        skin.FillRect(buffer, {0, 0, width, height}, skin.Colour(4));
        skin.DrawEditFrame(buffer, {0, 0, width, height}, style, GetExStyle(), false, GetFocus() == self);
        GdiFlush();
        BitBlt(dc, 0, 0, width, height, buffer.Handle(), 0, 0, SRCCOPY);
    }
    ReleaseDC(self, dc);
}

} // namespace Window
