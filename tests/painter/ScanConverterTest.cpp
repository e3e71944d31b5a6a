#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "framework/painter/Channel.h"
#include "framework/painter/ChannelFill.h"
#include "framework/painter/Path.h"
#include "framework/painter/Picture.h"
#include "framework/painter/ScanConverter.h"
#include "framework/painter/SolidFill.h"
#include "tests/painter/GlyphRecords.h"

using namespace Painter;

namespace {

// Records what the converter hands to a fill.
class cRecordingFill : public cFill
{
public:
    bool Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom) override
    {
        box = {left, top, right, bottom};
        ++begins;
        return cFill::Begin(target, left, top, right, bottom);
    }
    void FillSpans(std::int32_t count, const sSpan* spans) override
    {
        batches.push_back(count);
        this->spans.insert(this->spans.end(), spans, spans + count);
    }
    void End() override
    {
        ++ends;
        cFill::End();
    }

    Container::sRect box;
    int begins = 0, ends = 0;
    std::vector<int> batches;
    std::vector<sSpan> spans;
};

// The coverage of every pixel of a width x height box, rendered into a
// channel with the given rule.
std::vector<std::uint8_t> Coverage(cScanConverter& converter, std::int32_t rule)
{
    cChannel channel;
    EXPECT_TRUE(channel.Create(converter.BoxWidth(), converter.BoxHeight()));
    channel.Clear();
    cChannelFill fill;
    fill.SetFillRule(rule);
    EXPECT_TRUE(converter.Render(&channel, fill, -converter.BoxLeft(), -converter.BoxTop()));
    std::vector<std::uint8_t> values;
    for (std::int32_t y = 0; y < channel.Height(); ++y)
        values.insert(values.end(), channel.Row(y), channel.Row(y) + channel.Width());
    return values;
}

void AddRect(cScanConverter& converter, double left, double top, double right, double bottom)
{
    converter.MoveTo(left, top);
    converter.LineTo(right, top);
    converter.LineTo(right, bottom);
    converter.LineTo(left, bottom);
    converter.ClosePolygon();
}

} // namespace

