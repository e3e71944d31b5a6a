#include "framework/window/Window.h"

#include <shellapi.h>
#include <unordered_map>
#include <windowsx.h>

#include "framework/window/FramePainter.h"
#include "framework/window/Menu.h"
#include "framework/window/Toolkit.h"
#include "framework/window/WindowClass.h"
#include "framework/window/skin/Skin.h"

namespace Window {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));
const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// Handle-to-object bindings of this process.
std::unordered_map<HWND, cWindow*>& Bindings()
{
    static std::unordered_map<HWND, cWindow*> map;
    return map;
}

// What Create hands over in lpCreateParams. A window adopts an object only
// from the block of its own CreateWindowExW call.
struct sCreateBlock
{
    cWindow* object = nullptr;
    bool adopted = false;
};
thread_local sCreateBlock* t_pending = nullptr;

// Clears the flag when the object outlives the scope, restores the outer one.
class cDeathWatch
{
public:
    explicit cDeathWatch(bool*& slot) : m_slot(slot), m_outer(slot) { m_slot = &m_dead; }
    ~cDeathWatch()
    {
        if (m_dead)
        {
            if (m_outer)
                *m_outer = true;
        }
        else
            m_slot = m_outer;
    }
    bool Dead() const { return m_dead; }

private:
    bool*& m_slot;
    bool* m_outer;
    bool m_dead = false;
};

LPARAM Point(std::int32_t x, std::int32_t y) { return MAKELPARAM(std::uint16_t(x), std::uint16_t(y)); }

} // namespace

// ---- Binding ------------------------------------------------------------------

cWindow::cWindow() : m_skin(cToolkit::CurrentSkin()) {}

cWindow::~cWindow()
{
    if (m_deathFlag)
        *m_deathFlag = true;
    if (m_window)
        Detach();
}

cWindow* cWindow::FromHandle(HWND window)
{
    if (window == nullptr)
        return nullptr;
    const auto& map = Bindings();
    const auto found = map.find(window);
    return found == map.end() ? nullptr : found->second;
}

bool cWindow::Bind(HWND window)
{
    if (window == nullptr || m_window != nullptr || FromHandle(window) != nullptr)
        return false;
    Bindings()[window] = this;
    m_window = window;
    m_skin = cToolkit::CurrentSkin();
    return true;
}

void cWindow::Unbind()
{
    if (m_window)
    {
        const auto found = Bindings().find(m_window);
        if (found != Bindings().end() && found->second == this)
            Bindings().erase(found);
    }
}

LRESULT CALLBACK cWindow::ToolkitProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    cWindow* object = FromHandle(window);
    if (object == nullptr && message == WM_NCCREATE && t_pending != nullptr && !t_pending->adopted)
    {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams == t_pending)
        {
            t_pending->adopted = true;
            object = t_pending->object;
            if (!object->Bind(window))
                object = nullptr;
        }
    }
    if (object == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if ((message == WM_NCCREATE || message == WM_CREATE) && object->m_createBlock != nullptr)
    {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams == object->m_createBlock)
        {
            // The handlers see the caller's parameter, not the hand-over block.
            void* const block = create->lpCreateParams;
            create->lpCreateParams = object->m_createParam;
            bool* deathFlag = nullptr;
            const LRESULT result = object->Dispatch(message, wParam, lParam);
            (void)deathFlag;
            create->lpCreateParams = block;
            return result;
        }
    }
    return object->Dispatch(message, wParam, lParam);
}

LRESULT cWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    cDeathWatch watch(m_deathFlag);
    const sMessage outer = m_current;
    m_current = sMessage{message, wParam, lParam, true};
    const LRESULT result = WindowProc(message, wParam, lParam);
    if (!watch.Dead())
        m_current = outer;
    return result;
}

