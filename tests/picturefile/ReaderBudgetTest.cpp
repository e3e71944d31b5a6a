// Readers refuse, before allocating, a picture larger than their data can
// encode or than the shared pixel budget allows; quillconv on such a file
// fails at once with little memory.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/document/BVPictureFileFactory.h"
#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "framework/picturefile/CodecFile.h"
#include "framework/picturefile/JpegFile.h"
#include "framework/picturefile/PixelBudget.h"
#include "framework/picturefile/TGAFile.h"
#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/Jpeg2000Codec.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

#include <cstdio>

using namespace PictureFileTest;
using PictureFile::cCodecFile;

namespace {

using tBytes = std::vector<std::uint8_t>;

void Put16LE(tBytes& b, std::size_t at, unsigned v) { b[at] = std::uint8_t(v); b[at + 1] = std::uint8_t(v >> 8); }
void Put32LE(tBytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}
void Put32BE(tBytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (24 - 8 * i));
}
void Append(tBytes& b, std::initializer_list<std::uint8_t> bytes)
{
    for (std::uint8_t byte : bytes)
        b.push_back(byte);
}
void AppendChunk(tBytes& b, const char* type, const tBytes& data)
{
    const std::size_t at = b.size();
    b.resize(at + 8);
    Put32BE(b, at, std::uint32_t(data.size()));
    std::memcpy(&b[at + 4], type, 4);
    b.insert(b.end(), data.begin(), data.end());
    Append(b, {0, 0, 0, 0});    // CRC: the reader ignores it
}

// ---- Small files that declare a side x side picture -----------------------

tBytes HugePng(std::uint32_t side)
{
    tBytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    tBytes header(13, 0);
    Put32BE(header, 0, side);
    Put32BE(header, 4, side);
    header[8] = 8;    // 8-bit RGB
    header[9] = 2;
    AppendChunk(png, "IHDR", header);
    // A zlib stream of one stored block of 30 zero bytes: the start of a
    // plausible picture, far from all of it.
    tBytes idat = {0x78, 0x01, 0x01, 30, 0, 0xFF - 30, 0xFF};
    idat.resize(idat.size() + 30, 0);
    AppendChunk(png, "IDAT", idat);
    AppendChunk(png, "IEND", {});
    return png;
}

// A real JPEG of a small picture whose frame header is patched to declare
// the huge size: what a truncated file of a large picture looks like.
tBytes HugeJpeg(std::uint32_t side, bool progressive)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(24, 24);
    PictureFile::cJpegFile jpeg;
    jpeg.SaveOptions().o3 = 75;
    jpeg.SaveOptions().o6 = progressive ? 2 : 0;
    EXPECT_TRUE(jpeg.Save(picture, FileIn(folder, u"small.jpg")));
    tBytes bytes = ReadBytes(FileIn(folder, u"small.jpg"));
    const std::uint8_t frame = progressive ? 0xC2 : 0xC0;
    for (std::size_t i = 2; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == frame)
        {
            bytes[i + 5] = std::uint8_t(side >> 8);
            bytes[i + 6] = std::uint8_t(side);
            bytes[i + 7] = std::uint8_t(side >> 8);
            bytes[i + 8] = std::uint8_t(side);
            return bytes;
        }
    ADD_FAILURE() << "no frame header";
    return bytes;
}

tBytes HugeGif(std::uint32_t side)
{
    tBytes gif = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0x80, 0, 0};
    Put16LE(gif, 6, side);
    Put16LE(gif, 8, side);
    for (int i = 0; i < 2; ++i)
        Append(gif, {0, 0, 0});    // a two-entry table
    tBytes descriptor = {0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16LE(descriptor, 5, side);
    Put16LE(descriptor, 7, side);
    gif.insert(gif.end(), descriptor.begin(), descriptor.end());
    Append(gif, {2, 4, 0x84, 0x8F, 0xA9, 0xCB, 0, 0x3B});
    return gif;
}

tBytes HugeTga(std::uint32_t side)
{
    tBytes tga(18, 0);
    tga[2] = 10;    // run-length true colour
    Put16LE(tga, 12, side);
    Put16LE(tga, 14, side);
    tga[16] = 24;
    tga[17] = 0x20;
    for (int i = 0; i < 20; ++i)
        Append(tga, {0xFF, 1, 2, 3});    // runs of 128 pixels
    return tga;
}

tBytes HugePcx(std::uint32_t side)
{
    tBytes pcx(128, 0);
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;    // run-length encoded
    pcx[3] = 8;
    Put16LE(pcx, 8, side - 1);
    Put16LE(pcx, 10, side - 1);
    pcx[65] = 3;
    Put16LE(pcx, 66, side);
    for (int i = 0; i < 30; ++i)
        Append(pcx, {0xFF, 7});
    return pcx;
}

