#pragma once

#include "app/MainToolWindow.h"
#include "framework/window/Window.h"

// The click catcher of window picking: a 20 x 20 pop-up, all but invisible
// (constant alpha 1) yet hit-testable, that travels with the pointer and
// takes the click that ends the pick, so that the click never reaches the
// window being captured.
class cMainToolWindow::cClickWindow : public Window::cWindow
{
public:
    static constexpr int kSize = 20;

    explicit cClickWindow(cMainToolWindow& toolWindow) : m_toolWindow(&toolWindow) {}

    // Hidden, owned by the tool window.
    bool Create();
    // Centres it on point without activation, size or z-order change.
    void CentreOn(Container::sPoint point);

    Container::cWideString GetClassName() const override { return u"ClickWindow"; }
    bool OnPaint() override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;

private:
    cMainToolWindow* m_toolWindow;
};
