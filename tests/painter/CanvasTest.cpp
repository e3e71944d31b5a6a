#include "framework/painter/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "framework/painter/BlendModes.h"
#include "framework/painter/Channel.h"
#include "framework/painter/Picture.h"
#include "framework/painter/SolidFill.h"

using Painter::cCanvas;
using Painter::cChannel;
using Painter::cMatrix;
using Painter::cPicture;
using Container::sRect;

namespace {

cPicture MakePicture(std::int32_t width, std::int32_t height, std::uint32_t value)
{
    cPicture picture;
    EXPECT_TRUE(picture.Create(Painter::FORMAT_ARGB32, width, height));
    picture.Fill(value);
    return picture;
}

// A picture from rows of pixels.
cPicture MakePicture(const std::vector<std::vector<std::uint32_t>>& rows)
{
    cPicture picture;
    EXPECT_TRUE(picture.Create(Painter::FORMAT_ARGB32, static_cast<std::int32_t>(rows[0].size()),
                               static_cast<std::int32_t>(rows.size())));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            picture.SetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), rows[y][x]);
    return picture;
}

std::vector<std::vector<std::uint32_t>> Pixels(const cPicture& picture)
{
    std::vector<std::vector<std::uint32_t>> rows(static_cast<std::size_t>(picture.Height()));
    for (std::int32_t y = 0; y < picture.Height(); ++y)
        for (std::int32_t x = 0; x < picture.Width(); ++x)
            rows[y].push_back(picture.Pixel(x, y));
    return rows;
}

constexpr std::uint32_t A = 0xFF000000; // grey 0
constexpr std::uint32_t B = 0xFF808080; // grey 128
constexpr std::uint32_t C = 0xFF404040; // grey 64
constexpr std::uint32_t D = 0xFFC0C0C0; // grey 192

// ---- Translation-only path ---------------------------------------------------

TEST(CanvasCompositeTest, TranslationDrawsAtTheWholePixelOffset)
{
    cPicture target = MakePicture(4, 3, 0);
    const cPicture source = MakePicture({{A, B}, {C, D}});
    cCanvas canvas(target);
    canvas.Composite(cMatrix::Translation(1, 1), source, source.Bounds(), 0, 255);
    EXPECT_EQ(Pixels(target), (std::vector<std::vector<std::uint32_t>>{{0, 0, 0, 0}, {0, A, B, 0}, {0, C, D, 0}}));
    // A fractional translation rounds to the nearest pixel.
    cPicture second = MakePicture(4, 3, 0);
    cCanvas other(second);
    other.Composite(cMatrix::Translation(0.6f, 1.4f), source, source.Bounds(), 0, 255);
    EXPECT_EQ(Pixels(second), Pixels(target));
}

TEST(CanvasCompositeTest, SourceRectangleIsClippedToTheSourcePicture)
{
    cPicture target = MakePicture(4, 4, 0);
    const cPicture source = MakePicture({{A, B}, {C, D}});
    cCanvas canvas(target);
    // The rectangle reaches one pixel beyond the source on every side; only
    // real pixels are read, each at its own place.
    canvas.CompositeAt(0, 0, source, Container::sRect(-1, -1, 3, 3), 0, 255);
    EXPECT_EQ(Pixels(target),
              (std::vector<std::vector<std::uint32_t>>{{0, 0, 0, 0}, {0, A, B, 0}, {0, C, D, 0}, {0, 0, 0, 0}}));
    // Entirely outside: nothing.
    cPicture untouched = MakePicture(2, 2, 0x11111111);
    cCanvas second(untouched);
    second.CompositeAt(0, 0, source, Container::sRect(5, 5, 9, 9), 0, 255);
    second.CompositeAt(0, 0, source, Container::sRect(-40000, 0, -39990, 2), 0, 255);
    EXPECT_EQ(Pixels(untouched), Pixels(MakePicture(2, 2, 0x11111111)));
}

