// Files written by the codec layer, decoded by independent decoders of the
// system (netpbm, ImageMagick, OpenJPEG's tools, giflib's tools, pngcheck),
// and files made by those tools read by the codec layer. Skipped only when
// a tool is missing.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/painter/Picture.h"
#include "framework/picturefile/CodecFile.h"
#include "tests/picturefile/CodecTestSupport.h"

using PictureFile::cCodecFile;
using CodecTest::PathIn;
using CodecTest::PixelOf;
using CodecTest::HaveTool;
using CodecTest::RunCommand;

namespace {

namespace fs = std::filesystem;

std::string Quote(const fs::path& path)
{
    return "'" + path.string() + "'";
}

// Compares a decoded netpbm image with the source picture: colours (and
// alpha when the image has it; transparent pixels only need alpha 0).
void ExpectMatches(const CodecTest::sNetpbm& image, const Painter::cPicture& source, bool grey,
                   const std::string& what)
{
    ASSERT_EQ(image.width, source.Width()) << what;
    ASSERT_EQ(image.height, source.Height()) << what;
    int failures = 0;
    for (int y = 0; y < source.Height() && failures < 5; ++y)
        for (int x = 0; x < source.Width() && failures < 5; ++x)
        {
            const std::uint32_t s = source.Pixel(x, y);
            const bool hasAlpha = image.channels == 2 || image.channels == 4;
            if (hasAlpha && (s >> 24) == 0)
            {
                if (image.At(x, y, image.channels - 1) != 0)
                    ++failures, ADD_FAILURE() << what << " " << x << "," << y << " not transparent";
                continue;
            }
            std::uint32_t got;
            if (image.channels <= 2)
                got = image.At(x, y, 0) * 0x010101u;
            else
                got = (std::uint32_t(image.At(x, y, 0)) << 16) | (std::uint32_t(image.At(x, y, 1)) << 8) | image.At(x, y, 2);
            if (hasAlpha)
                got |= std::uint32_t(image.At(x, y, image.channels - 1)) << 24;
            std::uint32_t expected = grey ? CodecTest::GreyOf(s) * 0x010101u : s & 0xFFFFFFu;
            if (hasAlpha)
                expected |= s & 0xFF000000u;
            if (got != expected)
                ++failures, ADD_FAILURE() << what << " " << x << "," << y << std::hex << ": want " << expected
                                          << " got " << got;
        }
}

struct sOutCase
{
    const char* extension;
    const char* tool;        // must be on the PATH
    const char* command;     // %i input, %o output (a PAM/PPM/PGM)
    bool translucent;        // the tool keeps alpha
    bool grey;
};

const sOutCase OutCases[] = {
    {"png", "pngtopnm", "pngtopnm %i > %o", false, false},
    {"png", "convert", "convert %i PAM:%o", true, false},
    {"gif", "giftopnm", "giftopnm %i > %o", false, false},
    {"gif", "convert", "convert %i PAM:%o", true, false},
    {"pcx", "pcxtoppm", "pcxtoppm %i > %o", false, false},
    {"pcx", "convert", "convert %i PAM:%o", true, false},
    {"ras", "rasttopnm", "rasttopnm %i > %o", false, false},
    {"ppm", "ppmtoppm", "ppmtoppm < %i > %o", false, false},
    {"pnm", "convert", "convert %i PAM:%o", false, false},
    {"pgm", "pamtopnm", "pamtopnm %i > %o", false, true},
    {"ico", "convert", "convert %i PAM:%o", true, false},
    {"jp2", "opj_decompress", "opj_decompress -quiet -i %i -o %o.png >/dev/null && convert %o.png PAM:%o", true, false},
    {"j2k", "opj_decompress", "opj_decompress -quiet -i %i -o %o.ppm >/dev/null && mv %o.ppm %o", false, false},
    {"jpc", "opj_decompress", "opj_decompress -quiet -i %i -o %o.png >/dev/null && convert %o.png PAM:%o", true, false},
    {"pgx", "opj_compress", "opj_compress -i %i -o %o.j2k -n 3 >/dev/null && opj_decompress -i %o.j2k -o %o.pgm >/dev/null && mv %o.pgm %o", false, true},
};

std::string Expand(std::string command, const fs::path& in, const fs::path& out)
{
    for (std::size_t at; (at = command.find("%i")) != std::string::npos;)
        command.replace(at, 2, Quote(in));
    for (std::size_t at; (at = command.find("%o")) != std::string::npos;)
        command.replace(at, 2, Quote(out));
    return command;
}

class CodecWrittenFile : public ::testing::TestWithParam<sOutCase>
{
};

TEST_P(CodecWrittenFile, IsDecodedByAnIndependentDecoder)
{
    const sOutCase& c = GetParam();
    QS_REQUIRE_TOOL(c.tool);
    QS_REQUIRE_TOOL("convert");
    Testing::cTempFolder temp;
    const std::string ext = c.extension;
    const bool palette = ext == "gif";
    for (const bool translucent : {false, true})
    {
        if (translucent && !c.translucent)
            continue;
        const Painter::cPicture source = translucent ? CodecTest::MakeTranslucent(53, 37, palette)
                                                     : CodecTest::MakeScreen(53, 37, palette);
        const fs::path file = temp.Path() / ("picture." + ext);
        const fs::path decoded = temp.Path() / "decoded.pam";
        cCodecFile writer(cCodecFile::CodecTypeOf(fs::path(file).u16string().c_str()));
        ASSERT_TRUE(writer.Save(source, file.u16string().c_str()));
        ASSERT_EQ(RunCommand(Expand(c.command, file, decoded)), 0) << Expand(c.command, file, decoded);
        CodecTest::sNetpbm image;
        ASSERT_TRUE(CodecTest::ReadNetpbm(decoded, image)) << ext;
        ExpectMatches(image, source, c.grey, ext + "/" + c.tool + (translucent ? " translucent" : ""));
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, CodecWrittenFile, ::testing::ValuesIn(OutCases), [](const auto& info) {
    return std::string(info.param.extension) + "_" + std::to_string(info.index);
});

TEST(CodecConformance, PngcheckAcceptsOurPngs)
{
    QS_REQUIRE_TOOL("pngcheck");
    Testing::cTempFolder temp;
    int index = 0;
    for (const auto& picture : {CodecTest::MakeScreen(1, 1), CodecTest::MakeScreen(300, 200),
                                CodecTest::MakeTranslucent(301, 199), CodecTest::MakeTranslucent(1100, 1001)})
        for (const int interlace : {0, 1})
        {
            const fs::path file = temp.Path() / ("check" + std::to_string(index++) + ".png");
            cCodecFile writer(cCodecFile::TypePng);
            writer.SaveOptions().o9 = interlace;
            ASSERT_TRUE(writer.Save(picture, file.u16string().c_str()));
            EXPECT_EQ(RunCommand("pngcheck -q " + Quote(file) + " >/dev/null"), 0) << file;
        }
}

TEST(CodecConformance, GiflibToolsReadOurGif)
{
    QS_REQUIRE_TOOL("giftext");
    Testing::cTempFolder temp;
    const fs::path file = temp.Path() / "shot.gif";
    cCodecFile writer(cCodecFile::TypeGif);
    ASSERT_TRUE(writer.Save(CodecTest::MakeTranslucent(64, 48), file.u16string().c_str()));
    EXPECT_EQ(RunCommand("giftext " + Quote(file) + " >/dev/null"), 0);
}

// ---- files made by the tools, read by us ---------------------------------

struct sInCase
{
    const char* extension;
    const char* tool;
    const char* command;     // %i a PPM (or PAM with alpha), %o the file to read
    bool translucent;
    bool grey;
};

const sInCase InCases[] = {
    {"png", "pnmtopng", "pnmtopng %i > %o", false, false},
    {"png", "convert", "convert %i %o", true, false},
    {"png", "convert", "convert %i -interlace PNG %o", true, false},
    {"png", "convert", "convert %i -colorspace Gray -depth 16 %o", false, true},
    {"gif", "pamtogif", "pamtogif %i > %o", false, false},
    {"gif", "convert", "convert %i -interlace GIF %o", false, false},
    {"pcx", "ppmtopcx", "ppmtopcx %i > %o", false, false},
    {"pcx", "ppmtopcx", "ppmtopcx -8bit %i > %o", false, false},
    {"pcx", "convert", "convert %i %o", true, false},
    {"ras", "pnmtorast", "pnmtorast %i > %o", false, false},
    {"ras", "pnmtorast", "pnmtorast -rle %i > %o", false, false},
    {"ras", "convert", "convert %i SUN:%o", false, false},
    {"pnm", "pnmtoplainpnm", "pnmtoplainpnm %i > %o", false, false},
    {"pnm", "convert", "convert %i -depth 16 PPM:%o", false, false},
    {"pnm", "convert", "convert %i PAM:%o", true, false},
    {"pgm", "ppmtopgm", "ppmtopgm %i > %o", false, true},
    {"ico", "convert", "convert %i %o", true, false},
    // The tool's default of 6 resolutions needs 32 pixels a side: 3 here.
    {"jp2", "opj_compress", "opj_compress -i %i -o %o -n 3 >/dev/null", false, false},
    {"j2k", "opj_compress", "opj_compress -i %i -o %o -n 3 >/dev/null", false, false},
    {"j2k", "opj_compress", "opj_compress -i %i -o %o -n 3 -t 16,16 >/dev/null", false, false},
    {"pgx", "opj_decompress", "opj_compress -i %i -o %o.j2k -n 3 >/dev/null && opj_decompress -i %o.j2k -o %o.out.pgx >/dev/null && mv %o.out_0.pgx %o", false, true},
};

class CodecToolFile : public ::testing::TestWithParam<sInCase>
{
};

TEST_P(CodecToolFile, IsReadByOurReader)
{
    const sInCase& c = GetParam();
    QS_REQUIRE_TOOL(c.tool);
    Testing::cTempFolder temp;
    const std::string ext = c.extension;
    const bool fewColours = ext == "gif" || ext == "pcx";
    Painter::cPicture source = c.translucent ? CodecTest::MakeTranslucent(41, 29, fewColours)
                                             : CodecTest::MakeScreen(41, 29, fewColours);
    if (c.grey)
        for (int y = 0; y < source.Height(); ++y)
            for (int x = 0; x < source.Width(); ++x)
                source.SetPixel(x, y, 0xFF000000u | CodecTest::GreyOf(source.Pixel(x, y)) * 0x010101u);
    // The tool's input: a PPM, or a PAM with alpha.
    const fs::path input = temp.Path() / (c.translucent ? "in.pam" : "in.ppm");
    {
        cCodecFile pnm(cCodecFile::TypePnm);
        if (c.translucent)
        {
            std::string header = "P7\nWIDTH 41\nHEIGHT 29\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
            std::vector<std::uint8_t> bytes(header.begin(), header.end());
            for (int y = 0; y < 29; ++y)
                for (int x = 0; x < 41; ++x)
                {
                    const std::uint32_t p = source.Pixel(x, y);
                    bytes.insert(bytes.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p), std::uint8_t(p >> 24)});
                }
            CodecTest::WriteBytes(input, bytes);
        }
        else
            ASSERT_TRUE(pnm.Save(source, input.u16string().c_str()));
    }
    // ppmtopgm and friends want a grey input to give exact greys; the PGX
    // route needs a PGM.
    fs::path toolInput = input;
    if (ext == "pgx")
    {
        toolInput = temp.Path() / "in.pgm";
        cCodecFile pgm(cCodecFile::TypePnm);
        ASSERT_TRUE(pgm.Save(source, toolInput.u16string().c_str()));
    }
    const fs::path file = temp.Path() / ("made." + ext);
    ASSERT_EQ(RunCommand(Expand(c.command, toolInput, file)), 0) << Expand(c.command, toolInput, file);

    cCodecFile reader(cCodecFile::CodecTypeOf(file.u16string().c_str()));
    Painter::cPicture loaded;
    ASSERT_TRUE(reader.Load(loaded, file.u16string().c_str())) << Expand(c.command, toolInput, file);
    ASSERT_EQ(loaded.Width(), 41);
    ASSERT_EQ(loaded.Height(), 29);
    int failures = 0;
    for (int y = 0; y < 29 && failures < 5; ++y)
        for (int x = 0; x < 41 && failures < 5; ++x)
        {
            const std::uint32_t s = source.Pixel(x, y);
            const std::uint32_t l = PixelOf(loaded, x, y);
            if ((s >> 24) == 0)
            {
                if ((l >> 24) != 0)
                    ++failures, ADD_FAILURE() << x << "," << y << " not transparent";
                continue;
            }
            if (l != s)
                ++failures, ADD_FAILURE() << x << "," << y << std::hex << ": want " << s << " got " << l;
        }
}

INSTANTIATE_TEST_SUITE_P(Tools, CodecToolFile, ::testing::ValuesIn(InCases), [](const auto& info) {
    return std::string(info.param.extension) + "_" + std::to_string(info.index);
});

} // namespace
