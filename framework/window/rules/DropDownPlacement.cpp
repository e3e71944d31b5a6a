#include "framework/window/rules/DropDownPlacement.h"

#include <algorithm>

namespace Window {

using Container::sRect;

sRect PlaceDropDown(const sDropDownRequest& request)
{
    const sRect& combo = request.combo;
    if (!request.hasItems)
        return combo;
    const sRect& work = request.workArea;

    std::int32_t maxHeight = request.maxHeight;
    if (maxHeight <= 0)
        maxHeight = work.Height() * 2 / 3 - combo.Height();
    const std::int32_t height = std::max(std::min(request.wantedHeight, maxHeight), 0);

    sRect list{combo.left, combo.bottom, request.width > 0 ? combo.left + request.width : combo.right,
               combo.bottom + height};
    if (list.right > work.right && list.Width() > combo.Width())
    {
        const std::int32_t shift = std::min(list.right - work.right, std::max(list.left - work.left, 0));
        list.left -= shift;
        list.right -= shift;
    }

    if (list.bottom <= work.bottom)
        return list;
    if (combo.top - height >= work.top)
    {
        list.top = combo.top - height;
        list.bottom = combo.top;
        return list;
    }
    // Fits on neither side: the side with more room, cut at the work area.
    const std::int32_t roomBelow = work.bottom - combo.bottom;
    const std::int32_t roomAbove = combo.top - work.top;
    if (roomAbove > roomBelow)
    {
        list.top = work.top;
        list.bottom = combo.top;
    }
    else
    {
        list.top = combo.bottom;
        list.bottom = std::max(work.bottom, combo.bottom);
    }
    return list;
}

} // namespace Window
