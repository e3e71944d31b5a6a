#include <gtest/gtest.h>

#include "app/capture/DragSelection.h"
#include "framework/painter/PixelFormat.h"

using Container::sPoint;
using Container::sRect;

namespace {

// A frozen monitor of 320 x 200 with a different colour in every pixel.
Painter::cPicture Frozen()
{
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, 320, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            picture.SetPixel(x, y, 0xFF000000u | std::uint32_t(x) << 12 | std::uint32_t(y));
    return picture;
}

} // namespace

TEST(DragSelection, TheSpanIsTheSameInEveryDirection)
{
    const sRect expected{10, 10, 110, 60};
    EXPECT_EQ(cDragSelection::Span({10, 10}, {110, 60}), expected);
    EXPECT_EQ(cDragSelection::Span({110, 60}, {10, 10}), expected);
    EXPECT_EQ(cDragSelection::Span({110, 10}, {10, 60}), expected);
    EXPECT_EQ(cDragSelection::Span({10, 60}, {110, 10}), expected);
}

TEST(DragSelection, CutCopiesExactlyTheSelectedPixelsClippedToTheMonitor)
{
    const Painter::cPicture frozen = Frozen();
    struct sCase
    {
        sPoint press, release;
        sRect part; // in the frozen picture
    };
    const sCase cases[] = {
        {{10, 10}, {110, 60}, {10, 10, 110, 60}},
        {{110, 60}, {10, 10}, {10, 10, 110, 60}},
        // Released beyond the overlay (onto another monitor): clipped.
        {{300, 150}, {900, 700}, {300, 150, 320, 200}},
        {{20, 30}, {-400, -70}, {0, 0, 20, 30}},
    };
    for (const sCase& c : cases) {
        Painter::cPicture result;
        ASSERT_TRUE(cDragSelection::Cut(frozen, cDragSelection::Span(c.press, c.release), result));
        ASSERT_EQ(result.Width(), c.part.Width());
        ASSERT_EQ(result.Height(), c.part.Height());
        for (int y = 0; y < result.Height(); ++y)
            for (int x = 0; x < result.Width(); ++x)
                ASSERT_EQ(result.Pixel(x, y), frozen.Pixel(c.part.left + x, c.part.top + y)) << x << ", " << y;
    }
}

TEST(DragSelection, NothingIsCutForAClickALineOrASelectionOffTheMonitor)
{
    const Painter::cPicture frozen = Frozen();
    Painter::cPicture result;
    ASSERT_TRUE(result.Create(Painter::FORMAT_ARGB32, 3, 3));
    result.Fill(0xFF123456u);
    const sRect spans[] = {
        cDragSelection::Span({50, 50}, {50, 50}),   cDragSelection::Span({50, 50}, {150, 50}),
        cDragSelection::Span({50, 50}, {50, 150}),  cDragSelection::Span({-100, -100}, {-1, -1}),
        cDragSelection::Span({320, 10}, {400, 90}),
    };
    for (const sRect& span : spans) {
        EXPECT_FALSE(cDragSelection::Cut(frozen, span, result));
        EXPECT_EQ(result.Width(), 3);
        EXPECT_EQ(result.Pixel(1, 1), 0xFF123456u);
    }
    Painter::cPicture empty;
    EXPECT_FALSE(cDragSelection::Cut(empty, {0, 0, 10, 10}, result));
}

TEST(DragSelection, TheShownCopyIsTheFrozenScreenWashedOutOverWhite)
{
    Painter::cPicture frozen;
    ASSERT_TRUE(frozen.Create(Painter::FORMAT_ARGB32, 4, 2));
    frozen.Fill(0xFF000000u);
    frozen.SetPixel(1, 0, 0xFFFF0000u);
    Painter::cPicture display;
    ASSERT_TRUE(cDragSelection::Fade(frozen, 6, 3, display));
    ASSERT_EQ(display.Width(), 6);
    ASSERT_EQ(display.Height(), 3);
    // Black at 200/255 over white: 55 in each channel (give or take rounding).
    const std::uint32_t black = display.Pixel(0, 0);
    EXPECT_EQ(black >> 24, 0xFFu);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(int((black >> shift) & 0xFF), 55, 1) << shift;
    const std::uint32_t red = display.Pixel(1, 0);
    EXPECT_EQ((red >> 16) & 0xFF, 0xFFu);
    EXPECT_NEAR(int(red & 0xFF), 55, 1);
    // Beyond the frozen picture: white.
    EXPECT_EQ(display.Pixel(5, 2), 0xFFFFFFFFu);
    EXPECT_EQ(display.Pixel(1, 2), 0xFFFFFFFFu);
}
