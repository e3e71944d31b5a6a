#include <gtest/gtest.h>

#include <cstring>

#include "framework/painter/Picture.h"
#include "framework/picturefile/TGAFile.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace PictureFileTest;
using PictureFile::cTGAFile;

namespace {

// An 18-byte header followed by whatever the case adds.
std::vector<std::uint8_t> TgaHeader(int type, int depth, int width, int height, int descriptor, int idLength = 0,
                                    int mapType = 0, int mapFirst = 0, int mapLength = 0, int mapBits = 0)
{
    std::vector<std::uint8_t> b(18, 0);
    b[0] = std::uint8_t(idLength);
    b[1] = std::uint8_t(mapType);
    b[2] = std::uint8_t(type);
    b[3] = std::uint8_t(mapFirst);
    b[4] = std::uint8_t(mapFirst >> 8);
    b[5] = std::uint8_t(mapLength);
    b[6] = std::uint8_t(mapLength >> 8);
    b[7] = std::uint8_t(mapBits);
    b[12] = std::uint8_t(width);
    b[13] = std::uint8_t(width >> 8);
    b[14] = std::uint8_t(height);
    b[15] = std::uint8_t(height >> 8);
    b[16] = std::uint8_t(depth);
    b[17] = std::uint8_t(descriptor);
    return b;
}

bool LoadBytes(const std::vector<std::uint8_t>& bytes, Painter::cPicture& picture)
{
    cTGAFile file;
    return file.LoadFromMemory(picture, bytes.data(), bytes.size());
}

} // namespace

TEST(TgaFile, DefaultSaveOfACaptureIsRunLengthTopLeftWithTheIdentification)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakePattern(Painter::FORMAT_ARGB32, 6, 4);
    cTGAFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"c.tga")));
    const auto bytes = ReadBytes(FileIn(folder, u"c.tga"));
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[0], 12);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 10);
    EXPECT_EQ(bytes[5] | bytes[6] << 8, 256);
    EXPECT_EQ(bytes[7], 24);
    EXPECT_EQ(bytes[12], 6);
    EXPECT_EQ(bytes[14], 4);
    EXPECT_EQ(bytes[16], 32);
    EXPECT_EQ(bytes[17], 0x20);
    EXPECT_EQ(std::string(bytes.begin() + 18, bytes.begin() + 30), "Brimvale-TGA");
}

TEST(TgaFile, RunLengthPacketsOfOneRow)
{
    struct sCase { std::vector<std::uint8_t> pixels; std::vector<std::uint8_t> packets; };
    const sCase cases[] = {
        {{7, 7, 7, 7}, {0x83, 7}},
        {{1, 2, 1}, {0x01, 1, 2, 0x00, 1}},
        {{5}, {0x00, 5}},
        {{1, 2, 3, 3, 3}, {0x02, 1, 2, 3, 0x81, 3}},
        {{4, 4, 9}, {0x81, 4, 0x00, 9}},
    };
    for (const sCase& c : cases)
    {
        std::vector<std::uint8_t> out;
        cTGAFile::EncodeRow(c.pixels.data(), c.pixels.size(), 1, out);
        EXPECT_EQ(out, c.packets);
    }
    // Packets hold at most 128 pixels.
    std::vector<std::uint8_t> same(130, 0xAB);
    std::vector<std::uint8_t> out;
    cTGAFile::EncodeRow(same.data(), same.size(), 1, out);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xFF, 0xAB, 0x81, 0xAB}));
    std::vector<std::uint8_t> ramp(200);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = std::uint8_t(i);
    out.clear();
    cTGAFile::EncodeRow(ramp.data(), ramp.size(), 1, out);
    ASSERT_EQ(out.size(), 202u);
    EXPECT_EQ(out[0], 127);
    EXPECT_EQ(out[129], 71);
}

TEST(TgaFile, RoundTripOfEveryDepthRawAndRunLength)
{
    Testing::cTempFolder folder;
    for (const std::int32_t format : {Painter::FORMAT_INDEX8, Painter::FORMAT_RGB16, Painter::FORMAT_RGB24,
                                      Painter::FORMAT_ARGB32})
        for (const int compression : {0, 100})
        {
            SCOPED_TRACE(testing::Message() << std::hex << format << " rle " << compression);
            Painter::cPicture picture = MakePattern(format, 37, 5);
            // Runs as well as noise.
            std::memset(picture.Row(2), 0x5A, std::size_t(picture.Stride()));
            std::uint32_t palette[256];
            for (std::uint32_t i = 0; i < 256; ++i)
                palette[i] = 0xFF000000u | (i * 0x010203u & 0xFFFFFF);
            if (format == Painter::FORMAT_INDEX8)
                picture.SetPalette(palette, 256);
            cTGAFile file;
            file.SaveOptions().o3 = compression;
            ASSERT_TRUE(file.Save(picture, FileIn(folder, u"r.tga")));
            const auto bytes = ReadBytes(FileIn(folder, u"r.tga"));
            EXPECT_EQ(bytes[2], (format == Painter::FORMAT_INDEX8 ? 1 : 2) + (compression ? 8 : 0));
            Painter::cPicture back;
            ASSERT_TRUE(file.Load(back, FileIn(folder, u"r.tga")));
            // 32-bit files carry no attribute bits, so they read as RGB32.
            EXPECT_EQ(back.Format(), format == Painter::FORMAT_ARGB32 ? Painter::FORMAT_RGB32 : format);
            const std::size_t rowBytes = std::size_t(37 * Painter::FormatBits(format) / 8);
            for (int y = 0; y < 5; ++y)
                EXPECT_EQ(0, std::memcmp(back.Row(y), picture.Row(y), rowBytes)) << y;
            if (format == Painter::FORMAT_INDEX8)
            {
                ASSERT_EQ(back.PaletteCount(), 256);
                EXPECT_EQ(back.Palette()[200], palette[200]);
            }
        }
}

