#pragma once

#include "framework/core/Geometry.h"
#include "framework/window/rules/ScrollInfo.h"

#include <cstdint>

namespace Window {

// Parts of a scroll bar: what a point hits, and which part is pressed or hot.
enum eScrollBarPart : std::int32_t
{
    ScrollPartNone = 0,
    ScrollPartBar = 1,  // a size box, or a point of the track not in another part
    ScrollPartFirstArrow = 2,
    ScrollPartFirstPage = 3,
    ScrollPartThumb = 4,
    ScrollPartSecondPage = 5,
    ScrollPartSecondArrow = 6,
};

// The system sizes the layout depends on: the arrow length along the bar's
// axis (SM_CYVSCROLL / SM_CXHSCROLL) and the smallest thumb (SM_CYVTHUMB /
// SM_CXHTHUMB).
struct sScrollBarMetrics
{
    std::int32_t arrowLength = 0;
    std::int32_t minThumbLength = 0;
};

// Where the parts of a scroll bar lie. Empty parts are all-zero rectangles.
struct sScrollBarLayout
{
    Container::sRect bar;
    bool vertical = false;
    Container::sRect firstArrow;
    Container::sRect secondArrow;
    Container::sRect track;
    Container::sRect firstPage;
    Container::sRect thumb;
    Container::sRect secondPage;
    std::int32_t trackStart = 0;   // along the axis
    std::int32_t trackLength = 0;  // 0 when the bar is too short for its arrows
    std::int32_t thumbLength = 0;  // 0 when there is no thumb
};

// Lays out a bar. The thumb stands at trackPos while it is being dragged and
// at pos otherwise; it is absent when the page covers the whole range or when
// the track is too short for the smallest thumb.
sScrollBarLayout LayoutScrollBar(const Container::sRect& bar, const sScrollInfo& info, bool vertical, bool dragging,
                                 const sScrollBarMetrics& metrics);
// The part under a point (an eScrollBarPart); 0 outside the bar.
std::int32_t HitTestScrollBar(const sScrollBarLayout& layout, Container::sPoint point);
// The position for a thumb dragged so that it starts at thumbStart along the
// axis, kept between min and MaxScrollPos. min when the thumb cannot move.
std::int32_t ThumbDragPosition(const sScrollBarLayout& layout, const sScrollInfo& info, std::int32_t thumbStart);
// value × numerator / denominator, rounded half away from zero, computed in
// 64 bits (as MulDiv); -1 when the denominator is 0.
std::int32_t ScaleRounded(std::int32_t value, std::int32_t numerator, std::int32_t denominator);

} // namespace Window
