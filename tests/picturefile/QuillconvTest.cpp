#include <gtest/gtest.h>

#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "framework/picturefile/JpegFile.h"
#include "framework/picturefile/TGAFile.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace PictureFileTest;

#if defined(QS_QUILLCONV)

namespace {

int Quillconv(const std::string& arguments, std::string* errors = nullptr)
{
    Testing::cTempFolder scratch;
    const std::string errorFile = (scratch.Path() / "stderr.txt").string();
    const int code = RunCommand(std::string("'") + QS_QUILLCONV + "' " + arguments + " 2>'" + errorFile + "'");
    if (errors)
    {
        const auto bytes = ReadBytes(errorFile);
        errors->assign(bytes.begin(), bytes.end());
    }
    return code;
}

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

} // namespace

TEST(Quillconv, ConvertsBetweenTheFormatsWithOptions)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(21, 13);
    PictureFile::cBitmapFile bmp;
    ASSERT_TRUE(bmp.Save(picture, FileIn(folder, u"in.bmp")));

    // BMP to TGA without run-length encoding (o3 = 0), then back to BMP.
    ASSERT_EQ(Quillconv("--option 3=0 " + Quote(folder.Path() / "in.bmp") + " " + Quote(folder.Path() / "out.tga")), 0);
    const auto tga = ReadBytes(folder.Path() / "out.tga");
    ASSERT_GT(tga.size(), 18u);
    EXPECT_EQ(tga[2], 2);
    ASSERT_EQ(Quillconv(Quote(folder.Path() / "out.tga") + " " + Quote(folder.Path() / "back.bmp")), 0);
    Painter::cPicture back;
    ASSERT_TRUE(bmp.Load(back, FileIn(folder, u"back.bmp")));
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(Bgr(back, x, y), Bgr(picture, x, y));

    // To JPEG with baseline coding, and a non-ASCII name.
    ASSERT_EQ(Quillconv("--option 6=0 " + Quote(folder.Path() / "in.bmp") + " " + Quote(folder.Path() / "b\xC3\xA9.jpg")), 0);
    PictureFile::cJpegFile jpeg;
    ASSERT_TRUE(jpeg.Load(back, FileIn(folder, u"b\u00e9.jpg")));
    EXPECT_EQ(back.Width(), 21);
}

TEST(Quillconv, FailuresExitNonZeroWithOneLineAndLeaveNoFile)
{
    Testing::cTempFolder folder;
    PictureFile::cBitmapFile bmp;
    ASSERT_TRUE(bmp.Save(MakeSmooth(4, 4), FileIn(folder, u"in.bmp")));
    const std::string input = Quote(folder.Path() / "in.bmp");
    struct sCase { std::string arguments; std::filesystem::path output; };
    const sCase cases[] = {
        {input + " " + Quote(folder.Path() / "missing" / "o.png"), folder.Path() / "missing"},
        {input + " " + Quote(folder.Path() / "o.xyz"), folder.Path() / "o.xyz"},
        {input + " " + Quote(folder.Path() / "o.wmf"), folder.Path() / "o.wmf"},
        {input + " " + Quote(folder.Path() / "o.psd"), folder.Path() / "o.psd"},
        {Quote(folder.Path() / "none.bmp") + " " + Quote(folder.Path() / "o.tga"), folder.Path() / "o.tga"},
        {"--option 12=1 " + input + " " + Quote(folder.Path() / "o.tga"), folder.Path() / "o.tga"},
        {"--option 3=x " + input + " " + Quote(folder.Path() / "o.tga"), folder.Path() / "o.tga"},
        {input, folder.Path() / "o.tga"},
    };
    for (const sCase& c : cases)
    {
        std::string errors;
        EXPECT_NE(Quillconv(c.arguments, &errors), 0) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(c.output)) << c.arguments;
        EXPECT_EQ(errors.rfind("quillconv: ", 0), 0u) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

#endif
