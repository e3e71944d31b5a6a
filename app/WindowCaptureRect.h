#pragma once

#include <windows.h>

#include "framework/core/Geometry.h"

#include <vector>

// The rectangle Alt+Print Screen captures: the visible frame of the
// top-level window under the pointer, clipped to the monitors.
class cWindowCaptureRect
{
public:
    // The window at point, climbed up through parents and owners to the
    // top-level window that has neither; null when there is no window.
    static HWND TopLevelAt(POINT point);
    // The window's frame as the desktop window manager draws it (without
    // invisible resize borders); GetWindowRect where it reports none.
    static bool VisibleFrame(HWND window, Container::sRect& rect);
    // rect := its overlap with the box around the monitors; false (rect
    // unchanged) when they do not overlap.
    static bool ClipToMonitors(Container::sRect& rect, const std::vector<Container::sRect>& monitors);
    // All three: false when nothing under point can be captured.
    static bool Find(POINT point, const std::vector<Container::sRect>& monitors, Container::sRect& rect);
};
