#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace PictureFileTest;
using PictureFile::cBitmapFile;

namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A BMP file as other programs write it: an information header of
// headerSize bytes, an optional colour table of paletteCount entries
// (colour i = 0x00iiii * 3-ish), rows of pattern bytes.
struct sBmpLayout
{
    int bits = 24;
    int width = 5;
    int height = 3;            // negative: top row first
    std::uint32_t headerSize = 40;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    int paletteCount = 0;
    std::vector<std::uint32_t> masks;   // bit-field masks after a 40-byte header
};

std::vector<std::uint8_t> MakeBmp(const sBmpLayout& layout, std::vector<std::uint8_t>* rowsTopFirst = nullptr)
{
    const int height = layout.height < 0 ? -layout.height : layout.height;
    const std::size_t rowBytes = std::size_t((layout.width * layout.bits + 7) / 8);
    const std::size_t stride = (rowBytes + 3) & ~std::size_t(3);
    const std::size_t masksBytes = layout.headerSize == 40 ? layout.masks.size() * 4 : 0;
    const std::size_t offset = 14 + layout.headerSize + masksBytes + std::size_t(layout.paletteCount) * 4;
    std::vector<std::uint8_t> b(offset + stride * std::size_t(height), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, std::uint32_t(b.size()));
    Put32(b, 10, std::uint32_t(offset));
    Put32(b, 14, layout.headerSize);
    Put32(b, 18, std::uint32_t(layout.width));
    Put32(b, 22, std::uint32_t(layout.height));
    Put16(b, 26, 1);
    Put16(b, 28, std::uint32_t(layout.bits));
    Put32(b, 30, layout.compression);
    Put32(b, 46, layout.coloursUsed);
    for (std::size_t i = 0; i < layout.masks.size(); ++i)
        Put32(b, 14 + 40 + 4 * i, layout.masks[i]);
    const std::size_t palette = 14 + layout.headerSize + masksBytes;
    for (int i = 0; i < layout.paletteCount; ++i)
        Put32(b, palette + 4 * std::size_t(i), 0x00102030u * std::uint32_t(i + 1) & 0x00FFFFFFu);
    if (rowsTopFirst)
        rowsTopFirst->clear();
    for (int y = 0; y < height; ++y)    // y: picture row, top first
    {
        const int fileRow = layout.height < 0 ? y : height - 1 - y;
        for (std::size_t i = 0; i < rowBytes; ++i)
        {
            std::uint8_t v = std::uint8_t(i * 11 + std::size_t(y) * 37 + 5);
            if (layout.bits == 32 && i % 4 == 3)
                v = 0;    // no alpha in the file
            b[offset + stride * std::size_t(fileRow) + i] = v;
            if (rowsTopFirst)
                rowsTopFirst->push_back(v);
        }
    }
    return b;
}

} // namespace

TEST(BitmapFile, WritesTheDocumentedLayoutForA3x2Picture)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakePattern(Painter::FORMAT_RGB24, 3, 2);
    cBitmapFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"a.bmp")));
    const auto bytes = ReadBytes(FileIn(folder, u"a.bmp"));
    ASSERT_EQ(bytes.size(), 78u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[2], 78);
    EXPECT_EQ(bytes[10], 54);
    EXPECT_EQ(bytes[14], 40);
    EXPECT_EQ(bytes[18], 3);
    EXPECT_EQ(bytes[22], 2);     // positive height: bottom row first
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(bytes[34], 24);    // image size 2 x 12
    // bottom row first, each row 9 pixel bytes and 3 zero bytes
    EXPECT_EQ(0, std::memcmp(bytes.data() + 54, picture.Row(1), 9));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 66, picture.Row(0), 9));
    for (int i : {63, 64, 65, 75, 76, 77})
        EXPECT_EQ(bytes[std::size_t(i)], 0) << i;
}

