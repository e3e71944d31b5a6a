#include "framework/window/ToolTip.h"

#include <vector>

namespace Window {

namespace {

wchar_t* W(const char16_t* text)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return reinterpret_cast<wchar_t*>(const_cast<char16_t*>(text));
}

} // namespace

Container::cWideString cToolTip::GetClassName() const
{
    return u"tooltips_class32";
}

bool cToolTip::Create(HWND owner)
{
    if (IsBound())
        return false;
    return CreateControl(WS_EX_TOPMOST, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, 0,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner, 0, false);
}

TOOLINFOW cToolTip::ToolInfo(HWND tool, const char16_t* text) const
{
    TOOLINFOW info{};
    info.cbSize = sizeof(TOOLINFOW);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(tool) ? GetParent(tool) : tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text ? W(text) : nullptr;
    return info;
}

bool cToolTip::AddTool(HWND tool, const Container::cWideString& text)
{
    if (!IsBound() || !tool)
        return false;
    TOOLINFOW info = ToolInfo(tool, text.Text());
    return SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

bool cToolTip::SetToolText(HWND tool, const Container::cWideString& text)
{
    if (!IsBound() || !tool)
        return false;
    TOOLINFOW info = ToolInfo(tool, text.Text());
    SendMessageW(Handle(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

bool cToolTip::RemoveTool(HWND tool)
{
    if (!IsBound() || !tool)
        return false;
    TOOLINFOW info = ToolInfo(tool, nullptr);
    SendMessageW(Handle(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

Container::cWideString cToolTip::GetToolText(HWND tool) const
{
    if (!IsBound() || !tool)
        return {};
    std::vector<char16_t> buffer(1024, 0);
    TOOLINFOW info = ToolInfo(tool, buffer.data());
    SendMessageW(Handle(), TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
    buffer.back() = 0;
    return Container::cWideString(buffer.data());
}

std::int32_t cToolTip::GetToolCount() const
{
    return IsBound() ? static_cast<std::int32_t>(SendMessageW(Handle(), TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void cToolTip::SetMaxTipWidth(std::int32_t width)
{
    if (IsBound())
        SendMessageW(Handle(), TTM_SETMAXTIPWIDTH, 0, width);
}

void cToolTip::Activate(bool active)
{
    if (IsBound())
        SendMessageW(Handle(), TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

} // namespace Window
