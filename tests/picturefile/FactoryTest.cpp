#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "framework/core/File.h"
#include "framework/document/BVPictureFileFactory.h"
#include "framework/document/TBVFile.h"
#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "framework/picturefile/CodecFile.h"
#include "framework/picturefile/JpegFile.h"
#include "framework/picturefile/TGAFile.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace PictureFileTest;
using Brimvale::cBVPictureFileFactory;
using PictureFile::cPictureFile;
using PictureFile::cPictureFileFactory;

namespace {

enum class eKind { None, Bitmap, Tga, Jpeg, Codec };

eKind KindOf(const cPictureFile* file)
{
    if (!file) return eKind::None;
    if (dynamic_cast<const PictureFile::cBitmapFile*>(file)) return eKind::Bitmap;
    if (dynamic_cast<const PictureFile::cTGAFile*>(file)) return eKind::Tga;
    if (dynamic_cast<const PictureFile::cJpegFile*>(file)) return eKind::Jpeg;
    if (dynamic_cast<const PictureFile::cCodecFile*>(file)) return eKind::Codec;
    return eKind::None;
}

} // namespace

TEST(PictureFileFactory, CreatesTheFormatObjectByExtension)
{
    struct sCase { const char16_t* path; eKind kind; int codecType; };
    const sCase cases[] = {
        {u"C:\\shots\\a.tga", eKind::Tga, 0},
        {u"a.BMP", eKind::Bitmap, 0},
        {u"a.jpg", eKind::Jpeg, 0},
        {u"a.JPE", eKind::Jpeg, 0},
        {u"a.Jpeg", eKind::Jpeg, 0},
        {u"shot.PNG", eKind::Codec, 4},
        {u"x.gif", eKind::Codec, 2},
        {u"x.j2c", eKind::Codec, 12},
        {u"x.ppm", eKind::Codec, 14},
        {u"x.emf", eKind::Codec, 10},
        {u"x.psd", eKind::Codec, 20},
        {u"x.tiff", eKind::None, 0},
        {u"x.nef", eKind::None, 0},
        {u"x.txt", eKind::None, 0},
        {u"noextension", eKind::None, 0},
        {u"trailingdot.", eKind::None, 0},
        {u"C:\\a.b\\shot", eKind::None, 0},    // the dot is in a folder name: "b\shot"
        {u"/tmp/a.png/shot", eKind::None, 0},
    };
    const cBVPictureFileFactory factory;
    for (const sCase& c : cases)
    {
        std::unique_ptr<cPictureFile> file(factory.Create(c.path));
        EXPECT_EQ(KindOf(file.get()), c.kind) << Narrow(c.path);
        if (c.kind == eKind::Codec)
        {
            EXPECT_EQ(static_cast<PictureFile::cCodecFile*>(file.get())->CodecType(), c.codecType);
        }
        if (file)
        {
            const PictureFile::sSaveOptions defaults;
            EXPECT_EQ(file->SaveOptions().o3, defaults.o3);
            EXPECT_EQ(file->SaveOptions().o6, 2);
        }
    }
}

TEST(PictureFileFactory, DefaultSaveOptions)
{
    PictureFile::sSaveOptions options;
    const std::int32_t expected[10] = {24, 26, 0, 100, 1, std::int32_t(0xFFFFFFFF), 2, 0, 1, 0};
    for (int i = 0; i < 10; ++i)
    {
        ASSERT_TRUE(options.Field(i));
        EXPECT_EQ(*options.Field(i), expected[i]) << "o" << i;
    }
    EXPECT_FALSE(options.Field(10));
    EXPECT_FALSE(options.Field(-1));
    *options.Field(5) = 0x123456;
    EXPECT_EQ(options.o5, 0x123456u);
}

