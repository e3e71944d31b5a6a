#pragma once

#include "app/MainToolWindow.h"
#include "framework/window/Window.h"

// The highlight: a click-through pop-up whose inside is its transparency
// key (cyan), so only a red outline of the edge thickness shows, exactly on
// the edge of the window it covers. The window picker uses it with an edge
// of 5, the drag-select overlay as its rubber band with an edge of 2.
class cMainToolWindow::cMarkWindow : public Window::cWindow
{
public:
    static constexpr COLORREF kKeyColour = RGB(0, 255, 255);
    static constexpr COLORREF kOutlineColour = RGB(255, 0, 0);

    explicit cMarkWindow(int edge) : m_edge(edge) {}

    // Hidden and of zero size, owned by owner.
    bool Create(HWND owner);
    int Edge() const { return m_edge; }
    // Shows it without activation where rect (screen coordinates) is.
    void ShowAt(const Container::sRect& rect);

    Container::cWideString GetClassName() const override { return u"MarkWindow"; }
    bool OnEraseBackground(GDI::cDC& dc) override { return true; }
    bool OnPaint() override;

private:
    int m_edge;
};
