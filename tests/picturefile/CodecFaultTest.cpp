// Failure paths of the codec layer: unwritable types, failed writes, the
// GIF palette options, tiny JPEG 2000 pictures and hostile file headers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <filesystem>
#include <string>
#include <vector>

#include <gif_lib.h>

#include "framework/painter/Picture.h"
#include "framework/picturefile/CodecFile.h"
#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/GifCodec.h"
#include "framework/picturefile/codec/IcoCodec.h"
#include "framework/picturefile/codec/Jpeg2000Codec.h"
#include "framework/picturefile/codec/PaletteTools.h"
#include "framework/picturefile/codec/PcxCodec.h"
#include "framework/picturefile/codec/PgxCodec.h"
#include "framework/picturefile/codec/PngCodec.h"
#include "framework/picturefile/codec/PnmCodec.h"
#include "framework/picturefile/codec/RasCodec.h"
#include "framework/picturefile/codec/SkaCodec.h"
#include "tests/picturefile/CodecTestSupport.h"

using PictureFile::cCodecFile;
using PictureFile::cCodecImage;
using CodecTest::PathIn;
using CodecTest::PixelOf;

namespace {

namespace fs = std::filesystem;

int FilesIn(const fs::path& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++count;
    return count;
}

TEST(CodecFileType, ExtensionsMapToTheirTypes)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"bmp", 1}, {u"GIF", 2}, {u"png", 4}, {u"Ico", 5}, {u"tif", 6}, {u"tga", 7}, {u"pcx", 8},
        {u"wbmp", 9}, {u"wmf", 10}, {u"EMF", 10}, {u"jp2", 11}, {u"j2k", 11}, {u"jpc", 12}, {u"j2c", 12},
        {u"pgx", 13}, {u"pnm", 14}, {u"pgm", 14}, {u"ppm", 14}, {u"ras", 15}, {u"ska", 18}, {u"psd", 20},
        {u"tiff", 0}, {u"jpg", 0}, {u"", 0}, {u"C:\\shots\\a.PNG", 4}, {u"/tmp/x.b/shot", 0}, {u"shot.ska", 18},
    };
    for (const auto& [text, type] : cases)
        EXPECT_EQ(cCodecFile::CodecTypeOf(text), type) << fs::path(std::u16string(text)).string();
}

