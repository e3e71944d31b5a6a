// Files we write, decoded by independent programs, and files those
// programs write, decoded by us. The programs come from the system
// (tools/setup.sh installs them); a test skips only when one is missing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "framework/picturefile/ExifInfo.h"
#include "framework/picturefile/JpegFile.h"
#include "framework/picturefile/TGAFile.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace PictureFileTest;

namespace {

std::string Q(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Largest channel difference between a picture and a decoded netpbm file.
int Difference(const Painter::cPicture& picture, const sNetpbm& image)
{
    EXPECT_EQ(image.width, picture.Width());
    EXPECT_EQ(image.height, picture.Height());
    if (image.width != picture.Width() || image.height != picture.Height())
        return 1000;
    int worst = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
        {
            const std::uint32_t v = Bgr(picture, x, y);
            const int rgb[3] = {int(v >> 16), int((v >> 8) & 255), int(v & 255)};
            for (int c = 0; c < 3; ++c)
            {
                const int got = image.channels >= 3 ? image.At(x, y, c) : image.At(x, y, 0);
                worst = std::max(worst, std::abs(got - rgb[c]));
            }
        }
    return worst;
}

// The picture in the working format (what every reader's output converts to).
Painter::cPicture AsArgb(const Painter::cPicture& picture)
{
    Painter::cPicture out;
    out.CopyFrom(picture);
    return out;
}

Painter::cPicture Noise(int width, int height)
{
    Painter::cPicture picture = MakePattern(Painter::FORMAT_ARGB32, width, height, 5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 3; ++x)
            picture.SetPixel(x, y, 0xFF204080);    // runs for the encoders
    return picture;
}

} // namespace

TEST(Conformance, OurBmpFilesDecodeIdenticallyElsewhere)
{
    QS_REQUIRE_TOOL("bmptopnm");
    QS_REQUIRE_TOOL("convert");
    Testing::cTempFolder folder;
    const Painter::cPicture opaque = [] {
        Painter::cPicture p = Noise(37, 19);
        p.SetOpaque();
        return p;
    }();
    Painter::cPicture rgb;
    rgb.Create(Painter::FORMAT_RGB24, opaque.Width(), opaque.Height());
    for (int y = 0; y < opaque.Height(); ++y)
        for (int x = 0; x < opaque.Width(); ++x)
            std::memcpy(rgb.Row(y) + 3 * x, opaque.Row(y) + 4 * x, 3);
    for (const Painter::cPicture* picture : std::initializer_list<const Painter::cPicture*>{&rgb, &opaque})
    {
        SCOPED_TRACE(picture->BitsPerPixel());
        PictureFile::cBitmapFile file;
        ASSERT_TRUE(file.Save(*picture, FileIn(folder, u"o.bmp")));
        ASSERT_EQ(RunCommand("bmptopnm " + Q(folder.Path() / "o.bmp") + " > " + Q(folder.Path() / "a.ppm") + " 2>/dev/null"), 0);
        sNetpbm image;
        ASSERT_TRUE(ReadNetpbm(folder.Path() / "a.ppm", image));
        EXPECT_EQ(Difference(*picture, image), 0);
        ASSERT_EQ(RunCommand("convert " + Q(folder.Path() / "o.bmp") + " -depth 8 " + Q(folder.Path() / "b.ppm")), 0);
        ASSERT_TRUE(ReadNetpbm(folder.Path() / "b.ppm", image));
        EXPECT_EQ(Difference(*picture, image), 0);
    }
}

TEST(Conformance, OurTgaFilesDecodeIdenticallyElsewhere)
{
    QS_REQUIRE_TOOL("tgatoppm");
    QS_REQUIRE_TOOL("convert");
    Testing::cTempFolder folder;
    Painter::cPicture opaque = Noise(150, 7);    // rows longer than one packet
    opaque.SetOpaque();
    Painter::cPicture indexed = MakePattern(Painter::FORMAT_INDEX8, 33, 9);
    std::uint32_t palette[256];
    for (std::uint32_t i = 0; i < 256; ++i)
        palette[i] = 0xFF000000u | ((i * 7) & 255) << 16 | ((255 - i) << 8) | ((i * 3) & 255);
    indexed.SetPalette(palette, 256);
    Painter::cPicture rgb24;
    rgb24.Create(Painter::FORMAT_RGB24, 40, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 40; ++x)
        {
            const std::uint32_t v = opaque.Pixel(x, y);
            std::memcpy(rgb24.Row(y) + 3 * x, &v, 3);
        }
    for (const int rle : {0, 1})
        for (const Painter::cPicture* picture : std::initializer_list<const Painter::cPicture*>{&opaque, &indexed, &rgb24})
        {
            SCOPED_TRACE(testing::Message() << "rle " << rle << " bits " << picture->BitsPerPixel());
            PictureFile::cTGAFile file;
            file.SaveOptions().o3 = rle;
            ASSERT_TRUE(file.Save(*picture, FileIn(folder, u"o.tga")));
            const Painter::cPicture expected = AsArgb(*picture);
            ASSERT_EQ(RunCommand("tgatoppm " + Q(folder.Path() / "o.tga") + " > " + Q(folder.Path() / "a.ppm") + " 2>/dev/null"), 0);
            sNetpbm image;
            ASSERT_TRUE(ReadNetpbm(folder.Path() / "a.ppm", image));
            EXPECT_EQ(Difference(expected, image), 0);
            ASSERT_EQ(RunCommand("convert " + Q(folder.Path() / "o.tga") + " -depth 8 " + Q(folder.Path() / "b.ppm")), 0);
            ASSERT_TRUE(ReadNetpbm(folder.Path() / "b.ppm", image));
            EXPECT_EQ(Difference(expected, image), 0);
        }
}

TEST(Conformance, BmpAndTgaFilesOfOtherProgramsReadBack)
{
    QS_REQUIRE_TOOL("convert");
    QS_REQUIRE_TOOL("ppmtobmp");
    QS_REQUIRE_TOOL("ppmtotga");
    QS_REQUIRE_TOOL("tgatoppm");
    Testing::cTempFolder folder;
    Painter::cPicture source = Noise(29, 11);
    source.SetOpaque();
    WritePpm(folder.Path() / "src.ppm", source);
    const std::string src = Q(folder.Path() / "src.ppm");
    struct sCase { std::string command; const char16_t* name; bool exact; };
    const sCase cases[] = {
        {"convert " + src + " -type TrueColor BMP3:@", u"a.bmp", true},
        {"convert " + src + " -type TrueColor BMP:@", u"b.bmp", true},    // 124-byte header
        {"convert " + src + " -alpha set BMP:@", u"c.bmp", true},         // 32 bits with alpha
        {"ppmtobmp -windows -bpp 24 " + src + " > @", u"d.bmp", true},
        {"convert " + src + " -colors 200 -type Palette -compress None BMP3:@", u"e.bmp", false},
        {"convert " + src + " -colors 12 -type Palette -depth 4 -compress None BMP3:@", u"f.bmp", false},
        {"convert " + src + " -monochrome BMP3:@", u"g.bmp", false},
        {"convert " + src + " -flip -define bmp:top-down=true BMP:@", u"h.bmp", false},    // rows top first
        // This converter stores TGA rows top first whatever its origin
        // bits say unless told the orientation; with it the file is plain.
        {"convert " + src + " -orient TopLeft @", u"a.tga", true},
        {"convert " + src + " -orient TopLeft -compress RLE @", u"b.tga", true},
        {"ppmtotga -rgb -norle " + src + " > @", u"c.tga", true},
        {"ppmtotga -rgb " + src + " > @", u"d.tga", true},
        {"convert " + src + " -orient TopLeft -colors 100 -type Palette -compress RLE @", u"e.tga", false},
        {"ppmtotga -mono " + src + " > @", u"f.tga", false},
        {"ppmtotga -cmap " + src + " > @", u"g.tga", true},
    };
    for (const sCase& c : cases)
    {
        const std::filesystem::path path = folder.Path() / std::filesystem::path(std::u16string(c.name));
        std::string command = c.command;
        command.replace(command.find('@'), 1, Q(path));
        SCOPED_TRACE(command);
        ASSERT_EQ(RunCommand(command + " 2>/dev/null"), 0);
        // The reference: an independent decoding of the file.
        const bool isBmp = path.extension() == ".bmp";
        ASSERT_EQ(RunCommand(isBmp ? "convert " + Q(path) + " -depth 8 " + Q(folder.Path() / "ref.ppm")
                                   : "tgatoppm " + Q(path) + " > " + Q(folder.Path() / "ref.ppm") + " 2>/dev/null"),
                  0);
        sNetpbm reference;
        ASSERT_TRUE(ReadNetpbm(folder.Path() / "ref.ppm", reference));
        Painter::cPicture picture;
        if (isBmp)
        {
            PictureFile::cBitmapFile file;
            ASSERT_TRUE(file.Load(picture, sPath{path.u16string()}));
        }
        else
        {
            PictureFile::cTGAFile file;
            ASSERT_TRUE(file.Load(picture, sPath{path.u16string()}));
        }
        const Painter::cPicture argb = AsArgb(picture);
        EXPECT_EQ(Difference(argb, reference), 0);
        if (c.exact)
        {
            EXPECT_EQ(Difference(source, reference), 0) << "the program's own decoding";
        }
    }
}

TEST(Conformance, OurJpegFilesDecodeElsewhere)
{
    QS_REQUIRE_TOOL("djpeg");
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(123, 77);
    for (const int coding : {0, 1, 2})
        for (const int subsampling : {0, 1, 2})
        {
            SCOPED_TRACE(testing::Message() << coding << "/" << subsampling);
            PictureFile::cJpegFile file;
            file.SaveOptions().o6 = coding;
            file.SaveOptions().o7 = subsampling;
            ASSERT_TRUE(file.Save(picture, FileIn(folder, u"o.jpg")));
            ASSERT_EQ(RunCommand("djpeg -ppm -outfile " + Q(folder.Path() / "a.ppm") + " " + Q(folder.Path() / "o.jpg")), 0);
            sNetpbm image;
            ASSERT_TRUE(ReadNetpbm(folder.Path() / "a.ppm", image));
            EXPECT_LE(Difference(picture, image), 4);
            Painter::cPicture ours;
            ASSERT_TRUE(file.Load(ours, FileIn(folder, u"o.jpg")));
            EXPECT_EQ(Difference(ours, image), 0) << "same decoder settings, same pixels";
        }
}

TEST(Conformance, JpegFilesOfOtherProgramsReadBack)
{
    QS_REQUIRE_TOOL("cjpeg");
    QS_REQUIRE_TOOL("djpeg");
    QS_REQUIRE_TOOL("convert");
    Testing::cTempFolder folder;
    const Painter::cPicture source = MakeSmooth(64, 40);
    WritePpm(folder.Path() / "src.ppm", source);
    const std::string src = Q(folder.Path() / "src.ppm");
    struct sCase { std::string make; std::string decode; int tolerance; };
    const sCase cases[] = {
        {"cjpeg -quality 95 -outfile @ " + src, "djpeg -ppm -outfile # @", 0},
        {"cjpeg -progressive -optimize -outfile @ " + src, "djpeg -ppm -outfile # @", 0},
        {"cjpeg -grayscale -outfile @ " + src, "djpeg -pnm -outfile # @", 0},
        {"cjpeg -arithmetic -outfile @ " + src, "djpeg -ppm -outfile # @", 0},
        {"convert " + src + " -quality 90 @", "djpeg -ppm -outfile # @", 0},
        // Adobe CMYK (inverted): compared with the program's own conversion.
        {"convert " + src + " -colorspace CMYK @", "convert @ -colorspace sRGB -depth 8 #", 12},
    };
    for (const sCase& c : cases)
    {
        const std::filesystem::path jpg = folder.Path() / "x.jpg";
        const std::filesystem::path ppm = folder.Path() / "x.ppm";
        auto fill = [&](std::string text) {
            for (std::size_t at; (at = text.find('@')) != std::string::npos;)
                text.replace(at, 1, Q(jpg));
            for (std::size_t at; (at = text.find('#')) != std::string::npos;)
                text.replace(at, 1, Q(ppm));
            return text;
        };
        SCOPED_TRACE(c.make);
        ASSERT_EQ(RunCommand(fill(c.make) + " 2>/dev/null"), 0);
        ASSERT_EQ(RunCommand(fill(c.decode) + " 2>/dev/null"), 0);
        sNetpbm reference;
        ASSERT_TRUE(ReadNetpbm(ppm, reference));
        PictureFile::cJpegFile file;
        Painter::cPicture picture;
        if (c.make.find("arithmetic") != std::string::npos)
        {
            // Decoders built without arithmetic coding refuse it cleanly.
            if (!file.Load(picture, sPath{jpg.u16string()}))
                continue;
        }
        else
        {
            ASSERT_TRUE(file.Load(picture, sPath{jpg.u16string()}));
        }
        EXPECT_LE(Difference(picture, reference), c.tolerance);
    }
}

TEST(Conformance, ExifWeWriteIsReadByExiftool)
{
    QS_REQUIRE_TOOL("exiftool");
    Testing::cTempFolder folder;
    Painter::cPicture picture = MakeSmooth(16, 16);
    auto exif = std::make_unique<PictureFile::cExifInfo>();
    using E = PictureFile::cExifInfo;
    auto entry = [](std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::vector<std::uint8_t> value) {
        E::sEntry e;
        e.tag = tag;
        e.type = type;
        e.count = count;
        e.value = std::move(value);
        return e;
    };
    exif->byteOrder = 0;
    exif->primary.Set(entry(0x010F, E::TypeAscii, 8, {'V', 'a', 'd', 'r', 'i', 'n', 'X', 0}));
    exif->primary.Set(entry(0x0112, E::TypeShort, 1, {6, 0}));
    exif->primary.Set(entry(E::TagGpsPointer, E::TypeLong, 1, {0, 0, 0, 0}));
    exif->primary.Set(entry(E::TagExifPointer, E::TypeLong, 1, {0, 0, 0, 0}));
    exif->gps.Set(entry(0x0001, E::TypeAscii, 2, {'S', 0}));
    exif->exif.Set(entry(0x829A, E::TypeRational, 1, {1, 0, 0, 0, 250, 0, 0, 0}));
    exif->exif.Set(entry(0xA005, E::TypeLong, 1, {0x00, 0x10, 0, 0}));
    exif->comment = "hello exif";
    PictureFile::cExifInfo::AttachTo(picture, std::move(exif));
    PictureFile::cJpegFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"e.jpg")));
    const std::string out = (folder.Path() / "tags.txt").string();
    ASSERT_EQ(RunCommand("exiftool -s -s -s -n -Make -Orientation -GPSLatitudeRef -ExposureTime -Comment -Warning -Error " +
                  Q(folder.Path() / "e.jpg") + " > '" + out + "'"),
              0);
    const auto bytes = ReadBytes(out);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, "VadrinX\n6\nS\n0.004\nhello exif\n");
}
