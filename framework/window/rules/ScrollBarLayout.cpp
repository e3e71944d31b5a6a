#include "framework/window/rules/ScrollBarLayout.h"

#include <algorithm>
#include <limits>

namespace Window {

using Container::sPoint;
using Container::sRect;

std::int32_t ScaleRounded(std::int32_t value, std::int32_t numerator, std::int32_t denominator)
{
    if (denominator == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0)
    {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(result, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

namespace {

// A rectangle spanning [from, to) along the bar's axis and its full breadth.
sRect Span(const sRect& bar, bool vertical, std::int32_t from, std::int32_t to)
{
    if (to <= from)
        return {};
    return vertical ? sRect{bar.left, from, bar.right, to} : sRect{from, bar.top, to, bar.bottom};
}

} // namespace

sScrollBarLayout LayoutScrollBar(const sRect& bar, const sScrollInfo& info, bool vertical, bool dragging,
                                 const sScrollBarMetrics& metrics)
{
    sScrollBarLayout layout;
    layout.bar = bar;
    layout.vertical = vertical;
    const std::int32_t start = vertical ? bar.top : bar.left;
    const std::int32_t end = vertical ? bar.bottom : bar.right;
    const std::int32_t arrow = std::max(metrics.arrowLength, 0);
    if (bar.IsEmpty() || static_cast<std::int64_t>(end) - start < 2 * static_cast<std::int64_t>(arrow))
        return layout;

    layout.firstArrow = Span(bar, vertical, start, start + arrow);
    layout.secondArrow = Span(bar, vertical, end - arrow, end);
    layout.trackStart = start + arrow;
    layout.trackLength = end - arrow - layout.trackStart;
    layout.track = Span(bar, vertical, layout.trackStart, end - arrow);
    if (!CanScroll(info) || layout.trackLength <= 0)
        return layout;

    const std::int32_t positions = info.max - info.min + 1;
    const std::int32_t trackLength = layout.trackLength;
    std::int32_t thumb = ScaleRounded(static_cast<std::int32_t>(info.page), trackLength, positions);
    thumb = std::max(thumb, metrics.minThumbLength);
    if (thumb > trackLength)
        return layout;  // no room for a thumb: the arrows still scroll

    const std::int32_t p = ClampScrollPos(info, dragging ? info.trackPos : info.pos);
    // The thumb reaches the track's end at the largest position.
    const std::int32_t steps = MaxScrollPos(info) - info.min;
    const std::int32_t thumbStart =
        layout.trackStart + (steps > 0 ? ScaleRounded(p - info.min, trackLength - thumb, steps) : 0);
    const std::int32_t trackEnd = layout.trackStart + trackLength;
    const std::int32_t thumbEnd = std::min(thumbStart + thumb, trackEnd);
    layout.thumbLength = thumb;
    layout.thumb = Span(bar, vertical, thumbStart, thumbEnd);
    layout.firstPage = Span(bar, vertical, layout.trackStart, thumbStart);
    layout.secondPage = Span(bar, vertical, thumbEnd, trackEnd);
    return layout;
}

std::int32_t HitTestScrollBar(const sScrollBarLayout& layout, sPoint point)
{
    if (!Container::RectContains(layout.bar, point))
        return ScrollPartNone;
    const struct
    {
        const sRect& rect;
        std::int32_t part;
    } parts[] = {
        {layout.firstArrow, ScrollPartFirstArrow}, {layout.secondArrow, ScrollPartSecondArrow},
        {layout.thumb, ScrollPartThumb},           {layout.firstPage, ScrollPartFirstPage},
        {layout.secondPage, ScrollPartSecondPage},
    };
    for (const auto& candidate : parts)
        if (Container::RectContains(candidate.rect, point))
            return candidate.part;
    return ScrollPartBar;
}

std::int32_t ThumbDragPosition(const sScrollBarLayout& layout, const sScrollInfo& info, std::int32_t thumbStart)
{
    const std::int32_t travel = layout.trackLength - layout.thumbLength;
    if (layout.thumbLength <= 0 || travel <= 0)
        return info.min;
    const std::int32_t steps = MaxScrollPos(info) - info.min;
    const std::int32_t pos = info.min + ScaleRounded(thumbStart - layout.trackStart, steps, travel);
    return ClampScrollPos(info, pos);
}

} // namespace Window