bool cWindow::Create(DWORD exStyle, const char16_t* text, DWORD style, std::int32_t left, std::int32_t top,
                     std::int32_t right, std::int32_t bottom, HWND parent, UINT_PTR idOrMenu, void* createParam)
{
    if (m_window != nullptr)
        return false;
    const Container::cWideString className = GetClassName();
    if (!cWindowClass::Ensure(className.Text()))
        return false;
    const std::int32_t width = right == std::int32_t(CW_USEDEFAULT) ? right : right - left;
    const std::int32_t height = bottom == std::int32_t(CW_USEDEFAULT) ? bottom : bottom - top;

    sCreateBlock block;
    block.object = this;
    sCreateBlock* const outerPending = t_pending;
    t_pending = &block;
    m_createBlock = &block;
    m_createParam = createParam;
    cDeathWatch watch(m_deathFlag);
    const HWND window = CreateWindowExW(exStyle, W(className.Text()), text ? W(text) : nullptr, style, left, top,
                                        width, height, parent, reinterpret_cast<HMENU>(idOrMenu),
                                        cToolkit::Instance(), &block);
    t_pending = outerPending;
    if (watch.Dead())
        return false;
    m_createBlock = nullptr;
    m_createParam = nullptr;
    if (window == nullptr)
    {
        // A window that got as far as WM_NCCREATE and was then refused is
        // gone; make sure nothing of it stays bound.
        if (m_window)
        {
            Unbind();
            m_window = nullptr;
        }
        return false;
    }
    return m_window == window;
}

bool cWindow::CreateControl(DWORD exStyle, const char16_t* text, DWORD style, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom, HWND parent, std::int32_t id, bool subclass)
{
    if (m_window != nullptr)
        return false;
    const Container::cWideString className = GetClassName();
    const std::int32_t width = right == std::int32_t(CW_USEDEFAULT) ? right : right - left;
    const std::int32_t height = bottom == std::int32_t(CW_USEDEFAULT) ? bottom : bottom - top;
    const HWND window = CreateWindowExW(exStyle, W(className.Text()), text ? W(text) : nullptr, style, left, top,
                                        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                        cToolkit::Instance(), nullptr);
    if (window == nullptr)
        return false;
    if (!subclass)
        return Bind(window);
    return Attach(window);
}

bool cWindow::Attach(HWND window)
{
    if (!Bind(window))
        return false;
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (current == ToolkitProc)
        m_previousProc = nullptr;  // a window of a toolkit class: DefWindowProcW follows
    else
        m_previousProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolkitProc)));
    OnAttach(0);
    return true;
}

bool cWindow::Adopt(HWND window) { return Bind(window); }

HWND cWindow::Detach()
{
    const HWND window = m_window;
    if (window == nullptr)
        return nullptr;
    if (m_previousProc != nullptr &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == ToolkitProc)
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    Unbind();
    m_window = nullptr;
    m_previousProc = nullptr;
    return window;
}

// ---- Utilities ------------------------------------------------------------

bool cWindow::Invalidate(bool erase) { return m_window && InvalidateRect(m_window, nullptr, erase ? TRUE : FALSE); }

std::int32_t cWindow::GetText(Container::cWideString& text) const
{
    if (!m_window)
        return 0;
    const int length = GetWindowTextLengthW(m_window);
    if (length <= 0)
    {
        text.Clear();
        return 0;
    }
    std::u16string buffer(std::size_t(length) + 1, u'\0');
    const int read = GetWindowTextW(m_window, reinterpret_cast<wchar_t*>(buffer.data()), length + 1);
    text.Assign(buffer.data(), std::size_t(read > 0 ? read : 0));
    return std::int32_t(text.Length());
}

bool cWindow::SetText(const char16_t* text) { return m_window && SetWindowTextW(m_window, text ? W(text) : L""); }