TEST(BitmapFile, RoundTripKeepsEveryByte)
{
    Testing::cTempFolder folder;
    struct sCase { std::int32_t format; int width; int height; };
    for (const sCase c : {sCase{Painter::FORMAT_RGB24, 1, 1}, sCase{Painter::FORMAT_RGB24, 7, 5},
                          sCase{Painter::FORMAT_ARGB32, 9, 4}, sCase{Painter::FORMAT_RGB16, 5, 3}})
    {
        SCOPED_TRACE(c.format);
        Painter::cPicture picture = MakePattern(c.format, c.width, c.height);
        cBitmapFile file;
        ASSERT_TRUE(file.Save(picture, FileIn(folder, u"r.bmp")));
        Painter::cPicture back;
        ASSERT_TRUE(file.Load(back, FileIn(folder, u"r.bmp")));
        ASSERT_EQ(back.Format(), c.format == Painter::FORMAT_RGB16 ? Painter::FORMAT_RGB16 : c.format);
        ASSERT_EQ(back.Width(), c.width);
        ASSERT_EQ(back.Height(), c.height);
        const int bytes = c.width * Painter::FormatBits(c.format) / 8;
        for (int y = 0; y < c.height; ++y)
            EXPECT_EQ(0, std::memcmp(back.Row(y), picture.Row(y), std::size_t(bytes))) << y;
    }
}

TEST(BitmapFile, IndexedPicturesRoundTripWithTheirPalette)
{
    Testing::cTempFolder folder;
    for (const std::int32_t format : {Painter::FORMAT_INDEX4, Painter::FORMAT_INDEX8})
    {
        Painter::cPicture picture = MakePattern(format, 5, 3);
        const std::uint32_t palette[3] = {0x00112233, 0x00445566, 0x00778899};
        picture.SetPalette(palette, 3);
        cBitmapFile file;
        ASSERT_TRUE(file.Save(picture, FileIn(folder, u"i.bmp")));
        const auto bytes = ReadBytes(FileIn(folder, u"i.bmp"));
        const int entries = format == Painter::FORMAT_INDEX4 ? 16 : 256;
        // 4-bit rows: (5 x 4 + 7) / 8 = 3 bytes, padded to 4
        const std::size_t stride = format == Painter::FORMAT_INDEX4 ? 4 : 8;
        EXPECT_EQ(bytes.size(), 54u + 4u * std::size_t(entries) + 3 * stride);
        Painter::cPicture back;
        ASSERT_TRUE(file.Load(back, FileIn(folder, u"i.bmp")));
        ASSERT_EQ(back.Format(), format);
        ASSERT_EQ(back.PaletteCount(), entries);
        EXPECT_EQ(back.Palette()[1], 0x00445566u);
        EXPECT_EQ(back.Palette()[entries - 1], 0u);
        const std::size_t rowBytes = format == Painter::FORMAT_INDEX4 ? 2 : 5;    // whole bytes
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(0, std::memcmp(back.Row(y), picture.Row(y), rowBytes));
    }
}

TEST(BitmapFile, AlphaRepairOnlyWhenEveryFourthByteIsZero)
{
    Testing::cTempFolder folder;
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, 4, 2);
    picture.Fill(0x00336699);
    cBitmapFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"a.bmp")));
    Painter::cPicture back;
    ASSERT_TRUE(file.Load(back, FileIn(folder, u"a.bmp")));
    EXPECT_EQ(back.Pixel(3, 1), 0xFF336699u);

    picture.SetPixel(2, 1, 0x10336699);
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"b.bmp")));
    ASSERT_TRUE(file.Load(back, FileIn(folder, u"b.bmp")));
    EXPECT_EQ(back.Pixel(0, 0), 0x00336699u);
    EXPECT_EQ(back.Pixel(2, 1), 0x10336699u);

    // LoadFromMemory keeps the bytes as they are
    const auto bytes = ReadBytes(FileIn(folder, u"a.bmp"));
    ASSERT_TRUE(file.LoadFromMemory(back, bytes.data(), bytes.size()));
    EXPECT_EQ(back.Pixel(3, 1), 0x00336699u);
}

