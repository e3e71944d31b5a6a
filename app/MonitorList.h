#pragma once

#include "framework/core/Geometry.h"

#include <functional>
#include <vector>

// The monitors of the desktop as rectangles in virtual-screen coordinates
// (the full monitor rectangle, not the work area), in the order Windows
// enumerates them. Captures take the list through a source function, so
// tests can hand in a desktop of their own.
class cMonitorList
{
public:
    using tSource = std::function<std::vector<Container::sRect>()>;

    // EnumDisplayMonitors over the whole desktop with GetMonitorInfoW.
    static std::vector<Container::sRect> Enumerate();
    // The smallest rectangle holding every monitor; empty for none.
    static Container::sRect Bounds(const std::vector<Container::sRect>& monitors);
};
