#include <gtest/gtest.h>

#include "framework/core/Geometry.h"

#include <climits>

using Container::sPoint;
using Container::sRect;

namespace {

std::string Show(const sRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

} // namespace

namespace Container {
void PrintTo(const sRect& r, std::ostream* out)
{
    *out << Show(r);
}
} // namespace Container

TEST(GeometryTest, NormalizeAndContains)
{
    sRect r{10, 20, 0, 5};
    Container::NormalizeRect(r);
    EXPECT_EQ((sRect{0, 5, 10, 20}), r);
    EXPECT_TRUE(Container::RectContains(r, {0, 5}));
    EXPECT_TRUE(Container::RectContains(r, {9, 19}));
    EXPECT_FALSE(Container::RectContains(r, {10, 5}));  // right and bottom are exclusive
    EXPECT_FALSE(Container::RectContains(r, {0, 20}));
    EXPECT_FALSE(Container::RectContains(r, {-1, 10}));
}

TEST(GeometryTest, IntersectTable)
{
    const struct
    {
        sRect a, b, expected;
        bool overlaps;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, true},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, false},  // touching edges have no area
        {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 0, 0}, false},
        {{10, 10, 0, 0}, {5, 15, 15, 5}, {5, 5, 10, 10}, true},  // reversed inputs are normalised
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, true},
    };
    for (const auto& c : cases)
    {
        sRect result{1, 2, 3, 4};
        EXPECT_EQ(c.overlaps, Container::IntersectRect(result, c.a, c.b)) << Show(c.a) << " / " << Show(c.b);
        EXPECT_EQ(c.expected, result) << Show(c.a) << " / " << Show(c.b);
    }
    sRect kept{0, 0, 10, 10};
    EXPECT_FALSE(Container::IntersectWith(kept, {10, 10, 20, 20}));
    EXPECT_EQ((sRect{0, 0, 10, 10}), kept);
    EXPECT_TRUE(Container::IntersectWith(kept, {-5, 2, 4, 20}));
    EXPECT_EQ((sRect{0, 2, 4, 10}), kept);
}

// The clipping form keeps its inputs as they stand: a reversed rectangle has
// no area, so it clips everything away, exactly as IsEmpty and
// RectContains see it.
TEST(GeometryTest, IntersectionTreatsReversedRectanglesAsEmpty)
{
    const struct
    {
        sRect a, b, expected;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}},
        {{0, 0, 10, 10}, {0, 10, 10, 20}, {0, 0, 0, 0}},   // touching edges
        {{10, 10, 0, 0}, {0, 0, 10, 10}, {0, 0, 0, 0}},    // reversed: empty, not turned round
        {{0, 0, 10, 10}, {5, 15, 15, 5}, {0, 0, 0, 0}},
        {{-5, -5, 3, 3}, {0, 0, 100, 100}, {0, 0, 3, 3}},  // a clip against picture bounds
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {1, 2, 3, 4}, {1, 2, 3, 4}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.expected, Container::Intersection(c.a, c.b)) << Show(c.a) << " / " << Show(c.b);
        EXPECT_EQ(c.expected, Container::Intersection(c.b, c.a)) << Show(c.b) << " / " << Show(c.a);
        sRect with = c.a;
        EXPECT_EQ(!c.expected.IsEmpty(), Container::IntersectWith(with, c.b)) << Show(c.a) << " / " << Show(c.b);
        EXPECT_EQ(c.expected.IsEmpty() ? c.a : c.expected, with);
    }
    const sRect reversed{10, 10, 0, 0};
    EXPECT_TRUE(reversed.IsEmpty());
    EXPECT_FALSE(Container::RectContains(reversed, {5, 5}));
    static_assert(sRect(1, 2, 4, 8).Width() == 3 && sRect{1, 2, 4, 8}.Height() == 6);
}