TEST(CodecFileSave, UnwritableTypesCreateNoFile)
{
    Testing::cTempFolder temp;
    const Painter::cPicture picture = CodecTest::MakeScreen(8, 8);
    for (const char16_t* extension : {u"wmf", u"emf", u"psd", u"wbmp", u"tif"})
    {
        const std::u16string path = PathIn(temp, u"shot." + std::u16string(extension));
        cCodecFile file(cCodecFile::CodecTypeOf(extension));
        EXPECT_FALSE(file.Save(picture, path.c_str()));
        EXPECT_FALSE(cCodecFile::CanWrite(cCodecFile::CodecTypeOf(extension)));
    }
    EXPECT_EQ(FilesIn(temp.Path()), 0);

    // An existing file of that name stays as it was.
    const std::u16string existing = PathIn(temp, u"keep.psd");
    CodecTest::WriteBytes(existing, {1, 2, 3});
    cCodecFile file(cCodecFile::TypePsd);
    EXPECT_FALSE(file.Save(picture, existing.c_str()));
    EXPECT_EQ(CodecTest::ReadBytes(existing), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(FilesIn(temp.Path()), 1);
}

TEST(CodecFileSave, MissingFolderFailsAndLeavesNothing)
{
    Testing::cTempFolder temp;
    const Painter::cPicture picture = CodecTest::MakeScreen(8, 8);
    for (const char16_t* extension : {u"png", u"gif", u"jp2", u"pcx", u"ska", u"ico"})
    {
        const std::u16string path = PathIn(temp, u"missing/shot." + std::u16string(extension));
        cCodecFile file(cCodecFile::CodecTypeOf(extension));
        EXPECT_FALSE(file.Save(picture, path.c_str()));
    }
    EXPECT_EQ(FilesIn(temp.Path()), 0);
}

TEST(CodecFileSave, EmptyPictureFailsAndKeepsTheOldFile)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"old.png");
    CodecTest::WriteBytes(path, {9, 9});
    Painter::cPicture empty;
    cCodecFile file(cCodecFile::TypePng);
    EXPECT_FALSE(file.Save(empty, path.c_str()));
    EXPECT_EQ(CodecTest::ReadBytes(path), (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(FilesIn(temp.Path()), 1);
}

// A sink that refuses everything after a number of bytes, as a full disk
// would.
class cFailingSink : public PictureFile::cByteSink
{
public:
    explicit cFailingSink(std::size_t limit) : m_limit(limit) {}

protected:
    bool DoWrite(const void*, std::size_t size) override
    {
        if (m_written + size > m_limit)
            return false;
        m_written += size;
        return true;
    }

private:
    std::size_t m_limit;
    std::size_t m_written = 0;
};

TEST(CodecEncoders, EveryEncoderReportsAFailedWrite)
{
    const Painter::cPicture picture = CodecTest::MakeTranslucent(40, 30);
    cCodecImage image;
    ASSERT_TRUE(image.Create(40, 30));
    for (int y = 0; y < 30; ++y)
        std::memcpy(image.Row(y), picture.Row32(y), 40 * 4);
    const PictureFile::sPixelView view = image.View();
    PictureFile::sIndexedImage indexed;
    ASSERT_TRUE(PictureFile::cPaletteTools::Reduce(view, PictureFile::sPaletteOptions{}, indexed));

    using Encoder = bool (*)(const PictureFile::sPixelView&, const PictureFile::sIndexedImage&, PictureFile::cByteSink&);
    const std::pair<const char*, Encoder> encoders[] = {
        {"png", [](const auto& v, const auto&, auto& s) { return PictureFile::cPngCodec::Encode(v, s); }},
        {"png interlaced", [](const auto& v, const auto&, auto& s) { return PictureFile::cPngCodec::Encode(v, s, true); }},
        {"gif", [](const auto&, const auto& i, auto& s) { return PictureFile::cGifCodec::Encode(i, s); }},
        {"ska", [](const auto&, const auto& i, auto& s) { return PictureFile::cSkaCodec::Encode(i, s); }},
        {"ico", [](const auto& v, const auto&, auto& s) { return PictureFile::cIcoCodec::Encode(v, s); }},
        {"pcx", [](const auto& v, const auto&, auto& s) { return PictureFile::cPcxCodec::Encode(v, s); }},
        {"pgx", [](const auto& v, const auto&, auto& s) { return PictureFile::cPgxCodec::Encode(v, s); }},
        {"pnm", [](const auto& v, const auto&, auto& s) { return PictureFile::cPnmCodec::Encode(v, s, false); }},
        {"ras", [](const auto& v, const auto&, auto& s) { return PictureFile::cRasCodec::Encode(v, s); }},
        {"jp2", [](const auto& v, const auto&, auto& s) { return PictureFile::cJpeg2000Codec::Encode(v, s, true); }},
    };
    for (const auto& [name, encode] : encoders)
    {
        PictureFile::cMemorySink whole;
        ASSERT_TRUE(encode(view, indexed, whole)) << name;
        const std::size_t size = whole.Bytes().size();
        for (std::size_t limit : {std::size_t(0), std::size_t(5), size / 2, size - 1})
        {
            cFailingSink failing(limit);
            EXPECT_FALSE(encode(view, indexed, failing)) << name << " cut at " << limit;
        }
        cFailingSink enough(size);
        EXPECT_TRUE(encode(view, indexed, enough)) << name;
    }
}

// ---- GIF with the palette options ----------------------------------------

struct sGifFacts
{
    int colourResolution = 0;
    int colourCount = 0;
    int transparentIndex = -1;
    std::vector<std::uint8_t> indices;
    std::vector<GifColorType> colours;
};

// Reads a GIF with giflib itself.
bool ReadGif(const std::u16string& path, sGifFacts& facts)
{
    const std::string name = fs::path(path).string();
    int error = 0;
    GifFileType* gif = DGifOpenFileName(name.c_str(), &error);
    if (!gif)
        return false;
    const bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1;
    if (ok)
    {
        const ColorMapObject* map = gif->SColorMap ? gif->SColorMap : gif->SavedImages[0].ImageDesc.ColorMap;
        facts.colourCount = map ? map->ColorCount : 0;
        facts.colourResolution = map ? map->BitsPerPixel : 0;
        if (map)
            facts.colours.assign(map->Colors, map->Colors + map->ColorCount);
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, 0, &control) == GIF_OK)
            facts.transparentIndex = control.TransparentColor;
        const SavedImage& image = gif->SavedImages[0];
        facts.indices.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
    }
    DGifCloseFile(gif, &error);
    return ok;
}