TEST(CanvasCompositeTest, ClipRectangleLimitsEveryPath)
{
    const cPicture source = MakePicture(4, 4, 0xFFFF0000);
    for (int path = 0; path < 3; ++path)
    {
        cPicture target = MakePicture(4, 4, 0);
        cCanvas canvas(target);
        canvas.SetClip(Container::sRect(1, 1, 3, 2));
        if (path == 0)
            canvas.Composite(cMatrix(), source, source.Bounds(), 0, 255);
        else if (path == 1)
            canvas.Composite(cMatrix::Scale(2, 2), source, source.Bounds(), 0, 255);
        else
            canvas.StretchComposite(Container::sRect(0, 0, 4, 4), source, Container::sRect(0, 0, 2, 2), 0, 255, false);
        for (std::int32_t y = 0; y < 4; ++y)
            for (std::int32_t x = 0; x < 4; ++x)
                EXPECT_EQ(target.Pixel(x, y), (y == 1 && (x == 1 || x == 2)) ? 0xFFFF0000u : 0u)
                    << "path " << path << " at " << x << "," << y;
    }
    // A clip outside the target is cut to it.
    cPicture target = MakePicture(2, 2, 0);
    cCanvas canvas(target);
    canvas.SetClip(Container::sRect(-10, -10, 100, 100));
    EXPECT_EQ(canvas.Clip(), Container::sRect(0, 0, 2, 2));
}

TEST(CanvasCompositeTest, MaskBytesOutsideTheMaskReadAsZero)
{
    cPicture target = MakePicture(3, 2, 0xFF0000FF);
    const cPicture source = MakePicture(3, 2, 0xFFFF0000);
    cChannel mask;
    ASSERT_TRUE(mask.Create(2, 1));
    mask.SetValue(0, 0, 255);
    mask.SetValue(1, 0, 128);
    cCanvas canvas(target);
    canvas.SetMask(&mask, 1, 0);
    ASSERT_TRUE(canvas.UsesMask());
    canvas.Composite(cMatrix(), source, source.Bounds(), 0, 255);
    EXPECT_EQ(Pixels(target), (std::vector<std::vector<std::uint32_t>>{{0xFF0000FF, 0xFFFF0000, 0xFF80007F},
                                                                       {0xFF0000FF, 0xFF0000FF, 0xFF0000FF}}));
    // An empty channel does not switch masking on.
    cChannel empty;
    canvas.SetMask(&empty, 0, 0);
    EXPECT_FALSE(canvas.UsesMask());
}

TEST(CanvasCompositeTest, ModesThatDrawNothingLeaveTheTarget)
{
    const cPicture source = MakePicture(2, 2, 0xFFFFFFFF);
    for (std::int32_t mode : {23, 25, 26, 27, 31, 255, -1})
    {
        cPicture target = MakePicture(2, 2, 0x80123456);
        cCanvas canvas(target);
        canvas.Composite(cMatrix(), source, source.Bounds(), mode, 255);
        canvas.Composite(cMatrix::Scale(2, 1), source, source.Bounds(), mode, 255);
        canvas.StretchComposite(Container::sRect(0, 0, 2, 1), source, source.Bounds(), mode, 255, true);
        EXPECT_EQ(Pixels(target), Pixels(MakePicture(2, 2, 0x80123456))) << mode;
    }
}

TEST(CanvasCompositeTest, DrawingAPictureOntoItselfReadsTheOriginalPixels)
{
    cPicture picture = MakePicture({{A, B, C, D}});
    cCanvas canvas(picture);
    canvas.CompositeAt(1, 0, picture, Container::sRect(0, 0, 3, 1), 0, 255);
    EXPECT_EQ(Pixels(picture), (std::vector<std::vector<std::uint32_t>>{{A, A, B, C}}));
}

// ---- Transformed path ------------------------------------------------------------

