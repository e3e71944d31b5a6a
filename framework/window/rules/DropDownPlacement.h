#pragma once

#include "framework/core/Geometry.h"

#include <cstdint>

namespace Window {

// What decides where a combo box's drop-down list opens. Rectangles are in
// screen coordinates; monitors above or left of the primary one have
// negative coordinates.
struct sDropDownRequest
{
    Container::sRect combo;         // the combo's window rectangle
    Container::sRect workArea;      // of the monitor nearest the combo
    std::int32_t wantedHeight = 0;  // every item plus the list's frame
    std::int32_t maxHeight = 0;     // 0 = two thirds of the work area less the combo's height
    std::int32_t width = 0;         // 0 = the combo's width
    bool hasItems = false;
};

// The list's screen rectangle. Without items: the combo's rectangle. The
// list opens below the combo; when it would pass the work area's bottom it
// opens above when it fits there (its top stays at or below the work area's
// top), otherwise on the side with more room, cut at that side's edge of the
// work area. A list wider than the combo is moved left to stay inside the
// work area.
Container::sRect PlaceDropDown(const sDropDownRequest& request);

} // namespace Window