TEST(TgaFile, SaveRefusesOtherDepthsWithoutCreatingAFile)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakePattern(Painter::FORMAT_INDEX4, 4, 4);
    cTGAFile file;
    EXPECT_FALSE(file.Save(picture, FileIn(folder, u"x.tga")));
    EXPECT_FALSE(file.Save(Painter::cPicture(), FileIn(folder, u"y.tga")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(TgaFile, OriginBitsAndDepths)
{
    // 2 x 2, rows stored bottom first (descriptor 0), top first (0x20),
    // right to left (0x10).
    const std::uint8_t rows[2][6] = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};    // as stored
    for (const int descriptor : {0x00, 0x20, 0x10, 0x30})
    {
        auto bytes = TgaHeader(2, 24, 2, 2, descriptor);
        bytes.insert(bytes.end(), rows[0], rows[0] + 6);
        bytes.insert(bytes.end(), rows[1], rows[1] + 6);
        Painter::cPicture picture;
        ASSERT_TRUE(LoadBytes(bytes, picture)) << descriptor;
        const int topStored = (descriptor & 0x20) ? 0 : 1;
        const bool mirrored = (descriptor & 0x10) != 0;
        const std::uint8_t* top = rows[topStored];
        const std::uint8_t* left = mirrored ? top + 3 : top;
        EXPECT_EQ(Bgr(picture, 0, 0), std::uint32_t(left[0] | left[1] << 8 | left[2] << 16)) << descriptor;
    }

    // 15-bit colour map entries; first index 10.
    auto bytes = TgaHeader(1, 8, 2, 1, 0x20, 0, 1, 10, 2, 15);
    for (const std::uint8_t v : {0x1F, 0x00, 0x00, 0x7C})    // blue, red
        bytes.push_back(v);
    bytes.push_back(10);
    bytes.push_back(11);
    Painter::cPicture picture;
    ASSERT_TRUE(LoadBytes(bytes, picture));
    ASSERT_EQ(picture.PaletteCount(), 256);
    EXPECT_EQ(picture.Palette()[10], 0xFF0000F8u);
    EXPECT_EQ(picture.Palette()[11], 0xFFF80000u);
    EXPECT_EQ(picture.Palette()[0], 0u);

    // 32 bits with 8 attribute bits is ARGB32; grey is an 8-bit ramp.
    bytes = TgaHeader(2, 32, 1, 1, 0x28);
    bytes.insert(bytes.end(), {1, 2, 3, 4});
    ASSERT_TRUE(LoadBytes(bytes, picture));
    EXPECT_EQ(picture.Format(), Painter::FORMAT_ARGB32);
    EXPECT_EQ(picture.Pixel(0, 0), 0x04030201u);
    bytes = TgaHeader(3, 8, 1, 1, 0x20);
    bytes.push_back(77);
    ASSERT_TRUE(LoadBytes(bytes, picture));
    EXPECT_EQ(picture.Palette()[77], 0xFF4D4D4Du);
}

TEST(TgaFile, RunLengthPacketsMayCrossRows)
{
    // 3 x 2 pixels, 8-bit grey: one run of 4 then a raw packet of 2.
    auto bytes = TgaHeader(11, 8, 3, 2, 0x20);
    bytes.insert(bytes.end(), {0x83, 9, 0x01, 5, 6});
    Painter::cPicture picture;
    ASSERT_TRUE(LoadBytes(bytes, picture));
    EXPECT_EQ(std::vector<std::uint8_t>(picture.Row(0), picture.Row(0) + 3), (std::vector<std::uint8_t>{9, 9, 9}));
    EXPECT_EQ(std::vector<std::uint8_t>(picture.Row(1), picture.Row(1) + 3), (std::vector<std::uint8_t>{9, 5, 6}));
    // A packet running past the last pixel is cut there.
    bytes = TgaHeader(11, 8, 3, 2, 0x20);
    bytes.insert(bytes.end(), {0xFF, 1});
    EXPECT_TRUE(LoadBytes(bytes, picture));
}

TEST(TgaFile, RejectsHostileFiles)
{
    struct sCase { const char* what; std::vector<std::uint8_t> bytes; };
    auto with = [](std::vector<std::uint8_t> header, std::vector<std::uint8_t> tail) {
        header.insert(header.end(), tail.begin(), tail.end());
        return header;
    };
    const sCase cases[] = {
        {"depth 12", with(TgaHeader(2, 12, 1, 1, 0), {1, 2})},
        {"depth 0", with(TgaHeader(2, 0, 1, 1, 0), {1, 2})},
        {"type 32", with(TgaHeader(32, 24, 1, 1, 0), {1, 2, 3})},
        {"type 0", with(TgaHeader(0, 24, 1, 1, 0), {1, 2, 3})},
        {"map beyond 256", with(TgaHeader(1, 8, 1, 1, 0, 0, 1, 200, 100, 24), std::vector<std::uint8_t>(301, 0))},
        {"map longer than the file", with(TgaHeader(1, 8, 1, 1, 0, 0, 1, 0, 256, 24), {1, 2, 3})},
        {"map entry size 12", with(TgaHeader(1, 8, 1, 1, 0, 0, 1, 0, 1, 12), {1, 2, 3})},
        {"indices without a map", with(TgaHeader(1, 8, 1, 1, 0), {1})},
        {"identification past the end", with(TgaHeader(2, 24, 1, 1, 0, 200), {1, 2, 3})},
        {"raw rows cut short", with(TgaHeader(2, 24, 2, 2, 0), {1, 2, 3, 4, 5, 6, 7})},
        {"run-length data cut short", with(TgaHeader(10, 24, 2, 2, 0), {0x83, 1, 2})},
        {"raw packet cut short", with(TgaHeader(10, 24, 4, 1, 0), {0x03, 1, 2, 3, 4, 5, 6})},
        {"zero width", with(TgaHeader(2, 24, 0, 1, 0), {1, 2, 3})},
        {"header only", TgaHeader(2, 24, 1, 1, 0)},
    };
    for (const sCase& c : cases)
    {
        Painter::cPicture picture;
        EXPECT_FALSE(LoadBytes(c.bytes, picture)) << c.what;
        EXPECT_TRUE(picture.IsEmpty()) << c.what;
    }
}

TEST(TgaFile, EveryPrefixOfAFileIsReadSafely)
{
    Testing::cTempFolder folder;
    Painter::cPicture source = MakePattern(Painter::FORMAT_INDEX8, 9, 4);
    cTGAFile file;
    ASSERT_TRUE(file.Save(source, FileIn(folder, u"p.tga")));
    const auto bytes = ReadBytes(FileIn(folder, u"p.tga"));
    for (std::size_t size = 0; size < bytes.size(); ++size)
    {
        std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        Painter::cPicture picture;
        EXPECT_FALSE(file.LoadFromMemory(picture, prefix.data(), prefix.size())) << size;
    }
}

TEST(TgaFile, GetInfoAndShortFiles)
{
    Testing::cTempFolder folder;
    auto bytes = TgaHeader(2, 32, 300, 200, 0x08);
    WriteBytes(FileIn(folder, u"i.tga"), bytes);
    cTGAFile file;
    PictureFile::sPictureInfo info;
    ASSERT_TRUE(file.GetInfo(info, FileIn(folder, u"i.tga")));
    EXPECT_EQ(info.width, 300);
    EXPECT_EQ(info.height, 200);
    EXPECT_EQ(info.format, Painter::FORMAT_ARGB32);
    bytes.resize(17);
    WriteBytes(FileIn(folder, u"s.tga"), bytes);
    EXPECT_FALSE(file.GetInfo(info, FileIn(folder, u"s.tga")));
    Painter::cPicture picture;
    EXPECT_FALSE(file.Load(picture, FileIn(folder, u"s.tga")));
    WriteBytes(FileIn(folder, u"e.tga"), {});
    EXPECT_FALSE(file.Load(picture, FileIn(folder, u"e.tga")));
}

TEST(TgaFile, RunLengthHeadersCannotClaimMorePixelsThanTheDataHolds)
{
    // Found by fuzzing: 39 bytes announcing 25185 x 30313 32-bit pixels.
    const std::vector<std::uint8_t> bytes = {
        0x00, 0x00, 0x0a, 0x00, 0x4e, 0x31, 0x30, 0x5f, 0x5f, 0x63, 0x78, 0x78, 0x61, 0x62, 0x69, 0x76, 0x20, 0x08, 0x87,
        0x00, 0x00, 0xff, 0xff, 0x87, 0x33, 0x00, 0xcc, 0x99, 0xff, 0x87, 0xcc, 0x00, 0x33, 0xff, 0x87, 0xff, 0x00, 0x00, 0xff};
    Painter::cPicture picture;
    EXPECT_FALSE(LoadBytes(bytes, picture));
    // The bound still lets a large, highly compressible picture through.
    auto rle = TgaHeader(10, 24, 1024, 64, 0x20);
    for (int i = 0; i < 1024 * 64 / 128; ++i)
        rle.insert(rle.end(), {0xFF, 1, 2, 3});
    ASSERT_TRUE(LoadBytes(rle, picture));
    EXPECT_EQ(picture.Height(), 64);
}
