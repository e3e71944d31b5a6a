#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/painter/AlphaComposite.h"
#include "framework/painter/Channel.h"
#include "framework/painter/Picture.h"

using namespace Painter;

namespace {

cPicture MakePicture(std::int32_t width, std::int32_t height, std::uint32_t fill)
{
    cPicture picture;
    EXPECT_TRUE(picture.Create(FORMAT_ARGB32, width, height));
    picture.Fill(fill);
    return picture;
}

// The pixels of a picture, row by row.
std::vector<std::uint32_t> Pixels(const cPicture& picture)
{
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < picture.Height(); ++y)
        for (std::int32_t x = 0; x < picture.Width(); ++x)
            pixels.push_back(picture.Pixel(x, y));
    return pixels;
}

// A picture whose every pixel is distinct: 0xFF0000yx style values.
cPicture Numbered(std::int32_t width, std::int32_t height)
{
    cPicture picture;
    EXPECT_TRUE(picture.Create(FORMAT_ARGB32, width, height));
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            picture.SetPixel(x, y, 0xFF000000u | std::uint32_t(y) << 8 | std::uint32_t(x));
    return picture;
}

} // namespace

// ---- Creation and size arithmetic ------------------------------------------

TEST(PictureCreate, RejectsSizesOutsideTheRangeAndOddBitCounts)
{
    cPicture picture;
    EXPECT_FALSE(picture.Create(FORMAT_ARGB32, 0, 10));
    EXPECT_FALSE(picture.Create(FORMAT_ARGB32, 32768, 1));
    EXPECT_FALSE(picture.Create(FORMAT_ARGB32, 1, -5));
    EXPECT_TRUE(picture.IsEmpty());

    ASSERT_TRUE(picture.Create(FORMAT_ARGB32, 4, 4));
    picture.Fill(0x12345678);
    // A size out of range leaves the picture as it was.
    EXPECT_FALSE(picture.Create(FORMAT_ARGB32, 32768, 1));
    ASSERT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.Pixel(3, 3), 0x12345678u);
    // 12 bits per pixel is rejected after the release: the picture is empty.
    EXPECT_FALSE(picture.Create(0x0C00, 4, 4));
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Bits(), nullptr);
}

TEST(PictureCreate, SameFormatAndSizeKeepsThePixels)
{
    cPicture picture = MakePicture(5, 3, 0xCAFEBABE);
    const std::uint8_t* bits = picture.Bits();
    ASSERT_TRUE(picture.Create(FORMAT_ARGB32, 5, 3));
    EXPECT_EQ(picture.Bits(), bits);
    EXPECT_EQ(picture.Pixel(4, 2), 0xCAFEBABEu);
    EXPECT_EQ(picture.Clip(), Container::sRect(0, 0, 5, 3));
}

TEST(PictureCreate, StrideRoundsBitsUpToWholeBytesThenToFour)
{
    struct sCase { std::int32_t format; std::int32_t width; std::int32_t stride; };
    const sCase cases[] = {
        {FORMAT_RGB24, 3, 12}, {FORMAT_INDEX4, 3, 4}, {FORMAT_INDEX4, 1, 4}, {FORMAT_INDEX4, 9, 8},
        {FORMAT_INDEX8, 5, 8}, {FORMAT_RGB15, 3, 8}, {FORMAT_ARGB32, 3, 12}, {FORMAT_ARGB32, 32767, 131068},
    };
    for (const sCase& c : cases)
    {
        cPicture picture;
        ASSERT_TRUE(picture.Create(c.format, c.width, 1)) << c.format;
        EXPECT_EQ(picture.Stride(), c.stride) << "format " << c.format << " width " << c.width;
        EXPECT_EQ(picture.Stride(), PictureStride(c.width, FormatBits(c.format)));
    }
}

TEST(PictureSize, BlockBytesIsSixtyFourBitAndHonoursTheLimit)
{
    std::size_t bytes = 0;
    // The largest 32-bit picture: 4 GiB minus a little, which wraps a 32-bit
    // product and cannot be one block in a 32-bit process.
    const std::int64_t stride = PictureStride(32767, 32);
    EXPECT_FALSE(BlockBytes(stride, 32767, 0x7FFFFFFFu, bytes));
    EXPECT_FALSE(BlockBytes(stride, 32767, 0xFFFFFFFFull - 1'000'000, bytes));
    if constexpr (sizeof(std::size_t) == 8)
    {
        ASSERT_TRUE(BlockBytes(stride, 32767, UINT64_MAX, bytes));
        EXPECT_EQ(bytes, 4294705156u);
    }
    else
    {
        EXPECT_FALSE(BlockBytes(stride, 32767, kMaxBlockBytes, bytes));
    }
    EXPECT_FALSE(BlockBytes(INT64_MAX, INT64_MAX, UINT64_MAX, bytes));
    EXPECT_FALSE(BlockBytes(-4, 10, UINT64_MAX, bytes));
    ASSERT_TRUE(BlockBytes(12, 3, 36, bytes));
    EXPECT_EQ(bytes, 36u);
    EXPECT_FALSE(BlockBytes(12, 3, 35, bytes));
}

