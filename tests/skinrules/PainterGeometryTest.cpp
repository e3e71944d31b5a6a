#include <gtest/gtest.h>

#include "framework/window/skin/rules/PainterGeometry.h"

using Container::sPoint;
using Container::sRect;
using namespace Skin;

TEST(PainterGeometryTest, CheckMarkBoxSide)
{
    struct sCase
    {
        sRect rect;
        std::int32_t lineHeight;
        sRect box;
    };
    const sCase cases[] = {
        {{0, 0, 100, 20}, 16, {0, 3, 13, 16}},     // line height - 3, centred
        {{0, 0, 100, 8}, 16, {0, 0, 8, 8}},        // as high as the control
        {{5, 10, 9, 30}, 16, {5, 18, 9, 22}},      // limited by the width too
        {{0, 0, 100, 20}, 2, {0, 10, 0, 10}},      // nothing left
    };
    for (const sCase& c : cases)
        EXPECT_EQ(CheckMarkBox(c.rect, c.lineHeight), c.box) << c.rect.Height() << " " << c.lineHeight;
    const sRect box = CheckMarkBox({0, 0, 100, 20}, 16);
    EXPECT_EQ(CheckFocusRect({0, 0, 100, 20}, box), (sRect{15, 1, 99, 19}));
    EXPECT_EQ(CheckTextRect({0, 0, 100, 20}, box), (sRect{17, 0, 100, 20}));
}

TEST(PainterGeometryTest, ButtonGlyphSquareIsEightTenthsCentred)
{
    EXPECT_EQ(ButtonGlyphRect({0, 0, 20, 10}), (sRect{6, 1, 14, 9}));
    EXPECT_EQ(ButtonGlyphRect({10, 10, 60, 60}), (sRect{15, 15, 55, 55}));
    EXPECT_TRUE(ButtonGlyphRect({0, 0, 0, 10}).IsEmpty());
}

TEST(PainterGeometryTest, CheckGlyphIsTheSixPointPolygon)
{
    const auto polygons = GlyphPolygons(GlyphCheck, {10, 20, 22, 32});  // 12 x 12
    ASSERT_EQ(polygons.size(), 1u);
    const std::vector<sPoint> expected = {{10, 24}, {14, 28}, {21, 20}, {21, 24}, {14, 31}, {10, 28}};
    EXPECT_EQ(polygons[0], expected);
}

TEST(PainterGeometryTest, GlyphsStayInsideTheirRectangle)
{
    const sRect rect{3, 4, 19, 14};
    for (std::int32_t glyph = GlyphArrowUp; glyph <= GlyphPin; ++glyph)
    {
        const auto polygons = GlyphPolygons(glyph, rect);
        if (glyph == GlyphCross)
        {
            EXPECT_TRUE(polygons.empty());
            continue;
        }
        ASSERT_FALSE(polygons.empty()) << glyph;
        for (const auto& polygon : polygons)
        {
            EXPECT_GE(polygon.size(), 3u);
            for (const sPoint& p : polygon)
            {
                EXPECT_GE(p.x, rect.left) << glyph;
                EXPECT_LE(p.x, rect.right) << glyph;
                EXPECT_GE(p.y, rect.top) << glyph;
                EXPECT_LE(p.y, rect.bottom) << glyph;
            }
        }
    }
    EXPECT_TRUE(GlyphPolygons(9, rect).empty());
    EXPECT_TRUE(GlyphPolygons(-1, rect).empty());
    EXPECT_TRUE(GlyphPolygons(GlyphArrowUp, {0, 0, 0, 0}).empty());
    EXPECT_EQ(GlyphPolygons(GlyphPlus, rect)[0].size(), 12u);
    EXPECT_EQ(GlyphPolygons(GlyphPin, rect).size(), 2u);
}

// Arrows point where they say: the apex is the extreme point in that
// direction.
TEST(PainterGeometryTest, ArrowsPointTheirWay)
{
    const sRect rect{0, 0, 20, 20};
    auto extreme = [&](std::int32_t glyph, auto key) {
        const auto polygon = GlyphPolygons(glyph, rect)[0];
        int count = 0;
        const auto best = key(*std::min_element(polygon.begin(), polygon.end(),
                                                [&](sPoint a, sPoint b) { return key(a) < key(b); }));
        for (const sPoint& p : polygon)
            count += key(p) == best;
        return count;  // a single apex
    };
    EXPECT_EQ(extreme(GlyphArrowUp, [](sPoint p) { return p.y; }), 1);
    EXPECT_EQ(extreme(GlyphArrowDown, [](sPoint p) { return -p.y; }), 1);
    EXPECT_EQ(extreme(GlyphArrowLeft, [](sPoint p) { return p.x; }), 1);
    EXPECT_EQ(extreme(GlyphArrowRight, [](sPoint p) { return -p.x; }), 1);
}

TEST(PainterGeometryTest, GroupBoxFrameAndCaption)
{
    EXPECT_EQ(GroupBoxFrame({0, 0, 100, 60}, 13), (sRect{0, 7, 100, 60}));
    EXPECT_EQ(GroupBoxTextRect({0, 0, 100, 60}, 40, 13), (sRect{10, 1, 50, 14}));
}

TEST(PainterGeometryTest, ImageAndCaptionAreCentredTogether)
{
    const sRect content{2, 2, 98, 22};
    const auto both = PlaceImageAndText(content, 16, 16, 40);
    EXPECT_EQ(both.image, (sPoint{2 + (96 - 58) / 2, 4}));
    EXPECT_EQ(both.text.left, both.image.x + 18);
    EXPECT_EQ(both.text.right, both.text.left + 40);
    // Too wide: the image keeps 2 from the left edge, the text is cut at the right.
    const auto wide = PlaceImageAndText(content, 16, 16, 200);
    EXPECT_EQ(wide.image.x, 4);
    EXPECT_EQ(wide.text.right, 98);
    const auto alone = PlaceImageAndText(content, 16, 16, -1);
    EXPECT_EQ(alone.image, (sPoint{42, 4}));
    EXPECT_TRUE(alone.text.IsEmpty());
}