TEST(BitmapFile, ReadsFilesOfEveryDepthHeaderAndRowOrder)
{
    struct sCase { int bits; int height; std::uint32_t headerSize; int paletteCount; std::uint32_t used; };
    const sCase cases[] = {
        {1, 3, 40, 2, 0},   {1, -3, 124, 2, 2}, {4, 3, 40, 16, 0},  {4, -3, 108, 16, 0},
        {4, 3, 40, 3, 3},   {8, 3, 40, 256, 0}, {8, -2, 124, 4, 4}, {8, 3, 108, 256, 0},
        {16, 3, 40, 0, 0},  {16, -3, 40, 0, 0}, {24, 3, 40, 0, 0},  {24, -4, 124, 0, 0},
        {32, 3, 40, 0, 0},  {32, -3, 108, 0, 0},
    };
    for (const sCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, height " << c.height << ", header " << c.headerSize);
        sBmpLayout layout;
        layout.bits = c.bits;
        layout.height = c.height;
        layout.headerSize = c.headerSize;
        layout.paletteCount = c.paletteCount;
        layout.coloursUsed = c.used;
        std::vector<std::uint8_t> rows;
        const auto bytes = MakeBmp(layout, &rows);
        Testing::cTempFolder folder;
        WriteBytes(FileIn(folder, u"x.bmp"), bytes);
        cBitmapFile file;
        Painter::cPicture picture;
        ASSERT_TRUE(file.Load(picture, FileIn(folder, u"x.bmp")));
        const int height = c.height < 0 ? -c.height : c.height;
        ASSERT_EQ(picture.Width(), 5);
        ASSERT_EQ(picture.Height(), height);
        const std::size_t rowBytes = rows.size() / std::size_t(height);
        for (int y = 0; y < height; ++y)
        {
            const std::uint8_t* expected = rows.data() + rowBytes * std::size_t(y);
            if (c.bits == 1)
            {
                for (int x = 0; x < 5; ++x)
                    EXPECT_EQ(picture.Row(y)[x], (expected[0] >> (7 - x)) & 1) << y << "," << x;
            }
            else if (c.bits == 32)
            {
                for (int x = 0; x < 5; ++x)
                    EXPECT_EQ(picture.Pixel(x, y) & 0xFFFFFFu, std::uint32_t(expected[4 * x] | expected[4 * x + 1] << 8 | expected[4 * x + 2] << 16));
                EXPECT_EQ(picture.Pixel(0, y) >> 24, 255u);
            }
            else
            {
                EXPECT_EQ(0, std::memcmp(picture.Row(y), expected, rowBytes)) << y;
            }
        }
        if (c.bits <= 8)
        {
            // palette after the real header size, always 2^bits entries
            ASSERT_EQ(picture.PaletteCount(), c.bits == 4 ? 16 : 256);
            EXPECT_EQ(picture.Palette()[0] & 0xFFFFFF, 0x102030u);
            EXPECT_EQ(picture.Palette()[1] & 0xFFFFFF, 0x204060u);
            if (c.paletteCount < (1 << c.bits))
            {
                EXPECT_EQ(picture.Palette()[c.paletteCount], 0u);
            }
        }
    }
}

TEST(BitmapFile, GetInfoReportsSizeAndFormat)
{
    Testing::cTempFolder folder;
    sBmpLayout layout;
    layout.bits = 32;
    layout.height = -3;
    WriteBytes(FileIn(folder, u"x.bmp"), MakeBmp(layout));
    cBitmapFile file;
    PictureFile::sPictureInfo info;
    ASSERT_TRUE(file.GetInfo(info, FileIn(folder, u"x.bmp")));
    EXPECT_EQ(info.width, 5);
    EXPECT_EQ(info.height, -3);
    EXPECT_EQ(info.format, Painter::FORMAT_ARGB32);
    WriteBytes(FileIn(folder, u"y.bmp"), {'B', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0});
    EXPECT_FALSE(file.GetInfo(info, FileIn(folder, u"y.bmp")));
}

TEST(BitmapFile, BitFieldsOnlyWithTheStandardMasks)
{
    Testing::cTempFolder folder;
    struct sCase { int bits; std::vector<std::uint32_t> masks; bool ok; };
    const sCase cases[] = {
        {32, {0x00FF0000, 0x0000FF00, 0x000000FF}, true},
        {16, {0x7C00, 0x03E0, 0x001F}, true},
        {16, {0xF800, 0x07E0, 0x001F}, false},    // 5-6-5
        {32, {0x000000FF, 0x0000FF00, 0x00FF0000}, false},
    };
    for (const sCase& c : cases)
    {
        sBmpLayout layout;
        layout.bits = c.bits;
        layout.compression = 3;
        layout.masks = c.masks;
        WriteBytes(FileIn(folder, u"m.bmp"), MakeBmp(layout));
        cBitmapFile file;
        Painter::cPicture picture;
        EXPECT_EQ(file.Load(picture, FileIn(folder, u"m.bmp")), c.ok) << c.bits << " " << c.masks[0];
    }
}

