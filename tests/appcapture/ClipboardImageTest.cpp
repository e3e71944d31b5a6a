#include <gtest/gtest.h>

#include "app/capture/ClipboardImage.h"
#include "framework/painter/AlphaComposite.h"

#include <cstring>
#include <vector>

namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// 3 x 2: the top row opaque red, green, blue; the bottom row transparent,
// half-transparent black and opaque grey.
Painter::cPicture Fixture()
{
    Painter::cPicture picture;
    EXPECT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 3, 2));
    picture.SetPixel(0, 0, 0xFFFF0000u);
    picture.SetPixel(1, 0, 0xFF00FF00u);
    picture.SetPixel(2, 0, 0xFF0000FFu);
    picture.SetPixel(0, 1, 0x00123456u);
    picture.SetPixel(1, 1, 0x80000000u);
    picture.SetPixel(2, 1, 0xFF808080u);
    return picture;
}

} // namespace

TEST(ClipboardImage, DibIsTwentyFourBitsOnWhiteBottomRowFirstWithPaddedRows)
{
    const Painter::cPicture picture = Fixture();
    std::vector<std::uint8_t> dib;
    ASSERT_TRUE(cClipboardImage::MakeDib(picture, dib));
    const std::size_t rowSize = 12; // 3 pixels x 3 bytes = 9, padded to 12
    ASSERT_EQ(dib.size(), 40u + 2 * rowSize);
    EXPECT_EQ(Read32(dib, 0), 40u);
    EXPECT_EQ(Read32(dib, 4), 3u);
    EXPECT_EQ(Read32(dib, 8), 2u); // positive height: bottom-up
    EXPECT_EQ(Read16(dib, 12), 1u);
    EXPECT_EQ(Read16(dib, 14), 24u);
    EXPECT_EQ(Read32(dib, 16), 0u); // BI_RGB
    EXPECT_EQ(Read32(dib, 20), 2 * rowSize);
    for (std::size_t at = 24; at < 40; ++at)
        EXPECT_EQ(dib[at], 0) << at;

    const std::uint32_t half = Painter::BlendNormal(0xFFFFFFFFu, 0x80000000u) & 0xFF;
    const std::vector<std::uint8_t> bottom = {255, 255, 255, std::uint8_t(half), std::uint8_t(half),
                                              std::uint8_t(half), 0x80, 0x80, 0x80, 0, 0, 0};
    const std::vector<std::uint8_t> top = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(dib.begin() + 40, dib.begin() + 52), bottom);
    EXPECT_EQ(std::vector<std::uint8_t>(dib.begin() + 52, dib.end()), top);
    EXPECT_GT(half, 100u);
    EXPECT_LT(half, 160u);
}

TEST(ClipboardImage, DibV5KeepsTheStoredPixelsWithAlpha)
{
    const Painter::cPicture picture = Fixture();
    std::vector<std::uint8_t> v5;
    ASSERT_TRUE(cClipboardImage::MakeDibV5(picture, v5));
    ASSERT_EQ(v5.size(), 124u + 3 * 2 * 4);
    EXPECT_EQ(Read32(v5, 0), 124u);
    EXPECT_EQ(Read32(v5, 4), 3u);
    EXPECT_EQ(Read32(v5, 8), 2u);
    EXPECT_EQ(Read16(v5, 12), 1u);
    EXPECT_EQ(Read16(v5, 14), 32u);
    EXPECT_EQ(Read32(v5, 16), 0u);
    EXPECT_EQ(Read32(v5, 20), 24u);
    // Masks, colour space, end points, gamma, intent, profile: all zero.
    for (std::size_t at = 24; at < 124; ++at)
        EXPECT_EQ(v5[at], 0) << at;
    // Bottom row first, then the top row, pixel bytes as stored.
    const std::uint32_t expected[] = {0x00123456u, 0x80000000u, 0xFF808080u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Read32(v5, 124 + 4 * i), expected[i]) << i;
}

TEST(ClipboardImage, RefusesAnEmptyPictureAndLeavesTheBytesAlone)
{
    Painter::cPicture empty;
    std::vector<std::uint8_t> bytes = {1, 2, 3};
    EXPECT_FALSE(cClipboardImage::MakeDib(empty, bytes));
    EXPECT_FALSE(cClipboardImage::MakeDibV5(empty, bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(ClipboardImage, RowPaddingForEveryWidthModuloFour)
{
    for (int width = 1; width <= 8; ++width) {
        Painter::cPicture picture;
        ASSERT_TRUE(picture.Create(Painter::FORMAT_ARGB32, width, 3));
        picture.Fill(0xFF102030u);
        std::vector<std::uint8_t> dib;
        ASSERT_TRUE(cClipboardImage::MakeDib(picture, dib));
        const std::size_t rowSize = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(dib.size(), 40 + 3 * rowSize) << width;
        EXPECT_EQ(Read32(dib, 20), 3 * rowSize) << width;
        // The padding bytes are zero, the pixels are there.
        for (int row = 0; row < 3; ++row) {
            const std::size_t start = 40 + row * rowSize;
            EXPECT_EQ(dib[start], 0x30);
            EXPECT_EQ(dib[start + 2], 0x10);
            for (std::size_t at = start + width * 3; at < start + rowSize; ++at)
                EXPECT_EQ(dib[at], 0) << width;
        }
    }
}

TEST(ClipboardImage, WritingInPlaceGivesTheSameBlocksWhateverTheMemoryHeld)
{
    // Clipboard memory is written in place: every byte, padding and unused
    // header fields included, must come out as in the block made here, even
    // when the memory held something else before.
    Painter::cPicture picture;
    ASSERT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 5, 3));
    picture.Fill(0x80FF8040u);
    picture.SetPixel(1, 1, 0xFF010203u);
    struct sCase
    {
        const char* name;
        bool (*make)(const Painter::cPicture&, std::vector<std::uint8_t>&);
        std::uint64_t (*size)(const Painter::cPicture&);
        bool (*write)(const Painter::cPicture&, std::uint8_t*, std::uint64_t);
    };
    const sCase cases[] = {
        {"CF_DIB", cClipboardImage::MakeDib, cClipboardImage::DibSize, cClipboardImage::WriteDib},
        {"CF_DIBV5", cClipboardImage::MakeDibV5, cClipboardImage::DibV5Size, cClipboardImage::WriteDibV5},
    };
    for (const sCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> made;
        ASSERT_TRUE(c.make(picture, made));
        const std::uint64_t size = c.size(picture);
        ASSERT_EQ(size, made.size());
        std::vector<std::uint8_t> block(size, 0xAA);
        ASSERT_TRUE(c.write(picture, block.data(), size));
        EXPECT_EQ(block, made);

        // A block of another size, or none, is refused and left alone.
        std::vector<std::uint8_t> small(size - 1, 0xAA);
        EXPECT_FALSE(c.write(picture, small.data(), small.size()));
        EXPECT_EQ(small, std::vector<std::uint8_t>(size - 1, 0xAA));
        EXPECT_FALSE(c.write(picture, nullptr, size));
        EXPECT_EQ(c.size(Painter::cPicture()), 0u);
    }
}