Container::sRect cWindow::GetClientRect() const
{
    RECT r{};
    if (m_window)
        ::GetClientRect(m_window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

Container::sRect cWindow::GetWindowRect() const
{
    RECT r{};
    if (m_window)
        ::GetWindowRect(m_window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

Container::sRect cWindow::GetPlacementRect() const
{
    RECT r{};
    if (!m_window || !::GetWindowRect(m_window, &r))
        return {};
    const HWND parent = (GetStyle() & WS_CHILD) ? GetParent(m_window) : nullptr;
    if (parent)
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

bool cWindow::MoveTo(std::int32_t x, std::int32_t y)
{
    if (!m_window)
        return false;
    const Container::sRect now = GetPlacementRect();
    if (now.left == x && now.top == y)
        return true;
    return SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

bool cWindow::SetBounds(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    if (!m_window)
        return false;
    if (GetPlacementRect() == Container::sRect{left, top, right, bottom})
        return true;
    return MoveWindow(m_window, left, top, right - left, bottom - top, TRUE);
}

bool cWindow::CenterOnScreen()
{
    if (!m_window)
        return false;
    const Container::sRect r = GetWindowRect();
    const int x = (GetSystemMetrics(SM_CXSCREEN) - r.Width()) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - r.Height()) / 2;
    return SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE | SWP_NOREDRAW);
}

void cWindow::ShowNoActivate(bool show)
{
    if (!m_window)
        return;
    const bool visible = IsWindowVisible(m_window);
    if (show && !visible)
        ShowWindow(m_window, SW_SHOWNA);
    else if (!show && visible)
        ShowWindow(m_window, SW_HIDE);
}

void cWindow::Hide()
{
    if (m_window)
        ShowWindow(m_window, SW_HIDE);
}

bool cWindow::TrackMouseLeave()
{
    if (!m_window)
        return false;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_window;
    track.dwHoverTime = HOVER_DEFAULT;
    return TrackMouseEvent(&track);
}

Container::sPoint cWindow::GetCursorClientPos() const
{
    POINT p{};
    GetCursorPos(&p);
    if (m_window)
        ScreenToClient(m_window, &p);
    return {p.x, p.y};
}

cWindow* cWindow::GetParentWindow() const { return m_window ? FromHandle(GetParent(m_window)) : nullptr; }

cWindow* cWindow::GetRelatedWindow(UINT relation) const
{
    return m_window ? FromHandle(GetWindow(m_window, relation)) : nullptr;
}

cWindow* cWindow::GetFocusWindow() { return FromHandle(GetFocus()); }

bool cWindow::SetParentWindow(cWindow* parent)
{
    if (!m_window)
        return false;
    SetLastError(0);
    return SetParent(m_window, parent ? parent->m_window : nullptr) != nullptr || GetLastError() == 0;
}

LRESULT cWindow::SendCommand(std::int32_t code, cWindow* control)
{
    if (!m_window)
        return 0;
    const HWND controlWindow = control ? control->m_window : nullptr;
    const int id = controlWindow ? GetDlgCtrlID(controlWindow) : 0;
    return SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(std::uint16_t(id), std::uint16_t(code)),
                        reinterpret_cast<LPARAM>(controlWindow));
}

bool cWindow::SetAlpha(std::int32_t alpha)
{
    if (!m_window)
        return false;
    const LONG_PTR exStyle = GetWindowLongPtrW(m_window, GWL_EXSTYLE);
    if (alpha >= 255)
    {
        if (exStyle & WS_EX_LAYERED)
            SetWindowLongPtrW(m_window, GWL_EXSTYLE, exStyle & ~LONG_PTR(WS_EX_LAYERED));
        return true;
    }
    if (alpha < 0)
        alpha = 0;
    if (!(exStyle & WS_EX_LAYERED))
        SetWindowLongPtrW(m_window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    return SetLayeredWindowAttributes(m_window, RGB(255, 255, 255), BYTE(alpha), LWA_ALPHA);
}

cWindow* cWindow::ChildFromPoint(Container::sPoint point) const
{
    if (!m_window)
        return nullptr;
    POINT screen{point.x, point.y};
    ClientToScreen(m_window, &screen);
    for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        cWindow* object = FromHandle(child);
        RECT r{};
        if (object && ::GetWindowRect(child, &r) && PtInRect(&r, screen))
            return object;
    }
    return nullptr;
}

std::int32_t cWindow::GetId() const { return m_window ? GetDlgCtrlID(m_window) : 0; }
DWORD cWindow::GetStyle() const { return m_window ? DWORD(GetWindowLongPtrW(m_window, GWL_STYLE)) : 0; }
DWORD cWindow::GetExStyle() const { return m_window ? DWORD(GetWindowLongPtrW(m_window, GWL_EXSTYLE)) : 0; }
bool cWindow::IsVisible() const { return m_window && IsWindowVisible(m_window); }
bool cWindow::IsEnabled() const { return m_window && IsWindowEnabled(m_window); }

// ---- Dispatch ---------------------------------------------------------------

LRESULT cWindow::PassOn(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_current.active && m_current.message == message)
        return DefaultProc(message, m_current.wParam, m_current.lParam);
    return DefaultProc(message, wParam, lParam);
}

LRESULT cWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto x = std::int32_t(GET_X_LPARAM(lParam));
    const auto y = std::int32_t(GET_Y_LPARAM(lParam));
    switch (message)
    {
    case WM_COMMAND:
    {
        const auto control = reinterpret_cast<HWND>(lParam);
        const std::int32_t id = LOWORD(wParam), code = HIWORD(wParam);
        if (control != nullptr && control != m_window)
            if (cWindow* object = FromHandle(control); object && object->OnCommand(id, code, control))
                return 0;
        if (OnCommand(id, code, control))
            return 0;
        return DefaultProc(message, wParam, lParam);
    }
    case WM_NOTIFY:
    {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (OnNotify(header, &result))
            return result;
        if (header != nullptr && header->hwndFrom != m_window)
            if (cWindow* sender = FromHandle(header->hwndFrom); sender && sender->OnNotify(header, &result))
                return result;
        return DefaultProc(message, wParam, lParam);
    }
    case WM_DRAWITEM:
        if (wParam != 0)
            return DefaultProc(message, wParam, lParam);
        OnDrawItem(0, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return 1;
    case WM_MEASUREITEM:
        if (wParam != 0)
            return DefaultProc(message, wParam, lParam);
        return OnMeasureItem(0, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) ? 1 : 0;
    case WM_TIMER:
        if (OnTimer(wParam, lParam))
            return 0;
        return DefaultProc(message, wParam, lParam);
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_NCCREATE: return OnNcCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)) ? 1 : 0;
    case WM_NCDESTROY: OnNcDestroy(); return 0;
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam != 0, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
    case WM_NCPAINT: OnNcPaint(reinterpret_cast<HRGN>(wParam)); return 0;
    case WM_NCLBUTTONDOWN: OnNcLButtonDown(std::int32_t(wParam), x, y); return 0;
    case WM_NCMOUSEMOVE: OnNcMouseMove(std::int32_t(wParam), x, y); return 0;
    case WM_NCLBUTTONUP: OnNcLButtonUp(std::int32_t(wParam), x, y); return 0;
    case WM_NCLBUTTONDBLCLK: OnNcLButtonDblClk(std::int32_t(wParam), x, y); return 0;
    case WM_CREATE: return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession(lParam) ? 1 : 0;
    case WM_ENDSESSION: OnEndSession(wParam != 0, lParam); return 0;
    case WM_SHOWWINDOW: OnShowWindow(wParam != 0, std::int32_t(lParam)); return 0;
    case WM_STYLECHANGED: OnStyleChanged(std::int32_t(wParam), reinterpret_cast<STYLESTRUCT*>(lParam)); return 0;
    case WM_GETDLGCODE: return OnGetDlgCode(std::int32_t(wParam), reinterpret_cast<MSG*>(lParam));
    case WM_MOVE: OnMove(x, y); return 0;  // signed: left of or above the primary monitor is negative
    case WM_SIZING: return OnSizing(std::int32_t(wParam), reinterpret_cast<RECT*>(lParam)) ? 1 : 0;
    case WM_SIZE: OnSize(std::int32_t(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_ERASEBKGND:
    {
        GDI::cDC dc(reinterpret_cast<HDC>(wParam), false);
        return OnEraseBackground(dc) ? 1 : 0;
    }
    case WM_PAINT: OnPaint(); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(GetFont());
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), std::int16_t(LOWORD(lParam)), HIWORD(lParam))
                   ? 1
                   : 0;
    case WM_CONTEXTMENU: OnContextMenu(FromHandle(reinterpret_cast<HWND>(wParam)), x, y); return 0;
    case WM_SETFOCUS: OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return 0;
    case WM_KILLFOCUS: OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), wParam > 0xFFFF);
        return 0;
    case WM_ENABLE: OnEnable(wParam != 0); return 0;
    case WM_SYSCOMMAND: OnSysCommand(std::int32_t(wParam), lParam); return 0;
    case WM_SYSKEYDOWN: OnSysKeyDown(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SYSKEYUP: OnSysKeyUp(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_KEYDOWN: OnKeyDown(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_KEYUP: OnKeyUp(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_CHAR: OnChar(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MOUSEHOVER: OnMouseHover(std::int32_t(wParam), x, y); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_MOUSEMOVE: OnMouseMove(std::int32_t(wParam), x, y); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(std::int32_t(wParam), x, y); return 0;
    case WM_LBUTTONUP: OnLButtonUp(std::int32_t(wParam), x, y); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(std::int32_t(wParam), x, y); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(std::int32_t(wParam), x, y); return 0;
    case WM_RBUTTONUP: OnRButtonUp(std::int32_t(wParam), x, y); return 0;
    case WM_MBUTTONDOWN: OnMButtonDown(std::int32_t(wParam), x, y); return 0;
    case WM_MBUTTONUP: OnMButtonUp(std::int32_t(wParam), x, y); return 0;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), x, y) ? 1 : 0;
    case WM_INITMENU: OnInitMenu(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0); return 0;
    case WM_MENUSELECT: OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)); return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default: return DefaultProc(message, wParam, lParam);
    }
}

