#pragma once
// Window::cWindow: the root of the window toolkit. One object per window,
// bound one-to-one to its handle; every message the toolkit knows arrives
// as a call of a virtual operation with decoded arguments, and what an
// operation does not handle goes, with the message's own wParam and
// lParam, to DefaultProc.
//
// Writing a control:
//   class cSlider : public Window::cWindow
//   {
//       Container::cWideString GetClassName() const override { return u"MiraSlider"; }
//       bool OnPaint() override;                       // draw off-screen through the skin
//       bool OnEraseBackground(GDI::cDC&) override { return true; }
//       void OnLButtonDown(int keys, int x, int y) override;
//   };
// - Override only the operations the control needs; call the base
//   operation to pass a message on.
// - GetClassName names the window class. A toolkit class is registered on
//   the first Create (table in WindowClass.h; unknown names get the default
//   style); a system class ("Edit", "Button") is made with CreateControl.
// - Create a window: obj.Create(exStyle, text, style, left, top, right,
//   bottom, parent, id). The object sees WM_NCCREATE and everything after.
// - Take over an existing window (a control of a dialog template):
//   obj.Attach(GetDlgItem(dialog, id)). The window procedure is replaced by
//   the toolkit's; messages the object passes on reach the old one.
// - OnAttach(style) runs once the binding is complete (after Attach, after
//   CreateControl with subclassing, after WM_CREATE): reset state there.
// - Commands and notifications a control sends to its parent are first
//   offered to the control itself (WM_COMMAND) or after the parent
//   (WM_NOTIFY): override OnCommand / OnNotify in the control to handle its
//   own, and answer true to keep them from the parent.
// - Lifetime: the destructor never destroys the window (it only unbinds
//   it); SetDeleteOnDestroy(true) makes the object delete itself after
//   WM_NCDESTROY.
//
// The binding is a process-local map from handle to object, not the
// window's user-data slot, so foreign windows (shell dialogs of the same
// process, subclassed system controls) keep their slots and are never
// mistaken for toolkit windows. Objects are created and used on the
// user-interface thread only.
#include <cstdint>
#include <windows.h>
#include <shellapi.h>

#include "framework/core/Geometry.h"
#include "framework/core/StringList.h"
#include "framework/core/WideString.h"
#include "framework/gdi/DC.h"

namespace Skin {
class cSkin;
}

namespace Window {

class cControlModifier;

class cWindow
{
public:
    cWindow();
    cWindow(const cWindow&) = delete;
    cWindow& operator=(const cWindow&) = delete;

    // ---- Binding ----------------------------------------------------------
    // The toolkit object of a window; null when the window is not bound to
    // one (or the handle is null).
    static cWindow* FromHandle(HWND window);
    // The window procedure of every toolkit class and subclassed window.
    static LRESULT CALLBACK ToolkitProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Handle() const { return m_window; }
    bool IsBound() const { return m_window != nullptr; }

    // Creates a window of the class GetClassName names (registered on first
    // use). Edges are given; CW_USEDEFAULT as right or bottom is passed
    // through as the size. createParam reaches OnNcCreate and OnCreate as
    // lpCreateParams. False (object unbound) when CreateWindowExW fails.
    bool Create(DWORD exStyle, const char16_t* text, DWORD style, std::int32_t left, std::int32_t top,
                std::int32_t right, std::int32_t bottom, HWND parent, UINT_PTR idOrMenu, void* createParam = nullptr);
    // Creates a window of a system class (GetClassName) and binds it after
    // creation; with subclass the toolkit procedure is installed and
    // OnAttach(0) called. Messages of the creation itself are not seen.
    bool CreateControl(DWORD exStyle, const char16_t* text, DWORD style, std::int32_t left, std::int32_t top,
                       std::int32_t right, std::int32_t bottom, HWND parent, std::int32_t id, bool subclass);
    // Binds an existing window: installs the toolkit procedure (keeping the
    // old one for DefaultProc), takes the current skin, calls OnAttach(0).
    // False for a null handle, a window already bound to another object, or
    // an object that is bound already.
    bool Attach(HWND window);
    // Unbinds the window without destroying it: the old window procedure is
    // put back when it was replaced and nobody subclassed the window since.
    // Answers the handle that was bound.
    HWND Detach();
    // Binds a window whose procedure already leads here (the dialog
    // procedure adopting its object on WM_INITDIALOG). False as for Attach.
    bool Adopt(HWND window);

