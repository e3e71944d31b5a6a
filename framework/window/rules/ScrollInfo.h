#pragma once

#include <cstdint>

#include "framework/window/skin/rules/ScrollBarLayout.h"

namespace Window {

// The range and positions a scroll bar keeps (the SCROLLINFO fields), as
// its layout reads them. A position runs from min to MaxScrollPos.
using sScrollInfo = Skin::sScrollState;

// Mask bits of a scroll-information update; the values are those of SIF_*.
enum : std::uint32_t
{
    ScrollInfoRange = 0x1,
    ScrollInfoPage = 0x2,
    ScrollInfoPos = 0x4,
    ScrollInfoDisableNoScroll = 0x8,
    ScrollInfoTrackPos = 0x10,
    ScrollInfoAll = ScrollInfoRange | ScrollInfoPage | ScrollInfoPos | ScrollInfoTrackPos,
};

// The largest position: max - page + 1 (max itself when there is no page),
// never below min.
std::int32_t MaxScrollPos(const sScrollInfo& info);
// pos kept between min and MaxScrollPos.
std::int32_t ClampScrollPos(const sScrollInfo& info, std::int32_t pos);
// True while the page does not cover the whole range (page <= max - min):
// the bar then shows a thumb and can scroll.
bool CanScroll(const sScrollInfo& info);

// Takes the members of update that mask names (range, page, position), keeps
// the page within the range's size and the position within the range, and
// sets the track position to the position. Answers the new position.
std::int32_t ApplyScrollInfo(sScrollInfo& info, std::uint32_t mask, const sScrollInfo& update);
// Sets the range and brings the position back into it. Answers whether
// anything changed.
bool SetScrollRange(sScrollInfo& info, std::int32_t min, std::int32_t max);
// Sets the position and the track position, clamped. Answers the old
// position.
std::int32_t SetScrollPos(sScrollInfo& info, std::int32_t pos);

// The position for a thumb dragged so that it starts at thumbStart along the
// bar's axis, kept between min and MaxScrollPos; min when the thumb cannot
// move.
std::int32_t ThumbDragPosition(const Skin::cScrollBarLayout& layout, const sScrollInfo& info, bool vertical,
                               std::int32_t thumbStart);

} // namespace Window