TEST(BitmapFile, RejectsHostileHeaders)
{
    Testing::cTempFolder folder;
    auto load = [&](const std::vector<std::uint8_t>& bytes) {
        WriteBytes(FileIn(folder, u"h.bmp"), bytes);
        cBitmapFile file;
        Painter::cPicture picture;
        const bool fromFile = file.Load(picture, FileIn(folder, u"h.bmp"));
        Painter::cPicture other;
        const bool fromMemory = file.LoadFromMemory(other, bytes.data(), bytes.size());
        return fromFile || fromMemory;
    };
    sBmpLayout layout;
    const auto good = MakeBmp(layout);
    ASSERT_TRUE(load(good));

    auto bad = good;
    Put32(bad, 30, 1);    // run-length compression
    EXPECT_FALSE(load(bad));
    bad = good;
    Put32(bad, 22, std::uint32_t(INT_MIN));
    EXPECT_FALSE(load(bad));
    bad = good;
    Put32(bad, 18, 0);
    EXPECT_FALSE(load(bad));
    bad = good;
    Put32(bad, 18, 0x7FFFFFFF);
    EXPECT_FALSE(load(bad));
    bad = good;
    Put16(bad, 28, 12);
    EXPECT_FALSE(load(bad));
    bad = good;
    Put32(bad, 10, 0xFFFFFFF0u);    // pixel data far beyond the end
    EXPECT_FALSE(load(bad));
    bad = good;
    bad.resize(bad.size() - 4);     // last row cut short
    EXPECT_FALSE(load(bad));

    // An 8-bit file claiming a million colours: clamped to 256 and bounded.
    sBmpLayout indexed;
    indexed.bits = 8;
    indexed.paletteCount = 256;
    indexed.coloursUsed = 1000000;
    EXPECT_TRUE(load(MakeBmp(indexed)));
}

TEST(BitmapFile, LoadFromMemoryNeverReadsPastItsSize)
{
    sBmpLayout layout;
    layout.bits = 8;
    layout.paletteCount = 256;
    const auto bytes = MakeBmp(layout);
    cBitmapFile file;
    // Every prefix lives in its own exact-size block, so the sanitizer sees
    // any read beyond it.
    for (std::size_t size = 0; size <= bytes.size(); ++size)
    {
        std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        Painter::cPicture picture;
        // The last row may lack its padding (5 pixel bytes of 8).
        EXPECT_EQ(file.LoadFromMemory(picture, prefix.data(), prefix.size()), size >= bytes.size() - 3) << size;
    }
    Painter::cPicture picture;
    sBmpLayout four;
    four.bits = 4;
    four.paletteCount = 16;
    const auto fourBit = MakeBmp(four);
    EXPECT_FALSE(file.LoadFromMemory(picture, fourBit.data(), fourBit.size()));
}

TEST(BitmapFile, FailedLoadLeavesThePictureAlone)
{
    Testing::cTempFolder folder;
    Painter::cPicture picture = MakePattern(Painter::FORMAT_ARGB32, 2, 2);
    WriteBytes(FileIn(folder, u"bad.bmp"), {'B', 'M', 1, 2, 3});
    cBitmapFile file;
    EXPECT_FALSE(file.Load(picture, FileIn(folder, u"bad.bmp")));
    EXPECT_FALSE(file.Load(picture, FileIn(folder, u"missing.bmp")));
    EXPECT_EQ(picture.Width(), 2);
    EXPECT_FALSE(picture.IsEmpty());
}

TEST(BitmapFile, SaveFailsForEmptyPicturesAndMissingFolders)
{
    Testing::cTempFolder folder;
    cBitmapFile file;
    Painter::cPicture empty;
    EXPECT_FALSE(file.Save(empty, FileIn(folder, u"e.bmp")));
    EXPECT_FALSE(std::filesystem::exists(FileIn(folder, u"e.bmp")));
    const Painter::cPicture picture = MakePattern(Painter::FORMAT_ARGB32, 3, 3);
    EXPECT_FALSE(file.Save(picture, FileIn(folder, u"no/such/folder.bmp")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}