// ---- Default operations -------------------------------------------------------

bool cWindow::Destroy() { return m_window && DestroyWindow(m_window); }

void cWindow::Redraw(bool withChildren)
{
    if (!m_window)
        return;
    constexpr UINT flags = RDW_FRAME | RDW_ERASE | RDW_INVALIDATE;
    RedrawWindow(m_window, nullptr, nullptr, flags);
    if (!withChildren)
        return;
    for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (cWindow* object = FromHandle(child))
            object->Redraw(true);
        else
            RedrawWindow(child, nullptr, nullptr, flags);
    }
}

void cWindow::ApplyLanguage() {}
void cWindow::RecalcLayout() {}
void cWindow::OnFilesDropped(const Container::cStringList&, std::int32_t, std::int32_t) {}
bool cWindow::PreTranslateMessage(MSG*) { return false; }

bool cWindow::OnMeasureItem(std::int32_t id, MEASUREITEMSTRUCT* item)
{
    return PassOn(WM_MEASUREITEM, WPARAM(id), reinterpret_cast<LPARAM>(item)) != 0;
}

void cWindow::OnDrawItem(std::int32_t, DRAWITEMSTRUCT*) {}

LRESULT cWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_previousProc)
        return CallWindowProcW(m_previousProc, m_window, message, wParam, lParam);
    return DefWindowProcW(m_window, message, wParam, lParam);
}