// ---- Ownership -------------------------------------------------------------

namespace {

struct sFakeExif
{
    int value;
};
int g_destroyed = 0;
int g_cloned = 0;

PictureFile::cExifInfo* NewFakeExif(int value)
{
    return reinterpret_cast<PictureFile::cExifInfo*>(new sFakeExif{value});
}
void DestroyFakeExif(PictureFile::cExifInfo* exif)
{
    ++g_destroyed;
    delete reinterpret_cast<sFakeExif*>(exif);
}
PictureFile::cExifInfo* CloneFakeExif(const PictureFile::cExifInfo* exif)
{
    ++g_cloned;
    return NewFakeExif(reinterpret_cast<const sFakeExif*>(exif)->value);
}
int FakeValue(const cPicture& picture) { return reinterpret_cast<const sFakeExif*>(picture.Exif())->value; }

} // namespace

TEST(PictureOwnership, MetadataIsClonedByCopiesMovedByAttachAndDestroyedOnRelease)
{
    g_destroyed = g_cloned = 0;
    {
        cPicture original = MakePicture(2, 2, 0xFF102030);
        original.SetExif(cPictureMetadata(NewFakeExif(42), &DestroyFakeExif, &CloneFakeExif));

        cPicture copy(original);
        EXPECT_EQ(g_cloned, 1);
        ASSERT_NE(copy.Exif(), nullptr);
        EXPECT_NE(copy.Exif(), original.Exif());
        EXPECT_EQ(FakeValue(copy), 42);

        cPicture taker;
        PictureFile::cExifInfo* held = original.Exif();
        const std::uint8_t* bits = original.Bits();
        taker.Attach(original, true);
        EXPECT_EQ(g_cloned, 1);
        EXPECT_EQ(taker.Exif(), held);
        EXPECT_EQ(taker.Bits(), bits);
        EXPECT_TRUE(original.IsEmpty());
        EXPECT_EQ(original.Exif(), nullptr);

        taker.Release();
        EXPECT_EQ(g_destroyed, 1);
        EXPECT_EQ(taker.Exif(), nullptr);
    }
    EXPECT_EQ(g_destroyed, 2);  // the copy's clone died with it
}

TEST(PictureOwnership, AttachTakesPaletteAndLeavesSourceEmpty)
{
    cPicture source;
    ASSERT_TRUE(source.Create(FORMAT_INDEX8, 3, 2));
    const std::uint32_t palette[] = {0x112233, 0x445566};
    ASSERT_TRUE(source.SetPalette(palette, 2));
    source.SetClip(Container::sRect(1, 0, 3, 2));

    cPicture target = MakePicture(1, 1, 0);
    target.Attach(source, true);
    EXPECT_EQ(target.Format(), FORMAT_INDEX8);
    EXPECT_EQ(target.Width(), 3);
    EXPECT_EQ(target.Clip(), Container::sRect(1, 0, 3, 2));
    ASSERT_EQ(target.PaletteCount(), 2);
    EXPECT_EQ(target.Palette()[1], 0x445566u);
    EXPECT_TRUE(target.OwnsBits());
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_EQ(source.PaletteCount(), 0);
    EXPECT_EQ(source.Width(), 0);
}

TEST(PictureOwnership, CopiesAreDeepAndMovesTransfer)
{
    cPicture a = Numbered(3, 2);
    cPicture b(a);
    b.SetPixel(0, 0, 0);
    EXPECT_EQ(a.Pixel(0, 0), 0xFF000000u);
    EXPECT_NE(a.Bits(), b.Bits());

    cPicture empty;
    b = empty;
    EXPECT_TRUE(b.IsEmpty());

    const std::uint8_t* bits = a.Bits();
    cPicture moved(std::move(a));
    EXPECT_EQ(moved.Bits(), bits);
    EXPECT_TRUE(a.IsEmpty());
}

TEST(PictureOwnership, AttachedBitsAreNotFreed)
{
    std::vector<std::uint32_t> memory(6, 0xFFABCDEF);
    {
        cPicture picture;
        EXPECT_FALSE(picture.AttachBits(reinterpret_cast<std::uint8_t*>(memory.data()), FORMAT_ARGB32, 3, 2, 8));
        ASSERT_TRUE(picture.AttachBits(reinterpret_cast<std::uint8_t*>(memory.data()), FORMAT_ARGB32, 3, 2, 12));
        EXPECT_FALSE(picture.OwnsBits());
        picture.SetPixel(2, 1, 7);
    }
    EXPECT_EQ(memory[5], 7u);  // still ours, written through the picture
}

// ---- Palette and conversions -----------------------------------------------

