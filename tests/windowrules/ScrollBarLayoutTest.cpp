#include <gtest/gtest.h>

#include "framework/window/skin/rules/ScrollBarLayout.h"
#include "framework/window/rules/ScrollInfo.h"

#include <string>

using Container::sPoint;
using Container::sRect;
using namespace Window;
using Skin::cScrollBarLayout;

namespace {

std::string Show(const sRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

constexpr std::int32_t kArrow = 17;
constexpr std::int32_t kMinThumb = 8;

cScrollBarLayout Layout(const sRect& bar, const sScrollInfo& info, bool vertical, bool dragging = false)
{
    return cScrollBarLayout(bar, info, vertical, dragging, kArrow, kMinThumb);
}

} // namespace

TEST(ScrollInfoTest, LargestPositionIsMaxLessPagePlusOne)
{
    const struct
    {
        std::int32_t min, max;
        std::uint32_t page;
        std::int32_t expected;
    } cases[] = {
        {0, 99, 10, 90}, {0, 99, 1, 99}, {0, 99, 0, 99},  // no page: max itself
        {0, 99, 99, 1},  {0, 99, 100, 0}, {0, 99, 150, 0}, // never below min
        {-10, 10, 5, 6}, {5, 5, 0, 5},
    };
    for (const auto& c : cases)
    {
        const sScrollInfo info{c.min, c.max, c.page, 0, 0};
        EXPECT_EQ(c.expected, MaxScrollPos(info)) << c.min << ".." << c.max << " page " << c.page;
        EXPECT_EQ(c.expected, ClampScrollPos(info, 1000));
        EXPECT_EQ(c.min, ClampScrollPos(info, -1000));
    }
    // The thumb goes only when the page covers more than max - min.
    EXPECT_TRUE(CanScroll({0, 99, 99, 0, 0}));
    EXPECT_FALSE(CanScroll({0, 99, 100, 0, 0}));
    EXPECT_TRUE(CanScroll({0, 99, 0, 0, 0}));
}

TEST(ScrollInfoTest, ApplyClampsAndAnswersTheNewPosition)
{
    const struct
    {
        sScrollInfo before;
        std::uint32_t mask;
        sScrollInfo update;
        sScrollInfo after;
    } cases[] = {
        // position beyond the end: kept at max - page + 1
        {{0, 99, 10, 0, 0}, ScrollInfoPos, {0, 0, 0, 500, 0}, {0, 99, 10, 90, 90}},
        {{0, 99, 10, 50, 50}, ScrollInfoPos, {0, 0, 0, -3, 0}, {0, 99, 10, 0, 0}},
        // the range shrinks under the position
        {{0, 99, 10, 80, 80}, ScrollInfoRange, {0, 49, 0, 0, 0}, {0, 49, 10, 40, 40}},
        // a page larger than the range is cut to the range's size
        {{0, 9, 0, 5, 5}, ScrollInfoPage, {0, 0, 50, 0, 0}, {0, 9, 10, 0, 0}},
        // all at once, other fields of the update ignored
        {{0, 0, 0, 0, 0}, ScrollInfoAll, {-20, 20, 5, 17, 3}, {-20, 20, 5, 16, 16}},
        // nothing asked: the stored values are still brought into range
        {{0, 99, 10, 95, 95}, 0, {7, 7, 7, 7, 7}, {0, 99, 10, 90, 90}},
    };
    for (const auto& c : cases)
    {
        sScrollInfo info = c.before;
        EXPECT_EQ(c.after.pos, ApplyScrollInfo(info, c.mask, c.update));
        EXPECT_EQ(c.after, info) << "pos " << info.pos << " page " << info.page;
    }
}

TEST(ScrollInfoTest, SetPosAnswersTheOldOneAndSetRangeReportsChange)
{
    sScrollInfo info{0, 99, 10, 20, 20};
    EXPECT_EQ(20, SetScrollPos(info, 95));
    EXPECT_EQ(90, info.pos);
    EXPECT_EQ(90, info.trackPos);
    EXPECT_EQ(90, SetScrollPos(info, -1));
    EXPECT_EQ(0, info.pos);

    info = {0, 99, 10, 60, 60};
    EXPECT_FALSE(SetScrollRange(info, 0, 99));
    EXPECT_TRUE(SetScrollRange(info, 0, 59));
    EXPECT_EQ(50, info.pos);
}

TEST(ScrollBarLayoutTest, PartsForPositionsAndSizes)
{
    const sRect vertical{0, 0, 17, 217};      // track 17..200, 183 long
    const sRect horizontal{10, 5, 210, 22};  // track 27..193, 166 long
    const struct
    {
        const char* name;
        sRect bar;
        bool vertical;
        sScrollInfo info;
        bool dragging;
        sRect firstPage, thumb, secondPage;
    } cases[] = {
        {"top", vertical, true, {0, 99, 10, 0, 0}, false, {}, {0, 17, 17, 35}, {0, 35, 17, 200}},
        {"middle", vertical, true, {0, 99, 10, 45, 45}, false, {0, 17, 17, 100}, {0, 100, 17, 118}, {0, 118, 17, 200}},
        {"last position reaches the end", vertical, true, {0, 99, 10, 90, 90}, false, {0, 17, 17, 182},
         {0, 182, 17, 200}, {}},
        {"beyond the end", vertical, true, {0, 99, 10, 500, 500}, false, {0, 17, 17, 182}, {0, 182, 17, 200}, {}},
        {"dragging uses the track position", vertical, true, {0, 99, 10, 0, 90}, true, {0, 17, 17, 182},
         {0, 182, 17, 200}, {}},
        {"not dragging ignores it", vertical, true, {0, 99, 10, 0, 90}, false, {}, {0, 17, 17, 35}, {0, 35, 17, 200}},
        {"page one less than the range", vertical, true, {0, 99, 99, 1, 1}, false, {0, 17, 17, 19}, {0, 19, 17, 200},
         {}},
        {"page covers the range", vertical, true, {0, 99, 100, 0, 0}, false, {}, {}, {}},
        {"horizontal at the end", horizontal, false, {0, 9, 5, 5, 5}, false, {27, 5, 110, 22}, {110, 5, 193, 22}, {}},
        {"no page, smallest thumb", horizontal, false, {-50, 49, 0, 49, 49}, false, {27, 5, 185, 22},
         {185, 5, 193, 22}, {}},
        {"track shorter than the smallest thumb: the thumb fills it", {0, 0, 17, 40}, true, {0, 99, 10, 90, 90}, false,
         {}, {0, 17, 17, 23}, {}},
    };
    for (const auto& c : cases)
    {
        const cScrollBarLayout layout = Layout(c.bar, c.info, c.vertical, c.dragging);
        EXPECT_EQ(c.firstPage, layout.FirstPageRect()) << c.name << ": " << Show(layout.FirstPageRect());
        EXPECT_EQ(c.thumb, layout.ThumbRect()) << c.name << ": " << Show(layout.ThumbRect());
        EXPECT_EQ(c.secondPage, layout.SecondPageRect()) << c.name << ": " << Show(layout.SecondPageRect());
    }

    const cScrollBarLayout v = Layout(vertical, {0, 99, 10, 0, 0}, true);
    EXPECT_EQ((sRect{0, 0, 17, 17}), v.FirstArrowRect());
    EXPECT_EQ((sRect{0, 200, 17, 217}), v.SecondArrowRect());
    const cScrollBarLayout h = Layout(horizontal, {0, 9, 5, 5, 5}, false);
    EXPECT_EQ((sRect{10, 5, 27, 22}), h.FirstArrowRect());
    EXPECT_EQ((sRect{193, 5, 210, 22}), h.SecondArrowRect());

    // Shorter than two arrows: every part is empty.
    const cScrollBarLayout tiny = Layout({0, 0, 17, 33}, {0, 99, 10, 0, 0}, true);
    EXPECT_TRUE(tiny.FirstArrowRect().IsEmpty());
    EXPECT_TRUE(tiny.SecondArrowRect().IsEmpty());
    EXPECT_TRUE(tiny.ThumbRect().IsEmpty());
    EXPECT_EQ(cScrollBarLayout::Bar, tiny.HitTest({5, 5}));
}

TEST(ScrollBarLayoutTest, HitTest)
{
    const cScrollBarLayout layout = Layout({0, 0, 17, 217}, {0, 99, 10, 45, 45}, true);
    const struct
    {
        sPoint point;
        std::int32_t part;
    } cases[] = {
        {{8, 0}, cScrollBarLayout::FirstArrow},   {{8, 16}, cScrollBarLayout::FirstArrow}, {{8, 17}, cScrollBarLayout::FirstPage},
        {{8, 99}, cScrollBarLayout::FirstPage},   {{8, 100}, cScrollBarLayout::Thumb},     {{0, 117}, cScrollBarLayout::Thumb},
        {{16, 118}, cScrollBarLayout::SecondPage}, {{8, 199}, cScrollBarLayout::SecondPage}, {{8, 200}, cScrollBarLayout::SecondArrow},
        {{8, 216}, cScrollBarLayout::SecondArrow}, {{17, 100}, cScrollBarLayout::None},     {{8, 217}, cScrollBarLayout::None},
        {{-1, 5}, cScrollBarLayout::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.part, layout.HitTest(c.point)) << c.point.x << "," << c.point.y;

    // Without a thumb the track is the bar itself.
    const cScrollBarLayout full = Layout({0, 0, 17, 217}, {0, 99, 100, 0, 0}, true);
    EXPECT_EQ(cScrollBarLayout::Bar, full.HitTest({8, 100}));
    EXPECT_EQ(cScrollBarLayout::SecondArrow, full.HitTest({8, 210}));
}

TEST(ScrollBarLayoutTest, ThumbDragGivesPositionsWithinTheRule)
{
    const sScrollInfo info{0, 99, 10, 0, 0};
    const cScrollBarLayout layout = Layout({0, 0, 17, 217}, info, true);
    const struct
    {
        std::int32_t thumbStart, pos;
    } cases[] = {{17, 0}, {100, 45}, {182, 90}, {183, 90}, {400, 90}, {-50, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.pos, ThumbDragPosition(layout, info, true, c.thumbStart)) << c.thumbStart;

    // Every position places the thumb where dragging it back gives that position.
    for (std::int32_t pos = 0; pos <= MaxScrollPos(info); ++pos)
    {
        sScrollInfo at = info;
        at.pos = at.trackPos = pos;
        const cScrollBarLayout placed = Layout({0, 0, 17, 217}, at, true);
        EXPECT_EQ(pos, ThumbDragPosition(placed, at, true, placed.ThumbRect().top)) << pos;
    }

    // A thumb that cannot move answers min.
    const sScrollInfo none{3, 99, 100, 3, 3};
    EXPECT_EQ(3, ThumbDragPosition(Layout({0, 0, 17, 217}, none, true), none, true, 100));
}

TEST(ScrollBarLayoutTest, MulDivRounds)
{
    EXPECT_EQ(18, Skin::MulDivRound(10, 183, 100));   // 18.3
    EXPECT_EQ(83, Skin::MulDivRound(45, 165, 90));    // 82.5 rounds up
    EXPECT_EQ(-83, Skin::MulDivRound(-45, 165, 90));  // and away from zero below 0
    EXPECT_EQ(-83, Skin::MulDivRound(45, 165, -90));
    EXPECT_EQ(-1, Skin::MulDivRound(5, 5, 0));
    EXPECT_EQ(2000000000, Skin::MulDivRound(2000000000, 100000, 100000));  // no 32-bit overflow inside
}