bool cWindow::OnCommand(std::int32_t, std::int32_t, HWND) { return false; }
bool cWindow::OnUpdateCommand(cControlModifier&) { return false; }
bool cWindow::OnNotify(NMHDR*, LRESULT*) { return false; }
Container::cWideString cWindow::GetClassName() const { return u"MiraWindow"; }

void cWindow::OnAttach(DWORD style)
{
    // WS_VISIBLE is the creation's to set: written into the style during
    // WM_CREATE it makes CreateWindowExW skip showing the window, which is
    // then never shown (nor painted) for real.
    style &= ~DWORD(WS_VISIBLE);
    if (style == 0 || !m_window)
        return;
    const DWORD current = GetStyle();
    if ((current & style) != style)
        SetWindowLongW(m_window, GWL_STYLE, LONG(current | style));
}

bool cWindow::OnNcCreate(CREATESTRUCTW* create)
{
    return PassOn(WM_NCCREATE, 0, reinterpret_cast<LPARAM>(create)) != 0;
}

void cWindow::OnNcDestroy()
{
    Unbind();
    const LRESULT unused = PassOn(WM_NCDESTROY, 0, 0);
    (void)unused;
    m_window = nullptr;
    m_previousProc = nullptr;
    if (m_deleteOnDestroy)
        delete this;
}