// Scale 2 of a 2 x 2 opaque picture onto a transparent 4 x 4 target: target
// pixel (x, y) samples (x / 2, y / 2) in sixteenths; neighbours past the last
// column or row weigh with alpha 0.
TEST(CanvasTransformTest, ScaleSamplesBilinearlyInSixteenths)
{
    cPicture target = MakePicture(4, 4, 0);
    const cPicture source = MakePicture({{A, B}, {C, D}});
    cCanvas canvas(target);
    canvas.Composite(cMatrix::Scale(2, 2), source, source.Bounds(), 0, 255);
    // (1, 0): A and B at 128/256 each: 64. (3, 0): B at weight 128 with a
    // transparent neighbour: alpha 128 * 255 / 256 = 127. (1, 1): all four
    // at 64: (0 + 128 + 64 + 192) / 4 = 96. (3, 3): only D, weight 64:
    // alpha 64 * 255 / 256 = 63.
    const std::vector<std::vector<std::uint32_t>> expected = {
        {0xFF000000, 0xFF404040, 0xFF808080, 0x7F808080},
        {0xFF202020, 0xFF606060, 0xFFA0A0A0, 0x7FA0A0A0},
        {0xFF404040, 0xFF808080, 0xFFC0C0C0, 0x7FC0C0C0},
        {0x7F404040, 0x7F808080, 0x7FC0C0C0, 0x3FC0C0C0},
    };
    EXPECT_EQ(Pixels(target), expected);
}

TEST(CanvasTransformTest, SampledColourIsWeightedByAlpha)
{
    // A transparent red beside an opaque blue: the sample at half way has
    // half the alpha and the blue colour alone.
    cPicture target = MakePicture(4, 1, 0);
    const cPicture source = MakePicture({{0x00FF0000, 0xFF0000FF}});
    cCanvas canvas(target);
    canvas.Composite(cMatrix::Scale(2, 1), source, source.Bounds(), 0, 255);
    EXPECT_EQ(target.Pixel(0, 0), 0u); // alpha 0 sample leaves the target
    EXPECT_EQ(target.Pixel(1, 0), 0x7F0000FFu);
    EXPECT_EQ(target.Pixel(2, 0), 0xFF0000FFu);
}

TEST(CanvasTransformTest, MirrorAndQuarterTurnLandOnWholePixels)
{
    const cPicture source = MakePicture({{A, B}, {C, D}});
    // x mirrored: x' = 2 - x. The first matrix row is negative, so the
    // sampled x moves by -1 and every pixel lands exactly.
    cPicture mirrored = MakePicture(2, 2, 0);
    cCanvas canvas(mirrored);
    canvas.Composite(cMatrix(-1, 0, 0, 1, 2, 0), source, source.Bounds(), 0, 255);
    EXPECT_EQ(Pixels(mirrored), (std::vector<std::vector<std::uint32_t>>{{B, A}, {D, C}}));
    // A quarter turn clockwise: x' = 2 - y, y' = x.
    cPicture turned = MakePicture(2, 2, 0);
    cCanvas second(turned);
    second.Composite(cMatrix(0, 1, -1, 0, 2, 0), source, source.Bounds(), 0, 255);
    EXPECT_EQ(Pixels(turned), (std::vector<std::vector<std::uint32_t>>{{C, A}, {D, B}}));
}

TEST(CanvasTransformTest, CopyVariantReplacesPixelsAndMirrorsVertically)
{
    const cPicture source = MakePicture({{A, B}, {C, D}});
    cPicture target = MakePicture(2, 2, 0xFFFFFFFF);
    cCanvas canvas(target);
    // Rows (1, 0), (0, -1), (0, 2): the picture upside down.
    canvas.CompositeCopy(cMatrix(1, 0, 0, -1, 0, 2), source, source.Bounds());
    EXPECT_EQ(Pixels(target), (std::vector<std::vector<std::uint32_t>>{{C, D}, {A, B}}));
    // Half-transparent samples replace the target instead of blending.
    cPicture wide = MakePicture(4, 1, 0xFFFFFFFF);
    cCanvas third(wide);
    third.CompositeCopy(cMatrix::Scale(2, 1), MakePicture({{B, B}}), Container::sRect(0, 0, 2, 1));
    EXPECT_EQ(wide.Pixel(3, 0), 0x7F808080u);
}