TEST(CodecGif, DefaultOptionsGiveOneEightBitFrame)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"shot.gif");
    // Many more colours than a GIF holds.
    const Painter::cPicture picture = CodecTest::MakeScreen(160, 120);
    cCodecFile file(cCodecFile::TypeGif);
    ASSERT_EQ(file.SaveOptions().o0, 24);
    ASSERT_TRUE(file.Save(picture, path.c_str()));
    sGifFacts facts;
    ASSERT_TRUE(ReadGif(path, facts));
    EXPECT_EQ(facts.colourCount, 256);
    EXPECT_EQ(facts.transparentIndex, -1);    // opaque picture: no transparent entry
    const auto bytes = CodecTest::ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF87a");

    // Read back, the flat areas are within a few levels of their source
    // (an octree colour is the mean of its leaf).
    Painter::cPicture loaded;
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    ASSERT_EQ(loaded.Format(), Painter::FORMAT_RGB24);
    const auto near = [](std::uint32_t a, std::uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)) > 4)
                return false;
        return true;
    };
    EXPECT_PRED2(near, PixelOf(loaded, 5, 2), picture.Pixel(5, 2));
    EXPECT_PRED2(near, PixelOf(loaded, 150, 110), picture.Pixel(150, 110));
}

TEST(CodecGif, TransparentEntryOnlyForFullyTransparentPixels)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"alpha.gif");
    const Painter::cPicture picture = CodecTest::MakeTranslucent(60, 40);
    cCodecFile file(cCodecFile::TypeGif);
    ASSERT_TRUE(file.Save(picture, path.c_str()));
    sGifFacts facts;
    ASSERT_TRUE(ReadGif(path, facts));
    ASSERT_GE(facts.transparentIndex, 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(facts.indices[std::size_t(y) * 60 + x] == facts.transparentIndex,
                      (picture.Pixel(x, y) >> 24) == 0)
                << x << "," << y;
    // The key's colour (white, the default) appears nowhere else.
    const GifColorType key = facts.colours[facts.transparentIndex];
    for (int i = 0; i < facts.colourCount; ++i)
        if (i != facts.transparentIndex)
        {
            EXPECT_FALSE(facts.colours[i].Red == key.Red && facts.colours[i].Green == key.Green &&
                         facts.colours[i].Blue == key.Blue)
                << i;
        }
}

TEST(CodecGif, SmallDepthHonoursBitsAndColours)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"four.gif");
    const Painter::cPicture picture = CodecTest::MakeScreen(50, 50);
    cCodecFile file(cCodecFile::TypeGif);
    file.SaveOptions().o0 = 4;
    file.SaveOptions().o1 = 10;
    file.SaveOptions().o2 = 1;
    ASSERT_TRUE(file.Save(picture, path.c_str()));
    sGifFacts facts;
    ASSERT_TRUE(ReadGif(path, facts));
    // At most 10 colours (the octree may fold into fewer), in the
    // smallest table that holds them.
    EXPECT_LE(facts.colourCount, 16);
    EXPECT_GE(facts.colourCount, 2);
    for (std::uint8_t index : facts.indices)
    {
        ASSERT_LT(index, 10);
        ASSERT_LT(index, facts.colourCount);
    }
}

