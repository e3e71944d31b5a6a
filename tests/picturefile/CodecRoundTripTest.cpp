// Every codec format written by cCodecFile and read back by it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "framework/painter/Picture.h"
#include "framework/picturefile/CodecFile.h"
#include "tests/picturefile/CodecTestSupport.h"
#include "tests/support/TempFolder.h"

using PictureFile::cCodecFile;
using CodecTest::PixelOf;

namespace {

enum class eExpect
{
    Exact,        // every pixel, alpha included
    ExactOpaque,  // colours exact, alpha dropped (alpha 255 read back)
    Grey,         // greyscale of the colour
};

struct sFormatCase
{
    const char16_t* extension;
    eExpect opaque;        // for an opaque picture
    eExpect translucent;   // for a picture with alpha
    bool needsFewColours;  // palette formats: exact only up to 256 colours
};

const sFormatCase Formats[] = {
    {u"png", eExpect::Exact, eExpect::Exact, false},
    {u"PNG", eExpect::Exact, eExpect::Exact, false},
    {u"ico", eExpect::Exact, eExpect::Exact, false},
    {u"pcx", eExpect::Exact, eExpect::Exact, false},
    {u"jp2", eExpect::Exact, eExpect::Exact, false},
    {u"j2k", eExpect::Exact, eExpect::Exact, false},
    {u"jpc", eExpect::Exact, eExpect::Exact, false},
    {u"j2c", eExpect::Exact, eExpect::Exact, false},
    {u"ras", eExpect::Exact, eExpect::Exact, false},
    {u"pnm", eExpect::Exact, eExpect::ExactOpaque, false},
    {u"ppm", eExpect::Exact, eExpect::ExactOpaque, false},
    {u"pgm", eExpect::Grey, eExpect::Grey, false},
    {u"pgx", eExpect::Grey, eExpect::Grey, false},
    {u"gif", eExpect::Exact, eExpect::Exact, true},
    {u"ska", eExpect::Exact, eExpect::Exact, true},
};

std::string Name(const sFormatCase& format)
{
    return std::filesystem::path(std::u16string(format.extension)).string();
}

void ExpectSame(const Painter::cPicture& source, const Painter::cPicture& loaded, eExpect expect,
                const std::string& what)
{
    ASSERT_EQ(loaded.Width(), source.Width()) << what;
    ASSERT_EQ(loaded.Height(), source.Height()) << what;
    int mismatches = 0;
    for (int y = 0; y < source.Height() && mismatches < 5; ++y)
        for (int x = 0; x < source.Width() && mismatches < 5; ++x)
        {
            const std::uint32_t s = source.Pixel(x, y);
            const std::uint32_t l = PixelOf(loaded, x, y);
            std::uint32_t expected = s;
            if (expect == eExpect::ExactOpaque)
                expected = s | 0xFF000000u;
            else if (expect == eExpect::Grey)
            {
                const std::uint32_t g = CodecTest::GreyOf(s);
                expected = 0xFF000000u | (g << 16) | (g << 8) | g;
            }
            else if ((s >> 24) == 0)
            {
                // A fully transparent pixel only has to stay transparent.
                if ((l >> 24) != 0)
                    ++mismatches, ADD_FAILURE() << what << " pixel " << x << "," << y << " lost its transparency";
                continue;
            }
            if (l != expected)
            {
                ++mismatches;
                ADD_FAILURE() << what << " pixel " << x << "," << y << ": wrote " << std::hex << expected
                              << " read " << l;
            }
        }
}

class CodecRoundTrip : public ::testing::TestWithParam<sFormatCase>
{
protected:
    void RoundTrip(const Painter::cPicture& source, eExpect expect, const std::string& what)
    {
        const std::u16string path = CodecTest::PathIn(m_temp, u"picture." + std::u16string(GetParam().extension));
        cCodecFile file(cCodecFile::CodecTypeOf(GetParam().extension));
        ASSERT_TRUE(file.Save(source, path.c_str())) << what;
        Painter::cPicture loaded;
        cCodecFile reader(cCodecFile::CodecTypeOf(GetParam().extension));
        ASSERT_TRUE(reader.Load(loaded, path.c_str())) << what;
        ExpectSame(source, loaded, expect, what);

        PictureFile::sPictureInfo info;
        ASSERT_TRUE(reader.GetInfo(info, path.c_str()));
        EXPECT_EQ(info.width, source.Width());
        EXPECT_EQ(info.height, source.Height());
        EXPECT_EQ(info.format, loaded.Format());
    }