tBytes HugeBmp(std::uint32_t side)
{
    tBytes bmp(54 + 60, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32LE(bmp, 2, std::uint32_t(bmp.size()));
    Put32LE(bmp, 10, 54);
    Put32LE(bmp, 14, 40);
    Put32LE(bmp, 18, side);
    Put32LE(bmp, 22, side);
    Put16LE(bmp, 26, 1);
    Put16LE(bmp, 28, 24);
    return bmp;
}

// Our own code stream of a small picture with its image and tile size
// patched to the huge size: a valid header over far too little data.
tBytes HugeJpc(std::uint32_t side)
{
    const Painter::cPicture picture = MakeSmooth(64, 64);
    PictureFile::sPixelView view;
    view.bits = picture.Bits();
    view.width = 64;
    view.height = 64;
    view.stride = picture.Stride();
    PictureFile::cMemorySink sink;
    EXPECT_TRUE(PictureFile::cJpeg2000Codec::Encode(view, sink, false));
    tBytes bytes = sink.Bytes();
    EXPECT_GT(bytes.size(), 30u);
    // SOC, then SIZ: marker, length, capabilities, then Xsiz, Ysiz, the
    // image offsets and XTsiz, YTsiz.
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0x51);
    Put32BE(bytes, 6, side);
    Put32BE(bytes, 10, side);
    Put32BE(bytes, 22, side);
    Put32BE(bytes, 26, side);
    return bytes;
}

tBytes HugePnm(std::uint32_t side)
{
    const std::string header = "P6\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
    tBytes pnm(header.begin(), header.end());
    pnm.resize(pnm.size() + 60, 0x55);
    return pnm;
}

tBytes HugeRas(std::uint32_t side)
{
    tBytes ras(32, 0);
    Put32BE(ras, 0, 0x59A66A95u);
    Put32BE(ras, 4, side);
    Put32BE(ras, 8, side);
    Put32BE(ras, 12, 24);
    Put32BE(ras, 20, 2);    // byte-encoded
    for (int i = 0; i < 20; ++i)
        Append(ras, {0x80, 0xFF, 0x11});
    return ras;
}

tBytes HugeSka(std::uint32_t side)
{
    tBytes ska(9 + 768 + 60, 0);
    Put16LE(ska, 0, side);
    Put16LE(ska, 2, side);
    ska[4] = 3;
    return ska;
}

struct sHostile
{
    const char* extension;
    std::function<tBytes(std::uint32_t)> make;
};

const std::vector<sHostile>& HostileFiles()
{
    static const std::vector<sHostile> files = {
        {"png", HugePng},
        {"jpg", [](std::uint32_t side) { return HugeJpeg(side, false); }},
        {"jpeg", [](std::uint32_t side) { return HugeJpeg(side, true); }},
        {"gif", HugeGif},
        {"tga", HugeTga},
        {"pcx", HugePcx},
        {"bmp", HugeBmp},
        {"jpc", HugeJpc},
        {"pnm", HugePnm},
        {"ras", HugeRas},
        {"ska", HugeSka},
    };
    return files;
}

// The largest square the pixel budget allows, so that only the reader's
// own rule about its data can refuse it; and the largest picture side.
constexpr std::uint32_t WithinBudget = 16384;
constexpr std::uint32_t Largest = 32767;
static_assert(std::uint64_t(WithinBudget) * WithinBudget <= PictureFile::DefaultPixelBudget);

bool LoadFromMemory(const std::string& extension, const tBytes& bytes, Painter::cPicture& picture)
{
    if (extension == "jpg" || extension == "jpeg")
        return PictureFile::cJpegFile().LoadFromMemory(picture, bytes.data(), bytes.size());
    const std::u16string wide(extension.begin(), extension.end());
    cCodecFile file(cCodecFile::CodecTypeOf(wide.c_str()));
    return file.LoadFromMemory(picture, bytes.data(), bytes.size());
}

TEST(ReaderBudget, SmallPngAndJpegDeclaringTheLargestPictureAreRefused)
{
    const tBytes png = HugePng(Largest);
    EXPECT_LE(png.size(), 100u);
    const tBytes jpeg = HugeJpeg(Largest, false);
    EXPECT_LE(jpeg.size(), 1024u);
    Painter::cPicture picture;
    EXPECT_FALSE(cCodecFile(cCodecFile::TypePng).LoadFromMemory(picture, png.data(), png.size()));
    EXPECT_FALSE(PictureFile::cJpegFile().LoadFromMemory(picture, jpeg.data(), jpeg.size()));
    EXPECT_TRUE(picture.IsEmpty());
}

TEST(ReaderBudget, EveryReaderRefusesMorePixelsThanItsDataCanEncode)
{
    for (const sHostile& hostile : HostileFiles())
        for (std::uint32_t side : {WithinBudget, Largest})
        {
            const tBytes bytes = hostile.make(side);
            Painter::cPicture picture;
            EXPECT_FALSE(LoadFromMemory(hostile.extension, bytes, picture)) << hostile.extension << " " << side;
            EXPECT_TRUE(picture.IsEmpty()) << hostile.extension;
        }
}

