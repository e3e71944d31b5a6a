#include <gtest/gtest.h>

#include "framework/window/skin/rules/ScrollBarLayout.h"

using Container::sRect;
using Skin::cScrollBarLayout;

TEST(ScrollBarLayoutTest, MulDivRoundsLikeWindows)
{
    struct sCase
    {
        std::int32_t a, b, c, expected;
    };
    const sCase cases[] = {
        {10, 100, 3, 333},  {10, 100, 6, 167},  {-10, 100, 6, -167}, {10, -100, -6, 167},
        {1, 1, 2, 1},       {-1, 1, 2, -1},     {7, 0, 5, 0},        {7, 3, 0, -1},
        {0x7FFFFFFF, 2, 2, 0x7FFFFFFF}, {0x7FFFFFFF, 4, 2, -1},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(Skin::MulDivRound(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

// A vertical bar 17 wide and 200 high, arrows 17, minimum thumb 8: the
// track is 166 pixels.
TEST(ScrollBarLayoutTest, VerticalPartsFollowThePosition)
{
    const sRect bar{0, 0, 17, 200};
    struct sCase
    {
        std::int32_t pos;
        sRect thumb;
    };
    // Range 0..99, page 10: thumb MulDiv(10, 166, 100) = 17, its travel of
    // 166 - 17 pixels spread over 99 - 0 - 10 + 1 = 90 positions.
    const sCase cases[] = {
        {0, {0, 17, 17, 34}},
        {45, {0, 17 + 75, 17, 17 + 75 + 17}},   // MulDiv(45, 149, 90) = 74.5 -> 75
        {90, {0, 17 + 149, 17, 183}},
        {500, {0, 17 + 149, 17, 183}},          // past the last position: kept at the end
        {-7, {0, 17, 17, 34}},                  // before the first: at the start
    };
    for (const sCase& c : cases)
    {
        const cScrollBarLayout layout(bar, {0, 99, 10, c.pos, 0}, true, false, 17, 8);
        EXPECT_TRUE(layout.CanScroll());
        EXPECT_EQ(layout.FirstArrowRect(), (sRect{0, 0, 17, 17}));
        EXPECT_EQ(layout.SecondArrowRect(), (sRect{0, 183, 17, 200}));
        EXPECT_EQ(layout.ThumbRect(), c.thumb) << "pos " << c.pos;
        EXPECT_EQ(layout.FirstPageRect().bottom, c.thumb.top == 17 ? 0 : c.thumb.top);
        EXPECT_EQ(layout.SecondPageRect().top, c.thumb.bottom == 183 ? 0 : c.thumb.bottom);
    }
    // While dragging, the track position decides.
    const cScrollBarLayout dragged(bar, {0, 99, 10, 0, 45}, true, true, 17, 8);
    EXPECT_EQ(dragged.ThumbRect().top, 17 + 75);
}

TEST(ScrollBarLayoutTest, SmallPagesGetTheMinimumThumb)
{
    const cScrollBarLayout layout({0, 0, 200, 17}, {0, 9999, 1, 0, 0}, false, false, 17, 8);
    EXPECT_EQ(layout.ThumbRect(), (sRect{17, 0, 25, 17}));
    EXPECT_EQ(layout.FirstArrowRect(), (sRect{0, 0, 17, 17}));
    EXPECT_EQ(layout.SecondArrowRect(), (sRect{183, 0, 200, 17}));
}

TEST(ScrollBarLayoutTest, NoThumbWhenThePageCoversTheRange)
{
    // Page 99 of 0..99 still leaves two positions: only a page larger than
    // max - min takes the thumb away.
    for (std::uint32_t page : {100u, 1000u})
    {
        const cScrollBarLayout layout({0, 0, 17, 200}, {0, 99, page, 0, 0}, true, false, 17, 8);
        EXPECT_FALSE(layout.CanScroll()) << page;
        EXPECT_TRUE(layout.ThumbRect().IsEmpty());
        EXPECT_TRUE(layout.FirstPageRect().IsEmpty());
        EXPECT_FALSE(layout.FirstArrowRect().IsEmpty());
    }
}

TEST(ScrollBarLayoutTest, BarShorterThanTwoArrowsHasNoParts)
{
    const cScrollBarLayout layout({0, 0, 17, 33}, {0, 99, 10, 0, 0}, true, false, 17, 8);
    EXPECT_TRUE(layout.FirstArrowRect().IsEmpty());
    EXPECT_TRUE(layout.SecondArrowRect().IsEmpty());
    EXPECT_TRUE(layout.ThumbRect().IsEmpty());
    EXPECT_EQ(layout.HitTest({5, 5}), cScrollBarLayout::Bar);
}

TEST(ScrollBarLayoutTest, HitTestNamesEveryPart)
{
    const cScrollBarLayout layout({10, 20, 27, 220}, {0, 99, 10, 45, 0}, true, false, 17, 8);
    struct sCase
    {
        Container::sPoint point;
        std::int32_t part;
    };
    const sCase cases[] = {
        {{12, 25}, cScrollBarLayout::FirstArrow},  {{12, 50}, cScrollBarLayout::FirstPage},
        {{12, 120}, cScrollBarLayout::Thumb},      {{12, 180}, cScrollBarLayout::SecondPage},
        {{12, 210}, cScrollBarLayout::SecondArrow}, {{5, 25}, cScrollBarLayout::None},
        {{27, 100}, cScrollBarLayout::None},       {{26, 219}, cScrollBarLayout::SecondArrow},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(layout.HitTest(c.point), c.part) << c.point.x << "," << c.point.y;
}

TEST(ScrollBarLayoutTest, ExtremeRangesStayInsideTheTrack)
{
    const cScrollBarLayout layout({0, 0, 17, 300}, {-2147483647, 2147483647, 5, 2147483000, 0}, true, false, 17, 8);
    const sRect& thumb = layout.ThumbRect();
    if (!thumb.IsEmpty())
    {
        EXPECT_GE(thumb.top, 17);
        EXPECT_LE(thumb.bottom, 283);
    }
    const cScrollBarLayout negative({0, 0, 17, 300}, {-100, -1, 10, -50, 0}, true, false, 17, 8);
    EXPECT_TRUE(negative.CanScroll());
    EXPECT_GT(negative.ThumbRect().top, 17);
    EXPECT_LT(negative.ThumbRect().bottom, 283);
}
