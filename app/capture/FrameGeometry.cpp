#include "app/capture/FrameGeometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

using Container::sPoint;
using Container::sRect;

namespace {

sRect Shrink(const sRect& rect, int by)
{
    return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

// Squared distance from point to the nearest point of rect (0 inside).
std::int64_t DistanceSquared(const sRect& rect, sPoint point)
{
    const std::int64_t dx = point.x < rect.left ? rect.left - point.x : point.x >= rect.right ? point.x - rect.right + 1 : 0;
    const std::int64_t dy = point.y < rect.top ? rect.top - point.y : point.y >= rect.bottom ? point.y - rect.bottom + 1 : 0;
    return dx * dx + dy * dy;
}

} // namespace

int cFrameGeometry::HitTest(const sRect& q, int ring, sPoint p)
{
    if (!Container::RectContains(q, p) || Container::RectContains(Shrink(q, ring), p))
        return kNoZone;
    const bool left = p.x < q.left + ring, right = p.x >= q.right - ring;
    const bool top = p.y < q.top + ring, bottom = p.y >= q.bottom - ring;
    if (left && !top && !bottom)
        return 0;
    if (left && top)
        return 1;
    if (top && !left && !right)
        return 2;
    if (right && top)
        return 3;
    if (right && !bottom)
        return 4;
    if (right && bottom)
        return 5;
    if (bottom && !left)
        return 6;
    return 7;
}

sRect cFrameGeometry::HandleRect(const sRect& windowRect, const sWidths& widths, int index)
{
    const sRect r = Shrink(windowRect, widths.border);
    const int h = widths.edge;
    switch (index) {
    case 0: return {r.left, r.top + h, r.left + h, r.bottom - h};
    case 1: return {r.left, r.top, r.left + h, r.top + h};
    case 2: return {r.left + h, r.top, r.right - h, r.top + h};
    case 3: return {r.right - h, r.top, r.right, r.top + h};
    case 4: return {r.right - h, r.top + h, r.right, r.bottom - h};
    case 5: return {r.right - h, r.bottom - h, r.right, r.bottom};
    case 6: return {r.left + h, r.bottom - h, r.right - h, r.bottom};
    case 7: return {r.left, r.bottom - h, r.left + h, r.bottom};
    default: return {};
    }
}

sRect cFrameGeometry::MoveAreaRect(const sRect& windowRect, const sWidths& widths)
{
    return Shrink(windowRect, widths.border + widths.edge);
}

sRect cFrameGeometry::InsideRect(const sRect& windowRect, const sWidths& widths)
{
    return Shrink(windowRect, widths.border);
}

sRect cFrameGeometry::ResizeByDrag(const sRect& windowRect, int zone, sPoint p, const sWidths& widths)
{
    const int b = widths.border, m = widths.Minimum();
    const int w = windowRect.Width(), h = windowRect.Height();
    sRect client{0, 0, w, h};
    if (zone == 0 || zone == 1 || zone == 7)
        client.left = std::min(p.x - b, w - m);
    if (zone == 1 || zone == 2 || zone == 3)
        client.top = std::min(p.y - b, h - m);
    if (zone == 3 || zone == 4 || zone == 5)
        client.right = std::max(p.x + b + 1, m);
    if (zone == 5 || zone == 6 || zone == 7)
        client.bottom = std::max(p.y + b + 1, m);
    return {windowRect.left + client.left, windowRect.top + client.top, windowRect.left + client.right,
            windowRect.top + client.bottom};
}

sRect cFrameGeometry::MoveByKey(const sRect& windowRect, eArrow arrow, bool shift, bool ctrl, const sWidths& widths)
{
    const int step = shift ? 10 : 1;
    sRect rect = windowRect;
    if (ctrl) {
        const int m = widths.Minimum();
        switch (arrow) {
        case eArrow::up: rect.bottom -= step; break;
        case eArrow::down: rect.bottom += step; break;
        case eArrow::left: rect.right -= step; break;
        case eArrow::right: rect.right += step; break;
        }
        rect.right = std::max(rect.right, rect.left + m);
        rect.bottom = std::max(rect.bottom, rect.top + m);
        return rect;
    }
    const int dx = arrow == eArrow::left ? -step : arrow == eArrow::right ? step : 0;
    const int dy = arrow == eArrow::up ? -step : arrow == eArrow::down ? step : 0;
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

sRect cFrameGeometry::FitIntoScreen(const sRect& rect, const sRect& virtualScreen, const sWidths& widths)
{
    const int b = widths.border;
    const sRect area{virtualScreen.left - b, virtualScreen.top - b, virtualScreen.right + b, virtualScreen.bottom + b};
    sRect fitted = rect;
    Container::KeepInside(fitted, area);
    return fitted;
}

sRect cFrameGeometry::PlaceForShow(const sRect& rect, const std::vector<sRect>& monitors, sPoint pointer)
{
    if (monitors.empty())
        return rect;
    for (const sRect& monitor : monitors)
        if (!Container::Intersection(rect, monitor).IsEmpty())
            return rect;
    const sRect* target = &monitors.front();
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const sRect& monitor : monitors) {
        const std::int64_t distance = DistanceSquared(monitor, pointer);
        if (distance < best) {
            best = distance;
            target = &monitor;
        }
    }
    sRect placed{0, 0, rect.Width(), rect.Height()};
    const int left = target->left + (target->Width() - rect.Width()) / 2;
    const int top = target->top + (target->Height() - rect.Height()) / 2;
    placed = {left, top, left + rect.Width(), top + rect.Height()};
    Container::KeepInside(placed, *target);
    return placed;
}