TEST(CodecGif, ZeroKeyMeansTwoTwoTwo)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"key.gif");
    Painter::cPicture picture = CodecTest::MakeScreen(10, 10, true);
    picture.SetPixel(3, 3, 0x00000000u);
    cCodecFile file(cCodecFile::TypeGif);
    file.SaveOptions().o5 = 0;
    ASSERT_TRUE(file.Save(picture, path.c_str()));
    sGifFacts facts;
    ASSERT_TRUE(ReadGif(path, facts));
    ASSERT_GE(facts.transparentIndex, 0);
    const GifColorType key = facts.colours[facts.transparentIndex];
    EXPECT_EQ(key.Red, 2);
    EXPECT_EQ(key.Green, 2);
    EXPECT_EQ(key.Blue, 2);
    Painter::cPicture loaded;
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    ASSERT_EQ(loaded.Format(), Painter::FORMAT_ARGB32);
    EXPECT_EQ(loaded.Pixel(3, 3) >> 24, 0u);
    EXPECT_EQ(loaded.Pixel(4, 3), picture.Pixel(4, 3));
}

TEST(CodecSka, AlwaysEightBitsWithAFullPalette)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"shot.ska");
    const Painter::cPicture picture = CodecTest::MakeScreen(100, 60);
    cCodecFile file(cCodecFile::TypeSka);
    file.SaveOptions().o0 = 1;    // forced to 8 bits anyway
    ASSERT_TRUE(file.Save(picture, path.c_str()));
    const auto bytes = CodecTest::ReadBytes(path);
    ASSERT_EQ(bytes.size(), PictureFile::cSkaCodec::HeaderSize + 100 * 60);
    EXPECT_EQ(bytes[4], 3);
    std::set<std::uint8_t> used(bytes.begin() + PictureFile::cSkaCodec::HeaderSize, bytes.end());
    EXPECT_GT(used.size(), 16u);
}

// A 3 x 2 file laid out by hand as other programs write it: the 9-byte
// header, 256 palette entries of red, green, blue, then the indices.
TEST(CodecSka, ReadsAndWritesTheLayoutOtherProgramsRead)
{
    std::vector<std::uint8_t> file = {3, 0, 2, 0, 3, 0xDE, 0xAD, 0xBE, 0xEF};    // the last field is ignored
    file.resize(9 + 768, 0);
    const std::uint8_t entries[3][3] = {{0x10, 0x20, 0x30}, {0xFF, 0x00, 0x80}, {0x01, 0x02, 0x03}};
    for (int i = 0; i < 3; ++i)
        std::memcpy(&file[9 + 3 * i], entries[i], 3);
    for (std::uint8_t index : {0, 1, 2, 2, 1, 0})
        file.push_back(index);
    ASSERT_EQ(file.size(), PictureFile::cSkaCodec::HeaderSize + 6);

    cCodecImage image;
    ASSERT_TRUE(PictureFile::cSkaCodec::Decode(file.data(), file.size(), image));
    ASSERT_EQ(image.Width(), 3);
    ASSERT_EQ(image.Height(), 2);
    EXPECT_FALSE(image.HasAlpha());
    const std::uint32_t expected[2][3] = {{0xFF102030u, 0xFFFF0080u, 0xFF010203u},
                                          {0xFF010203u, 0xFFFF0080u, 0xFF102030u}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.Row(y)[x], expected[y][x]) << x << "," << y;

    // Written back from the same palette picture, the bytes are the same
    // but for the ignored field (no transparent entry: 0).
    PictureFile::sIndexedImage indexed;
    indexed.width = 3;
    indexed.height = 2;
    indexed.indices = {0, 1, 2, 2, 1, 0};
    indexed.palette.assign(256, 0);
    indexed.palette[0] = 0x102030u;
    indexed.palette[1] = 0xFF0080u;
    indexed.palette[2] = 0x010203u;
    indexed.colourCount = 3;
    PictureFile::cMemorySink sink;
    ASSERT_TRUE(PictureFile::cSkaCodec::Encode(indexed, sink));
    std::vector<std::uint8_t> expectedBytes = file;
    std::memset(&expectedBytes[5], 0, 4);
    EXPECT_EQ(sink.Bytes(), expectedBytes);
    // Our transparent entry travels in the ignored field; a foreign value
    // there beyond the palette means none.
    indexed.transparentIndex = 1;
    PictureFile::cMemorySink withKey;
    ASSERT_TRUE(PictureFile::cSkaCodec::Encode(indexed, withKey));
    EXPECT_EQ(withKey.Bytes()[5], 2);
    cCodecImage keyed;
    ASSERT_TRUE(PictureFile::cSkaCodec::Decode(withKey.Bytes().data(), withKey.Bytes().size(), keyed));
    EXPECT_TRUE(keyed.HasAlpha());
    EXPECT_EQ(keyed.Row(0)[1] >> 24, 0u);
    EXPECT_EQ(keyed.Row(0)[0] >> 24, 255u);
}

