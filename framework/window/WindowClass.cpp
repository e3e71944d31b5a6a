#include "framework/window/WindowClass.h"

#include <set>
#include <string>

#include "framework/window/Toolkit.h"
#include "framework/window/Window.h"

namespace Window {

namespace {

constexpr cWindowClass::sEntry Classes[] = {
    {u"MiraWindow", CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW},
    {u"ControlBar", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW},
    {u"MiraList", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW},
    {u"MiraTree", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW},
    {u"MiraPropertyTree", CS_DBLCLKS, COLOR_BTNFACE},
    {u"MiraPropertyTreePanel", 0, COLOR_BTNFACE},
    {u"ToolWindow", CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW},
    {u"MiraButton", CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW},
};

const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// Names registered by this module, compared without case as Windows does.
std::set<std::u16string>& Registered()
{
    static std::set<std::u16string> names;
    return names;
}

std::u16string Folded(const char16_t* name)
{
    std::u16string out(name);
    for (char16_t& c : out)
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
    return out;
}

} // namespace

const cWindowClass::sEntry* cWindowClass::Table(std::size_t& count)
{
    count = std::size(Classes);
    return Classes;
}

bool cWindowClass::Ensure(const char16_t* name)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    if (name == nullptr || *name == 0)
        return false;
    const std::u16string key = Folded(name);
    if (Registered().count(key))
        return true;
    UINT style = CS_HREDRAW | CS_VREDRAW;
    int background = COLOR_WINDOW;
    for (const sEntry& entry : Classes)
        if (Folded(entry.name) == key)
        {
            style = entry.style;
            background = entry.background;
        }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    const HINSTANCE instance = cToolkit::Instance();
    if (GetClassInfoExW(instance, W(name), &wc) && wc.lpfnWndProc == cWindow::ToolkitProc)
    {
        Registered().insert(key);
        return true;
    }
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = cWindow::ToolkitProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    wc.lpszClassName = W(name);
    if (!RegisterClassExW(&wc))
        return false;
    Registered().insert(key);
    return true;
}

bool cWindowClass::RegisterAll()
{
    bool all = true;
    for (const sEntry& entry : Classes)
        all = Ensure(entry.name) && all;
    return all;
}

} // namespace Window
