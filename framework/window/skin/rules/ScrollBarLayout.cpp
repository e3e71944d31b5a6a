#include "framework/window/skin/rules/ScrollBarLayout.h"

#include <algorithm>
#include <limits>

namespace Skin {

std::int32_t MulDivRound(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    std::int64_t product = std::int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t num = std::uint64_t(product < 0 ? -product : product);
    const std::uint64_t den = std::uint64_t(c < 0 ? -std::int64_t(c) : std::int64_t(c));
    const std::uint64_t q = (num + den / 2) / den;
    if (q > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
        return -1;
    return negative ? -std::int32_t(q) : std::int32_t(q);
}

namespace {

// A rectangle spanning [from, to) along the axis and the bar's full breadth.
Container::sRect Span(const Container::sRect& bar, bool vertical, std::int32_t from, std::int32_t to)
{
    if (to <= from)
        return {};
    return vertical ? Container::sRect{bar.left, from, bar.right, to} : Container::sRect{from, bar.top, to, bar.bottom};
}

} // namespace

cScrollBarLayout::cScrollBarLayout(const Container::sRect& bar, const sScrollState& state, bool vertical,
                                   bool dragging, std::int32_t arrowLength, std::int32_t minThumb)
    : m_bar(bar), m_vertical(vertical)
{
    const std::int32_t start = vertical ? bar.top : bar.left;
    const std::int32_t end = vertical ? bar.bottom : bar.right;
    const std::int64_t range = std::int64_t(state.max) - state.min;
    // The page may cover all positions but one and still scroll: the thumb
    // goes only when the page is larger than max - min.
    m_canScroll = std::int64_t(state.page) <= range;
    if (bar.IsEmpty() || arrowLength < 0 || std::int64_t(end) - start < 2 * std::int64_t(arrowLength))
    {
        m_canScroll = false;
        return;
    }
    m_firstArrow = Span(bar, vertical, start, start + arrowLength);
    m_secondArrow = Span(bar, vertical, end - arrowLength, end);
    const std::int32_t trackStart = start + arrowLength, trackEnd = end - arrowLength;
    m_track = Span(bar, vertical, trackStart, trackEnd);
    if (!m_canScroll)
        return;

    const std::int32_t T = trackEnd - trackStart;
    const std::int32_t p = dragging ? state.trackPos : state.pos;
    const std::int64_t span = range + 1;
    // Positions run from min to max - page + 1 (max without a page): the
    // thumb reaches the track's end at the last one.
    const std::int64_t last = std::int64_t(state.max) - std::max<std::int64_t>(state.page, 1) + 1;
    const std::int64_t travel = std::max<std::int64_t>(last - state.min, 1);
    if (span > std::numeric_limits<std::int32_t>::max() || travel > std::numeric_limits<std::int32_t>::max())
    {
        m_canScroll = false;
        return;
    }
    std::int32_t t = MulDivRound(std::int32_t(state.page), T, std::int32_t(span));
    t = std::max(t, minThumb);
    const std::int32_t at = std::int32_t(std::clamp<std::int64_t>(p, state.min, last) - state.min);
    std::int32_t offset = MulDivRound(at, T - t, std::int32_t(travel));
    offset = std::max(offset, 0);
    const std::int32_t thumbStart = std::min(trackStart + offset, trackEnd);
    const std::int32_t thumbEnd = std::min(thumbStart + t, trackEnd);
    m_thumb = Span(bar, vertical, thumbStart, thumbEnd);
    m_firstPage = Span(bar, vertical, trackStart, thumbStart);
    m_secondPage = Span(bar, vertical, thumbEnd, trackEnd);
}

std::int32_t cScrollBarLayout::HitTest(Container::sPoint point) const
{
    if (!Container::RectContains(m_bar, point))
        return None;
    if (Container::RectContains(m_firstArrow, point))
        return FirstArrow;
    if (Container::RectContains(m_secondArrow, point))
        return SecondArrow;
    if (Container::RectContains(m_thumb, point))
        return Thumb;
    if (Container::RectContains(m_firstPage, point))
        return FirstPage;
    if (Container::RectContains(m_secondPage, point))
        return SecondPage;
    return Bar;
}

} // namespace Skin