TEST(CodecPgx, IsGreyscale)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"shot.pgx");
    Painter::cPicture picture = CodecTest::MakeScreen(7, 3);
    picture.SetPixel(0, 0, 0xFFFF0000u);
    cCodecFile file(cCodecFile::TypePgx);
    ASSERT_TRUE(file.Save(picture, path.c_str()));
    const auto bytes = CodecTest::ReadBytes(path);
    const std::string header = "PG ML + 8 7 3\n";
    ASSERT_EQ(bytes.size(), header.size() + 21);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + std::ptrdiff_t(header.size())), header);
    EXPECT_EQ(bytes[header.size()], (306 * 255) >> 10);
}

TEST(CodecJpeg2000, ResolutionsFollowTheSize)
{
    EXPECT_EQ(PictureFile::cJpeg2000Codec::ResolutionsFor(1, 1), 1);
    EXPECT_EQ(PictureFile::cJpeg2000Codec::ResolutionsFor(3, 5), 2);
    EXPECT_EQ(PictureFile::cJpeg2000Codec::ResolutionsFor(31, 400), 5);
    EXPECT_EQ(PictureFile::cJpeg2000Codec::ResolutionsFor(32, 32), 6);
    EXPECT_EQ(PictureFile::cJpeg2000Codec::ResolutionsFor(3840, 2160), 6);
}

TEST(CodecPng, InterlacedOptionWritesAdam7)
{
    Testing::cTempFolder temp;
    const std::u16string path = PathIn(temp, u"interlaced.png");
    const Painter::cPicture picture = CodecTest::MakeTranslucent(33, 17);
    cCodecFile file(cCodecFile::TypePng);
    file.SaveOptions().o9 = 1;
    ASSERT_TRUE(file.Save(picture, path.c_str()));
    const auto bytes = CodecTest::ReadBytes(path);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes[28], 1);    // IHDR interlace method
    Painter::cPicture loaded;
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(loaded.Pixel(x, y), picture.Pixel(x, y));
}

TEST(CodecPng, OpaquePictureIsWrittenAsRgb)
{
    Testing::cTempFolder temp;
    const std::u16string opaque = PathIn(temp, u"opaque.png"), translucent = PathIn(temp, u"alpha.png");
    cCodecFile file(cCodecFile::TypePng);
    ASSERT_TRUE(file.Save(CodecTest::MakeScreen(20, 10), opaque.c_str()));
    ASSERT_TRUE(file.Save(CodecTest::MakeTranslucent(20, 10), translucent.c_str()));
    EXPECT_EQ(CodecTest::ReadBytes(opaque)[25], 2);         // colour type RGB
    EXPECT_EQ(CodecTest::ReadBytes(translucent)[25], 6);    // RGBA
}