TEST(CanvasTransformTest, DegenerateAndNonFiniteMatricesDrawNothing)
{
    const cPicture source = MakePicture(3, 3, 0xFFFF0000);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const cMatrix matrices[] = {
        cMatrix::Scale(0, 0),
        cMatrix::Scale(0, 1),
        cMatrix(1, 2, 2, 4, 0, 0), // rows parallel: determinant 0
        cMatrix::Scale(1e-6f, 1e-6f),
        cMatrix(nan, 0, 0, 1, 0, 0),
        cMatrix(1, 0, 0, 1, nan, 0),
        cMatrix(inf, 0, 0, 1, 0, 0),
        cMatrix(1, 0, 0, 1, inf, -inf),
        cMatrix(1, 0, 0, 1, 3e9f, 0),
        cMatrix(2, 0, 0, 2, -3e38f, 3e38f),
        cMatrix(1e30f, 0, 0, 1e30f, 0, 0),
    };
    for (const cMatrix& matrix : matrices)
    {
        cPicture target = MakePicture(3, 3, 0x11223344);
        cCanvas canvas(target);
        canvas.Composite(matrix, source, source.Bounds(), 0, 255);
        canvas.CompositeCopy(matrix, source, source.Bounds());
        // A 1e30 scale covers the target; anything else must leave it.
        if (matrix.m[0][0] != 1e30f)
        {
            EXPECT_EQ(Pixels(target), Pixels(MakePicture(3, 3, 0x11223344)));
        }
        else
        {
            EXPECT_EQ(target.Pixel(2, 2), 0xFFFF0000u);
        }
    }
}

TEST(CanvasTransformTest, RotationCoversTheTurnedArea)
{
    // 30 degrees about the origin, moved right: the centre of the source
    // lands inside, and the target corners that no source pixel reaches stay.
    const cPicture source = MakePicture(20, 20, 0xFF00FF00);
    cPicture target = MakePicture(40, 40, 0);
    cCanvas canvas(target);
    const cMatrix matrix = cMatrix::Rotation(std::numbers::pi / 6) * cMatrix::Translation(15, 5);
    canvas.Composite(matrix, source, source.Bounds(), 0, 255);
    double cx, cy;
    matrix.Transform(10, 10, cx, cy);
    EXPECT_EQ(target.Pixel(static_cast<int>(cx), static_cast<int>(cy)), 0xFF00FF00u);
    EXPECT_EQ(target.Pixel(0, 39), 0u);
    EXPECT_EQ(target.Pixel(39, 0), 0u);
}

// ---- Stretch path --------------------------------------------------------------

TEST(CanvasStretchTest, NearestAndSmoothSampling)
{
    const cPicture source = MakePicture({{0xFF000000, 0xFFFFFFFF}});
    cPicture nearest = MakePicture(4, 1, 0);
    cCanvas canvas(nearest);
    canvas.StretchComposite(Container::sRect(0, 0, 4, 1), source, source.Bounds(), 0, 255, false);
    EXPECT_EQ(Pixels(nearest), (std::vector<std::vector<std::uint32_t>>{{0xFF000000, 0xFF000000, 0xFFFFFFFF,
                                                                          0xFFFFFFFF}}));
    // Smooth: positions 0, 1/2, 1, 3/2; at the last column the next pixel is
    // the current one.
    cPicture smooth = MakePicture(4, 1, 0);
    cCanvas second(smooth);
    second.StretchComposite(Container::sRect(0, 0, 4, 1), source, source.Bounds(), 0, 255, true);
    EXPECT_EQ(Pixels(smooth), (std::vector<std::vector<std::uint32_t>>{{0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF,
                                                                         0xFFFFFFFF}}));
    // Shrinking 4 to 2 takes columns 0 and 2.
    const cPicture wide = MakePicture({{A, B, C, D}});
    cPicture small = MakePicture(2, 1, 0);
    cCanvas third(small);
    third.StretchComposite(Container::sRect(0, 0, 2, 1), wide, wide.Bounds(), 0, 255, false);
    EXPECT_EQ(Pixels(small), (std::vector<std::vector<std::uint32_t>>{{A, C}}));
}

