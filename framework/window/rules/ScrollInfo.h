#pragma once

#include <cstdint>

namespace Window {

// The range and positions of a scroll bar: the fields of SCROLLINFO that a
// bar keeps. A position runs from min to MaxScrollPos.
struct sScrollInfo
{
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::uint32_t page = 0;
    std::int32_t pos = 0;
    std::int32_t trackPos = 0;

    friend bool operator==(const sScrollInfo&, const sScrollInfo&) = default;
};

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

} // namespace Window