// ---- hostile input -------------------------------------------------------

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TEST(CodecDecoders, HugeDeclaredSizesAreRefusedBeforeAllocating)
{
    cCodecImage image;
    // Netpbm with a 32767 x 32767 header and no pixels.
    for (const char* text : {"P6\n32767 32767\n255\n", "P5 32767 32767 255 ", "P3 32767 32767 255\n1 2 3",
                             "P4 32767 32767\n", "P1 40000 1\n0", "P7\nWIDTH 32767\nHEIGHT 32767\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"})
    {
        const auto bytes = Bytes(text);
        EXPECT_FALSE(PictureFile::cPnmCodec::Decode(bytes.data(), bytes.size(), image)) << text;
    }
    const auto pgx = Bytes("PG ML + 8 32767 32767\n");
    EXPECT_FALSE(PictureFile::cPgxCodec::Decode(pgx.data(), pgx.size(), image));
    const auto pgxDeep = Bytes("PG ML + 17 1 1\nabcd");
    EXPECT_FALSE(PictureFile::cPgxCodec::Decode(pgxDeep.data(), pgxDeep.size(), image));

    // PCX: 65535 x 65535 and 32767 x 32767 with a short body.
    std::vector<std::uint8_t> pcx(200, 0);
    pcx[0] = 0x0A; pcx[1] = 5; pcx[2] = 1; pcx[3] = 8; pcx[65] = 3;
    pcx[8] = 0xFF; pcx[9] = 0x7F; pcx[10] = 0xFF; pcx[11] = 0x7F;    // 32768 x 32768
    pcx[66] = 0x00; pcx[67] = 0x80;
    EXPECT_FALSE(PictureFile::cPcxCodec::Decode(pcx.data(), pcx.size(), image));
    pcx[8] = 0xFE; pcx[10] = 0xFE;                                    // 32767 x 32767
    EXPECT_FALSE(PictureFile::cPcxCodec::Decode(pcx.data(), pcx.size(), image));

    // Sun raster with a huge size and a short body.
    std::vector<std::uint8_t> ras = {0x59, 0xA6, 0x6A, 0x95, 0, 0, 0x7F, 0xFF, 0, 0, 0x7F, 0xFF, 0, 0, 0, 24,
                                     0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x11};
    EXPECT_FALSE(PictureFile::cRasCodec::Decode(ras.data(), ras.size(), image));

    // SKA whose pixel block is missing.
    std::vector<std::uint8_t> ska(PictureFile::cSkaCodec::HeaderSize + 10, 0);
    ska[0] = 0xFF; ska[1] = 0x7F; ska[2] = 0xFF; ska[3] = 0x7F; ska[4] = 3;
    EXPECT_FALSE(PictureFile::cSkaCodec::Decode(ska.data(), ska.size(), image));
    EXPECT_TRUE(image.IsEmpty());
}

TEST(CodecDecoders, TruncatedFilesFail)
{
    const Painter::cPicture picture = CodecTest::MakeTranslucent(30, 20);
    cCodecImage source;
    ASSERT_TRUE(source.Create(30, 20));
    for (int y = 0; y < 20; ++y)
        std::memcpy(source.Row(y), picture.Row32(y), 30 * 4);
    PictureFile::sIndexedImage indexed;
    ASSERT_TRUE(PictureFile::cPaletteTools::Reduce(source.View(), PictureFile::sPaletteOptions{}, indexed));

    struct sCase
    {
        const char* name;
        PictureFile::cMemorySink sink;
        bool (*decode)(const std::uint8_t*, std::size_t, cCodecImage&, std::uint64_t);
    };
    sCase cases[] = {
        {"png", {}, PictureFile::cPngCodec::Decode}, {"gif", {}, PictureFile::cGifCodec::Decode},
        {"ico", {}, PictureFile::cIcoCodec::Decode}, {"pcx", {}, PictureFile::cPcxCodec::Decode},
        {"pgx", {}, PictureFile::cPgxCodec::Decode}, {"pnm", {}, PictureFile::cPnmCodec::Decode},
        {"ras", {}, PictureFile::cRasCodec::Decode}, {"ska", {}, PictureFile::cSkaCodec::Decode},
        {"jp2", {}, PictureFile::cJpeg2000Codec::Decode},
    };
    ASSERT_TRUE(PictureFile::cPngCodec::Encode(source.View(), cases[0].sink));
    ASSERT_TRUE(PictureFile::cGifCodec::Encode(indexed, cases[1].sink));
    ASSERT_TRUE(PictureFile::cIcoCodec::Encode(source.View(), cases[2].sink));
    ASSERT_TRUE(PictureFile::cPcxCodec::Encode(source.View(), cases[3].sink));
    ASSERT_TRUE(PictureFile::cPgxCodec::Encode(source.View(), cases[4].sink));
    ASSERT_TRUE(PictureFile::cPnmCodec::Encode(source.View(), cases[5].sink, false));
    ASSERT_TRUE(PictureFile::cRasCodec::Encode(source.View(), cases[6].sink));
    ASSERT_TRUE(PictureFile::cSkaCodec::Encode(indexed, cases[7].sink));
    ASSERT_TRUE(PictureFile::cJpeg2000Codec::Encode(source.View(), cases[8].sink, true));
    for (auto& c : cases)
    {
        const auto& bytes = c.sink.Bytes();
        cCodecImage image;
        EXPECT_TRUE(c.decode(bytes.data(), bytes.size(), image, PictureFile::MaxPicturePixels)) << c.name;
        EXPECT_EQ(image.Width(), 30) << c.name;
        // Every cut of the body fails cleanly (a few, across the file).
        for (std::size_t cut : {std::size_t(0), std::size_t(1), std::size_t(7), bytes.size() / 3, bytes.size() / 2,
                                bytes.size() - 20})
        {
            cCodecImage partial;
            EXPECT_FALSE(c.decode(bytes.data(), cut, partial, PictureFile::MaxPicturePixels)) << c.name << " " << cut;
            EXPECT_TRUE(partial.IsEmpty());
        }
        // A pixel limit below the picture is honoured.
        cCodecImage limited;
        EXPECT_FALSE(c.decode(bytes.data(), bytes.size(), limited, 30 * 20 - 1)) << c.name;
    }
}

} // namespace

