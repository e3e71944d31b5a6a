#include "app/MonitorList.h"

#include <windows.h>

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto* monitors = reinterpret_cast<std::vector<Container::sRect>*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info))
        monitors->push_back({info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom});
    return TRUE;
}

} // namespace

std::vector<Container::sRect> cMonitorList::Enumerate()
{
    std::vector<Container::sRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

Container::sRect cMonitorList::Bounds(const std::vector<Container::sRect>& monitors)
{
    Container::sRect bounds;
    for (const Container::sRect& monitor : monitors)
        bounds = Container::UnionRect(bounds, monitor);
    return bounds;
}
