#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "framework/painter/Channel.h"
#include "framework/painter/ChannelFill.h"
#include "framework/painter/GradationFill.h"
#include "framework/painter/Gradient.h"
#include "framework/painter/Picture.h"
#include "framework/painter/ScanConverter.h"
#include "framework/painter/SolidFill.h"

using namespace Painter;

namespace {

cPicture MakePicture(std::int32_t width, std::int32_t height, std::uint32_t value)
{
    cPicture picture;
    EXPECT_TRUE(picture.Create(FORMAT_ARGB32, width, height));
    picture.Fill(value);
    return picture;
}

void PaintSpans(cFill& fill, cFill::cTarget target, std::vector<sSpan> spans)
{
    ASSERT_TRUE(fill.Begin(target, 0, 0, 100, 100));
    fill.FillSpans(std::int32_t(spans.size()), spans.data());
    fill.End();
}

} // namespace

// ---- Solid fill -----------------------------------------------------------

TEST(SolidFill, HalfTransparentRedOverOpaqueWhite)
{
    cPicture picture = MakePicture(4, 1, 0xFFFFFFFF);
    cSolidFill fill(0x80FF0000);
    PaintSpans(fill, &picture, {{1, 0, 2, 255}});
    EXPECT_EQ(picture.Pixel(0, 0), 0xFFFFFFFFu);
    // Green and blue: 255 - 128 * 255 / 255 = 127; red stays 255.
    EXPECT_EQ(picture.Pixel(1, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(picture.Pixel(2, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(picture.Pixel(3, 0), 0xFFFFFFFFu);
}

TEST(SolidFill, CompositionCases)
{
    struct sCase
    {
        std::uint32_t destination, colour;
        std::uint8_t coverage;
        std::uint32_t expected;
    };
    const sCase cases[] = {
        // Transparent destination: the colour with alpha colour alpha x coverage / 255.
        {0x00123456, 0x80FF0000, 200, 0x64FF0000},
        // Opaque colour at full coverage replaces whatever is there.
        {0x40102030, 0xFF00FF00, 255, 0xFF00FF00},
        // Coverage scales the colour's alpha: 255 * 51 / 255 = 51 over white.
        {0xFFFFFFFF, 0xFF000000, 51, 0xFFCCCCCC},
        // Colour alpha times coverage truncates to 0: nothing happens.
        {0xFF808080, 0x01000000, 200, 0xFF808080},
        // Half-transparent over half-transparent: A = (127*128 + 127)/255 + 128 = 192,
        // w = 128 * 255 / 192 = 170, red 0 + 170 * 255 / 255 = 170, blue 255 - 170 = 85.
        {0x800000FF, 0x80FF0000, 255, 0xC0AA0055},
    };
    for (const auto& c : cases)
    {
        cPicture picture = MakePicture(1, 1, c.destination);
        cSolidFill fill(c.colour);
        PaintSpans(fill, &picture, {{0, 0, 1, c.coverage}});
        EXPECT_EQ(picture.Pixel(0, 0), c.expected) << std::hex << c.destination << " " << c.colour;
    }
}

TEST(SolidFill, SpansAreClippedToTheClipRectangle)
{
    cPicture picture = MakePicture(6, 3, 0xFF000000);
    picture.SetClip(Container::sRect(2, 1, 4, 2));
    cSolidFill fill(0xFFFFFFFF);
    PaintSpans(fill, &picture, {{-5, 1, 30, 255}, {0, 0, 6, 255}, {0, 2, 6, 255}});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(picture.Pixel(x, y), (y == 1 && x >= 2 && x < 4) ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
}

TEST(SolidFill, RefusesTargetsItCannotPaint)
{
    cSolidFill fill(0xFFFFFFFF);
    cChannel channel;
    ASSERT_TRUE(channel.Create(4, 4));
    EXPECT_FALSE(fill.Begin(&channel, 0, 0, 4, 4));
    cPicture empty;
    EXPECT_FALSE(fill.Begin(&empty, 0, 0, 4, 4));
    cPicture rgb24;
    ASSERT_TRUE(rgb24.Create(FORMAT_RGB24, 4, 4));
    EXPECT_FALSE(fill.Begin(&rgb24, 0, 0, 4, 4));
    // Spans sent anyway after a refusal touch nothing.
    sSpan span{0, 0, 4, 255};
    fill.FillSpans(1, &span);
    fill.End();
    EXPECT_TRUE(fill.Target().IsNull());
}

// ---- Channel fill ---------------------------------------------------------

TEST(ChannelFill, StoresCoveragePlainlyAndClips)
{
    cChannel channel;
    ASSERT_TRUE(channel.Create(5, 2));
    channel.Clear();
    channel.SetValue(1, 0, 200);
    cChannelFill fill;
    EXPECT_EQ(fill.FillRule(), cFill::NonZero);
    PaintSpans(fill, &channel, {{-3, 0, 5, 17}, {3, 1, 100, 90}, {0, 5, 5, 255}});
    const std::uint8_t expected[2][5] = {{17, 17, 0, 0, 0}, {0, 0, 0, 90, 90}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(channel.Value(x, y), expected[y][x]) << x << "," << y;
    cPicture picture = MakePicture(2, 2, 0);
    EXPECT_FALSE(fill.Begin(&picture, 0, 0, 2, 2));
}

// ---- Gradient table -------------------------------------------------------

TEST(Gradient, DefaultRunsFromWhiteToBlack)
{
    cGradient gradient;
    std::vector<std::uint32_t> table;
    ASSERT_TRUE(gradient.BuildTable(100, table));
    ASSERT_EQ(table.size(), 100u);
    EXPECT_EQ(table[0], 0xFFFFFFFFu);
    // 255 + 99 * (0 - 255) / 100 = 255 - 252 = 3 (division toward zero).
    EXPECT_EQ(table[99], 0xFF030303u);
    EXPECT_EQ(table[50], 0xFF808080u);  // 255 - 127
}

TEST(Gradient, ThreeStopsAndAlphaStops)
{
    cGradient gradient;
    gradient.ColourStops() = {{0, 0xFF0000, 0}, {128, 0x00FF00, 7}, {255, 0x0000FF, 0}};
    gradient.AlphaStops() = {cGradient::AlphaStop(0, 0), cGradient::AlphaStop(255, 255)};
    std::vector<std::uint32_t> table;
    ASSERT_TRUE(gradient.BuildTable(10, table));
    // n * 128 / 255 = 5: red to green over entries 0..4, green to blue over 5..9.
    const std::uint32_t expected[10] = {0x00FF0000, 0x19CC3300, 0x33996600, 0x4C669900, 0x6633CC00,
                                        0x7F00FF00, 0x9900CC33, 0xB2009966, 0xCC006699, 0xE50033CC};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(table[i], expected[i]) << i;
}

TEST(Gradient, EntriesOutsideTheStopsTakeTheEndColours)
{
    cGradient gradient;
    gradient.ColourStops() = {{51, 0x102030, 0}, {153, 0x506070, 0}};
    std::vector<std::uint32_t> table;
    ASSERT_TRUE(gradient.BuildTable(10, table));
    // First stop at entry 10 * 51 / 255 = 2, last at 10 * 153 / 255 = 6.
    EXPECT_EQ(table[0], 0xFF102030u);
    EXPECT_EQ(table[1], 0xFF102030u);
    EXPECT_EQ(table[2], 0xFF102030u);
    EXPECT_EQ(table[4], 0xFF304050u);
    for (int i = 6; i < 10; ++i)
        EXPECT_EQ(table[i], 0xFF506070u) << i;
}

TEST(Gradient, NoColourStopsIsOpaqueBlackAndBadCountsFail)
{
    cGradient gradient;
    gradient.ColourStops().clear();
    std::vector<std::uint32_t> table{1, 2, 3};
    ASSERT_TRUE(gradient.BuildTable(4, table));
    EXPECT_EQ(table, (std::vector<std::uint32_t>{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}));
    EXPECT_FALSE(gradient.BuildTable(0, table));
    EXPECT_FALSE(gradient.BuildTable(-5, table));
    EXPECT_EQ(table.size(), 4u);
}

// ---- Gradation fill -------------------------------------------------------

TEST(GradationFill, VerticalLinearGradientRows)
{
    cPicture picture = MakePicture(7, 100, 0);
    cGradationFill fill;
    fill.SetPoints(0, 0, 0, 100);
    cScanConverter converter(7, 100);
    converter.MoveTo(0, 0);
    converter.LineTo(7, 0);
    converter.LineTo(7, 100);
    converter.LineTo(0, 100);
    ASSERT_TRUE(converter.Render(&picture, fill, 0, 0));
    EXPECT_EQ(picture.Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(picture.Pixel(0, 99), 0xFF030303u);
    for (int y = 0; y < 100; ++y)
    {
        const std::uint32_t expected = 0xFF000000u | (255 - y * 255 / 100) * 0x010101u;
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(picture.Pixel(x, y), expected) << x << "," << y;
    }
    EXPECT_TRUE(fill.Table().empty());  // freed by End
}

TEST(GradationFill, CoincidingPointsPaintNothing)
{
    cPicture picture = MakePicture(4, 4, 0xFF123456);
    cGradationFill fill;
    fill.SetPoints(2, 2, 2, 2);
    cScanConverter converter(4, 4);
    converter.MoveTo(0, 0);
    converter.LineTo(4, 0);
    converter.LineTo(4, 4);
    converter.LineTo(0, 4);
    EXPECT_FALSE(converter.Render(&picture, fill, 0, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(picture.Pixel(x, y), 0xFF123456u);
    // Spans pushed past a refused Begin are ignored too.
    EXPECT_FALSE(fill.Begin(&picture, 0, 0, 4, 4));
    sSpan span{0, 0, 4, 255};
    fill.FillSpans(1, &span);
    EXPECT_EQ(picture.Pixel(0, 0), 0xFF123456u);
}

TEST(GradationFill, IndexOfEachType)
{
    cPicture picture = MakePicture(20, 20, 0);
    struct sCase
    {
        std::int32_t type, x, y;
        std::int64_t expected;
    };
    // Start (5, 5), end (15, 5): length 10, direction along +x.
    const sCase cases[] = {
        {cGradationFill::Linear, 5, 5, 0},  {cGradationFill::Linear, 8, 19, 3},
        {cGradationFill::Linear, 0, 5, 0},  {cGradationFill::Linear, 19, 5, 9},
        {cGradationFill::Radial, 5, 5, 0},  {cGradationFill::Radial, 8, 9, 5},
        {cGradationFill::Radial, 19, 19, 9}, {cGradationFill::Square, 5, 5, 0},
        {cGradationFill::Square, 8, 9, 4},  {cGradationFill::Square, 2, 6, 3},
        // Angle: 256 entries; the end direction is a quarter turn (64), a
        // point straight below the start is at angle 0: 0 - 64 + 256.
        {cGradationFill::Angle, 5, 10, 192}, {cGradationFill::Angle, 10, 5, 0},
    };
    for (const auto& c : cases)
    {
        cGradationFill fill;
        fill.SetType(c.type);
        fill.SetPoints(5, 5, 15, 5);
        ASSERT_TRUE(fill.Begin(&picture, 0, 0, 20, 20));
        EXPECT_EQ(fill.IndexAt(c.x, c.y), c.expected) << c.type << " " << c.x << "," << c.y;
        fill.End();
    }
}

TEST(GradationFill, ExtremeCoordinatesStayInRange)
{
    cPicture picture = MakePicture(16, 16, 0);
    const std::int32_t points[][4] = {
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
        {INT32_MAX, 0, INT32_MIN, 0},
        {0, INT32_MIN, 1, INT32_MAX},
        {0, 0, 1, 0},
    };
    for (std::int32_t type = 0; type < 4; ++type)
        for (const auto& p : points)
        {
            cGradationFill fill;
            fill.SetType(type);
            fill.SetPoints(p[0], p[1], p[2], p[3]);
            ASSERT_TRUE(fill.Begin(&picture, 0, 0, 16, 16));
            const std::int64_t n = fill.Length();
            EXPECT_GT(n, 0);
            EXPECT_LE(fill.Table().size(), std::size_t(cGradationFill::MaxTableLength));
            for (std::int32_t y = 0; y < 16; y += 5)
                for (std::int32_t x = 0; x < 16; x += 5)
                {
                    const std::int64_t index = fill.IndexAt(x, y);
                    EXPECT_GE(index, 0);
                    EXPECT_LT(index, n);
                }
            sSpan span{0, 3, 16, 255};
            fill.FillSpans(1, &span);
            fill.End();
            EXPECT_EQ(picture.Pixel(0, 3) >> 24, 255u);
        }
}

TEST(GradationFill, UnknownTypeAndWrongTargetAreRefused)
{
    cPicture picture = MakePicture(4, 4, 0);
    cGradationFill fill;
    EXPECT_EQ(fill.FillRule(), cFill::EvenOdd);
    fill.SetType(7);
    EXPECT_FALSE(fill.Begin(&picture, 0, 0, 4, 4));
    fill.SetType(cGradationFill::Linear);
    cChannel channel;
    ASSERT_TRUE(channel.Create(4, 4));
    EXPECT_FALSE(fill.Begin(&channel, 0, 0, 4, 4));
    EXPECT_TRUE(fill.Begin(&picture, 0, 0, 4, 4));
    EXPECT_EQ(fill.Table().size(), 100u);
    fill.End();
}
