#include <gtest/gtest.h>

#include "app/capture/MagnifierLayout.h"
#include "framework/painter/PixelFormat.h"

using Container::sRect;
using M = cMagnifierLayout;

namespace {

struct sPlacement
{
    bool shown;
    sRect rect;
};

sPlacement PlaceOne(int corner, const sRect& frame, const sRect& screen)
{
    sPlacement placement{false, {}};
    placement.shown = M::Place(corner, frame, screen, 80, placement.rect);
    return placement;
}

} // namespace

TEST(MagnifierLayout, MagnifiersSitDiagonallyOffTheCornersOfAFrameInTheOpen)
{
    const sRect screen{0, 0, 1920, 1080};
    const sRect frame{500, 400, 900, 700};
    const sRect expected[4] = {{420, 320, 500, 400}, {420, 700, 500, 780}, {900, 320, 980, 400}, {900, 700, 980, 780}};
    for (int corner = 0; corner < 4; ++corner) {
        const sPlacement placement = PlaceOne(corner, frame, screen);
        EXPECT_TRUE(placement.shown) << corner;
        EXPECT_EQ(placement.rect, expected[corner]) << corner;
    }
}

TEST(MagnifierLayout, AtTheScreensEdgesTheyArePushedBesideTheFrameOrHiddenWhenOffOnBothAxes)
{
    // A virtual screen whose origin is left of and above the primary monitor:
    // the same rules hold relative to its own edges.
    for (const sRect& screen : {sRect{0, 0, 1920, 1080}, sRect{-1280, -300, 1920, 1080}}) {
        const int l = screen.left, t = screen.top, r = screen.right, b = screen.bottom;
        // In the top-left corner of the virtual screen.
        const sRect topLeftFrame{l, t, l + 400, t + 300};
        EXPECT_FALSE(PlaceOne(M::topLeft, topLeftFrame, screen).shown);
        sPlacement below = PlaceOne(M::bottomLeft, topLeftFrame, screen);
        EXPECT_TRUE(below.shown);
        EXPECT_EQ(below.rect, sRect(l, t + 300, l + 80, t + 380));
        sPlacement right = PlaceOne(M::topRight, topLeftFrame, screen);
        EXPECT_TRUE(right.shown);
        EXPECT_EQ(right.rect, sRect(l + 400, t, l + 480, t + 80));
        EXPECT_TRUE(PlaceOne(M::bottomRight, topLeftFrame, screen).shown);

        // In the bottom-right corner, with its border off the screen.
        const sRect bottomRightFrame{r - 392, b - 292, r + 8, b + 8};
        EXPECT_FALSE(PlaceOne(M::bottomRight, bottomRightFrame, screen).shown);
        right = PlaceOne(M::topRight, bottomRightFrame, screen);
        EXPECT_TRUE(right.shown);
        EXPECT_EQ(right.rect, sRect(r - 80, b - 372, r, b - 292));
        below = PlaceOne(M::bottomLeft, bottomRightFrame, screen);
        EXPECT_TRUE(below.shown);
        EXPECT_EQ(below.rect, sRect(r - 472, b - 80, r - 392, b));

        // Exactly room for the magnifier: it stays diagonal.
        const sPlacement fits = PlaceOne(M::topLeft, {l + 80, t + 80, l + 300, t + 300}, screen);
        EXPECT_TRUE(fits.shown);
        EXPECT_EQ(fits.rect, sRect(l, t, l + 80, t + 80));
        // One pixel less on both axes: hidden.
        EXPECT_FALSE(PlaceOne(M::topLeft, {l + 79, t + 79, l + 300, t + 300}, screen).shown);
    }
}

TEST(MagnifierLayout, SourceSquaresAreTheCornersJustInsideTheBorder)
{
    const sRect inside{108, 208, 292, 352};
    EXPECT_EQ(M::SourceSquare(M::topLeft, inside), sRect(108, 208, 133, 233));
    EXPECT_EQ(M::SourceSquare(M::bottomLeft, inside), sRect(108, 327, 133, 352));
    EXPECT_EQ(M::SourceSquare(M::topRight, inside), sRect(267, 208, 292, 233));
    EXPECT_EQ(M::SourceSquare(M::bottomRight, inside), sRect(267, 327, 292, 352));
}

TEST(MagnifierLayout, RenderEnlargesWithHardPixelEdgesInsideARedBorder)
{
    Painter::cPicture square;
    ASSERT_TRUE(square.Create(Painter::FORMAT_ARGB32, 25, 25));
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x)
            square.SetPixel(x, y, 0xFF000000u | std::uint32_t(x * 10) << 16 | std::uint32_t(y * 10) << 8 | 0x40);
    Painter::cPicture window;
    ASSERT_TRUE(window.Create(Painter::FORMAT_ARGB32, 80, 80));
    M::Render(square, window);

    for (int i = 0; i < 80; ++i)
        for (int j : {0, 1, 2, 77, 78, 79}) {
            ASSERT_EQ(window.Pixel(i, j), M::kBorderColour) << i << ", " << j;
            ASSERT_EQ(window.Pixel(j, i), M::kBorderColour) << j << ", " << i;
        }
    // Every source pixel becomes a block of 2 or 3 pixels on each side, the
    // blocks tile the 74 x 74 area in order, and nothing is blended.
    int columnsPerPixel[25] = {};
    for (int x = 0; x < 74; ++x) {
        const std::uint32_t first = window.Pixel(3 + x, 3);
        const int source = int((first >> 16) & 0xFF) / 10;
        ASSERT_EQ(first, square.Pixel(source, 0)) << x;
        ++columnsPerPixel[source];
        for (int y = 0; y < 74; ++y) {
            const int row = int((window.Pixel(3 + x, 3 + y) >> 8) & 0xFF) / 10;
            ASSERT_EQ(window.Pixel(3 + x, 3 + y), square.Pixel(source, row)) << x << ", " << y;
        }
    }
    for (int source = 0; source < 25; ++source) {
        EXPECT_GE(columnsPerPixel[source], 2) << source;
        EXPECT_LE(columnsPerPixel[source], 3) << source;
    }
    EXPECT_EQ(window.Pixel(3, 3), square.Pixel(0, 0));
    EXPECT_EQ(window.Pixel(76, 76), square.Pixel(24, 24));

    // No square yet: all red.
    Painter::cPicture none;
    M::Render(none, window);
    EXPECT_EQ(window.Pixel(40, 40), M::kBorderColour);
}
