#pragma once

#include "framework/core/Geometry.h"

#include <vector>

// The rules that place and size the capture frame, free of any window:
// its drag zones, the handle ring, resizing by mouse and by arrow keys with
// the minimum size, and fitting it into the virtual screen. Rectangles are
// window rectangles (screen coordinates) unless a rule says client ones;
// the frame has no non-client area, so both have the same size.
class cFrameGeometry
{
public:
    // Zones of the ring and indices of the handles: 0 left, 1 top-left,
    // 2 top, 3 top-right, 4 right, 5 bottom-right, 6 bottom, 7 bottom-left.
    static constexpr int kNoZone = -1;
    static constexpr int kZoneCount = 8;

    // Painted border width and handle-ring thickness.
    struct sWidths
    {
        int border = 8;
        int edge = 8;
        // The least client width and height a resize leaves: border + edge + 16.
        int Minimum() const { return border + edge + 16; }
    };

    enum class eArrow
    {
        left,
        up,
        right,
        down,
    };

    // The zone of point in the ring of thickness `ring` just inside q;
    // kNoZone outside q and inside q shrunk by ring.
    static int HitTest(const Container::sRect& q, int ring, Container::sPoint point);

    // Where handle `index` sits for a frame at windowRect: on the ring of
    // thickness edge that starts border pixels inside the outer edge.
    static Container::sRect HandleRect(const Container::sRect& windowRect, const sWidths& widths, int index);
    // The move area: the client rectangle shrunk by border + edge.
    static Container::sRect MoveAreaRect(const Container::sRect& windowRect, const sWidths& widths);
    // The captured area: the client rectangle shrunk by the border.
    static Container::sRect InsideRect(const Container::sRect& windowRect, const sWidths& widths);

    // A drag of `zone` with the pointer at `point` (client coordinates of
    // the frame at windowRect): the new window rectangle, before fitting.
    static Container::sRect ResizeByDrag(const Container::sRect& windowRect, int zone, Container::sPoint point,
                                         const sWidths& widths);
    // An arrow key: a move by 1 (10 with Shift), or with Ctrl a resize of
    // the right or bottom edge with the top-left fixed, kept at the minimum.
    static Container::sRect MoveByKey(const Container::sRect& windowRect, eArrow arrow, bool shift, bool ctrl,
                                      const sWidths& widths);
    // Fits rect into the virtual screen grown by the border on every side:
    // first no larger than that area, then shifted inside it.
    static Container::sRect FitIntoScreen(const Container::sRect& rect, const Container::sRect& virtualScreen,
                                          const sWidths& widths);
    // Where the frame shows: where it stands when it touches a monitor,
    // else centred on the monitor holding the pointer (the nearest one when
    // none holds it). No monitors: unchanged.
    static Container::sRect PlaceForShow(const Container::sRect& rect, const std::vector<Container::sRect>& monitors,
                                         Container::sPoint pointer);
};