TEST(GeometryTest, UnionIgnoresRectanglesWithoutArea)
{
    EXPECT_EQ((sRect{0, 0, 20, 15}), Container::UnionRect({0, 0, 10, 10}, {5, 5, 20, 15}));
    EXPECT_EQ((sRect{5, 5, 20, 15}), Container::UnionRect({0, 0, 0, 10}, {5, 5, 20, 15}));
    EXPECT_EQ((sRect{0, 0, 10, 10}), Container::UnionRect({0, 0, 10, 10}, {50, 50, 50, 60}));
}

TEST(GeometryTest, KeepInsideTable)
{
    const sRect bounds{0, 0, 100, 50};
    const struct
    {
        sRect rect, expected;
    } cases[] = {
        {{10, 10, 20, 20}, {10, 10, 20, 20}},      // already inside
        {{90, 45, 110, 55}, {80, 40, 100, 50}},    // moved back from the right and bottom
        {{-10, -5, 10, 5}, {0, 0, 20, 10}},        // moved from the left and top
        {{-50, 10, 250, 20}, {0, 10, 100, 20}},    // too wide: shrunk, then placed
        {{10, -100, 20, 200}, {10, 0, 20, 50}},    // too tall
    };
    for (const auto& c : cases)
    {
        sRect r = c.rect;
        Container::KeepInside(r, bounds);
        EXPECT_EQ(c.expected, r) << Show(c.rect);
    }
}

TEST(GeometryTest, FitTable)
{
    const sRect wide{0, 0, 200, 100};
    const struct
    {
        sRect container;
        int width, height;
        bool keepSmall;
        sRect expected;
    } cases[] = {
        {wide, 100, 100, false, {50, 0, 150, 100}},     // limited by height, centred horizontally
        {wide, 400, 100, false, {0, 25, 200, 75}},      // limited by width, centred vertically
        {wide, 200, 100, false, {0, 0, 200, 100}},      // same aspect
        {wide, 50, 50, true, {75, 25, 125, 75}},        // small content keeps its size
        {wide, 50, 50, false, {50, 0, 150, 100}},       // or is enlarged
        {wide, 300, 10, true, {0, 47, 200, 53}},        // too wide: shrinks even with keepSmall
        {wide, 10000, 1, false, {0, 49, 200, 50}},      // height rounds to 0: at least 1
        {wide, 0, 10, false, {99, 0, 100, 100}},        // no width: 1
        {{10, 10, 110, 60}, 100, 100, false, {35, 10, 85, 60}},  // container offset
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Container::FitRect(c.container, c.width, c.height, c.keepSmall))
            << Show(c.container) << " " << c.width << "x" << c.height << (c.keepSmall ? " keep" : "");
}

TEST(GeometryTest, Divide)
{
    sRect r{10, 20, -30, 41};
    EXPECT_TRUE(Container::DivideRect(r, 2, 4));
    EXPECT_EQ((sRect{5, 5, -15, 10}), r);
    EXPECT_FALSE(Container::DivideRect(r, 0, 1));
    EXPECT_EQ((sRect{5, 5, -15, 10}), r);
    sRect extreme{INT_MIN, 0, 0, 0};
    EXPECT_TRUE(Container::DivideRect(extreme, -1, 1));
    EXPECT_EQ(INT_MAX, extreme.left);
}

TEST(GeometryTest, PointLengthAndAngle)
{
    const struct
    {
        sPoint point;
        int length;
        int angle;
    } cases[] = {
        {{0, 0}, 0, 0},      {{3, 4}, 5, 53},     {{1, 1}, 1, 45},     {{10, 0}, 10, 0},
        {{0, 10}, 10, 90},   {{-10, 0}, 10, 180}, {{0, -10}, 10, 270}, {{-1, -1}, 1, 225},
        {{1000, -1}, 1000, 0},  // 359.94 rounds to 360, which is 0
        {{INT_MIN, INT_MIN}, INT_MAX, 225},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.length, Container::PointLength(c.point)) << c.point.x << "," << c.point.y;
        EXPECT_EQ(c.angle, Container::PointAngle(c.point)) << c.point.x << "," << c.point.y;
    }
    EXPECT_EQ(46340, Container::PointLength({46340, 0}));
    EXPECT_EQ(1414, Container::PointLength({1000, 1000}));  // 1414.2
}
