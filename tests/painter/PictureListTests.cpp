#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "framework/painter/PictureList.h"

using namespace Painter;

TEST(PictureList, SplitStripCutsFourteenEqualPieces)
{
    cPicture strip;
    ASSERT_TRUE(strip.Create(FORMAT_ARGB32, 100, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 100; ++x)
            strip.SetPixel(x, y, 0xFF000000u | std::uint32_t(y) << 8 | std::uint32_t(x));

    cPictureList list;
    ASSERT_TRUE(list.SplitStrip(strip));
    ASSERT_EQ(list.Count(), 14);
    for (int i = 0; i < 14; ++i)
    {
        const cPicture* piece = list[i];
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->Format(), FORMAT_ARGB32);
        EXPECT_EQ(piece->Width(), 7);
        EXPECT_EQ(piece->Height(), 3);
        EXPECT_EQ(piece->Pixel(0, 0), strip.Pixel(i * 7, 0));
        EXPECT_EQ(piece->Pixel(6, 2), strip.Pixel(i * 7 + 6, 2));
    }
    // Columns 98 and 99 are not used; a second strip appends.
    EXPECT_EQ(list[13]->Pixel(6, 0), strip.Pixel(97, 0));
    ASSERT_TRUE(list.SplitStrip(strip));
    EXPECT_EQ(list.Count(), 28);
    EXPECT_EQ(list[14]->Pixel(0, 0), strip.Pixel(0, 0));
    EXPECT_EQ(list.Get(28), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
}

TEST(PictureList, NarrowOrEmptyStripsAddNothing)
{
    cPictureList list;
    cPicture narrow;
    ASSERT_TRUE(narrow.Create(FORMAT_ARGB32, 13, 2));
    EXPECT_FALSE(list.SplitStrip(narrow));
    EXPECT_FALSE(list.SplitStrip(cPicture()));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Append(nullptr));
    EXPECT_TRUE(list.Append(std::make_unique<cPicture>()));
    EXPECT_EQ(list.Count(), 1);
}

TEST(PictureList, StripsInOtherFormatsAreConverted)
{
    cPicture strip;
    ASSERT_TRUE(strip.Create(FORMAT_RGB24, 28, 1));
    for (int x = 0; x < 28; ++x)
    {
        strip.Row(0)[3 * x] = std::uint8_t(x);
        strip.Row(0)[3 * x + 1] = 0;
        strip.Row(0)[3 * x + 2] = 0;
    }
    cPictureList list;
    ASSERT_TRUE(list.SplitStrip(strip));
    ASSERT_EQ(list.Count(), 14);
    EXPECT_EQ(list[5]->Width(), 2);
    EXPECT_EQ(list[5]->Pixel(1, 0), 0xFF00000Bu);
}
