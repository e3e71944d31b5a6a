#include <gtest/gtest.h>

#include "app/capture/FrameGeometry.h"

#include <ostream>

using Container::sPoint;
using Container::sRect;
using Arrow = cFrameGeometry::eArrow;

namespace Container {
std::ostream& operator<<(std::ostream& out, const sRect& r)
{
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
} // namespace Container

namespace {
const cFrameGeometry::sWidths kWidths{8, 8};
}

TEST(FrameGeometry, HitTestFindsTheZoneOfEveryPartOfTheRing)
{
    const sRect q{10, 20, 110, 80};
    struct sCase
    {
        sPoint point;
        int zone;
    };
    const sCase cases[] = {
        // Outside q, and inside the inner rectangle: no zone.
        {{9, 50}, -1}, {{110, 50}, -1}, {{50, 80}, -1}, {{50, 19}, -1}, {{18, 28}, -1}, {{101, 71}, -1},
        // The left strip, corners included only where they belong.
        {{10, 28}, 0}, {{17, 71}, 0}, {{10, 27}, 1}, {{17, 20}, 1},
        {{18, 20}, 2}, {{101, 27}, 2}, {{102, 20}, 3}, {{109, 27}, 3},
        {{109, 28}, 4}, {{102, 71}, 4}, {{102, 72}, 5}, {{109, 79}, 5},
        {{101, 79}, 6}, {{18, 72}, 6}, {{17, 72}, 7}, {{10, 79}, 7},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(cFrameGeometry::HitTest(q, 8, c.point), c.zone) << c.point.x << ", " << c.point.y;
}

TEST(FrameGeometry, HandlesLieOnTheRingInsideTheBorderAndEachHitsItsOwnZone)
{
    const sRect frame{100, 200, 300, 360};
    const sRect ring = cFrameGeometry::InsideRect(frame, kWidths);
    EXPECT_EQ(ring, sRect(108, 208, 292, 352));
    const sRect expected[8] = {{108, 216, 116, 344}, {108, 208, 116, 216}, {116, 208, 284, 216},
                               {284, 208, 292, 216}, {284, 216, 292, 344}, {284, 344, 292, 352},
                               {116, 344, 284, 352}, {108, 344, 116, 352}};
    for (int index = 0; index < 8; ++index) {
        const sRect handle = cFrameGeometry::HandleRect(frame, kWidths, index);
        EXPECT_EQ(handle, expected[index]) << index;
        // Every pixel of a handle is its own zone of the ring.
        for (int y = handle.top; y < handle.bottom; y += 3)
            for (int x = handle.left; x < handle.right; x += 3)
                ASSERT_EQ(cFrameGeometry::HitTest(ring, 8, {x, y}), index) << x << ", " << y;
    }
    EXPECT_EQ(cFrameGeometry::MoveAreaRect(frame, kWidths), sRect(116, 216, 284, 344));
}

TEST(FrameGeometry, DraggingAZoneMovesOnlyItsEdgesAndNeverBelowTheMinimum)
{
    const sRect frame{100, 100, 300, 250}; // client 200 x 150
    struct sCase
    {
        int zone;
        sPoint point; // client coordinates
        sRect result;
    };
    const sCase cases[] = {
        // Growing: left edge to x - 8, right edge to x + 9.
        {0, {-20, 70}, {72, 100, 300, 250}},
        {4, {230, 70}, {100, 100, 339, 250}},
        {2, {90, -40}, {100, 52, 300, 250}},
        {6, {90, 170}, {100, 100, 300, 279}},
        {1, {-10, -10}, {82, 82, 300, 250}},
        {5, {210, 160}, {100, 100, 319, 269}},
        {3, {210, -10}, {100, 82, 319, 250}},
        {7, {-10, 160}, {82, 100, 300, 269}},
        // Shrinking stops at 32 x 32, whatever the edge.
        {0, {500, 70}, {268, 100, 300, 250}},
        {4, {-500, 70}, {100, 100, 132, 250}},
        {2, {90, 900}, {100, 218, 300, 250}},
        {6, {90, -900}, {100, 100, 300, 132}},
        {5, {0, 0}, {100, 100, 132, 132}},
        {1, {400, 400}, {268, 218, 300, 250}},
    };
    for (const sCase& c : cases) {
        const sRect result = cFrameGeometry::ResizeByDrag(frame, c.zone, c.point, kWidths);
        EXPECT_EQ(result, c.result) << "zone " << c.zone;
        EXPECT_GE(result.Width(), 32);
        EXPECT_GE(result.Height(), 32);
    }
}

TEST(FrameGeometry, ArrowKeysMoveByOneOrTenAndWithCtrlResizeDownToTheMinimum)
{
    const sRect frame{100, 100, 200, 160};
    struct sCase
    {
        Arrow arrow;
        bool shift, ctrl;
        sRect result;
    };
    const sCase cases[] = {
        {Arrow::left, false, false, {99, 100, 199, 160}},  {Arrow::right, false, false, {101, 100, 201, 160}},
        {Arrow::up, false, false, {100, 99, 200, 159}},    {Arrow::down, false, false, {100, 101, 200, 161}},
        {Arrow::left, true, false, {90, 100, 190, 160}},   {Arrow::down, true, false, {100, 110, 200, 170}},
        {Arrow::right, false, true, {100, 100, 201, 160}}, {Arrow::left, false, true, {100, 100, 199, 160}},
        {Arrow::down, false, true, {100, 100, 200, 161}},  {Arrow::up, true, true, {100, 100, 200, 150}},
        {Arrow::right, true, true, {100, 100, 210, 160}},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(cFrameGeometry::MoveByKey(frame, c.arrow, c.shift, c.ctrl, kWidths), c.result)
            << int(c.arrow) << c.shift << c.ctrl;

    // Shrinking step by step ends at 32 x 32 and stays there.
    sRect rect = frame;
    for (int i = 0; i < 20; ++i) {
        rect = cFrameGeometry::MoveByKey(rect, Arrow::left, true, true, kWidths);
        rect = cFrameGeometry::MoveByKey(rect, Arrow::up, true, true, kWidths);
    }
    EXPECT_EQ(rect, sRect(100, 100, 132, 132));
}

TEST(FrameGeometry, FittingLetsOnlyTheBorderLeaveTheVirtualScreen)
{
    // A virtual screen with a monitor left of and above the primary one.
    const sRect screen{-1280, -200, 1920, 1080};
    struct sCase
    {
        sRect rect, result;
    };
    const sCase cases[] = {
        {{0, 0, 100, 100}, {0, 0, 100, 100}},
        {{-1300, 10, -1200, 110}, {-1288, 10, -1188, 110}},
        {{1900, 1000, 2000, 1100}, {1828, 988, 1928, 1088}},
        {{500, -500, 600, -400}, {500, -208, 600, -108}},
        // Too large: made as large as the grown screen.
        {{-5000, -5000, 5000, 5000}, {-1288, -208, 1928, 1088}},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(cFrameGeometry::FitIntoScreen(c.rect, screen, kWidths), c.result) << c.rect;
}

TEST(FrameGeometry, AFrameOffEveryMonitorIsCentredOnTheMonitorUnderThePointer)
{
    const std::vector<sRect> monitors = {{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}};
    struct sCase
    {
        sRect rect;
        sPoint pointer;
        sRect result;
    };
    const sCase cases[] = {
        // Touching a monitor, even by one pixel: left where it is.
        {{100, 100, 500, 300}, {5, 5}, {100, 100, 500, 300}},
        {{-1500, 1000, -1279, 1200}, {5, 5}, {-1500, 1000, -1279, 1200}},
        // In the part of the virtual screen no monitor shows.
        {{-1000, 1030, -600, 1070}, {-100, 500}, {-840, 492, -440, 532}},
        {{-1000, 1030, -600, 1070}, {900, 10}, {760, 520, 1160, 560}},
        // Pointer on no monitor: the nearest one.
        {{-3000, 5000, -2600, 5200}, {-2000, 10}, {-840, 412, -440, 612}},
        // Larger than the monitor: shrunk to it.
        {{5000, 0, 8000, 2000}, {10, 10}, {0, 0, 1920, 1080}},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(cFrameGeometry::PlaceForShow(c.rect, monitors, c.pointer), c.result) << c.rect;
    EXPECT_EQ(cFrameGeometry::PlaceForShow({5000, 5000, 5100, 5100}, {}, {0, 0}), sRect(5000, 5000, 5100, 5100));
}