TEST(ScanConverter, CoverageRules)
{
    struct sCase
    {
        std::int64_t area;
        std::uint8_t nonZero, evenOdd;
    };
    const sCase cases[] = {
        {0, 0, 0},
        {511, 0, 0},                  // below one step
        {128 << 9, 128, 128},
        {-(128 << 9), 128, 128},      // the sign does not matter
        {255 << 9, 255, 255},
        {256 << 9, 255, 255},         // full coverage
        {300 << 9, 255, 212},         // even-odd folds back: 512 - 300
        {512 << 9, 255, 0},           // covered twice: empty under even-odd
        {(512 + 40) << 9, 255, 40},
        {std::int64_t(1) << 40, 255, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(cScanConverter::Coverage(c.area, true), c.nonZero) << c.area;
        EXPECT_EQ(cScanConverter::Coverage(c.area, false), c.evenOdd) << c.area;
    }
}

TEST(ScanConverter, PixelAlignedRectangleIsExact)
{
    cPicture picture;
    ASSERT_TRUE(picture.Create(FORMAT_ARGB32, 8, 6));
    picture.Fill(0xFF000000);
    cScanConverter converter(8, 6);
    AddRect(converter, 2, 1, 5, 4);
    cSolidFill fill(0xFF20A0E0);
    ASSERT_TRUE(converter.Render(&picture, fill, 0, 0));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
        {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(picture.Pixel(x, y), inside ? 0xFF20A0E0u : 0xFF000000u) << x << "," << y;
        }
}

TEST(ScanConverter, PartialPixelsGetTheirShareOfCoverage)
{
    cScanConverter converter(6, 3);
    // Half a pixel on the left and right columns, a quarter on the corners.
    AddRect(converter, 1.5, 0.5, 4.5, 2.0);
    const std::vector<std::uint8_t> expected = {
        0, 64, 128, 128, 64, 0,
        0, 128, 255, 255, 128, 0,
        0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(Coverage(converter, cFill::NonZero), expected);
}

TEST(ScanConverter, SelfOverlapUnderBothFillRules)
{
    // Two squares drawn in the same direction overlap in (3..6) x (3..6).
    auto build = [](cScanConverter& converter) {
        AddRect(converter, 0, 0, 6, 6);
        AddRect(converter, 3, 3, 9, 9);
    };
    cScanConverter nonZero(9, 9), evenOdd(9, 9);
    build(nonZero);
    build(evenOdd);
    const auto filled = Coverage(nonZero, cFill::NonZero);
    const auto holed = Coverage(evenOdd, cFill::EvenOdd);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
        {
            const bool first = x < 6 && y < 6, second = x >= 3 && y >= 3;
            EXPECT_EQ(filled[y * 9 + x], (first || second) ? 255 : 0) << x << "," << y;
            EXPECT_EQ(holed[y * 9 + x], (first != second) ? 255 : 0) << x << "," << y;
        }

    // A single self-crossing figure (a five-pointed star): its centre is
    // wound twice, so it is empty under even-odd and full under non-zero.
    cScanConverter star1(100, 100), star2(100, 100);
    for (cScanConverter* converter : {&star1, &star2})
        for (int i = 0; i < 5; ++i)
        {
            const double angle = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
            const double x = 50 + 45 * std::cos(angle), y = 50 + 45 * std::sin(angle);
            i == 0 ? converter->MoveTo(x, y) : converter->LineTo(x, y);
        }
    EXPECT_EQ(Coverage(star1, cFill::NonZero)[50 * 100 + 50], 255);
    EXPECT_EQ(Coverage(star2, cFill::EvenOdd)[50 * 100 + 50], 0);
}

TEST(ScanConverter, RenderTranslatesSpansAndBatchesThem)
{
    cScanConverter converter;
    ASSERT_TRUE(converter.SetBox(10, 20, 14, 320));
    AddRect(converter, 10, 20, 13, 320);  // 3 wide, 300 rows: one span per row
    cRecordingFill fill;
    cPicture picture;
    ASSERT_TRUE(picture.Create(FORMAT_ARGB32, 1, 1));
    ASSERT_TRUE(converter.Render(&picture, fill, 5, -7));
    EXPECT_EQ(fill.box, Container::sRect(15, 13, 19, 313));
    EXPECT_EQ(fill.begins, 1);
    EXPECT_EQ(fill.ends, 1);
    EXPECT_EQ(fill.batches, (std::vector<int>{256, 44}));
    ASSERT_EQ(fill.spans.size(), 300u);
    for (int i = 0; i < 300; ++i)
    {
        EXPECT_EQ(fill.spans[i].x, 15);
        EXPECT_EQ(fill.spans[i].y, 13 + i);
        EXPECT_EQ(fill.spans[i].length, 3);
        EXPECT_EQ(fill.spans[i].coverage, 255);
    }
}

TEST(ScanConverter, SpansStayInsideTheBoxAndTargetRange)
{
    cScanConverter converter;
    ASSERT_TRUE(converter.SetBox(-5, -5, 5, 5));
    AddRect(converter, -100, -100, 100, 100);
    cRecordingFill fill;
    cChannel channel;
    ASSERT_TRUE(channel.Create(1, 1));
    ASSERT_TRUE(converter.Render(&channel, fill, 0, 0));
    // Only the box's quarter at non-negative target coordinates remains.
    ASSERT_EQ(fill.spans.size(), 5u);
    for (const auto& span : fill.spans)
    {
        EXPECT_EQ(span.x, 0);
        EXPECT_EQ(span.length, 5);
        EXPECT_EQ(span.coverage, 255);
    }
}

TEST(ScanConverter, OutlineFarLongerThanTheBoxHeightSuggests)
{
    // A comb of one-pixel teeth over a wide, low box: tens of thousands of
    // cells, far more than height x 8 + 256. Tall enough for several bands.
    const int width = 20000, height = 40;
    cScanConverter converter(width, height);
    for (int x = 0; x < width; x += 2)
        AddRect(converter, x, 0, x + 1, height);
    const auto values = Coverage(converter, cFill::NonZero);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            wrong += values[std::size_t(y) * width + x] != (x % 2 == 0 ? 255 : 0);
    EXPECT_EQ(wrong, 0);

    // A zig-zag of 30000 short diagonal edges inside three rows.
    cScanConverter zigzag(width, 3);
    zigzag.MoveTo(0, 0.5);
    for (int i = 1; i <= 30000; ++i)
        zigzag.LineTo(i * 0.6, i % 2 ? 2.5 : 0.5);
    zigzag.LineTo(18000, 2.5);
    zigzag.LineTo(0, 2.5);
    const auto zig = Coverage(zigzag, cFill::NonZero);
    for (int x = 0; x < 17990; ++x)
        ASSERT_GT(zig[std::size_t(width) + x], 0) << x;  // the middle row is covered
    EXPECT_EQ(zig[std::size_t(width) + 18010], 0);
}

TEST(ScanConverter, MatchesASupersampledReference)
{
    // Random simple (star-shaped) polygons, partly outside the box, against
    // 16 x 16 point samples per pixel under both rules. (Where windings of
    // different size meet inside one pixel, area accumulation and point
    // sampling legitimately differ; simple polygons avoid that.)
    std::uint32_t seed = 12345;
    auto random = [&](double low, double high) {
        seed = seed * 1664525u + 1013904223u;
        return low + (high - low) * (seed >> 8) / double(1 << 24);
    };
    const int size = 24;
    for (int round = 0; round < 12; ++round)
    {
        std::vector<double> angles;
        for (int i = 0; i < 3 + round; ++i)
            angles.push_back(random(0, 2 * std::numbers::pi));
        std::sort(angles.begin(), angles.end());
        const double cx = random(0, size), cy = random(0, size);
        std::vector<Outline::sPoint> polygon;
        for (double angle : angles)
        {
            const double radius = random(2, size);
            polygon.push_back({float(cx + radius * std::cos(angle)), float(cy + radius * std::sin(angle))});
        }
        for (std::int32_t rule : {cFill::NonZero, cFill::EvenOdd})
        {
            cScanConverter converter(size, size);
            converter.AddPolygon(polygon.data(), polygon.size());
            const auto values = Coverage(converter, rule);
            double totalError = 0;
            for (int py = 0; py < size; ++py)
                for (int px = 0; px < size; ++px)
                {
                    int inside = 0;
                    for (int sy = 0; sy < 16; ++sy)
                        for (int sx = 0; sx < 16; ++sx)
                        {
                            const double x = px + (sx + 0.5) / 16, y = py + (sy + 0.5) / 16;
                            int winding = 0;
                            for (std::size_t i = 0; i < polygon.size(); ++i)
                            {
                                const auto a = polygon[i], b = polygon[(i + 1) % polygon.size()];
                                if ((a.y <= y) != (b.y <= y))
                                {
                                    const double cross = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                                    if (cross > x)
                                        winding += a.y < b.y ? 1 : -1;
                                }
                            }
                            inside += rule == cFill::NonZero ? winding != 0 : (winding & 1);
                        }
                    const double expected = inside * 255.0 / 256;
                    const double error = std::fabs(values[py * size + px] - expected);
                    ASSERT_LT(error, 24) << round << " rule " << rule << " at " << px << "," << py;
                    totalError += error;
                }
            EXPECT_LT(totalError / (size * size), 2.0) << round << " rule " << rule;
        }
    }
}

TEST(ScanConverter, NonFiniteAndHugeCoordinatesAreSafe)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    cScanConverter converter(16, 8);
    AddRect(converter, -1e300, -inf, inf, 1e30);  // covers the box
    const auto values = Coverage(converter, cFill::NonZero);
    for (auto v : values)
        ASSERT_EQ(v, 255);

    cScanConverter odd(16, 8);
    odd.MoveTo(nan, 3);
    odd.LineTo(8, nan);
    odd.QuadTo(inf, -inf, 4, 4);
    odd.CubicTo(nan, nan, 1e308, -1e308, 2, 7);
    odd.LineTo(std::numeric_limits<double>::denorm_min(), 1e-300);
    const auto any = Coverage(odd, cFill::EvenOdd);
    EXPECT_EQ(any.size(), 16u * 8u);
}

TEST(ScanConverter, CurvesApproximateTheirArea)
{
    // A circle of radius 20 from four cubic arcs.
    const double r = 20, c = 0.5522847498 * r, cx = 25, cy = 25;
    cScanConverter converter(50, 50);
    converter.MoveTo(cx + r, cy);
    converter.CubicTo(cx + r, cy + c, cx + c, cy + r, cx, cy + r);
    converter.CubicTo(cx - c, cy + r, cx - r, cy + c, cx - r, cy);
    converter.CubicTo(cx - r, cy - c, cx - c, cy - r, cx, cy - r);
    converter.CubicTo(cx + c, cy - r, cx + r, cy - c, cx + r, cy);
    const auto values = Coverage(converter, cFill::NonZero);
    double area = 0;
    for (auto v : values)
        area += v / 255.0;
    EXPECT_NEAR(area, std::numbers::pi * r * r, std::numbers::pi * r * r * 0.01);

    // A quadratic arch: half-parabola area = 2/3 of its box.
    cScanConverter arch(40, 40);
    arch.MoveTo(0, 40);
    arch.QuadTo(20, -40, 40, 40);
    const auto archValues = Coverage(arch, cFill::NonZero);
    area = 0;
    for (auto v : archValues)
        area += v / 255.0;
    EXPECT_NEAR(area, 2.0 / 3 * 40 * 40, 2.0 / 3 * 40 * 40 * 0.01);
}

TEST(ScanConverter, PathsAndOffsets)
{
    Outline::cPath path;
    path.AddRect(0, 0, 2, 2);
    cScanConverter converter(6, 4);
    converter.AddPath(path, 3, 1);
    const auto values = Coverage(converter, cFill::NonZero);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(values[y * 6 + x], (x >= 3 && x < 5 && y >= 1 && y < 3) ? 255 : 0) << x << "," << y;
}

TEST(ScanConverter, NothingToRenderWithoutABox)
{
    cScanConverter converter;
    EXPECT_FALSE(converter.SetBox(0, 0, 0, 10));
    EXPECT_FALSE(converter.SetBox(0, 0, 70000, 10));
    AddRect(converter, 0, 0, 5, 5);
    cRecordingFill fill;
    cChannel channel;
    ASSERT_TRUE(channel.Create(4, 4));
    EXPECT_FALSE(converter.Render(&channel, fill, 0, 0));
    EXPECT_EQ(fill.begins, 0);
    EXPECT_TRUE(fill.spans.empty());
}

TEST(ScanConverter, RefusedTargetStillEndsTheFill)
{
    cScanConverter converter(4, 4);
    AddRect(converter, 0, 0, 4, 4);
    cChannel channel;
    ASSERT_TRUE(channel.Create(4, 4));
    channel.Clear();
    cSolidFill fill(0xFFFFFFFF);  // paints pictures, not channels
    EXPECT_FALSE(converter.Render(&channel, fill, 0, 0));
    EXPECT_TRUE(fill.Target().IsNull());
    EXPECT_EQ(channel.Value(1, 1), 0);
    // The channel entry uses the non-zero rule and a channel fill.
    EXPECT_TRUE(converter.Render(channel, 0, 0));
    EXPECT_EQ(channel.Value(1, 1), 255);
}

namespace {

using Testing::Put16;
using Testing::Put32;
using Testing::PutPoint;

// A polygon of straight lines (glyph coordinates: y grows upwards).
std::vector<std::uint8_t> GlyphSquare(double left, double bottom, double size)
{
    std::vector<std::uint8_t> bytes;
    Put32(bytes, 16 + 4 + 3 * 8);
    Put32(bytes, 24);
    PutPoint(bytes, left, bottom);
    Put16(bytes, 1);
    Put16(bytes, 3);
    PutPoint(bytes, left + size, bottom);
    PutPoint(bytes, left + size, bottom + size);
    PutPoint(bytes, left, bottom + size);
    return bytes;
}

} // namespace

TEST(ScanConverter, GlyphOutlines)
{
    // Baseline at y = 6: a 4-pixel square standing on it at x = 1.
    cScanConverter converter(8, 8);
    const auto square = GlyphSquare(0, 0, 4);
    EXPECT_TRUE(converter.AddGlyphOutline(square.data(), square.size(), 1, 6));
    const auto values = Coverage(converter, cFill::NonZero);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(values[y * 8 + x], (x >= 1 && x < 5 && y >= 2 && y < 6) ? 255 : 0) << x << "," << y;

    // A buffer cut short is refused after what could be read, never read past.
    for (std::size_t cut = 1; cut < square.size(); ++cut)
    {
        std::vector<std::uint8_t> shortBuffer(square.begin(), square.begin() + std::ptrdiff_t(cut));
        cScanConverter partial(8, 8);
        EXPECT_FALSE(partial.AddGlyphOutline(shortBuffer.data(), shortBuffer.size(), 1, 6)) << cut;
    }
}
