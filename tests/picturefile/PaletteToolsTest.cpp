// The palette tools of the codec layer: greyscale weights, alpha
// stripping, nearest colour, octree quantizer, error diffusion and the
// whole reduction with its transparent entry.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "framework/picturefile/codec/OctreeQuantizer.h"
#include "framework/picturefile/codec/PaletteTools.h"
#include "tests/picturefile/CodecTestSupport.h"

using PictureFile::cCodecImage;
using PictureFile::cOctreeQuantizer;
using PictureFile::cPaletteTools;
using PictureFile::sIndexedImage;
using PictureFile::sPaletteOptions;

namespace {

cCodecImage Filled(int width, int height, std::uint32_t colour)
{
    cCodecImage image;
    image.Create(width, height);
    for (int y = 0; y < height; ++y)
        std::fill(image.Row(y), image.Row(y) + width, colour);
    return image;
}

cCodecImage FromPicture(const Painter::cPicture& picture)
{
    cCodecImage image;
    image.Create(picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
        std::copy(picture.Row32(y), picture.Row32(y) + picture.Width(), image.Row(y));
    return image;
}

TEST(PaletteTools, GreyUsesTheTenBitWeights)
{
    EXPECT_EQ(cPaletteTools::Grey(0xFFFF0000u), (306 * 255) >> 10);
    EXPECT_EQ(cPaletteTools::Grey(0xFF00FF00u), (601 * 255) >> 10);
    EXPECT_EQ(cPaletteTools::Grey(0xFF0000FFu), (117 * 255) >> 10);
    EXPECT_EQ(cPaletteTools::Grey(0xFFFFFFFFu), 255);
    EXPECT_EQ(cPaletteTools::Grey(0x00102030u), (117 * 0x30 + 601 * 0x20 + 306 * 0x10) >> 10);
}

TEST(PaletteTools, StripAlphaDividesBy255Exactly)
{
    const std::uint32_t white = 0xFFFFFF;
    EXPECT_EQ(cPaletteTools::StripAlpha(0x00123456u, white), 0xFFFFFFFFu);
    EXPECT_EQ(cPaletteTools::StripAlpha(0xFF123456u, white), 0xFF123456u);
    // Black at alpha 128 over white: (255 x 127 + 127) / 255 = 127.
    EXPECT_EQ(cPaletteTools::StripAlpha(0x80000000u, white), 0xFF7F7F7Fu);
    // Every alpha of a channel of 255 over a key of 255 stays 255 (a shift
    // by 8 would lose one).
    for (unsigned a = 0; a < 256; ++a)
        ASSERT_EQ(cPaletteTools::StripAlpha((a << 24) | 0xFFFFFF, white), 0xFFFFFFFFu) << a;
    EXPECT_EQ(cPaletteTools::StripAlpha(0x01FFFFFFu, 0x000000), 0xFF010101u);
}

TEST(PaletteTools, NearestIndexPicksTheClosestAndSkips)
{
    const std::uint32_t palette[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00};
    EXPECT_EQ(cPaletteTools::NearestIndex(palette, 4, 0xFFEE1010u), 2);
    EXPECT_EQ(cPaletteTools::NearestIndex(palette, 4, 0xFF101010u), 0);
    // Skipping black: red and green are equally far, the first wins.
    EXPECT_EQ(cPaletteTools::NearestIndex(palette, 4, 0xFF101010u, 0), 2);
    EXPECT_EQ(cPaletteTools::NearestIndex(palette, 4, 0xFFF0F0F0u), 1);
}

TEST(PaletteTools, UniformPaletteHasTheCountAskedFor)
{
    for (int count : {1, 2, 4, 8, 16, 26, 255, 256})
    {
        const auto palette = cPaletteTools::UniformPalette(count);
        EXPECT_EQ(int(palette.size()), count);
        EXPECT_EQ(int(std::set<std::uint32_t>(palette.begin(), palette.end()).size()), count) << count;
    }
    const auto two = cPaletteTools::UniformPalette(2);
    EXPECT_EQ(two[0], 0x000000u);
    EXPECT_EQ(two[1], 0xFFFFFFu);
}

TEST(OctreeQuantizer, KeepsFewColoursExactly)
{
    cOctreeQuantizer quantizer(256, 8);
    const std::uint32_t colours[] = {0xFF000000u, 0xFF000001u, 0xFF808080u, 0xFFFFFFFEu, 0xFF123456u};
    for (int i = 0; i < 100; ++i)
        quantizer.AddColour(colours[i % 5]);
    auto palette = quantizer.Palette();
    std::sort(palette.begin(), palette.end());
    EXPECT_EQ(palette, (std::vector<std::uint32_t>{0x000000, 0x000001, 0x123456, 0x808080, 0xFFFFFE}));
}

TEST(OctreeQuantizer, ReducesToTheColourCount)
{
    const cCodecImage image = FromPicture(CodecTest::MakeScreen(200, 120));
    for (int count : {1, 2, 16, 26, 255})
    {
        cOctreeQuantizer quantizer(count, 8);
        ASSERT_TRUE(quantizer.AddPixels(image.View(), false));
        const auto palette = quantizer.Palette();
        EXPECT_GE(int(palette.size()), 1);
        EXPECT_LE(int(palette.size()), count);
    }
    // Two clusters of colours end up as their two means.
    cOctreeQuantizer two(2, 8);
    for (int i = 0; i < 10; ++i)
    {
        two.AddColour(0xFF000000u | std::uint32_t(i));           // blues 0..9
        two.AddColour(0xFFFF0000u | std::uint32_t(i) << 8);      // reds with a little green
    }
    auto palette = two.Palette();
    std::sort(palette.begin(), palette.end());
    ASSERT_EQ(palette.size(), 2u);
    EXPECT_EQ(palette[0], 0x000005u);    // (0+..+9)/10 rounded
    EXPECT_EQ(palette[1], 0xFF0500u);
}

TEST(PaletteTools, ReduceOpaquePictureHasNoTransparentEntry)
{
    const cCodecImage image = FromPicture(CodecTest::MakeScreen(64, 40, true));
    sIndexedImage indexed;
    ASSERT_TRUE(cPaletteTools::Reduce(image.View(), sPaletteOptions{}, indexed));
    EXPECT_EQ(indexed.transparentIndex, -1);
    EXPECT_EQ(indexed.palette.size(), 256u);
    // Few colours: mapped exactly.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(indexed.palette[indexed.indices[std::size_t(y) * 64 + x]], image.Row(y)[x] & 0xFFFFFF);
    // The unused entries are zero.
    for (int i = indexed.colourCount; i < 256; ++i)
        EXPECT_EQ(indexed.palette[i], 0u);
}

TEST(PaletteTools, OnlyFullyTransparentPixelsGetTheKeyEntry)
{
    // White pixels, some fully transparent, some half transparent; the key
    // is white too.
    cCodecImage image = Filled(8, 4, 0xFFFFFFFFu);
    image.Row(0)[0] = 0x00FFFFFFu;
    image.Row(1)[1] = 0x00000000u;
    image.Row(2)[2] = 0x80000000u;    // half-transparent black
    image.Row(3)[3] = 0x01FFFFFFu;    // almost transparent, still visible
    sPaletteOptions options;
    options.keyColour = 0xFFFFFF;
    sIndexedImage indexed;
    ASSERT_TRUE(cPaletteTools::Reduce(image.View(), options, indexed));
    ASSERT_GE(indexed.transparentIndex, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
        {
            const bool transparent = (image.Row(y)[x] >> 24) == 0;
            EXPECT_EQ(indexed.indices[std::size_t(y) * 8 + x] == indexed.transparentIndex, transparent) << x << "," << y;
        }
    // The key entry's colour is unique in the palette though white is also
    // a visible colour.
    const std::uint32_t key = indexed.palette[indexed.transparentIndex];
    for (int i = 0; i < indexed.colourCount; ++i)
        if (i != indexed.transparentIndex)
        {
            EXPECT_NE(indexed.palette[i], key);
        }
    // The half-transparent black was blended with the key.
    EXPECT_EQ(indexed.palette[indexed.indices[2 * 8 + 2]], 0x7F7F7Fu);
}

TEST(PaletteTools, WithoutKeepTransparencyAlphaIsIgnored)
{
    cCodecImage image = Filled(4, 4, 0x00336699u);
    sPaletteOptions options;
    options.keepTransparency = false;
    sIndexedImage indexed;
    ASSERT_TRUE(cPaletteTools::Reduce(image.View(), options, indexed));
    EXPECT_EQ(indexed.transparentIndex, -1);
    EXPECT_EQ(indexed.palette[indexed.indices[0]], 0x336699u);
}

TEST(PaletteTools, ErrorDiffusionKeepsTheMeanLevel)
{
    // Mid grey on a black-and-white palette: without diffusion every pixel
    // goes to one side, with Floyd-Steinberg about half are white.
    const cCodecImage image = Filled(64, 64, 0xFF808080u);
    const std::vector<std::uint32_t> blackAndWhite = {0x000000, 0xFFFFFF};
    sIndexedImage plain, diffused;
    ASSERT_TRUE(cPaletteTools::MapToPalette(image.View(), blackAndWhite, 1, false, -1, plain));
    ASSERT_TRUE(cPaletteTools::MapToPalette(image.View(), blackAndWhite, 1, true, -1, diffused));
    ASSERT_EQ(diffused.palette.size(), 2u);
    const auto whites = [](const sIndexedImage& indexed) {
        return std::count_if(indexed.indices.begin(), indexed.indices.end(),
                             [&](std::uint8_t i) { return indexed.palette[i] == 0xFFFFFFu; });
    };
    const auto plainWhites = whites(plain);
    EXPECT_TRUE(plainWhites == 0 || plainWhites == 64 * 64);
    EXPECT_NEAR(double(whites(diffused)) / (64 * 64), 128.0 / 255.0, 0.02);
}

TEST(PaletteTools, ReduceHonoursBitsAndColours)
{
    const cCodecImage image = FromPicture(CodecTest::MakeTranslucent(80, 50));
    for (int bits = 1; bits <= 8; ++bits)
    {
        sPaletteOptions options;
        options.bits = bits;
        options.colours = 26;
        sIndexedImage indexed;
        ASSERT_TRUE(cPaletteTools::Reduce(image.View(), options, indexed));
        EXPECT_EQ(indexed.palette.size(), std::size_t(1) << bits);
        EXPECT_LE(indexed.colourCount, std::min(26, 1 << bits));
        EXPECT_GE(indexed.transparentIndex, 0);
        for (std::uint8_t index : indexed.indices)
            ASSERT_LT(index, indexed.colourCount);
    }
}

} // namespace
