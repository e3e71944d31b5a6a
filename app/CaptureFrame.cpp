#include "app/CaptureFrame.h"

#include "resources/ToolWindowResource.h"

namespace {

const COLORREF kBorderColour = RGB(0xE0, 0x30, 0x30);

} // namespace

bool cCaptureFrame::Create(HINSTANCE instance)
{
    if (m_window != nullptr)
        return true;
    m_window = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_CAPTURE_FRAME), nullptr, &cCaptureFrame::DialogProc,
                                  reinterpret_cast<LPARAM>(this));
    if (m_window == nullptr)
        return false;
    if (IsWindowVisible(m_window))
        ShowWindow(m_window, SW_HIDE);
    return true;
}

void cCaptureFrame::Destroy()
{
    if (m_window != nullptr) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
}

void cCaptureFrame::ShowNoActivate()
{
    if (m_window == nullptr)
        return;
    if (!m_placed) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &info);
        const RECT& area = info.rcMonitor;
        const int width = 400, height = 300;
        SetWindowPos(m_window, HWND_TOPMOST, (area.left + area.right - width) / 2,
                     (area.top + area.bottom - height) / 2, width, height, SWP_NOACTIVATE);
        m_placed = true;
    }
    ApplyBorderRegion();
    ShowWindow(m_window, SW_SHOWNA);
}

void cCaptureFrame::HideAll()
{
    if (m_window != nullptr && IsWindowVisible(m_window))
        ShowWindow(m_window, SW_HIDE);
}

Container::sRect cCaptureFrame::FramedRect() const
{
    RECT client{};
    if (m_window == nullptr || !GetClientRect(m_window, &client))
        return {};
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    MapWindowPoints(m_window, nullptr, corners, 2);
    return {corners[0].x + kBorderWidth, corners[0].y + kBorderWidth, corners[1].x - kBorderWidth,
            corners[1].y - kBorderWidth};
}

void cCaptureFrame::ApplyBorderRegion()
{
    RECT window{};
    GetWindowRect(m_window, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    HRGN outer = CreateRectRgn(0, 0, width, height);
    HRGN inner = CreateRectRgn(kBorderWidth, kBorderWidth, width - kBorderWidth, height - kBorderWidth);
    CombineRgn(outer, outer, inner, RGN_DIFF);
    DeleteObject(inner);
    // The window owns the region from here on.
    if (!SetWindowRgn(m_window, outer, TRUE))
        DeleteObject(outer);
}

INT_PTR CALLBACK cCaptureFrame::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<cCaptureFrame*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(kBorderColour);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    case WM_SIZE:
        self->ApplyBorderRegion();
        return FALSE;
    case WM_NCDESTROY:
        self->m_window = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