TEST(PictureFileFactory, CanReadFollowsTheReadableList)
{
    const cPictureFileFactory base;
    const cBVPictureFileFactory document;
    for (const char16_t* path : {u"a.png", u"a.JPG", u"a.jpeg", u"a.tiff", u"a.tif", u"a.wbmp", u"a.CR2", u"a.3fr",
                                 u"a.sr2", u"a.x3f", u"a.emf"})
    {
        EXPECT_TRUE(base.CanRead(path)) << Narrow(path);
        EXPECT_TRUE(document.CanRead(path)) << Narrow(path);
    }
    for (const char16_t* path : {u"a.psd", u"a.ppm", u"a.pgm", u"a.j2k", u"a.txt", u"a", u"a.tbv"})
        EXPECT_FALSE(base.CanRead(path)) << Narrow(path);
    // The document format: lower case only for CanRead.
    EXPECT_TRUE(document.CanRead(u"a.tbv"));
    EXPECT_FALSE(document.CanRead(u"a.TBV"));
    EXPECT_FALSE(document.CanRead(u"a.Tbv"));
}

TEST(PictureFileFactory, DocumentExtensionNeverFallsThroughToPictureFormats)
{
    const cBVPictureFileFactory document;
    const cPictureFileFactory base;
    std::unique_ptr<cPictureFile> fromBase(base.Create(u"a.tbv"));
    EXPECT_FALSE(fromBase);
    // The document factory gives the document file (any case), never a
    // picture format that would write a different file under that name.
    std::unique_ptr<cPictureFile> fromDocument(document.Create(u"a.TBV"));
    EXPECT_EQ(KindOf(fromDocument.get()), eKind::None);
    EXPECT_TRUE(dynamic_cast<Brimvale::cTBVFile*>(fromDocument.get()));
}

TEST(PictureFileFactory, UnwritableFormatsFailWithoutCreatingAFile)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(8, 8);
    const cBVPictureFileFactory factory;
    for (const char16_t* name : {u"x.wmf", u"x.emf", u"x.psd", u"x.wbmp", u"x.tif"})
    {
        std::unique_ptr<cPictureFile> file(factory.Create(FileIn(folder, name)));
        ASSERT_TRUE(file) << Narrow(name);
        EXPECT_FALSE(file->Save(picture, FileIn(folder, name))) << Narrow(name);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(PictureFileFactory, SaveIntoAMissingFolderFailsAndLeavesNothing)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(8, 8);
    const cBVPictureFileFactory factory;
    for (const char16_t* name : {u"missing/x.bmp", u"missing/x.tga", u"missing/x.jpg", u"missing/x.png"})
    {
        std::unique_ptr<cPictureFile> file(factory.Create(FileIn(folder, name)));
        ASSERT_TRUE(file);
        EXPECT_FALSE(file->Save(picture, FileIn(folder, name))) << Narrow(name);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(PictureFileFactory, FailedSaveKeepsAnExistingFileByteIdentical)
{
    Testing::cTempFolder folder;
    const std::vector<std::uint8_t> old = {'o', 'l', 'd', 0, 1, 2, 3};
    const cBVPictureFileFactory factory;
    // Pictures the formats refuse.
    const Painter::cPicture indexed = MakePattern(Painter::FORMAT_INDEX4, 4, 4);
    for (const char16_t* name : {u"x.jpg", u"x.tga", u"x.wmf"})
    {
        WriteBytes(FileIn(folder, name), old);
        std::unique_ptr<cPictureFile> file(factory.Create(FileIn(folder, name)));
        ASSERT_TRUE(file);
        EXPECT_FALSE(file->Save(indexed, FileIn(folder, name))) << Narrow(name);
        EXPECT_EQ(ReadBytes(FileIn(folder, name)), old) << Narrow(name);
    }
    // A successful save replaces it.
    std::unique_ptr<cPictureFile> file(factory.Create(FileIn(folder, u"x.bmp")));
    WriteBytes(FileIn(folder, u"x.bmp"), old);
    ASSERT_TRUE(file->Save(MakeSmooth(3, 3), FileIn(folder, u"x.bmp")));
    EXPECT_EQ(ReadBytes(FileIn(folder, u"x.bmp")).size(), 54u + 3 * 12);
    // Nothing but the targets is left in the folder.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 4);
}