TEST(PicturePalette, ResizeAndSet)
{
    cPicture picture;
    picture.SetPaletteGrowth(16);
    ASSERT_TRUE(picture.ResizePalette(3));
    EXPECT_EQ(picture.PaletteCount(), 3);
    const std::uint32_t entries[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(picture.SetPalette(entries, 5));
    EXPECT_EQ(picture.PaletteCount(), 5);
    EXPECT_EQ(picture.Palette()[4], 5u);
    EXPECT_FALSE(picture.ResizePalette(-1));
    EXPECT_EQ(picture.PaletteCount(), 5);
}

namespace {

cPicture Converted(const cPicture& source)
{
    cPicture result;
    EXPECT_TRUE(result.CopyFrom(source));
    EXPECT_EQ(result.Format(), FORMAT_ARGB32);
    return result;
}

} // namespace

TEST(PictureConvert, FourBitOddWidthWithAndWithoutPalette)
{
    cPicture source;
    ASSERT_TRUE(source.Create(FORMAT_INDEX4, 3, 2));
    source.Fill(0);
    source.Row(0)[0] = 0x12;  // indices 1, 2
    source.Row(0)[1] = 0x3F;  // index 3; the low nibble is padding
    source.Row(1)[0] = 0xF0;
    source.Row(1)[1] = 0x00;

    EXPECT_EQ(Pixels(Converted(source)),
              (std::vector<std::uint32_t>{0xFF111111, 0xFF222222, 0xFF333333, 0xFFFFFFFF, 0xFF000000, 0xFF000000}));

    // With a palette of 3 entries index 3 and 15 lie beyond it: opaque black.
    const std::uint32_t palette[] = {0x00102030, 0x00405060, 0x80708090};
    ASSERT_TRUE(source.SetPalette(palette, 3));
    const cPicture result = Converted(source);
    EXPECT_EQ(Pixels(result),
              (std::vector<std::uint32_t>{0xFF405060, 0xFF708090, 0xFF000000, 0xFF000000, 0xFF102030, 0xFF102030}));
    EXPECT_EQ(result.PaletteCount(), 3);
}

TEST(PictureConvert, EightBitIndicesStayInsideThePalette)
{
    cPicture source;
    ASSERT_TRUE(source.Create(FORMAT_INDEX8, 3, 1));
    source.Row(0)[0] = 0;
    source.Row(0)[1] = 7;
    source.Row(0)[2] = 200;
    EXPECT_EQ(Pixels(Converted(source)), (std::vector<std::uint32_t>{0xFF000000, 0xFF070707, 0xFFC8C8C8}));

    std::vector<std::uint32_t> palette(8);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = 0x010203u * std::uint32_t(i + 1);
    ASSERT_TRUE(source.SetPalette(palette.data(), 8));
    EXPECT_EQ(Pixels(Converted(source)), (std::vector<std::uint32_t>{0xFF010203, 0xFF081018, 0xFF000000}));
}

TEST(PictureConvert, DirectColourFormats)
{
    struct sCase
    {
        std::int32_t format;
        std::vector<std::uint8_t> bytes;  // one row of two pixels
        std::uint32_t first, second;
    };
    const sCase cases[] = {
        {FORMAT_RGB15, {0xFF, 0x7F, 0x1F, 0x00}, 0xFFF8F8F8, 0xFF0000F8},
        {FORMAT_RGB16, {0xE0, 0x03, 0x00, 0x7C}, 0xFF00F800, 0xFFF80000},
        {FORMAT_RGB24, {1, 2, 3, 4, 5, 6}, 0xFF030201, 0xFF060504},
        {FORMAT_RGB32, {0x33, 0x22, 0x11, 0x00, 0x33, 0x22, 0x11, 0x7F}, 0xFF112233, 0xFF112233},
        {FORMAT_ARGB32, {0x33, 0x22, 0x11, 0x00, 0x33, 0x22, 0x11, 0x7F}, 0x00112233, 0x7F112233},
    };
    for (const sCase& c : cases)
    {
        cPicture source;
        ASSERT_TRUE(source.Create(c.format, 2, 1));
        std::memcpy(source.Row(0), c.bytes.data(), c.bytes.size());
        const cPicture result = Converted(source);
        EXPECT_EQ(result.Pixel(0, 0), c.first) << "format " << std::hex << c.format;
        EXPECT_EQ(result.Pixel(1, 0), c.second) << "format " << std::hex << c.format;
    }
}

TEST(PictureConvert, CopyPixelsSameFormatCopiesRawRowsAndOtherTargetsFail)
{
    cPicture source;
    ASSERT_TRUE(source.Create(FORMAT_RGB24, 3, 2));
    for (int i = 0; i < 2; ++i)
        for (int b = 0; b < 9; ++b)
            source.Row(i)[b] = static_cast<std::uint8_t>(i * 10 + b);
    cPicture same;
    ASSERT_TRUE(same.Create(FORMAT_RGB24, 3, 2));
    ASSERT_TRUE(same.CopyPixels(source));
    EXPECT_EQ(std::memcmp(same.Row(1), source.Row(1), 9), 0);

    // Conversions only produce the working format.
    cPicture eightBit;
    ASSERT_TRUE(eightBit.Create(FORMAT_INDEX8, 3, 2));
    EXPECT_FALSE(eightBit.CopyPixels(source));
    cPicture empty;
    EXPECT_FALSE(same.CopyPixels(empty));
}

// ---- Fills and lines -------------------------------------------------------

TEST(PictureFill, UsesTheValueAccordingToThePixelSize)
{
    cPicture p16, p24, p8;
    ASSERT_TRUE(p16.Create(FORMAT_RGB15, 3, 2));
    ASSERT_TRUE(p24.Create(FORMAT_RGB24, 3, 2));
    ASSERT_TRUE(p8.Create(FORMAT_INDEX8, 3, 2));
    p16.Fill(0xAABBCCDD);
    p24.Fill(0xAABBCCDD);
    p8.Fill(0x11223344);
    EXPECT_EQ(p16.Row(1)[4], 0xDD);
    EXPECT_EQ(p16.Row(1)[5], 0xCC);
    EXPECT_EQ(p24.Row(1)[8], 0xDD);
    EXPECT_EQ(p24.Row(0)[1], 0xDD);
    EXPECT_EQ(p8.Row(1)[2], 0x44);
}

TEST(PictureLines, PlainLinesStopBeforeTheClipEdgeBlendedLinesReachIt)
{
    cPicture picture = MakePicture(5, 3, 0);
    picture.HorizontalLine(0, 0, 5, 0xFFFFFFFF);
    picture.BlendHorizontalLine(0, 1, 5, 0xFFFFFFFF);
    picture.HorizontalLine(1, 2, 3, 0xFF00FF00);
    EXPECT_EQ(Pixels(picture), (std::vector<std::uint32_t>{
                                   0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0,           //
                                   0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,  //
                                   0, 0xFF00FF00, 0xFF00FF00, 0, 0}));

    cPicture column = MakePicture(2, 4, 0);
    column.VerticalLine(0, -3, 9, 1);
    column.VerticalLine(1, 1, 3, 2);
    column.VerticalLine(7, 0, 4, 3);  // outside: nothing
    EXPECT_EQ(Pixels(column), (std::vector<std::uint32_t>{1, 0, 1, 2, 1, 2, 0, 0}));
}

TEST(PictureFill, CheckerboardCellsAndDegenerateCellSizes)
{
    cPicture picture = MakePicture(4, 4, 7);
    picture.Checkerboard(picture.Bounds(), 1, 2, 0, 2);
    picture.Checkerboard(picture.Bounds(), 1, 2, 2, -1);
    EXPECT_EQ(picture.Pixel(3, 3), 7u);  // cell sizes below 1 draw nothing

    picture.Checkerboard(Container::sRect(0, 0, 4, 3), 1, 2, 2, 1);
    EXPECT_EQ(Pixels(picture), (std::vector<std::uint32_t>{1, 1, 2, 2,  //
                                                           2, 2, 1, 1,  //
                                                           1, 1, 2, 2,  //
                                                           7, 7, 7, 7}));
}

TEST(PictureFill, GradientRectIntegerSteps)
{
    cPicture picture = MakePicture(2, 3, 0);
    picture.GradientRect(true, 0x00000000, 0xFF0000FF, picture.Bounds());
    EXPECT_EQ(Pixels(picture), (std::vector<std::uint32_t>{0, 0, 0x55000055, 0x55000055, 0xAA0000AA, 0xAA0000AA}));

    picture.GradientRect(false, 0xFF00FF00, 0x00000000, Container::sRect(0, 0, 2, 1));
    EXPECT_EQ(picture.Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(picture.Pixel(1, 0), 0x7F007F00u);
    // Partly clipped: the steps are those of the whole rectangle.
    picture.SetClip(Container::sRect(0, 2, 2, 3));
    picture.GradientRect(true, 0, 0x03030303, Container::sRect(0, 0, 2, 3));
    EXPECT_EQ(picture.Pixel(0, 2), 0x02020202u);
    EXPECT_EQ(picture.Pixel(0, 1), 0x55000055u);
}

// ---- Composition -----------------------------------------------------------

TEST(PictureCompose, NormalRuleTable)
{
    struct sCase { std::uint32_t dest, source, result; };
    const sCase cases[] = {
        {0x80112233, 0x00FFFFFF, 0x80112233},  // transparent source: nothing
        {0x00000000, 0x40AABBCC, 0x40AABBCC},  // transparent destination: exact copy
        {0x00FFFFFF, 0x01000000, 0x01000000},
        {0xFF000000, 0x80FFFFFF, 0xFF808080},  // opaque destination
        {0xFF204060, 0x40102030, 0xFF1C3854},  // negative differences truncate toward zero
        {0x80000000, 0x80FFFFFF, 0xC0AAAAAA},  // 128 over 128 gives alpha 192
        {0x40FF0000, 0xC00000FF, 0xD01400EB},
        {0x7F123456, 0xFF654321, 0xFF654321},  // opaque source replaces
    };
    for (const sCase& c : cases)
    {
        EXPECT_EQ(BlendNormal(c.dest, c.source), c.result) << std::hex << c.dest << " + " << c.source;
        cPicture target = MakePicture(1, 1, c.dest);
        const cPicture source = MakePicture(1, 1, c.source);
        target.AlphaDraw(0, 0, source, source.Bounds());
        EXPECT_EQ(target.Pixel(0, 0), c.result);
    }
}

TEST(PictureCompose, OpacityReducesTheSourceAlphaFirst)
{
    const cPicture source = MakePicture(1, 1, 0xFF0000FF);
    cPicture transparent = MakePicture(1, 1, 0);
    transparent.AlphaDraw(0, 0, source, source.Bounds(), 128);
    EXPECT_EQ(transparent.Pixel(0, 0), 0x800000FFu);
    cPicture white = MakePicture(1, 1, 0xFFFFFFFF);
    white.AlphaDraw(0, 0, source, source.Bounds(), 128);
    EXPECT_EQ(white.Pixel(0, 0), 0xFF7F7FFFu);
    white.AlphaDraw(0, 0, source, source.Bounds(), 0);
    EXPECT_EQ(white.Pixel(0, 0), 0xFF7F7FFFu);
}

TEST(PictureCompose, MaskDrawAndBlendPixelScaleTheColourAlpha)
{
    cChannel mask;
    ASSERT_TRUE(mask.Create(3, 1));
    mask.SetValue(0, 0, 0);
    mask.SetValue(1, 0, 255);
    mask.SetValue(2, 0, 128);
    cPicture picture = MakePicture(3, 1, 0);
    picture.MaskDraw(0, 0, 0xFF00FF00, mask, Container::sRect(0, 0, 3, 1));
    EXPECT_EQ(Pixels(picture), (std::vector<std::uint32_t>{0, 0xFF00FF00, 0x8000FF00}));

    cPicture untouched = MakePicture(3, 1, 0x11111111);
    untouched.MaskDraw(0, 0, 0x00FFFFFF, mask, Container::sRect(0, 0, 3, 1));  // colour alpha 0
    EXPECT_EQ(untouched.Pixel(1, 0), 0x11111111u);

    cPicture pixel = MakePicture(2, 2, 0);
    pixel.SetClip(Container::sRect(0, 0, 1, 1));
    pixel.BlendPixel(0, 0, 0xFF0000FF, 128);
    pixel.BlendPixel(1, 1, 0xFF0000FF, 255);  // outside the clip
    pixel.BlendPixel(-1, 5, 0xFF0000FF, 255);
    EXPECT_EQ(Pixels(pixel), (std::vector<std::uint32_t>{0x800000FF, 0, 0, 0}));
}

// ---- Clipping of transfers -------------------------------------------------

TEST(PictureClip, CopyRectClipsTheSourceRectangleToTheSource)
{
    const cPicture source = Numbered(4, 4);
    cPicture target = MakePicture(4, 4, 0);
    target.CopyRect(0, 0, source, Container::sRect(-2, -2, 2, 2));
    EXPECT_EQ(target.Pixel(1, 1), 0u);
    EXPECT_EQ(target.Pixel(2, 2), source.Pixel(0, 0));
    EXPECT_EQ(target.Pixel(3, 3), source.Pixel(1, 1));

    cPicture far = MakePicture(4, 4, 0);
    far.CopyRect(0, 0, source, Container::sRect(2, 3, 100, 100));  // reaches past the source
    EXPECT_EQ(far.Pixel(0, 0), source.Pixel(2, 3));
    EXPECT_EQ(far.Pixel(1, 0), source.Pixel(3, 3));
    EXPECT_EQ(far.Pixel(2, 0), 0u);
    EXPECT_EQ(far.Pixel(0, 1), 0u);

    cPicture clipped = MakePicture(4, 4, 0);
    clipped.SetClip(Container::sRect(1, 1, 3, 3));
    clipped.CopyRect(-1, -1, source, source.Bounds());
    EXPECT_EQ(Pixels(clipped), (std::vector<std::uint32_t>{0, 0, 0, 0,                                   //
                                                           0, source.Pixel(2, 2), source.Pixel(3, 2), 0,  //
                                                           0, source.Pixel(2, 3), source.Pixel(3, 3), 0,  //
                                                           0, 0, 0, 0}));
    // Far outside in both directions: nothing, no overflow.
    clipped.CopyRect(INT32_MAX - 1, INT32_MIN + 1, source, Container::sRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_EQ(clipped.Pixel(1, 1), source.Pixel(2, 2));
}

TEST(PictureClip, CopyRectWithinOnePictureOverlapping)
{
    cPicture picture = Numbered(3, 3);
    const cPicture original(picture);
    picture.CopyRect(0, 1, picture, Container::sRect(0, 0, 3, 2));
    for (int x = 0; x < 3; ++x)
    {
        EXPECT_EQ(picture.Pixel(x, 1), original.Pixel(x, 0));
        EXPECT_EQ(picture.Pixel(x, 2), original.Pixel(x, 1));
    }
}

TEST(PictureClip, AlphaDrawAndMaskDrawClipTheirSources)
{
    const cPicture source = MakePicture(2, 2, 0xFF0000FF);
    cPicture target = MakePicture(4, 4, 0);
    target.AlphaDraw(1, 1, source, Container::sRect(-1, -1, 5, 5));
    int coloured = 0;
    for (std::uint32_t p : Pixels(target))
        coloured += p == 0xFF0000FFu;
    EXPECT_EQ(coloured, 4);
    EXPECT_EQ(target.Pixel(2, 2), 0xFF0000FFu);
    EXPECT_EQ(target.Pixel(3, 3), 0xFF0000FFu);

    cChannel mask;
    ASSERT_TRUE(mask.Create(2, 2));
    std::memset(mask.Bits(), 255, static_cast<std::size_t>(mask.Stride()) * 2);
    cPicture masked = MakePicture(4, 4, 0);
    masked.MaskDraw(0, 0, 0xFFFF0000, mask, Container::sRect(-1, -1, 3, 3));
    EXPECT_EQ(masked.Pixel(0, 0), 0u);
    EXPECT_EQ(masked.Pixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(masked.Pixel(2, 2), 0xFFFF0000u);
    EXPECT_EQ(masked.Pixel(3, 3), 0u);
}

// ---- Stretching ------------------------------------------------------------

TEST(PictureStretch, NearestNeighbour)
{
    cPicture source = MakePicture(2, 2, 0);
    source.SetPixel(0, 0, 0xA);
    source.SetPixel(1, 0, 0xB);
    source.SetPixel(0, 1, 0xC);
    source.SetPixel(1, 1, 0xD);
    cPicture target = MakePicture(4, 4, 0);
    target.StretchDraw(0, target.Bounds(), source, source.Bounds());
    EXPECT_EQ(Pixels(target), (std::vector<std::uint32_t>{0xA, 0xA, 0xB, 0xB, 0xA, 0xA, 0xB, 0xB,  //
                                                          0xC, 0xC, 0xD, 0xD, 0xC, 0xC, 0xD, 0xD}));

    cPicture small = MakePicture(1, 1, 0);
    small.StretchDraw(0, small.Bounds(), source, source.Bounds());
    EXPECT_EQ(small.Pixel(0, 0), 0xAu);
}

TEST(PictureStretch, BilinearUsesQuarterFractionsAndRepeatsTheLastColumn)
{
    cPicture source = MakePicture(2, 1, 0);
    source.SetPixel(0, 0, 0xFF000000);
    source.SetPixel(1, 0, 0xFF0000FF);
    cPicture target = MakePicture(4, 1, 0);
    target.StretchDraw(1, target.Bounds(), source, source.Bounds());
    EXPECT_EQ(Pixels(target), (std::vector<std::uint32_t>{0xFF000000, 0xFF00007F, 0xFF0000FF, 0xFF0000FF}));

    cPicture tall = MakePicture(1, 2, 0);
    tall.SetPixel(0, 0, 0x00000000);
    tall.SetPixel(0, 1, 0xFFFFFFFF);
    cPicture stretched = MakePicture(1, 4, 1);
    stretched.StretchDraw(1, stretched.Bounds(), tall, tall.Bounds());
    EXPECT_EQ(Pixels(stretched), (std::vector<std::uint32_t>{0, 0x7F7F7F7F, 0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST(PictureStretch, AreaAverageWeighsColoursByAlpha)
{
    cPicture source = MakePicture(4, 1, 0);
    source.SetPixel(0, 0, 0xFFFF0000);
    source.SetPixel(1, 0, 0x0000FF00);  // transparent green must not tint
    source.SetPixel(2, 0, 0xFF0000FF);
    source.SetPixel(3, 0, 0xFF0000FF);
    cPicture target = MakePicture(2, 1, 0);
    target.StretchDraw(2, target.Bounds(), source, source.Bounds());
    EXPECT_EQ(Pixels(target), (std::vector<std::uint32_t>{0x80FF0000, 0xFF0000FF}));

    // Nothing opaque under a pixel: its colour stays, its alpha is 0.
    cPicture clear = MakePicture(2, 1, 0);
    clear.SetPixel(0, 0, 0x00FF0000);
    clear.SetPixel(1, 0, 0x0000FF00);
    cPicture one = MakePicture(1, 1, 0xFF123456);
    one.StretchDraw(2, one.Bounds(), clear, clear.Bounds());
    EXPECT_EQ(one.Pixel(0, 0), 0x00123456u);
}

TEST(PictureStretch, AreaAverageEnlargesByAlphaWeightedInterpolation)
{
    cPicture source = MakePicture(2, 1, 0);
    source.SetPixel(0, 0, 0xFF000000);
    source.SetPixel(1, 0, 0x00FFFFFF);
    cPicture target = MakePicture(4, 1, 0);
    target.StretchDraw(2, target.Bounds(), source, source.Bounds());
    EXPECT_EQ(Pixels(target), (std::vector<std::uint32_t>{0xFF000000, 0xBF000000, 0x40000000, 0x00000000}));

    // Equal sizes copy, transparent colours included.
    cPicture copy = MakePicture(2, 1, 0);
    copy.StretchDraw(2, copy.Bounds(), source, source.Bounds());
    EXPECT_EQ(Pixels(copy), Pixels(source));
}

TEST(PictureStretch, AreaAverageHasNoDestinationWidthLimit)
{
    cPicture source = MakePicture(2, 1, 0);
    source.SetPixel(0, 0, 0xFF0000FF);
    source.SetPixel(1, 0, 0xFFFF0000);
    cPicture wide = MakePicture(9000, 1, 0);
    wide.StretchDraw(2, wide.Bounds(), source, source.Bounds());
    EXPECT_EQ(wide.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(wide.Pixel(8999, 0), 0xFFFF0000u);
    EXPECT_EQ(wide.Pixel(8200, 0), 0xFFFF0000u);

    cPicture reduced = MakePicture(1, 1, 0);
    reduced.StretchDraw(2, reduced.Bounds(), wide, wide.Bounds());
    // Half blue, half red (the middle interpolated symmetrically).
    const std::uint32_t mean = reduced.Pixel(0, 0);
    EXPECT_EQ(mean & 0xFF00FF00u, 0xFF000000u);
    EXPECT_NEAR(double(mean & 0xFF), 127.5, 1.0);
    EXPECT_NEAR(double((mean >> 16) & 0xFF), 127.5, 1.0);
}

TEST(PictureStretch, SourceRectangleIsClippedAndTheTargetShrinksInProportion)
{
    const cPicture source = Numbered(2, 2);
    for (int mode = 0; mode <= 2; ++mode)
    {
        cPicture target = MakePicture(8, 2, 0);
        // The source rectangle is twice as wide as the source; its left half
        // does not exist and maps to the left half of the target.
        target.StretchDraw(mode, target.Bounds(), source, Container::sRect(-2, 0, 2, 2));
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(target.Pixel(x, 0), 0u) << "mode " << mode << " x " << x;
        EXPECT_EQ(target.Pixel(4, 0), source.Pixel(0, 0)) << "mode " << mode;
        EXPECT_EQ(target.Pixel(7, 1), source.Pixel(1, 1)) << "mode " << mode;

        cPicture none = MakePicture(2, 2, 5);
        none.StretchDraw(mode, none.Bounds(), source, Container::sRect(10, 10, 20, 20));
        none.StretchDraw(mode, Container::sRect(0, 0, 0, 2), source, source.Bounds());
        EXPECT_EQ(Pixels(none), std::vector<std::uint32_t>(4, 5));
    }
}

TEST(PictureStretch, TargetClipKeepsTheMapping)
{
    const cPicture source = Numbered(4, 1);
    cPicture full = MakePicture(8, 1, 0);
    full.StretchDraw(0, full.Bounds(), source, source.Bounds());
    cPicture clipped = MakePicture(8, 1, 0);
    clipped.SetClip(Container::sRect(3, 0, 6, 1));
    clipped.StretchDraw(0, clipped.Bounds(), source, source.Bounds());
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(clipped.Pixel(x, 0), x >= 3 && x < 6 ? full.Pixel(x, 0) : 0u) << x;
}

// ---- Alpha, bounds and geometry ----------------------------------------------

TEST(PictureAlpha, SetOpaqueAndAlphaToChannel)
{
    cPicture picture = MakePicture(3, 2, 0x10203040);
    picture.SetOpaque(Container::sRect(1, 0, 9, 1));
    EXPECT_EQ(picture.Pixel(0, 0), 0x10203040u);
    EXPECT_EQ(picture.Pixel(2, 0), 0xFF203040u);
    picture.SetPixel(0, 1, 0x7F000000);

    cChannel channel;
    ASSERT_TRUE(picture.AlphaToChannel(channel));
    EXPECT_EQ(channel.Width(), 3);
    EXPECT_EQ(channel.Value(1, 0), 0xFF);
    EXPECT_EQ(channel.Value(0, 0), 0x10);
    EXPECT_EQ(channel.Value(0, 1), 0x7F);

    picture.SetOpaque();
    EXPECT_EQ(picture.Pixel(0, 1), 0xFF000000u);
}

TEST(PictureBounds, FindContentBounds)
{
    cPicture picture = MakePicture(10, 10, 0xFFFFFFFF);
    EXPECT_EQ(picture.FindContentBounds(0xFFFFFFFF, picture.Bounds()), Container::sRect(0, 0, 0, 0));
    picture.SetPixel(2, 3, 0);
    picture.SetPixel(7, 5, 0xFEFFFFFF);
    EXPECT_EQ(picture.FindContentBounds(0xFFFFFFFF, picture.Bounds()), Container::sRect(2, 3, 8, 6));
    EXPECT_EQ(picture.FindContentBounds(0xFFFFFFFF, Container::sRect(0, 4, 100, 100)), Container::sRect(7, 5, 8, 6));
    EXPECT_EQ(picture.FindContentBounds(0xFFFFFFFF, Container::sRect(3, 0, 7, 10)), Container::sRect(0, 0, 0, 0));
    EXPECT_EQ(picture.FindContentBounds(0, picture.Bounds()), Container::sRect(0, 0, 10, 10));
}

TEST(PictureGeometry, FlipForEveryPixelSize)
{
    cPicture picture = Numbered(3, 2);
    picture.Flip(true, false);
    EXPECT_EQ(picture.Pixel(0, 0), 0xFF000002u);
    EXPECT_EQ(picture.Pixel(2, 1), 0xFF000100u);
    picture.Flip(false, true);
    EXPECT_EQ(picture.Pixel(0, 0), 0xFF000102u);

    cPicture rgb;
    ASSERT_TRUE(rgb.Create(FORMAT_RGB24, 2, 1));
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
    std::memcpy(rgb.Row(0), bytes, 6);
    rgb.Flip(true, false);
    EXPECT_EQ(rgb.Row(0)[0], 4);
    EXPECT_EQ(rgb.Row(0)[5], 3);

    cPicture nibbles;
    ASSERT_TRUE(nibbles.Create(FORMAT_INDEX4, 3, 1));
    nibbles.Row(0)[0] = 0x12;
    nibbles.Row(0)[1] = 0x30;
    nibbles.Flip(true, false);
    EXPECT_EQ(nibbles.Row(0)[0], 0x32);
    EXPECT_EQ(nibbles.Row(0)[1] & 0xF0, 0x10);
}

TEST(PictureGeometry, Rotate90BothWays)
{
    const cPicture source = Numbered(3, 2);  // (x, y) -> 0xFF0000yx
    cPicture clockwise = MakePicture(2, 3, 0);
    ASSERT_TRUE(clockwise.Rotate90(source, true));
    EXPECT_EQ(Pixels(clockwise), (std::vector<std::uint32_t>{0xFF000100, 0xFF000000, 0xFF000101, 0xFF000001,
                                                             0xFF000102, 0xFF000002}));
    cPicture counter = MakePicture(2, 3, 0);
    ASSERT_TRUE(counter.Rotate90(source, false));
    EXPECT_EQ(Pixels(counter), (std::vector<std::uint32_t>{0xFF000002, 0xFF000102, 0xFF000001, 0xFF000101,
                                                           0xFF000000, 0xFF000100}));
    cPicture wrong = MakePicture(3, 2, 0);
    EXPECT_FALSE(wrong.Rotate90(source, true));
}

TEST(PictureGeometry, EllipseCoverage)
{
    cPicture hard = MakePicture(6, 6, 0);
    hard.Ellipse(0xFF0000FF, Container::sRect(0, 0, 6, 6), false);
    EXPECT_EQ(hard.Pixel(0, 0), 0u);
    EXPECT_EQ(hard.Pixel(5, 5), 0u);
    EXPECT_EQ(hard.Pixel(2, 2), 0xFF0000FFu);
    EXPECT_EQ(hard.Pixel(0, 2), 0xFF0000FFu);
    EXPECT_EQ(hard.Pixel(5, 3), 0xFF0000FFu);

    cPicture soft = MakePicture(12, 12, 0);
    soft.Ellipse(0xFF0000FF, Container::sRect(0, 0, 12, 12), true);
    EXPECT_EQ(soft.Pixel(6, 6), 0xFF0000FFu);
    EXPECT_EQ(soft.Pixel(0, 0), 0u);
    const std::uint32_t edge = soft.Pixel(1, 2) >> 24;
    EXPECT_GT(edge, 0u);
    EXPECT_LT(edge, 255u);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
        {
            const int alpha = int(soft.Pixel(x, y) >> 24);
            EXPECT_NEAR(alpha, int(soft.Pixel(11 - x, y) >> 24), 1) << x << "," << y;
            EXPECT_NEAR(alpha, int(soft.Pixel(x, 11 - y) >> 24), 1) << x << "," << y;
            EXPECT_EQ(soft.Pixel(x, y) & 0x00FFFFFFu, alpha ? 0x0000FFu : 0u);
        }
}