LRESULT cWindow::OnNcCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS* params)
{
    return PassOn(WM_NCCALCSIZE, calcValidRects ? TRUE : FALSE, reinterpret_cast<LPARAM>(params));
}

void cWindow::OnNcPaint(HRGN region)
{
    if (!cFramePainter::Paint(*this, region))
        PassOn(WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
}

void cWindow::OnNcLButtonDown(std::int32_t hit, std::int32_t x, std::int32_t y)
{
    PassOn(WM_NCLBUTTONDOWN, WPARAM(hit), Point(x, y));
}
void cWindow::OnNcMouseMove(std::int32_t hit, std::int32_t x, std::int32_t y)
{
    PassOn(WM_NCMOUSEMOVE, WPARAM(hit), Point(x, y));
}
void cWindow::OnNcLButtonUp(std::int32_t hit, std::int32_t x, std::int32_t y)
{
    PassOn(WM_NCLBUTTONUP, WPARAM(hit), Point(x, y));
}
void cWindow::OnNcLButtonDblClk(std::int32_t hit, std::int32_t x, std::int32_t y)
{
    PassOn(WM_NCLBUTTONDBLCLK, WPARAM(hit), Point(x, y));
}

std::int32_t cWindow::OnCreate(CREATESTRUCTW* create)
{
    const auto result = std::int32_t(PassOn(WM_CREATE, 0, reinterpret_cast<LPARAM>(create)));
    if (result >= 0 && create != nullptr)
        OnAttach(DWORD(create->style));
    return result;
}

void cWindow::OnDestroy() { PassOn(WM_DESTROY, 0, 0); }
void cWindow::OnClose() { PassOn(WM_CLOSE, 0, 0); }
bool cWindow::OnQueryEndSession(LPARAM flags) { return PassOn(WM_QUERYENDSESSION, 0, flags) != 0; }
void cWindow::OnEndSession(bool ending, LPARAM flags) { PassOn(WM_ENDSESSION, ending ? TRUE : FALSE, flags); }
void cWindow::OnShowWindow(bool show, std::int32_t status) { PassOn(WM_SHOWWINDOW, show ? TRUE : FALSE, status); }

void cWindow::OnStyleChanged(std::int32_t which, STYLESTRUCT* styles)
{
    PassOn(WM_STYLECHANGED, WPARAM(which), reinterpret_cast<LPARAM>(styles));
}

LRESULT cWindow::OnGetDlgCode(std::int32_t key, MSG* message)
{
    return PassOn(WM_GETDLGCODE, WPARAM(key), reinterpret_cast<LPARAM>(message));
}

void cWindow::OnMove(std::int32_t x, std::int32_t y) { PassOn(WM_MOVE, 0, Point(x, y)); }

bool cWindow::OnSizing(std::int32_t edge, RECT* rect)
{
    if (m_minTrackWidth == 0 && m_minTrackHeight == 0)
        return PassOn(WM_SIZING, WPARAM(edge), reinterpret_cast<LPARAM>(rect)) != 0;
    if (rect == nullptr)
        return true;
    const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    if (rect->right - rect->left < m_minTrackWidth)
    {
        if (left)
            rect->left = rect->right - m_minTrackWidth;
        else if (right)
            rect->right = rect->left + m_minTrackWidth;
    }
    if (rect->bottom - rect->top < m_minTrackHeight)
    {
        if (top)
            rect->top = rect->bottom - m_minTrackHeight;
        else if (bottom)
            rect->bottom = rect->top + m_minTrackHeight;
    }
    return true;
}

void cWindow::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    PassOn(WM_SIZE, WPARAM(type), MAKELPARAM(std::uint16_t(cx), std::uint16_t(cy)));
}