TEST(ReaderBudget, HugeButCompressibleFilesStillRead)
{
    // A flat 4096 x 4096 picture is about as compressible as real files
    // get (JPEG 2000: 520 bytes); each reader's rule lets it through.
    Painter::cPicture flat;
    ASSERT_TRUE(flat.Create(Painter::FORMAT_ARGB32, 4096, 4096));
    flat.Fill(0xFF336699u);
    Testing::cTempFolder folder;
    for (const char16_t* name : {u"flat.png", u"flat.jpc"})
    {
        cCodecFile file(cCodecFile::CodecTypeOf(name));
        ASSERT_TRUE(file.Save(flat, FileIn(folder, name)));
        Painter::cPicture back;
        ASSERT_TRUE(file.Load(back, FileIn(folder, name))) << Narrow(name);
        EXPECT_EQ(back.Width(), 4096);
        EXPECT_EQ(Bgr(back, 4095, 4095), 0x336699u) << Narrow(name);
    }
}

// The one budget holds for every reader, and a caller can lower it.
TEST(ReaderBudget, ALoweredBudgetHoldsForEveryFormat)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(20, 10);
    const char16_t* names[] = {u"a.png", u"a.gif", u"a.ico", u"a.pcx", u"a.jp2", u"a.jpc", u"a.pgx",
                               u"a.pnm", u"a.ras", u"a.ska", u"a.bmp", u"a.tga", u"a.jpg"};
    const Brimvale::cBVPictureFileFactory factory;
    for (const char16_t* name : names)
    {
        std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(FileIn(folder, name)));
        ASSERT_TRUE(file) << Narrow(name);
        ASSERT_TRUE(file->Save(picture, FileIn(folder, name))) << Narrow(name);
    }
    struct sRestore
    {
        ~sRestore() { PictureFile::SetPixelBudget(PictureFile::DefaultPixelBudget); }
    } restore;
    for (std::uint64_t budget : {std::uint64_t(199), std::uint64_t(200)})
    {
        PictureFile::SetPixelBudget(budget);
        EXPECT_EQ(PictureFile::PixelBudget(), budget);
        for (const char16_t* name : names)
        {
            std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(FileIn(folder, name)));
            Painter::cPicture back;
            EXPECT_EQ(file->Load(back, FileIn(folder, name)), budget == 200) << Narrow(name) << " " << budget;
        }
    }
    // The budget cannot be raised above the default.
    PictureFile::SetPixelBudget(PictureFile::DefaultPixelBudget * 4);
    EXPECT_EQ(PictureFile::PixelBudget(), PictureFile::DefaultPixelBudget);
    EXPECT_FALSE(PictureFile::FitsPixelBudget(32767, 32767));
    EXPECT_TRUE(PictureFile::FitsPixelBudget(16384, 16384));
    EXPECT_FALSE(PictureFile::FitsPixelBudget(0, 5));
    EXPECT_FALSE(PictureFile::FitsPixelBudget(100, 100, 9999));
}

#if defined(QS_QUILLCONV) && defined(QS_RUN_MEASURED)

struct sRun
{
    int exitCode = -1;
    double cpuSeconds = 0;
    long maxResidentKb = 0;
};

// Runs quillconv INPUT OUTPUT through the measuring helper.
sRun RunQuillconv(const std::string& input, const std::string& output)
{
    Testing::cTempFolder scratch;
    const std::string report = (scratch.Path() / "report.txt").string();
    sRun run;
    if (RunCommand(std::string("'") + QS_RUN_MEASURED + "' '" + QS_QUILLCONV + "' '" + input + "' '" + output +
                   "' >'" + report + "' 2>/dev/null") != 0)
        return run;
    const auto bytes = ReadBytes(report);
    const std::string text(bytes.begin(), bytes.end());
    if (std::sscanf(text.c_str(), "%d %lf %ld", &run.exitCode, &run.cpuSeconds, &run.maxResidentKb) != 3)
        run.exitCode = -1;
    return run;
}

TEST(ReaderBudget, QuillconvFailsAtOnceOnSmallFilesDeclaringHugePictures)
{
    Testing::cTempFolder folder;
    for (const sHostile& hostile : HostileFiles())
    {
        const std::string input = (folder.Path() / (std::string("huge.") + hostile.extension)).string();
        const std::string output = (folder.Path() / "out.bmp").string();
        WriteBytes(input, hostile.make(WithinBudget));
        const sRun run = RunQuillconv(input, output);
        EXPECT_EQ(run.exitCode, 1) << hostile.extension;
        // CPU time rather than wall time, so that a busy machine does not
        // make the check fail; decoding the declared picture would take
        // many seconds and gigabytes.
        EXPECT_LT(run.cpuSeconds, 1.0) << hostile.extension;
        EXPECT_GT(run.maxResidentKb, 0) << hostile.extension;
        EXPECT_LT(run.maxResidentKb, 100 * 1024) << hostile.extension;
        EXPECT_FALSE(std::filesystem::exists(output)) << hostile.extension;
    }
}

#endif

} // namespace