TEST(CanvasStretchTest, SameSizeIsTheTranslationPathAndCopyModesNeedIt)
{
    const cPicture source = MakePicture(2, 2, 0x80FF0000);
    // Copy (28) works when the sizes agree ...
    cPicture target = MakePicture(3, 3, 0xFFFFFFFF);
    cCanvas canvas(target);
    canvas.StretchComposite(Container::sRect(1, 1, 3, 3), source, source.Bounds(), 28, 255, false);
    EXPECT_EQ(target.Pixel(1, 1), 0x80FF0000u);
    EXPECT_EQ(target.Pixel(0, 0), 0xFFFFFFFFu);
    // ... and draws nothing when they do not; nor does 30.
    cPicture scaled = MakePicture(4, 4, 0xFFFFFFFF);
    cCanvas second(scaled);
    second.StretchComposite(Container::sRect(0, 0, 4, 4), source, source.Bounds(), 28, 255, false);
    second.StretchComposite(Container::sRect(0, 0, 4, 4), source, source.Bounds(), 30, 255, true);
    EXPECT_EQ(Pixels(scaled), Pixels(MakePicture(4, 4, 0xFFFFFFFF)));
}

TEST(CanvasStretchTest, SourceRectangleBeyondThePictureKeepsTheScale)
{
    // Source rectangle (0, 0, 4, 1) of a 2-pixel source, doubled: the real
    // pixels land where the full rectangle puts them and the rest stays.
    const cPicture source = MakePicture({{A, B}});
    cPicture target = MakePicture(8, 1, 0);
    cCanvas canvas(target);
    canvas.StretchComposite(Container::sRect(0, 0, 8, 1), source, Container::sRect(0, 0, 4, 1), 0, 255, false);
    EXPECT_EQ(Pixels(target), (std::vector<std::vector<std::uint32_t>>{{A, A, B, B, 0, 0, 0, 0}}));
}

// ---- Mapping ---------------------------------------------------------------------

TEST(CanvasMappingTest, MapsLogicalToTargetCoordinates)
{
    cPicture target = MakePicture(10, 10, 0);
    cCanvas canvas(target);
    EXPECT_EQ(canvas.MapX(7), 7);
    ASSERT_TRUE(canvas.SetMapping(0, 0, 100, 200, 2, 3, 50, 50));
    EXPECT_EQ(canvas.MapX(10), 7);  // 10 * 50 / 100 + 2
    EXPECT_EQ(canvas.MapY(10), 5);  // 10 * 50 / 200 + 3
    EXPECT_EQ(canvas.MapX(-3), 1);  // -150 / 100 truncates to -1
    EXPECT_EQ(canvas.MapRect(Container::sRect(0, 0, 100, 200)), Container::sRect(2, 3, 52, 53));
    // Extents that would overflow 32 bits are multiplied in 64.
    ASSERT_TRUE(canvas.SetMapping(0, 0, 1, 1, 0, 0, 100000, 100000));
    EXPECT_EQ(canvas.MapX(30000), INT32_MAX);
    // A window extent of 0 is refused and the mapping kept.
    EXPECT_FALSE(canvas.SetMapping(0, 0, 0, 10, 0, 0, 10, 10));
    EXPECT_FALSE(canvas.SetMapping(0, 0, 10, 0, 0, 0, 10, 10));
    EXPECT_EQ(canvas.MapX(2), 200000);
}

