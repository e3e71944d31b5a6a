#pragma once
// Where the parts of a scroll bar lie: shared by the skins' scroll-bar
// painters and by the hit test of the scroll-bar control. Portable: the
// system metrics it needs are passed in.
#include <cstdint>

#include "framework/core/Geometry.h"

namespace Skin {

// The fields of a SCROLLINFO that the layout reads.
struct sScrollState
{
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::uint32_t page = 0;
    std::int32_t pos = 0;
    std::int32_t trackPos = 0;

    friend bool operator==(const sScrollState&, const sScrollState&) = default;
};

// MulDiv as Windows computes it: a * b / c in 64 bits, rounded half away
// from zero; -1 when c is 0 or the result does not fit.
std::int32_t MulDivRound(std::int32_t a, std::int32_t b, std::int32_t c);

class cScrollBarLayout
{
public:
    // Part codes, as the pressed and hot parts of a bar are told.
    enum ePart : std::int32_t
    {
        None = 0,
        Bar = 1,          // the bar itself: a size box, or the track outside the other parts
        FirstArrow = 2,
        FirstPage = 3,
        Thumb = 4,
        SecondPage = 5,
        SecondArrow = 6,
    };

    // arrowLength: SM_CYVSCROLL for a vertical bar, SM_CXHSCROLL for a
    // horizontal one; minThumb: SM_CYVTHUMB or SM_CXHTHUMB. While
    // `dragging` the thumb stands at trackPos, otherwise at pos.
    cScrollBarLayout(const Container::sRect& bar, const sScrollState& state, bool vertical, bool dragging,
                     std::int32_t arrowLength, std::int32_t minThumb);

    // True when the range is larger than the page (the bar can scroll).
    bool CanScroll() const { return m_canScroll; }
    const Container::sRect& BarRect() const { return m_bar; }
    const Container::sRect& FirstArrowRect() const { return m_firstArrow; }
    const Container::sRect& SecondArrowRect() const { return m_secondArrow; }
    const Container::sRect& FirstPageRect() const { return m_firstPage; }
    const Container::sRect& SecondPageRect() const { return m_secondPage; }
    const Container::sRect& ThumbRect() const { return m_thumb; }
    // The track between the arrows.
    const Container::sRect& TrackRect() const { return m_track; }

    // The part under a point (ePart); None outside the bar.
    std::int32_t HitTest(Container::sPoint point) const;

private:
    Container::sRect m_bar, m_firstArrow, m_secondArrow, m_track, m_firstPage, m_secondPage, m_thumb;
    bool m_vertical = true;
    bool m_canScroll = false;
};

} // namespace Skin