    bool DeleteOnDestroy() const { return m_deleteOnDestroy; }
    void SetDeleteOnDestroy(bool on) { m_deleteOnDestroy = on; }
    // Minimum tracking size enforced by OnSizing; 0, 0 turns it off.
    void SetMinTrackSize(std::int32_t width, std::int32_t height)
    {
        m_minTrackWidth = width;
        m_minTrackHeight = height;
    }
    Skin::cSkin* GetSkin() const { return m_skin; }
    void SetSkin(Skin::cSkin* skin) { m_skin = skin; }
    // The non-client scroll bar being pressed (0 none, 1 vertical, 2
    // horizontal) and its pressed or hot part, for OnNcPaint.
    void SetTrackedScroll(std::int32_t bar, std::int32_t part)
    {
        m_trackedScrollBar = bar;
        m_trackedScrollPart = part;
    }
    std::int32_t TrackedScrollBar() const { return m_trackedScrollBar; }
    std::int32_t TrackedScrollPart() const { return m_trackedScrollPart; }

    // ---- Utilities (each acts on the bound window) ------------------------
    bool Invalidate(bool erase = true);
    // The window text; answers its length.
    std::int32_t GetText(Container::cWideString& text) const;
    bool SetText(const char16_t* text);
    // SetWindowPos without size, activation or z-order change; nothing (and
    // true) when the window stands there already. Coordinates are the
    // parent's client coordinates for a child, screen ones for a popup.
    bool MoveTo(std::int32_t x, std::int32_t y);
    // MoveWindow with repaint; nothing (and true) when all four edges are
    // already equal.
    bool SetBounds(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // Centres the window on the primary screen, without repaint.
    bool CenterOnScreen();
    // Shows without activating, or hides; nothing when it is so already.
    void ShowNoActivate(bool show);
    void Hide();
    bool TrackMouseLeave();
    Container::sPoint GetCursorClientPos() const;
    Container::sRect GetClientRect() const;
    // The window rectangle in screen coordinates.
    Container::sRect GetWindowRect() const;
    // The window rectangle as MoveTo and SetBounds compare it: in the
    // parent's client coordinates for a child, screen ones otherwise.
    Container::sRect GetPlacementRect() const;
    cWindow* GetParentWindow() const;
    cWindow* GetRelatedWindow(UINT relation) const;
    static cWindow* GetFocusWindow();
    bool SetParentWindow(cWindow* parent);
    // WM_COMMAND to this window: the control's id and `code`, the control's
    // handle (0 and null without a control). Answers the result.
    LRESULT SendCommand(std::int32_t code, cWindow* control);
    // 255 or more: opaque (WS_EX_LAYERED cleared); below: layered with that
    // alpha (negative counts as 0).
    bool SetAlpha(std::int32_t alpha);
    // The first direct toolkit child, in z-order, whose window rectangle
    // holds the point (client coordinates).
    cWindow* ChildFromPoint(Container::sPoint point) const;
    std::int32_t GetId() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    bool IsVisible() const;
    bool IsEnabled() const;

    // ---- Virtual operations (slot order) -----------------------------------
    virtual ~cWindow();
    virtual bool Destroy();
    virtual void Redraw(bool withChildren);
    virtual void ApplyLanguage();
    virtual void RecalcLayout();
    virtual void OnFilesDropped(const Container::cStringList& files, std::int32_t x, std::int32_t y);
    virtual bool PreTranslateMessage(MSG* message);
    virtual bool OnMeasureItem(std::int32_t id, MEASUREITEMSTRUCT* item);
    virtual void OnDrawItem(std::int32_t id, DRAWITEMSTRUCT* item);
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // control: the sending control's handle (null for menus and accelerators).
    virtual bool OnCommand(std::int32_t id, std::int32_t code, HWND control);
    virtual bool OnUpdateCommand(cControlModifier& modifier);
    virtual bool OnNotify(NMHDR* header, LRESULT* result);
    virtual Container::cWideString GetClassName() const;
    virtual void OnAttach(DWORD style);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnNcCreate(CREATESTRUCTW* create);
    virtual void OnNcDestroy();
    // params: the NCCALCSIZE_PARAMS, or when calcValidRects is false a RECT
    // (its first member).
    virtual LRESULT OnNcCalcSize(bool calcValidRects, NCCALCSIZE_PARAMS* params);
    // region: the update region, or 1 for the whole frame.
    virtual void OnNcPaint(HRGN region);
    virtual void OnNcLButtonDown(std::int32_t hit, std::int32_t x, std::int32_t y);
    virtual void OnNcMouseMove(std::int32_t hit, std::int32_t x, std::int32_t y);
    virtual void OnNcLButtonUp(std::int32_t hit, std::int32_t x, std::int32_t y);
    virtual void OnNcLButtonDblClk(std::int32_t hit, std::int32_t x, std::int32_t y);
    virtual std::int32_t OnCreate(CREATESTRUCTW* create);
    virtual void OnDestroy();
    virtual void OnClose();
    virtual bool OnQueryEndSession(LPARAM flags);
    virtual void OnEndSession(bool ending, LPARAM flags);
    virtual void OnShowWindow(bool show, std::int32_t status);
    virtual void OnStyleChanged(std::int32_t which, STYLESTRUCT* styles);
    virtual LRESULT OnGetDlgCode(std::int32_t key, MSG* message);
    // Signed client (child) or screen (popup) coordinates of the client area.
    virtual void OnMove(std::int32_t x, std::int32_t y);
    virtual bool OnSizing(std::int32_t edge, RECT* rect);
    virtual void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy);
    virtual void OnWindowPosChanged(WINDOWPOS* position);
    virtual bool OnEraseBackground(GDI::cDC& dc);
    virtual bool OnPaint();
    virtual HFONT GetFont();
    virtual void SetFont(HFONT font, bool redraw);
    // bar: the scroll-bar control's object (null for a window's own bar or a
    // control that is not a toolkit window).
    virtual void OnHScroll(std::int32_t code, std::int32_t position, cWindow* bar);
    virtual void OnVScroll(std::int32_t code, std::int32_t position, cWindow* bar);
    virtual bool OnSetCursor(cWindow* window, std::int32_t hit, std::int32_t mouseMessage);
    virtual void OnContextMenu(cWindow* window, std::int32_t x, std::int32_t y);
    virtual void OnSetFocus(cWindow* previous);
    virtual void OnKillFocus(cWindow* next);
    virtual void OnChildSetFocus(cWindow* child, cWindow* previous);
    virtual void OnChildKillFocus(cWindow* child, cWindow* next);
    virtual void OnActivate(std::int32_t state, cWindow* other, bool minimized);
    virtual void OnEnable(bool enabled);
    virtual void OnSysCommand(std::int32_t command, LPARAM lParam);
    virtual void OnSysKeyDown(UINT key, std::int32_t repeat, std::int32_t flags);
    virtual void OnSysKeyUp(UINT key, std::int32_t repeat, std::int32_t flags);
    virtual void OnKeyDown(UINT key, std::int32_t repeat, std::int32_t flags);
    virtual void OnKeyUp(UINT key, std::int32_t repeat, std::int32_t flags);
    virtual void OnChar(UINT character, std::int32_t repeat, std::int32_t flags);
    virtual void OnMouseHover(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnMouseLeave();
    virtual void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnLButtonDblClk(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnRButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnRButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnMButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y);
    virtual void OnMButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y);
    // delta: signed wheel delta (WHEEL_DELTA steps); x, y: screen coordinates.
    virtual bool OnMouseWheel(std::int32_t keys, std::int32_t delta, std::int32_t x, std::int32_t y);
    virtual void OnInitMenu(HMENU menu);
    virtual void OnInitMenuPopup(HMENU menu, std::int32_t index, bool isSystemMenu);
    virtual void OnMenuSelect(std::int32_t item, std::int32_t flags, HMENU menu);
    virtual void OnDropFiles(HDROP drop);
    virtual bool OnTimer(UINT_PTR id, LPARAM lParam);
    // Operations after the table: the control-colour messages (text and
    // background colours set on dc, the brush answered).
    virtual HBRUSH OnCtlColor(UINT message, HDC dc, HWND control);

protected:
    // Passes the message being handled on to DefaultProc with its own
    // wParam and lParam; when called outside that message (a handler
    // calling another's base operation), with the rebuilt ones given.
    LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam);

    std::int32_t m_minTrackWidth = 0;
    std::int32_t m_minTrackHeight = 0;
    HWND m_window = nullptr;
    WNDPROC m_previousProc = nullptr;
    Skin::cSkin* m_skin = nullptr;
    HFONT m_font = nullptr;
    bool m_deleteOnDestroy = false;
    std::int32_t m_trackedScrollBar = 0;
    std::int32_t m_trackedScrollPart = 0;

private:
    struct sMessage
    {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        bool active = false;
    };
    // Records the binding (map entry, handle, skin).
    bool Bind(HWND window);
    void Unbind();
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    sMessage m_current;
    // While Create runs: the block handed over in lpCreateParams and the
    // caller's own parameter, which the object's handlers see instead.
    void* m_createBlock = nullptr;
    void* m_createParam = nullptr;
    // Set by the destructor, so that a dispatch or a Create during which
    // the object deletes itself touches nothing afterwards.
    bool* m_deathFlag = nullptr;
};

} // namespace Window