TEST(CanvasMappingTest, ClearFillsTheMappedWindowOnly)
{
    cPicture target = MakePicture(4, 4, 0);
    cCanvas canvas(target);
    canvas.Clear(0x01020304);
    EXPECT_EQ(Pixels(target), Pixels(MakePicture(4, 4, 0x01020304)));
    ASSERT_TRUE(canvas.SetMapping(0, 0, 4, 4, 1, 1, 2, 2));
    canvas.Clear(0xFFFFFFFF);
    for (std::int32_t y = 0; y < 4; ++y)
        for (std::int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(target.Pixel(x, y), (x >= 1 && x < 3 && y >= 1 && y < 3) ? 0xFFFFFFFFu : 0x01020304u);
}

// ---- Shapes ------------------------------------------------------------------------

TEST(CanvasShapeTest, FillRectBlendAndDraw3dRect)
{
    cPicture target = MakePicture(4, 4, 0xFFFFFFFF);
    cCanvas canvas(target);
    canvas.FillRectBlend(0x80000000, Container::sRect(1, 1, 3, 3));
    // 255 + 128 * -255 / 255 = 127.
    EXPECT_EQ(target.Pixel(1, 1), 0xFF7F7F7Fu);
    EXPECT_EQ(target.Pixel(0, 0), 0xFFFFFFFFu);

    cPicture frame = MakePicture(4, 3, 0);
    cCanvas second(frame);
    constexpr std::uint32_t F = 0xFF111111, S = 0xFF222222;
    second.Draw3dRect(Container::sRect(0, 0, 4, 3), F, S);
    EXPECT_EQ(Pixels(frame), (std::vector<std::vector<std::uint32_t>>{{F, F, F, F}, {F, 0, 0, S}, {F, S, S, S}}));
}

TEST(CanvasShapeTest, FillRectThroughTheScanConverter)
{
    cPicture target = MakePicture(5, 5, 0);
    cCanvas canvas(target);
    Painter::cSolidFill fill(0xFFFF0000);
    canvas.FillRect(1, 1, 4, 3, &fill, cCanvas::sStroke{});
    for (std::int32_t y = 0; y < 5; ++y)
        for (std::int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(target.Pixel(x, y), (x >= 1 && x < 4 && y >= 1 && y < 3) ? 0xFFFF0000u : 0u) << x << "," << y;
}

TEST(CanvasShapeTest, StrokeOutlinesWithoutFilling)
{
    cPicture target = MakePicture(12, 12, 0);
    cCanvas canvas(target);
    canvas.FillRect(2, 2, 10, 10, nullptr, cCanvas::sStroke{0xFF0000FF, 2});
    // The stroke is centred on the outline: columns 1..2 of the left edge.
    EXPECT_EQ(target.Pixel(1, 6), 0xFF0000FFu);
    EXPECT_EQ(target.Pixel(2, 6), 0xFF0000FFu);
    EXPECT_EQ(target.Pixel(9, 6), 0xFF0000FFu);
    EXPECT_EQ(target.Pixel(6, 10), 0xFF0000FFu);
    EXPECT_EQ(target.Pixel(6, 6), 0u);
    EXPECT_EQ(target.Pixel(4, 4), 0u);
    // Width 0 draws no stroke.
    cPicture plain = MakePicture(12, 12, 0);
    cCanvas second(plain);
    second.FillRect(2, 2, 10, 10, nullptr, cCanvas::sStroke{0xFF0000FF, 0});
    EXPECT_EQ(Pixels(plain), Pixels(MakePicture(12, 12, 0)));
}

TEST(CanvasShapeTest, EllipseAndRoundRectCoverTheirInsides)
{
    cPicture target = MakePicture(20, 20, 0);
    cCanvas canvas(target);
    Painter::cSolidFill fill(0xFF00FF00);
    canvas.FillEllipse(&fill, cCanvas::sStroke{}, Container::sRect(0, 0, 20, 20));
    EXPECT_EQ(target.Pixel(10, 10), 0xFF00FF00u);
    EXPECT_EQ(target.Pixel(10, 1), 0xFF00FF00u);
    EXPECT_EQ(target.Pixel(0, 0), 0u);
    EXPECT_EQ(target.Pixel(19, 19), 0u);

    cPicture rounded = MakePicture(20, 20, 0);
    cCanvas second(rounded);
    second.FillRoundRect(0, 0, 20, 20, 8, &fill, cCanvas::sStroke{});
    EXPECT_EQ(rounded.Pixel(10, 0), 0xFF00FF00u);
    EXPECT_EQ(rounded.Pixel(10, 10), 0xFF00FF00u);
    EXPECT_EQ(rounded.Pixel(0, 0), 0u);
}

TEST(CanvasShapeTest, EllipseWithoutAntialiasingHasHardEdges)
{
    Painter::cSolidFill fill(0xFF00FF00);
    cPicture smooth = MakePicture(15, 11, 0);
    cCanvas first(smooth);
    first.FillEllipse(&fill, cCanvas::sStroke{}, Container::sRect(0, 0, 15, 11));
    cPicture hard = MakePicture(15, 11, 0);
    cCanvas second(hard);
    second.SetAntialias(false);
    second.FillEllipse(&fill, cCanvas::sStroke{}, Container::sRect(0, 0, 15, 11));
    int partial = 0;
    for (std::int32_t y = 0; y < 11; ++y)
        for (std::int32_t x = 0; x < 15; ++x)
        {
            const std::uint32_t alpha = smooth.Pixel(x, y) >> 24;
            partial += alpha > 0 && alpha < 255;
            // Hard edges: full where the smooth coverage reaches one half.
            EXPECT_EQ(hard.Pixel(x, y), alpha >= 128 ? 0xFF00FF00u : 0u) << x << "," << y;
        }
    EXPECT_GT(partial, 0);
}

TEST(CanvasShapeTest, ShapesFollowTheMappingAndTheClip)
{
    cPicture target = MakePicture(8, 8, 0);
    cCanvas canvas(target);
    ASSERT_TRUE(canvas.SetMapping(0, 0, 2, 2, 0, 0, 4, 4)); // logical units of 2 pixels
    canvas.SetClip(Container::sRect(0, 0, 8, 3));
    Painter::cSolidFill fill(0xFFFFFFFF);
    canvas.FillRect(1, 1, 3, 3, &fill, cCanvas::sStroke{});
    for (std::int32_t y = 0; y < 8; ++y)
        for (std::int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(target.Pixel(x, y), (x >= 2 && x < 6 && y >= 2 && y < 3) ? 0xFFFFFFFFu : 0u) << x << "," << y;
}

// Found by fuzzing: extents wider than 32 bits (Draw3dRect, StretchComposite).
TEST(CanvasShapeTest, RectanglesWiderThan32BitsAreMeasuredIn64)
{
    cPicture target = MakePicture(4, 4, 0);
    cCanvas canvas(target);
    canvas.Draw3dRect(Container::sRect(-1464148740, -2000000000, INT32_MAX, INT32_MAX), 0xFF111111, 0xFF222222);
    // The top and left bands lie far outside; the other two as well.
    EXPECT_EQ(Pixels(target), Pixels(MakePicture(4, 4, 0)));
    const cPicture source = MakePicture(2, 2, 0xFFFFFFFF);
    canvas.StretchComposite(Container::sRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), source, source.Bounds(), 0, 255, true);
    canvas.StretchComposite(Container::sRect(0, 0, 4, 4), source, Container::sRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 0, 255,
                            false);
    canvas.StretchComposite(Container::sRect(0, 0, 4, 4), source, Container::sRect(INT32_MAX - 1, 0, INT32_MAX, 1), 0, 255, false);
    EXPECT_EQ(Pixels(target), Pixels(MakePicture(4, 4, 0)));
}

TEST(CanvasShapeTest, NonFiniteShapeCoordinatesDrawNothingHarmful)
{
    cPicture target = MakePicture(6, 6, 0);
    cCanvas canvas(target);
    Painter::cSolidFill fill(0xFFFFFFFF);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    canvas.FillRect(nan, nan, nan, nan, &fill, cCanvas::sStroke{0xFFFFFFFF, 3});
    canvas.FillRect(-inf, 0, inf, 3, &fill, cCanvas::sStroke{0xFFFFFFFF, nan});
    // No finite corner: there is no box to render.
    EXPECT_EQ(Pixels(target), Pixels(MakePicture(6, 6, 0)));
    // The rest runs under the sanitizers for undefined conversions.
    canvas.FillRoundRect(0, 0, 1e30f, 1e30f, 1e20f, &fill, cCanvas::sStroke{0xFFFFFFFF, 1e20f});
    const Outline::sPoint points[] = {{nan, 1}, {3, inf}, {1, 1}};
    canvas.FillPolygon(points, 3, &fill);
    EXPECT_EQ(target.Pixel(0, 0) >> 24, 255u); // the huge stroke covers the corner
}

} // namespace