    Testing::cTempFolder m_temp;
};

TEST_P(CodecRoundTrip, OpaqueScreenPicture)
{
    const Painter::cPicture source = CodecTest::MakeScreen(67, 41, GetParam().needsFewColours);
    RoundTrip(source, GetParam().opaque, Name(GetParam()) + " opaque");
}

TEST_P(CodecRoundTrip, OpaquePictureLoadsAs24Bits)
{
    const Painter::cPicture source = CodecTest::MakeScreen(16, 9, true);
    const std::u16string path = CodecTest::PathIn(m_temp, u"opaque." + std::u16string(GetParam().extension));
    cCodecFile file(cCodecFile::TypeNone);
    ASSERT_TRUE(file.Save(source, path.c_str()));
    Painter::cPicture loaded;
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    EXPECT_EQ(loaded.Format(), Painter::FORMAT_RGB24);
}

TEST_P(CodecRoundTrip, TranslucentPicture)
{
    const Painter::cPicture source = CodecTest::MakeTranslucent(45, 30, GetParam().needsFewColours);
    RoundTrip(source, GetParam().translucent, Name(GetParam()) + " translucent");
}

TEST_P(CodecRoundTrip, TinyPictures)
{
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{3, 5}, std::pair{5, 3}, std::pair{1, 40}, std::pair{33, 1}})
    {
        Painter::cPicture source = CodecTest::MakeScreen(w, h, true);
        source.SetPixel(0, 0, 0xFF123456u);
        RoundTrip(source, GetParam().opaque, Name(GetParam()) + " " + std::to_string(w) + "x" + std::to_string(h));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, CodecRoundTrip, ::testing::ValuesIn(Formats),
                         [](const auto& info) { return Name(info.param) + "_" + std::to_string(info.index); });

// Pictures in formats other than FORMAT_ARGB32 are written through their
// own pixel layout.
TEST(CodecFileSave, ConvertsEveryPictureFormat)
{
    Testing::cTempFolder temp;
    const std::u16string path = CodecTest::PathIn(temp, u"converted.png");
    cCodecFile file(cCodecFile::TypePng);

    Painter::cPicture rgb;
    ASSERT_TRUE(rgb.Create(Painter::FORMAT_RGB24, 3, 2));
    const std::uint8_t bytes[2][9] = {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18}};
    for (int y = 0; y < 2; ++y)
        std::copy(bytes[y], bytes[y] + 9, rgb.Row(y));
    ASSERT_TRUE(file.Save(rgb, path.c_str()));
    Painter::cPicture loaded;
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    EXPECT_EQ(PixelOf(loaded, 0, 0), 0xFF030201u);
    EXPECT_EQ(PixelOf(loaded, 2, 1), 0xFF121110u);

    // 4-bit rows hold (w x 4 + 7) / 8 bytes; the palette is read as 16
    // entries, the missing ones black.
    Painter::cPicture index4;
    ASSERT_TRUE(index4.Create(Painter::FORMAT_INDEX4, 3, 1));
    index4.Row(0)[0] = 0x01;    // indices 0, 1
    index4.Row(0)[1] = 0x50;    // index 5, beyond the palette
    const std::uint32_t palette[2] = {0x00FF0000u, 0x0000FF00u};
    ASSERT_TRUE(index4.SetPalette(palette, 2));
    ASSERT_TRUE(file.Save(index4, path.c_str()));
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    EXPECT_EQ(PixelOf(loaded, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(PixelOf(loaded, 1, 0), 0xFF00FF00u);
    EXPECT_EQ(PixelOf(loaded, 2, 0), 0xFF000000u);

    // Without a palette, indices are grey levels.
    Painter::cPicture index8;
    ASSERT_TRUE(index8.Create(Painter::FORMAT_INDEX8, 2, 1));
    index8.Row(0)[0] = 7;
    index8.Row(0)[1] = 200;
    ASSERT_TRUE(file.Save(index8, path.c_str()));
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    EXPECT_EQ(PixelOf(loaded, 0, 0), 0xFF070707u);
    EXPECT_EQ(PixelOf(loaded, 1, 0), 0xFFC8C8C8u);
}

TEST(CodecFileSave, LargeIconUsesPngEntry)
{
    Testing::cTempFolder temp;
    const std::u16string path = CodecTest::PathIn(temp, u"large.ico");
    const Painter::cPicture source = CodecTest::MakeTranslucent(300, 20);
    cCodecFile file(cCodecFile::TypeIco);
    ASSERT_TRUE(file.Save(source, path.c_str()));
    const auto bytes = CodecTest::ReadBytes(std::filesystem::path(path));
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[6], 0);    // width 300 is stored as 0
    EXPECT_EQ(bytes[22], 0x89);
    EXPECT_EQ(bytes[23], 'P');
    Painter::cPicture loaded;
    ASSERT_TRUE(file.Load(loaded, path.c_str()));
    ExpectSame(source, loaded, eExpect::Exact, "large ico");
}

} // namespace
