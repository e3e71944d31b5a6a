#pragma once

#include "app/MainToolWindow.h"
#include "app/MarkWindow.h"
#include "framework/painter/Picture.h"
#include "framework/window/Window.h"

// The drag-select overlay: a pop-up over one monitor that shows a frozen,
// washed-out copy of it and takes a rubber-band drag under mouse capture;
// the release cuts the dragged rectangle out of the frozen picture, unfaded.
class cMainToolWindow::cNormalCaptureWindow : public Window::cWindow
{
public:
    explicit cNormalCaptureWindow(cMainToolWindow& toolWindow) : m_toolWindow(&toolWindow), m_band(2) {}
    ~cNormalCaptureWindow() override;

    // Hidden, 400 x 300, owned by the tool window.
    bool Create();
    // Freezes monitor (its picture already grabbed) and shows the overlay
    // over it without activation. False when the picture cannot be kept.
    bool Begin(const Painter::cPicture& frozen, const Container::sRect& monitor);
    // Escape (and Enter): clears the drag, releases the mouse, hides the
    // overlay and its rubber band and returns the tool window to idle.
    void EndDragSelect();
    // The same without returning to idle (another capture takes over).
    void Withdraw();
    bool IsDragging() const { return m_dragging; }
    HWND BandHandle() const { return m_band.Handle(); }

    Container::cWideString GetClassName() const override { return u"NormalCaptureWindow"; }
    std::int32_t OnCreate(CREATESTRUCTW* create) override;
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override;
    bool OnEraseBackground(GDI::cDC& dc) override { return true; }
    bool OnPaint() override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void HideOverlay();
    void RemakeDisplay(std::int32_t width, std::int32_t height);

    cMainToolWindow* m_toolWindow;
    cMarkWindow m_band;
    bool m_dragging = false;
    Container::sPoint m_press;
    Container::sPoint m_current;
    bool m_moved = false;
    Painter::cPicture m_source;
    Painter::cPicture m_display;
    Painter::cPicture m_result;
};