void cWindow::OnWindowPosChanged(WINDOWPOS* position)
{
    PassOn(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(position));
}

bool cWindow::OnEraseBackground(GDI::cDC& dc)
{
    return PassOn(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Handle()), 0) != 0;
}

bool cWindow::OnPaint()
{
    PassOn(WM_PAINT, 0, 0);
    return true;
}

HFONT cWindow::GetFont() { return m_font; }

void cWindow::SetFont(HFONT font, bool redraw)
{
    m_font = font;
    if (redraw && m_window)
        InvalidateRect(m_window, nullptr, TRUE);
}

void cWindow::OnHScroll(std::int32_t code, std::int32_t position, cWindow* bar)
{
    PassOn(WM_HSCROLL, MAKEWPARAM(std::uint16_t(code), std::uint16_t(position)),
           reinterpret_cast<LPARAM>(bar ? bar->m_window : nullptr));
}

void cWindow::OnVScroll(std::int32_t code, std::int32_t position, cWindow* bar)
{
    PassOn(WM_VSCROLL, MAKEWPARAM(std::uint16_t(code), std::uint16_t(position)),
           reinterpret_cast<LPARAM>(bar ? bar->m_window : nullptr));
}

bool cWindow::OnSetCursor(cWindow* window, std::int32_t hit, std::int32_t mouseMessage)
{
    return PassOn(WM_SETCURSOR, reinterpret_cast<WPARAM>(window ? window->m_window : nullptr),
                  MAKELPARAM(std::uint16_t(hit), std::uint16_t(mouseMessage))) != 0;
}

void cWindow::OnContextMenu(cWindow* window, std::int32_t x, std::int32_t y)
{
    PassOn(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window ? window->m_window : nullptr), Point(x, y));
}

void cWindow::OnSetFocus(cWindow* previous)
{
    if (cWindow* parent = GetParentWindow())
        parent->OnChildSetFocus(this, previous);
    PassOn(WM_SETFOCUS, reinterpret_cast<WPARAM>(previous ? previous->m_window : nullptr), 0);
}

void cWindow::OnKillFocus(cWindow* next)
{
    if (cWindow* parent = GetParentWindow())
        parent->OnChildKillFocus(this, next);
    PassOn(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next ? next->m_window : nullptr), 0);
}

void cWindow::OnChildSetFocus(cWindow* child, cWindow* previous)
{
    if (cWindow* parent = GetParentWindow())
        parent->OnChildSetFocus(child, previous);
}

void cWindow::OnChildKillFocus(cWindow* child, cWindow* next)
{
    if (cWindow* parent = GetParentWindow())
        parent->OnChildKillFocus(child, next);
}

void cWindow::OnActivate(std::int32_t state, cWindow* other, bool minimized)
{
    PassOn(WM_ACTIVATE, MAKEWPARAM(std::uint16_t(state), minimized ? 1 : 0),
           reinterpret_cast<LPARAM>(other ? other->m_window : nullptr));
}

void cWindow::OnEnable(bool enabled) { PassOn(WM_ENABLE, enabled ? TRUE : FALSE, 0); }
void cWindow::OnSysCommand(std::int32_t command, LPARAM lParam) { PassOn(WM_SYSCOMMAND, WPARAM(command), lParam); }

namespace {
LPARAM KeyData(std::int32_t repeat, std::int32_t flags)
{
    return MAKELPARAM(std::uint16_t(repeat), std::uint16_t(flags));
}
} // namespace

void cWindow::OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    PassOn(WM_SYSKEYDOWN, key, KeyData(repeat, flags));
}
void cWindow::OnSysKeyUp(UINT key, std::int32_t repeat, std::int32_t flags)
{
    PassOn(WM_SYSKEYUP, key, KeyData(repeat, flags));
}
void cWindow::OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags)
{
    PassOn(WM_KEYDOWN, key, KeyData(repeat, flags));
}
void cWindow::OnKeyUp(UINT key, std::int32_t repeat, std::int32_t flags)
{
    PassOn(WM_KEYUP, key, KeyData(repeat, flags));
}
void cWindow::OnChar(UINT character, std::int32_t repeat, std::int32_t flags)
{
    PassOn(WM_CHAR, character, KeyData(repeat, flags));
}

