#pragma once

#include <windows.h>

#include "app/capture/FrameGeometry.h"
#include "framework/core/Geometry.h"
#include "framework/window/Dialog.h"

#include <array>
#include <memory>

class cMainToolWindow;

// The capture frame: a borderless top-most pop-up from dialog template 111,
// layered with pure green as its transparency key, so that only its
// 8-pixel border shows and the inside lets the desktop (and its clicks)
// through. Companion windows it owns: eight translucent resize handles on
// the ring just inside the border, a translucent move area over the inside
// and four corner magnifiers. It is moved and sized by mouse drags on
// itself and its companions and by the tool window's arrow keys; its inside
// is what a framed capture grabs.
class cCaptureFrame : public Window::cDialog
{
public:
    class cMoveWindow;
    class cResizeWindow;
    class cCornerZoomWindow;

    static constexpr int kBorderWidth = 8;
    static constexpr int kEdgeWidth = 8;
    static constexpr int kMagnifierSize = 80;
    // Border colour and transparency key (COLORREF).
    static constexpr COLORREF kBorderColour = RGB(107, 173, 246);
    static constexpr COLORREF kKeyColour = RGB(0, 255, 0);
    // Timers: companion visibility, magnifier refresh, and an idle one.
    static constexpr UINT_PTR kCompanionTimer = 0;
    static constexpr UINT_PTR kMagnifierTimer = 1;
    static constexpr UINT_PTR kIdleTimer = 2;

    cCaptureFrame();
    cCaptureFrame(const cCaptureFrame&) = delete;
    cCaptureFrame& operator=(const cCaptureFrame&) = delete;
    ~cCaptureFrame() override;

    // Creates the hidden frame from template 111 without owner, centred on
    // the primary monitor, with its companions.
    bool Create(HINSTANCE instance);
    void SetToolWindow(cMainToolWindow* toolWindow) { m_toolWindow = toolWindow; }

    static cFrameGeometry::sWidths Widths() { return {kBorderWidth, kEdgeWidth}; }
    // The bounding box of every monitor (SM_*VIRTUALSCREEN).
    static Container::sRect VirtualScreen();

    // Shows the frame without activating it where it was last, or centred
    // on the monitor under the pointer when it no longer touches a monitor.
    void ShowNoActivate();
    // Ends a drag, hides the move area, the handles, the magnifiers and the
    // frame.
    void HideAll();
    // The area inside the border, in screen coordinates.
    Container::sRect FramedRect() const;
    // Moves the frame to windowRect fitted into the virtual screen grown by
    // the border, repainting it.
    void MoveFrame(const Container::sRect& windowRect);

    bool IsDragging() const { return m_dragging; }
    bool MagnifiersOn() const { return m_magnifiersOn; }
    // Switches the magnifiers on (where Zoom Assistance is set and there is
    // room) or off; nothing when the state is the requested one.
    void SetMagnifiers(bool on);
    // Places the magnifiers at the frame's corners, or switches them off
    // while the frame is hidden or Zoom Assistance is not set.
    void PlaceMagnifiers();
    // Grabs each magnifier's square again when the frame moved or changed
    // size since the last refresh (or force).
    void RefreshMagnifiers(bool force);

    // A left press on the move area (handle false) or a handle (screen
    // coordinates) starts a move or, on the ring inside the border, a resize.
    void BeginCompanionDrag(Container::sPoint screenPoint, bool onHandle);

    // ---- Toolkit operations -------------------------------------------------
    bool PreTranslateMessage(MSG* message) override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnMove(std::int32_t x, std::int32_t y) override;
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override;
    bool OnEraseBackground(GDI::cDC& dc) override;
    bool OnPaint() override;
    void OnMouseMove(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonDown(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    void OnLButtonUp(std::int32_t keys, std::int32_t x, std::int32_t y) override;
    bool OnTimer(UINT_PTR id, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateCompanions();
    void LayoutCompanions();
    void ShowCompanions(bool moveArea, bool handles);
    void UpdateCompanionVisibility();
    void StartDrag(Container::sPoint clientPoint, int zone);
    // Clears the drag state; releases the capture when releaseCapture.
    void EndDrag(bool releaseCapture);
    void FocusToolWindow();
    bool ZoomAssistance() const;
    bool IsBusy() const;

    std::unique_ptr<cMoveWindow> m_moveArea;
    cMainToolWindow* m_toolWindow = nullptr;
    bool m_resizing = false;
    int m_zone = cFrameGeometry::kNoZone;
    bool m_dragging = false;
    Container::sPoint m_dragStart;
    Container::sPoint m_dragLast;
    bool m_moved = false;
    bool m_magnifiersOn = false;
    std::array<std::unique_ptr<cCornerZoomWindow>, 4> m_magnifiers;
    std::array<std::unique_ptr<cResizeWindow>, cFrameGeometry::kZoneCount> m_handles;
    // The window rectangle as of the last magnifier refresh.
    Container::sRect m_refreshedRect;
};
