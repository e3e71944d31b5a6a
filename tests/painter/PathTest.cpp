#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "framework/painter/Path.h"
#include "tests/painter/GlyphRecords.h"

using namespace Outline;

namespace {

std::vector<sPoint> Polygon(const cContour& contour)
{
    std::vector<sPoint> points;
    contour.ToPolygon(points);
    return points;
}

void ExpectBounds(const sBounds& bounds, float left, float top, float right, float bottom)
{
    EXPECT_FLOAT_EQ(bounds.left, left);
    EXPECT_FLOAT_EQ(bounds.top, top);
    EXPECT_FLOAT_EQ(bounds.right, right);
    EXPECT_FLOAT_EQ(bounds.bottom, bottom);
}

} // namespace

TEST(Path, SegmentsOpenWhenTheKindChanges)
{
    cPath path;
    path.MoveTo({0, 0}, false);
    path.LineTo({10, 0});
    path.LineTo({10, 10});
    path.QuadTo({5, 15}, {0, 10});
    path.QuadTo({-5, 5}, {0, 0});
    path.CubicTo({1, 1}, {2, 2}, {3, 3});
    path.LineTo({4, 4});
    ASSERT_EQ(path.Contours().size(), 1u);
    const cContour& contour = path.Contours()[0];
    EXPECT_FALSE(contour.IsClosed());
    const auto& segments = contour.Segments();
    ASSERT_EQ(segments.size(), 4u);
    EXPECT_EQ(segments[0].kind, cContour::Straight);
    EXPECT_EQ(segments[0].points, (std::vector<sPoint>{{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_EQ(segments[1].kind, cContour::Quadratic);
    EXPECT_EQ(segments[1].points.size(), 4u);
    EXPECT_EQ(segments[2].kind, cContour::Cubic);
    EXPECT_EQ(segments[2].points.size(), 3u);
    EXPECT_EQ(segments[3].kind, cContour::Straight);
    // Control points count in the bounds.
    ExpectBounds(path.Bounds(), -5, 0, 10, 15);

    path.MoveTo({100, 100});
    EXPECT_EQ(path.Contours().size(), 2u);
    EXPECT_TRUE(path.Contours()[1].IsClosed());
}

TEST(Path, RectangleRunsClockwiseFromTheTopLeft)
{
    cPath path;
    path.AddRect(1, 2, 5, 7);
    ASSERT_EQ(path.Contours().size(), 1u);
    EXPECT_TRUE(path.Contours()[0].IsClosed());
    EXPECT_EQ(Polygon(path.Contours()[0]), (std::vector<sPoint>{{1, 2}, {5, 2}, {5, 7}, {1, 7}}));
    ExpectBounds(path.Bounds(), 1, 2, 5, 7);
}

TEST(Path, RoundRectangleCorners)
{
    cPath path;
    path.AddRoundRect(2, 0, 0, 10, 8);
    const auto& segments = path.Contours()[0].Segments();
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments[0].points[0], (sPoint{0, 2}));
    EXPECT_EQ(segments[1].kind, cContour::Quadratic);
    EXPECT_EQ(segments[1].points[0], (sPoint{0, 0}));  // control point: the corner
    EXPECT_EQ(segments[1].points[1], (sPoint{2, 0}));
    int quads = 0;
    for (const auto& segment : segments)
        if (segment.kind == cContour::Quadratic)
            quads += int(segment.points.size() / 2);
    EXPECT_EQ(quads, 4);
    ExpectBounds(path.Bounds(), 0, 0, 10, 8);

    // Only the top-left and bottom-right corners round: the others stay sharp.
    cPath partial;
    partial.AddRoundRect(2, 0, 0, 10, 8, cPath::TopLeft | cPath::BottomRight);
    const auto polygon = Polygon(partial.Contours()[0]);
    auto has = [&](sPoint p) {
        for (auto q : polygon)
            if (q == p)
                return true;
        return false;
    };
    EXPECT_TRUE(has({10, 0}));
    EXPECT_TRUE(has({0, 8}));
    EXPECT_FALSE(has({0, 0}));
    EXPECT_FALSE(has({10, 8}));
    quads = 0;
    for (const auto& segment : partial.Contours()[0].Segments())
        if (segment.kind == cContour::Quadratic)
            quads += int(segment.points.size() / 2);
    EXPECT_EQ(quads, 2);
}

TEST(Path, FlatteningTakesSixteenChordsPerCurve)
{
    cContour contour({0, 0}, true);
    contour.QuadTo({50, 100}, {100, 0});
    auto polygon = Polygon(contour);
    ASSERT_EQ(polygon.size(), 17u);
    EXPECT_EQ(polygon.front(), (sPoint{0, 0}));
    EXPECT_EQ(polygon.back(), (sPoint{100, 0}));
    // t = 1/2 of the curve: (50, 50).
    EXPECT_FLOAT_EQ(polygon[8].x, 50);
    EXPECT_FLOAT_EQ(polygon[8].y, 50);

    cContour cubic({0, 0}, true);
    cubic.CubicTo({0, 30}, {30, 30}, {30, 0});
    EXPECT_EQ(Polygon(cubic).size(), 17u);
}

TEST(Path, NearPointsAreDropped)
{
    cContour contour({0, 0}, true);
    contour.LineTo({0.05f, 0.05f});  // within 1/16 of the previous point
    contour.LineTo({4, 0});
    contour.LineTo({4, 0.0625f});    // exactly 1/16 away: kept
    contour.LineTo({4, 4});
    contour.LineTo({0.01f, 0.02f});  // within 1/16 of the first point
    EXPECT_EQ(Polygon(contour), (std::vector<sPoint>{{0, 0}, {4, 0}, {4, 0.0625f}, {4, 4}}));

    // A tiny curve collapses to its start.
    cContour tiny({1, 1}, true);
    tiny.QuadTo({1.01f, 1.02f}, {1.03f, 1.0f});
    EXPECT_EQ(Polygon(tiny), (std::vector<sPoint>{{1, 1}}));
}

TEST(Path, BoundsIgnoreNonFinitePoints)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    cPath path;
    path.MoveTo({nan, 3});
    path.LineTo({2, 3});
    path.LineTo({inf, 9});
    path.LineTo({-1, 5});
    ExpectBounds(path.Bounds(), -1, 3, 2, 5);
    cPath empty;
    EXPECT_TRUE(empty.Bounds().IsEmpty());
    path.Clear();
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_TRUE(path.Bounds().IsEmpty());
}

namespace {

using Testing::Put16;
using Testing::Put32;
using Testing::PutPoint;

void PutCurve(std::vector<std::uint8_t>& bytes, std::uint16_t kind, const std::vector<sPoint>& points)
{
    Put16(bytes, kind);
    Put16(bytes, std::uint16_t(points.size()));
    for (auto p : points)
        PutPoint(bytes, p.x, p.y);
}

// A polygon record: header (byte count filled in), start point, curves.
std::vector<std::uint8_t> GlyphPolygon(sPoint start, const std::vector<std::pair<std::uint16_t, std::vector<sPoint>>>& curves)
{
    std::vector<std::uint8_t> bytes;
    Put32(bytes, 0);
    Put32(bytes, 24);
    PutPoint(bytes, start.x, start.y);
    for (const auto& [kind, points] : curves)
        PutCurve(bytes, kind, points);
    const std::int32_t size = std::int32_t(bytes.size());
    std::memcpy(bytes.data(), &size, 4);
    return bytes;
}

} // namespace

TEST(Path, NativeGlyphRecords)
{
    auto bytes = GlyphPolygon({0, 0}, {{1, {{4, 0}}},
                                       // B-spline: on-curve point implied halfway between the two controls.
                                       {2, {{6, 2}, {6, 6}, {4, 8}}},
                                       {3, {{3, 9}, {1, 9}, {0, 8}}}});
    const auto second = GlyphPolygon({10, 10}, {{1, {{11, 10}, {11, 11}}}});
    bytes.insert(bytes.end(), second.begin(), second.end());

    cPath path;
    ASSERT_TRUE(path.AddNativeGlyph(bytes.data(), bytes.size(), 100, 50, 2, 1));
    ASSERT_EQ(path.Contours().size(), 2u);
    const auto& segments = path.Contours()[0].Segments();
    ASSERT_EQ(segments.size(), 3u);
    // x = 100 + 2x, y = 50 - y.
    EXPECT_EQ(segments[0].points, (std::vector<sPoint>{{100, 50}, {108, 50}}));
    EXPECT_EQ(segments[1].kind, cContour::Quadratic);
    EXPECT_EQ(segments[1].points, (std::vector<sPoint>{{112, 48}, {112, 46}, {112, 44}, {108, 42}}));
    EXPECT_EQ(segments[2].kind, cContour::Cubic);
    EXPECT_EQ(segments[2].points, (std::vector<sPoint>{{106, 41}, {102, 41}, {100, 42}}));
    EXPECT_EQ(path.Contours()[1].Segments()[0].points.size(), 3u);
}

TEST(Path, MalformedGlyphRecordsEndTheParse)
{
    const auto good = GlyphPolygon({0, 0}, {{1, {{4, 0}, {4, 4}}}});
    struct sCase
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::size_t contours;
    };
    std::vector<sCase> cases;
    {
        auto bytes = good;
        std::int32_t size = 1000;  // claims more than the buffer holds
        std::memcpy(bytes.data(), &size, 4);
        cases.push_back({"polygon larger than buffer", bytes, 0});
    }
    {
        auto bytes = good;
        std::int32_t size = 8;  // smaller than its own header
        std::memcpy(bytes.data(), &size, 4);
        cases.push_back({"polygon smaller than header", bytes, 0});
    }
    {
        auto bytes = good;
        bytes[4] = 23;
        cases.push_back({"unknown polygon type", bytes, 0});
    }
    {
        auto bytes = good;
        bytes[18] = 200;  // point count far beyond the polygon
        cases.push_back({"curve larger than polygon", bytes, 1});
    }
    {
        auto bytes = good;
        bytes[16] = 9;
        cases.push_back({"unknown curve kind", bytes, 1});
    }
    {
        auto bytes = good;
        bytes.insert(bytes.end(), good.begin(), good.begin() + 10);
        cases.push_back({"trailing partial header", bytes, 1});
    }
    for (const auto& c : cases)
    {
        cPath path;
        EXPECT_FALSE(path.AddNativeGlyph(c.bytes.data(), c.bytes.size(), 0, 0)) << c.what;
        EXPECT_EQ(path.Contours().size(), c.contours) << c.what;
    }
    cPath empty;
    EXPECT_TRUE(empty.AddNativeGlyph(nullptr, 0, 0, 0));
    EXPECT_TRUE(empty.AddNativeGlyph(nullptr, 100, 0, 0));
    EXPECT_TRUE(empty.IsEmpty());
}