void cWindow::OnMouseHover(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_MOUSEHOVER, WPARAM(keys), Point(x, y));
}
void cWindow::OnMouseLeave() { PassOn(WM_MOUSELEAVE, 0, 0); }
void cWindow::OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_MOUSEMOVE, WPARAM(keys), Point(x, y));
}
void cWindow::OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_LBUTTONDOWN, WPARAM(keys), Point(x, y));
}
void cWindow::OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_LBUTTONUP, WPARAM(keys), Point(x, y));
}
void cWindow::OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_LBUTTONDBLCLK, WPARAM(keys), Point(x, y));
}
void cWindow::OnRButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_RBUTTONDOWN, WPARAM(keys), Point(x, y));
}
void cWindow::OnRButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_RBUTTONUP, WPARAM(keys), Point(x, y));
}
void cWindow::OnMButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_MBUTTONDOWN, WPARAM(keys), Point(x, y));
}
void cWindow::OnMButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y)
{
    PassOn(WM_MBUTTONUP, WPARAM(keys), Point(x, y));
}

bool cWindow::OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y)
{
    return PassOn(WM_MOUSEWHEEL, MAKEWPARAM(std::uint16_t(keys), std::uint16_t(std::int16_t(delta))), Point(x, y)) != 0;
}

void cWindow::OnInitMenu(HMENU menu) { PassOn(WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0); }

void cWindow::OnInitMenuPopup(HMENU menu, std::int32_t index, bool isSystemMenu)
{
    if (isSystemMenu)
    {
        PassOn(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(std::uint16_t(index), 1));
        return;
    }
    // The window sets the state of every command of the popup.
    const cMenu popup(menu, false);
    popup.UpdateItems(*this);
}

void cWindow::OnMenuSelect(std::int32_t item, std::int32_t flags, HMENU menu)
{
    PassOn(WM_MENUSELECT, MAKEWPARAM(std::uint16_t(item), std::uint16_t(flags)), reinterpret_cast<LPARAM>(menu));
}

void cWindow::OnDropFiles(HDROP drop)
{
    if (drop == nullptr)
        return;
    POINT point{};
    DragQueryPoint(drop, &point);
    Container::cStringList files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i)
    {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::u16string path(std::size_t(length) + 1, u'\0');
        const UINT read = DragQueryFileW(drop, i, reinterpret_cast<wchar_t*>(path.data()), length + 1);
        if (read > 0)
            files.Append(Container::cWideString(path.data(), read));
    }
    if (files.Count() > 0)
        OnFilesDropped(files, point.x, point.y);
    DragFinish(drop);
}

bool cWindow::OnTimer(UINT_PTR, LPARAM) { return false; }

HBRUSH cWindow::OnCtlColor(UINT message, HDC dc, HWND)
{
    if (m_skin == nullptr)
        return nullptr;
    const Skin::cSkin& skin = *m_skin;
    switch (message)
    {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORDLG:
        SetTextColor(dc, skin.ColourRef(Skin::cPalette::Text));
        SetBkColor(dc, skin.ColourRef(Skin::cPalette::DialogFace));
        return skin.DialogBrush();
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        SetTextColor(dc, skin.ColourRef(Skin::cPalette::EditText));
        SetBkColor(dc, skin.ColourRef(Skin::cPalette::EditBackground));
        return skin.EditBrush();
    case WM_CTLCOLORBTN: return skin.ButtonBrush();
    case WM_CTLCOLORSCROLLBAR: return skin.EditBrush();
    case WM_CTLCOLORSTATIC:
        SetTextColor(dc, skin.ColourRef(Skin::cPalette::EditText));
        SetBkColor(dc, skin.ColourRef(Skin::cPalette::DialogFace));
        return skin.DialogBrush();
    default: return nullptr;
    }
}

} // namespace Window
