#include "app/WindowCaptureRect.h"

#include "app/MonitorList.h"

#include <dwmapi.h>

HWND cWindowCaptureRect::TopLevelAt(POINT point)
{
    HWND window = WindowFromPoint(point);
    if (window == nullptr)
        return nullptr;
    // GetParent answers the parent of a child and the owner of a pop-up.
    for (HWND up = GetParent(window); up != nullptr; up = GetParent(up))
        window = up;
    return window;
}

bool cWindowCaptureRect::VisibleFrame(HWND window, Container::sRect& rect)
{
    RECT frame{};
    if (SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof(frame))) &&
        frame.right > frame.left && frame.bottom > frame.top) {
        rect = {frame.left, frame.top, frame.right, frame.bottom};
        return true;
    }
    if (!GetWindowRect(window, &frame))
        return false;
    rect = {frame.left, frame.top, frame.right, frame.bottom};
    return true;
}

bool cWindowCaptureRect::ClipToMonitors(Container::sRect& rect, const std::vector<Container::sRect>& monitors)
{
    return Container::IntersectWith(rect, cMonitorList::Bounds(monitors));
}

bool cWindowCaptureRect::Find(POINT point, const std::vector<Container::sRect>& monitors, Container::sRect& rect)
{
    HWND window = TopLevelAt(point);
    Container::sRect found;
    if (window == nullptr || !VisibleFrame(window, found) || !ClipToMonitors(found, monitors))
        return false;
    rect = found;
    return true;
}
