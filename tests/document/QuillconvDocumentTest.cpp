#include <gtest/gtest.h>

#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

#if defined(QS_QUILLCONV) && defined(QS_RUN_MEASURED)

#include <cstdio>

using namespace DocumentTest;
using namespace PictureFileTest;

namespace {

// quillconv under a generous time limit, so that a hang fails the test
// instead of stalling it (timeout exits 124).
int Quillconv(const std::filesystem::path& input, const std::filesystem::path& output)
{
    return RunCommand(std::string("timeout 120 '") + QS_QUILLCONV + "' '" + input.string() + "' '" + output.string() +
                      "' 2>/dev/null");
}

struct sRun
{
    int exitCode = -1;
    double cpuSeconds = 0;
    long maxResidentKb = 0;
};

// quillconv through the measuring helper: its exit code, CPU time and peak
// resident size.
sRun MeasuredQuillconv(const std::filesystem::path& input, const std::filesystem::path& output)
{
    Testing::cTempFolder scratch;
    const std::string report = (scratch.Path() / "report.txt").string();
    sRun run;
    if (RunCommand(std::string("'") + QS_RUN_MEASURED + "' '" + QS_QUILLCONV + "' '" + input.string() + "' '" +
                   output.string() + "' >'" + report + "' 2>/dev/null") != 0)
        return run;
    const auto bytes = ReadBytes(report);
    const std::string text(bytes.begin(), bytes.end());
    if (std::sscanf(text.c_str(), "%d %lf %ld", &run.exitCode, &run.cpuSeconds, &run.maxResidentKb) != 3)
        run.exitCode = -1;
    return run;
}

} // namespace

TEST(QuillconvDocument, ConvertsToAndFromDocuments)
{
    Testing::cTempFolder folder;
    Painter::cPicture picture = MakeSmooth(23, 11);
    picture.SetOpaque();
    PictureFile::cBitmapFile bmp;
    ASSERT_TRUE(bmp.Save(picture, FileIn(folder, u"in.bmp")));
    ASSERT_EQ(Quillconv(folder.Path() / "in.bmp", folder.Path() / "shot.tbv"), 0);
    const std::vector<std::uint8_t> bytes = ReadBytes(folder.Path() / "shot.tbv");
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<std::uint8_t>{'t', 'b', 'v', 0, 1, 0, 0, 0}));
    ASSERT_EQ(Quillconv(folder.Path() / "shot.tbv", folder.Path() / "back.bmp"), 0);
    Painter::cPicture back;
    ASSERT_TRUE(bmp.Load(back, FileIn(folder, u"back.bmp")));
    ASSERT_EQ(back.Width(), 23);
    ASSERT_EQ(back.Height(), 11);
    for (std::int32_t y = 0; y < 11; ++y)
        for (std::int32_t x = 0; x < 23; ++x)
            ASSERT_EQ(Bgr(back, x, y), Bgr(picture, x, y)) << x << "," << y;
}

TEST(QuillconvDocument, HostileDocumentsAreRefusedWithoutOutput)
{
    Testing::cTempFolder folder;
    struct sCase
    {
        const char16_t* name;
        std::vector<std::uint8_t> bytes;
        double cpuSeconds;   // CPU time, not wall time: a busy machine must not fail it
        long residentKb;
    };
    // A layer far larger than its canvas with a glow that would take hours.
    cBytes slow = DocumentStart(16, 16);
    slow.I16(0).Append(ObjectRecord()).U8(1).I32(1);
    cBytes graphic;
    graphic.I16(1).I16(0).Append(ObjectRecord()).U8(255).U8(0).I16(1).U8(1).I32(1);
    graphic.I32(4).I16(0).U8(1).I16(1).U8(0).I32(-1).I32(4096).I32(4096).U8(0);
    slow.I32(256).I16(1).Append(graphic);
    slow.I16(2).I32(4000).I32(4000).I32(0x12000).U8(1);
    for (int plane = 0; plane < 4; ++plane)
    {
        // 16 000 000 equal bytes in runs of 129.
        const std::int32_t runs = 16000000 / 129;
        const std::int32_t rest = 16000000 - runs * 129;
        slow.I32(2 * runs + 2);
        for (std::int32_t i = 0; i < runs; ++i)
            slow.U8(127).U8(0xFF);
        slow.U8(std::uint8_t(rest - 2)).U8(0xFF);
    }
    slow.I16(1).U8(1).I32(0);
    const cBytes huge = [] {
        cBytes b = DocumentStart(32767, 32767);
        b.I16(0).Append(ObjectRecord()).U8(1).I32(0).I16(1).U8(1).I32(0);
        return b;
    }();
    const sCase cases[] = {
        {u"empty.tbv", {}, 1.0, 100 * 1024},
        {u"magic.tbv", {'t', 'b', 'x', 0, 1, 0, 0, 0}, 1.0, 100 * 1024},
        {u"huge.tbv", huge.Bytes(), 1.0, 100 * 1024},
        {u"children.tbv", [] {
             cBytes b = DocumentStart(1, 1);
             b.I16(0).Append(ObjectRecord()).U8(1).I32(0x7FFFFFFF);
             return b.Bytes();
         }(), 1.0, 100 * 1024},
        // Its 16 million pixels are really in the file; the glow is refused
        // before it runs.
        {u"slow.tbv", slow.Bytes(), 20.0, 600 * 1024},
    };
    for (const sCase& c : cases)
    {
        WriteBytes(FileIn(folder, c.name), c.bytes);
        const sRun run = MeasuredQuillconv(std::filesystem::path(FileIn(folder, c.name)), folder.Path() / "out.png");
        EXPECT_EQ(run.exitCode, 1) << Narrow(c.name);
        EXPECT_LT(run.cpuSeconds, c.cpuSeconds) << Narrow(c.name);
        EXPECT_GT(run.maxResidentKb, 0) << Narrow(c.name);
        EXPECT_LT(run.maxResidentKb, c.residentKb) << Narrow(c.name);
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.png")) << Narrow(c.name);
    }
}

#endif
