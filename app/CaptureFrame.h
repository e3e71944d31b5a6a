#pragma once

#include <windows.h>

#include "framework/core/Geometry.h"

class cMainToolWindow;

// The capture frame: a top-most pop-up from dialog template 111 whose
// window region is only its coloured border, so that the area it frames is
// the desktop itself. This is the part the tool window's idle and framing
// rows need (show, hide, the framed rectangle); handles, magnifiers and
// moving it by mouse and keys are the frame's own business.
class cCaptureFrame
{
public:
    static constexpr int kBorderWidth = 8;

    cCaptureFrame() = default;
    cCaptureFrame(const cCaptureFrame&) = delete;
    cCaptureFrame& operator=(const cCaptureFrame&) = delete;
    ~cCaptureFrame() = default;

    // Creates the hidden frame from template 111 without owner.
    bool Create(HINSTANCE instance);
    void Destroy();

    HWND Handle() const { return m_window; }
    bool IsVisible() const { return m_window != nullptr && IsWindowVisible(m_window); }
    void SetToolWindow(cMainToolWindow* toolWindow) { m_toolWindow = toolWindow; }

    // Shows the frame without activating it; the first time it is placed in
    // the middle of the primary monitor.
    void ShowNoActivate();
    // Hides the frame and its companion windows.
    void HideAll();
    // The area inside the border, in screen coordinates.
    Container::sRect FramedRect() const;

    // Keys the frame handles itself; none yet.
    bool PreTranslateMessage(MSG* message) { return false; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyBorderRegion();

    HWND m_window = nullptr;
    cMainToolWindow* m_toolWindow = nullptr;
    bool m_placed = false;
};