namespace {

// Large pictures are filtered on two threads; the rows where the halves
// meet must come out as from one.
TEST(CodecPng, LargePictureRoundTripsExactly)
{
    Testing::cTempFolder temp;
    for (const bool translucent : {false, true})
    {
        const std::u16string path = PathIn(temp, translucent ? u"large-alpha.png" : u"large.png");
        const Painter::cPicture picture =
            translucent ? CodecTest::MakeTranslucent(1100, 1001) : CodecTest::MakeScreen(1100, 1001);
        cCodecFile file(cCodecFile::TypePng);
        ASSERT_TRUE(file.Save(picture, path.c_str()));
        Painter::cPicture loaded;
        ASSERT_TRUE(file.Load(loaded, path.c_str()));
        ASSERT_EQ(loaded.Height(), 1001);
        for (int y = 0; y < 1001; ++y)
            for (int x = 0; x < 1100; ++x)
                if ((picture.Pixel(x, y) >> 24) != 0 || !translucent)
                {
                    ASSERT_EQ(PixelOf(loaded, x, y), picture.Pixel(x, y)) << x << "," << y;
                }
    }
}

} // namespace

// A chunk whose declared length runs past the end of the file is refused
// before libpng sees it: libpng would allocate the declared length first
// (gigabytes for a few bytes of file) and only then find the data missing.
// The allocation itself is caught by the fuzz corpus replay, which runs
// under a memory limit (fuzz/corpus/PngReader/regression-huge-text-chunk.png);
// here the files must be refused.
TEST(CodecPng, ChunkLongerThanTheFileIsRefusedBeforeDecoding)
{
    const Painter::cPicture picture = CodecTest::MakeScreen(8, 6);
    cCodecImage source;
    ASSERT_TRUE(source.Create(8, 6));
    for (int y = 0; y < 6; ++y)
        std::memcpy(source.Row(y), picture.Row32(y), 8 * 4);
    PictureFile::cMemorySink sink;
    ASSERT_TRUE(PictureFile::cPngCodec::Encode(source.View(), sink));
    const std::vector<std::uint8_t> valid = sink.Bytes();
    cCodecImage image;
    ASSERT_TRUE(PictureFile::cPngCodec::Decode(valid.data(), valid.size(), image, 1u << 20));

    // A text chunk right after the header (8 + 25 bytes) that claims
    // about 2 GB but holds 4 bytes.
    std::vector<std::uint8_t> hostile(valid.begin(), valid.begin() + 33);
    const std::uint8_t chunk[] = {0x7A, 0x41, 0x01, 0x00, 't', 'E', 'X', 't', 'a', 0, 'b', 'c', 0, 0, 0, 0};
    hostile.insert(hostile.end(), std::begin(chunk), std::end(chunk));
    hostile.insert(hostile.end(), valid.begin() + 33, valid.end());
    EXPECT_FALSE(PictureFile::cPngCodec::Decode(hostile.data(), hostile.size(), image, 1u << 20));

    // A file cut inside its last chunk, or with no IEND, is refused too.
    EXPECT_FALSE(PictureFile::cPngCodec::Decode(valid.data(), valid.size() - 6, image, 1u << 20));
    EXPECT_FALSE(PictureFile::cPngCodec::Decode(valid.data(), valid.size() - 12, image, 1u << 20));
}
