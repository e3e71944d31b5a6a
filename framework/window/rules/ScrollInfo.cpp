#include "framework/window/rules/ScrollInfo.h"

#include <algorithm>

namespace Window {

std::int32_t MaxScrollPos(const sScrollInfo& info)
{
    const std::int64_t page = info.page > 0 ? static_cast<std::int64_t>(info.page) : 1;
    const std::int64_t last = static_cast<std::int64_t>(info.max) - page + 1;
    return static_cast<std::int32_t>(std::max<std::int64_t>(last, info.min));
}

std::int32_t ClampScrollPos(const sScrollInfo& info, std::int32_t pos)
{
    return std::clamp(pos, info.min, MaxScrollPos(info));
}

bool CanScroll(const sScrollInfo& info)
{
    return static_cast<std::int64_t>(info.page) <= static_cast<std::int64_t>(info.max) - info.min;
}

namespace {

// The page never exceeds the number of positions in the range.
void KeepPageInRange(sScrollInfo& info)
{
    const std::int64_t positions = std::max<std::int64_t>(static_cast<std::int64_t>(info.max) - info.min + 1, 0);
    if (static_cast<std::int64_t>(info.page) > positions)
        info.page = static_cast<std::uint32_t>(positions);
}

} // namespace

std::int32_t ApplyScrollInfo(sScrollInfo& info, std::uint32_t mask, const sScrollInfo& update)
{
    if (mask & ScrollInfoRange)
    {
        info.min = update.min;
        info.max = update.max;
    }
    if (mask & ScrollInfoPage)
        info.page = update.page;
    if (mask & ScrollInfoPos)
        info.pos = update.pos;
    KeepPageInRange(info);
    info.pos = ClampScrollPos(info, info.pos);
    info.trackPos = info.pos;
    return info.pos;
}

bool SetScrollRange(sScrollInfo& info, std::int32_t min, std::int32_t max)
{
    const sScrollInfo before = info;
    info.min = min;
    info.max = max;
    KeepPageInRange(info);
    info.pos = ClampScrollPos(info, info.pos);
    info.trackPos = ClampScrollPos(info, info.trackPos);
    return !(before == info);
}

std::int32_t SetScrollPos(sScrollInfo& info, std::int32_t pos)
{
    const std::int32_t old = info.pos;
    info.pos = ClampScrollPos(info, pos);
    info.trackPos = info.pos;
    return old;
}

} // namespace Window

namespace Window {

std::int32_t ThumbDragPosition(const Skin::cScrollBarLayout& layout, const sScrollInfo& info, bool vertical,
                               std::int32_t thumbStart)
{
    const Container::sRect& track = layout.TrackRect();
    const Container::sRect& thumb = layout.ThumbRect();
    const std::int32_t trackStart = vertical ? track.top : track.left;
    const std::int32_t travel = (vertical ? track.Height() - thumb.Height() : track.Width() - thumb.Width());
    if (thumb.IsEmpty() || travel <= 0)
        return info.min;
    const std::int32_t steps = MaxScrollPos(info) - info.min;
    return ClampScrollPos(info, info.min + Skin::MulDivRound(thumbStart - trackStart, steps, travel));
}

} // namespace Window
