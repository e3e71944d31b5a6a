#pragma once

#include <windows.h>

#include "framework/gdi/PictureDC.h"
#include "framework/painter/Picture.h"
#include "framework/window/Window.h"

namespace Window {

// A text label, etched line or tinted bitmap, painted by the skin. Statics
// never keep the keyboard focus: they pass it to the next tab item.
class cStatic : public cWindow
{
public:
    // Where the text sits vertically.
    enum ePlacement : int
    {
        PlaceTop = 0,     // multi-line, from the top
        PlaceCentre = 1,  // one line, centred
        PlaceBottom = 2,  // one line, at the bottom
    };

    cStatic() = default;

    void SetImage(const Painter::cPicture& image);
    void SetVerticalPlacement(int placement);
    int GetVerticalPlacement() const { return m_placement; }

    // The DrawText flags of a static with this style and placement.
    static UINT TextFlags(DWORD style, int placement);
    UINT GetTextFlags() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnEnable(bool enabled) override;
    void OnSetFocus(cWindow* previous) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnNcPaint(HRGN region) override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;

protected:
    // Hands the focus to the next tab item of the parent, unless that comes
    // back to this control (or there is none).
    void PassFocusOn();
    // Sends WM_COMMAND (id, code, this control) to the parent.
    void NotifyParent(WORD code);
    // Draws the control into the off-screen DC.
    virtual void Draw(GDI::cPictureDC& dc, const Container::sRect& client);

    Painter::cPicture m_image;
    int m_placement = PlaceTop;
};

} // namespace Window
