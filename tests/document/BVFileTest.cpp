#include <gtest/gtest.h>

#include <memory>
#include <numbers>
#include <random>

#include "framework/document/BVFile.h"
#include "framework/document/BVImage.h"
#include "framework/document/BVScene.h"
#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"
#include "framework/document/StyleOuterGlow.h"
#include "framework/document/StyleOutline.h"
#include "framework/document/TBVFile.h"
#include "framework/picturefile/ExifInfo.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace DocumentTest;
using Brimvale::cBVFile;
using Brimvale::cRecordReader;
using Brimvale::cRecordWriter;
using PictureFileTest::FileIn;
using PictureFileTest::ReadBytes;
using PictureFileTest::WriteBytes;

namespace {

// The capture document of a w x h picture up to the picture record.
cBytes CaptureDocumentStart(std::int32_t width, std::int32_t height)
{
    cBytes b = DocumentStart(width, height);
    b.I16(0).Append(ObjectRecord()).U8(1).I32(1);     // root group, one child
    b.I32(256).I16(1).Append(GraphicRecord(ObjectRecord()));
    return b;
}

std::unique_ptr<Brimvale::cBVScene> Read(const std::vector<std::uint8_t>& bytes, int* error = nullptr)
{
    cBVFile file;
    std::unique_ptr<Brimvale::cBVScene> scene = file.ReadScene(bytes.data(), bytes.size());
    if (error)
        *error = file.Error();
    return scene;
}

} // namespace

TEST(BVFile, OneWhitePixelCaptureFollowsTheLayoutByteForByte)
{
    const Painter::cPicture white = Solid(1, 1, 0xFFFFFFFFu);
    cBytes expected = CaptureDocumentStart(1, 1);
    expected.I16(2).I32(1).I32(1).I32(0x12000).U8(1);
    for (int plane = 0; plane < 4; ++plane)
        expected.I32(2).U8(0xFF).U8(0xFF);
    expected.I16(1).U8(1).I32(0);

    Brimvale::cBVScene scene;
    ASSERT_TRUE(Brimvale::cTBVFile::BuildScene(white, scene));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(cBVFile::SerializeScene(scene, bytes));
    EXPECT_EQ(bytes, expected.Bytes());

    Testing::cTempFolder folder;
    Brimvale::cTBVFile file;
    ASSERT_TRUE(file.Save(white, FileIn(folder, u"white.tbv")));
    EXPECT_EQ(ReadBytes(FileIn(folder, u"white.tbv")), expected.Bytes());
    PictureFile::sPictureInfo info;
    ASSERT_TRUE(file.GetInfo(info, FileIn(folder, u"white.tbv")));
    EXPECT_EQ(info.width, 1);
    EXPECT_EQ(info.height, 1);
    EXPECT_EQ(info.format, Painter::FORMAT_ARGB32);
}

TEST(BVFile, PlaneRunLengthCode)
{
    struct sCase
    {
        const char* what;
        std::vector<std::uint8_t> plane;
        std::vector<std::uint8_t> code;  // empty: only the packet limits are checked
    };
    std::vector<std::uint8_t> alternating(300);
    for (std::size_t i = 0; i < alternating.size(); ++i)
        alternating[i] = i % 2 ? 9 : 200;
    std::vector<std::uint8_t> noise(1000);
    std::mt19937 random(7);
    for (auto& b : noise)
        b = std::uint8_t(random() % 3);
    const sCase cases[] = {
        {"one byte", {255}, {0xFF, 255}},
        {"two equal", {4, 4}, {0, 4}},
        {"300 equal", std::vector<std::uint8_t>(300, 7), {127, 7, 127, 7, 40, 7}},
        {"129 then one", [] { std::vector<std::uint8_t> p(129, 1); p.push_back(2); return p; }(), {127, 1, 0xFF, 2}},
        {"rising", {1, 2, 3, 4}, {0xFC, 1, 2, 3, 4}},
        {"alternating", alternating, {}},
        {"noise", noise, {}},
    };
    for (const sCase& c : cases)
    {
        std::vector<std::uint8_t> code;
        cRecordWriter::EncodePlane(c.plane.data(), c.plane.size(), code);
        if (!c.code.empty())
        {
            EXPECT_EQ(code, c.code) << c.what;
        }
        // Every packet is a run of 2..129 or a literal of 1..128 bytes.
        for (std::size_t i = 0; i < code.size();)
        {
            const std::int8_t control = std::int8_t(code[i]);
            ASSERT_GE(int(control), -128) << c.what;
            i += control >= 0 ? 2 : 1 + std::size_t(-control);
            ASSERT_LE(i, code.size()) << c.what;
        }
        EXPECT_LE(code.size(), 2 * c.plane.size()) << c.what;
        std::vector<std::uint8_t> decoded(c.plane.size());
        ASSERT_TRUE(cRecordReader::DecodePlane(code.data(), code.size(), decoded.data(), decoded.size())) << c.what;
        EXPECT_EQ(decoded, c.plane) << c.what;
    }
}

TEST(BVFile, PlaneDecoderStopsAtThePlaneAndTheCode)
{
    struct sCase
    {
        const char* what;
        std::vector<std::uint8_t> code;
        std::size_t size;
    };
    const sCase cases[] = {
        {"run past the plane", {10, 1}, 4},
        {"literal past the plane", {0xFB, 1, 2, 3, 4, 5}, 4},
        {"literal past the code", {0xFC, 1, 2}, 4},
        {"run without its byte", {2}, 4},
        {"code ends early", {0, 1}, 4},
        {"no code", {}, 1},
    };
    for (const sCase& c : cases)
    {
        std::vector<std::uint8_t> plane(c.size + 16, 0xAB);
        EXPECT_FALSE(cRecordReader::DecodePlane(c.code.data(), c.code.size(), plane.data(), c.size)) << c.what;
        for (std::size_t i = c.size; i < plane.size(); ++i)
            ASSERT_EQ(plane[i], 0xAB) << c.what << ": wrote past the plane";
    }
}

TEST(BVFile, CapturesReadBackPixelIdentical)
{
    Testing::cTempFolder folder;
    Brimvale::cTBVFile file;
    struct sCase
    {
        const char16_t* name;
        Painter::cPicture picture;
    };
    Painter::cPicture translucent = PictureFileTest::MakePattern(Painter::FORMAT_ARGB32, 41, 17, 3);
    for (std::int32_t y = 0; y < translucent.Height(); ++y)
        for (std::int32_t x = 0; x < translucent.Width(); ++x)
            translucent.SetPixel(x, y, translucent.Pixel(x, y) | 0x01000000u);
    Painter::cPicture opaque = PictureFileTest::MakePattern(Painter::FORMAT_ARGB32, 300, 7, 5);
    opaque.SetOpaque();
    const sCase cases[] = {{u"opaque.tbv", opaque}, {u"translucent.tbv", translucent}, {u"flat.tbv", Solid(260, 3, 0xFF102030u)}};
    for (const sCase& c : cases)
    {
        ASSERT_TRUE(file.Save(c.picture, FileIn(folder, c.name)));
        Painter::cPicture back;
        ASSERT_TRUE(file.Load(back, FileIn(folder, c.name)));
        ASSERT_EQ(back.Format(), Painter::FORMAT_ARGB32);
        ASSERT_EQ(back.Width(), c.picture.Width());
        ASSERT_EQ(back.Height(), c.picture.Height());
        for (std::int32_t y = 0; y < back.Height(); ++y)
            for (std::int32_t x = 0; x < back.Width(); ++x)
                ASSERT_EQ(back.Pixel(x, y), c.picture.Pixel(x, y)) << x << "," << y;
    }
}

TEST(BVFile, HeaderAndCanvasFailures)
{
    struct sCase
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        int error;
    };
    auto withVersion = [](std::int32_t version) {
        cBytes b = DocumentStart(1, 1, version);
        return b.Bytes();
    };
    const sCase cases[] = {
        {"empty file", {}, cBVFile::ErrorNotDocument},
        {"short header", {'t', 'b', 'v', 0, 1}, cBVFile::ErrorNotDocument},
        {"bad magic", {'t', 'b', 'x', 0, 1, 0, 0, 0}, cBVFile::ErrorNotDocument},
        {"file version 2", withVersion(2), cBVFile::ErrorVersion},
        {"file version -1", withVersion(-1), cBVFile::ErrorVersion},
        {"header only", {'t', 'b', 'v', 0, 1, 0, 0, 0}, cBVFile::ErrorDamaged},
        {"no canvas", [] {
             cBytes b = DocumentStart(0, 0);
             b.I16(0).Append(ObjectRecord()).U8(1).I32(0).I16(1).U8(1).I32(0);
             return b.Bytes();
         }(), cBVFile::ErrorDamaged},
        {"cut short", [] {
             cBytes b = CaptureDocumentStart(1, 1);
             return b.Bytes();
         }(), cBVFile::ErrorDamaged},
    };
    for (const sCase& c : cases)
    {
        int error = -1;
        EXPECT_FALSE(Read(c.bytes, &error)) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
        Brimvale::cTBVFile file;
        Painter::cPicture picture;
        EXPECT_FALSE(file.LoadFromMemory(picture, c.bytes.data(), c.bytes.size())) << c.what;
    }
    cBVFile file;
    EXPECT_FALSE(file.ReadScene(u"/nonexistent/folder/x.tbv"));
    EXPECT_EQ(file.Error(), cBVFile::ErrorOpen);
}

TEST(BVFile, HostileCountsAndValuesAreRefused)
{
    const Painter::cPicture pixel = Solid(1, 1, 0xFFFFFFFFu);
    struct sCase
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    auto document = [&](const cBytes& graphic, const cBytes& picture) {
        cBytes b = DocumentStart(1, 1);
        b.I16(0).Append(ObjectRecord()).U8(1).I32(1);
        b.I32(256).I16(1).Append(graphic).Append(picture);
        b.I16(1).U8(1).I32(0);
        return b.Bytes();
    };
    const cBytes plainGraphic = GraphicRecord(ObjectRecord());
    auto groups = [&](int depth) {
        cBytes b = DocumentStart(1, 1);
        b.I16(0).Append(ObjectRecord()).U8(1).I32(1);
        for (int i = 1; i < depth; ++i)
            b.I32(1).I16(0).Append(ObjectRecord()).U8(1).I32(i + 1 < depth ? 1 : 0);
        b.I16(1).U8(1).I32(0);
        return b.Bytes();
    };
    ASSERT_TRUE(Read(groups(64))) << "64 nested groups are fine";
    // The templates the cases below break are themselves sound.
    ASSERT_TRUE(Read(document(plainGraphic, RawPictureRecord(pixel))));
    {
        cBytes b = DocumentStart(1, 1);
        b.I16(0).Append(ObjectRecord()).U8(1).I32(1);
        b.I32(512).I16(2).Append(GraphicRecord(ObjectRecord())).U8(0);
        b.I16(0).I32(1).I16(4).WString(u"Arial").F32(12).F32(0).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0);
        b.I32(1).I16(0).I16(0).U8(0).I32(1).I16('A').I16(0);
        b.I16(1).U8(1).I32(0);
        ASSERT_TRUE(Read(b.Bytes())) << "a text layer with a valid style index";
    }
    const sCase cases[] = {
        {"name longer than the file", [] {
             cBytes b;
             b.Text("tbv", 4).I32(1).I16(5).I32(0x7FFFFFFF);
             return b.Bytes();
         }()},
        {"negative name length", [] {
             cBytes b;
             b.Text("tbv", 4).I32(1).I16(5).I32(-4);
             return b.Bytes();
         }()},
        {"a billion children", [] {
             cBytes b = DocumentStart(1, 1);
             b.I16(0).Append(ObjectRecord()).U8(1).I32(1000000000);
             return b.Bytes();
         }()},
        {"a billion styles", [&] {
             cBytes g;
             g.I16(1).I16(0).Append(ObjectRecord()).U8(255).U8(0).I16(1).U8(1).I32(1000000000);
             return document(g, RawPictureRecord(pixel));
         }()},
        {"plane length past the end", [&] {
             cBytes p;
             p.I16(2).I32(1).I32(1).I32(0x12000).U8(1).I32(0x7FFFFFF0).U8(0xFF).U8(1);
             return document(plainGraphic, p);
         }()},
        {"plane code longer than the plane", [&] {
             cBytes p;
             p.I16(2).I32(1).I32(1).I32(0x12000).U8(1);
             for (int i = 0; i < 4; ++i)
                 p.I32(2).U8(5).U8(1);
             return document(plainGraphic, p);
         }()},
        {"16-bit pixel format", document(plainGraphic, RawPictureRecord(pixel, Painter::FORMAT_RGB16))},
        {"8-bit pixel format", document(plainGraphic, RawPictureRecord(pixel, Painter::FORMAT_INDEX8))},
        {"24-bit pixel format", document(plainGraphic, RawPictureRecord(pixel, Painter::FORMAT_RGB24))},
        {"blending mode 31", document(GraphicRecord(ObjectRecord(), 255, 31), RawPictureRecord(pixel))},
        {"mask flag 2", [&] {
             cBytes g;
             g.I16(1).I16(0).Append(ObjectRecord()).U8(255).U8(0).I16(1).U8(1).I32(0).U8(2);
             return document(g, RawPictureRecord(pixel));
         }()},
        {"65 nested groups", groups(65)},
        {"object version 9", [&] {
             cBytes o = ObjectRecord();
             std::vector<std::uint8_t> bytes = o.Bytes();
             bytes[0] = 9;
             cBytes newer;
             for (auto b : bytes)
                 newer.U8(b);
             return document(GraphicRecord(newer), RawPictureRecord(pixel));
         }()},
        {"scene version 6", [] {
             std::vector<std::uint8_t> b = DocumentStart(1, 1).Bytes();
             b[8] = 6;
             return b;
         }()},
        {"picture version 3", [&] {
             std::vector<std::uint8_t> p = RawPictureRecord(pixel).Bytes();
             p[0] = 3;
             cBytes picture;
             for (auto b : p)
                 picture.U8(b);
             return document(plainGraphic, picture);
         }()},
        {"unknown kind code", [] {
             cBytes b = DocumentStart(1, 1);
             b.I16(0).Append(ObjectRecord()).U8(1).I32(1).I32(258);
             return b.Bytes();
         }()},
        {"unknown style kind", [&] {
             cBytes g;
             g.I16(1).I16(0).Append(ObjectRecord()).U8(255).U8(0).I16(1).U8(1).I32(1).I32(14).I16(0).U8(1);
             return document(g, RawPictureRecord(pixel));
         }()},
        {"outline fill kind 2", [&] {
             cBytes g;
             g.I16(1).I16(0).Append(ObjectRecord()).U8(255).U8(0).I16(1).U8(1).I32(1);
             g.I32(1).I16(0).U8(1).I32(3).I32(2);                 // outline, size 3, fill kind 2
             g.I16(0).U8(1).I32(-1).I32(0);                       // colour fill
             g.I16(1).U8(1).I32(255).I32(0).I32(100).I32(0).U8(0); // gradation fill
             g.I16(1).U8(0).I32(0).WString(u"").I32(0).I32(0).I32(0).I32(0).I16(0).I32(0).I32(0);
             g.I32(50).I32(50).I32(0);
             g.U8(0);
             return document(g, RawPictureRecord(pixel));
         }()},
        {"shadow size beyond the limit", [&] {
             cBytes g;
             g.I16(1).I16(0).Append(ObjectRecord()).U8(255).U8(0).I16(1).U8(1).I32(1);
             g.I32(2).I16(0).U8(1).I16(1).U8(0).I32(-16777216).I32(5).I32(45).I32(0x40000000);
             g.U8(0);
             return document(g, RawPictureRecord(pixel));
         }()},
        {"colour fill mode 99", [&] {
             cBytes g;
             g.I16(1).I16(0).Append(ObjectRecord()).U8(255).U8(0).I16(1).U8(1).I32(1);
             g.I32(9).I16(0).U8(1).I32(-1).I32(99);
             g.U8(0);
             return document(g, RawPictureRecord(pixel));
         }()},
        {"canvas beyond the pixel budget", [] {
             cBytes b = DocumentStart(32767, 32767);
             b.I16(0).Append(ObjectRecord()).U8(1).I32(0).I16(1).U8(1).I32(0);
             return b.Bytes();
         }()},
        {"Exif entry larger than the file", [] {
             cBytes b;
             b.Text("tbv", 4).I32(1).I16(5).WString(u"").I32(1).I32(1).I32(96).U8(1);
             b.I16(0).U8(0).I16(0).I32(1).I16(0x10F).I16(2).I32(0x40000000);
             return b.Bytes();
         }()},
        {"text style index out of range", [] {
             cBytes b = DocumentStart(1, 1);
             b.I16(0).Append(ObjectRecord()).U8(1).I32(1);
             b.I32(512).I16(2).Append(GraphicRecord(ObjectRecord())).U8(0);
             b.I16(0).I32(0);                       // no text styles
             b.I32(1).I16(0).I16(3).U8(0).I32(0);   // a run naming style 3
             b.I16(1).U8(1).I32(0);
             return b.Bytes();
         }()},
    };
    for (const sCase& c : cases)
    {
        int error = 0;
        EXPECT_FALSE(Read(c.bytes, &error)) << c.what;
        EXPECT_EQ(error, cBVFile::ErrorDamaged) << c.what;
    }
}

TEST(BVFile, OlderRecordVersionsAreRead)
{
    // An image layer whose object record is version 4 (extra position
    // block, rotation in whole degrees) and whose picture record is
    // version 1 (raw rows).
    cBytes object;
    object.I16(4).WString(u"old").I32(3).I32(4).I32(0).I32(0).I32(90).U8(1).U8(7).I32(11).I16(5).U8(1).U8(2);
    cBytes picture;
    picture.I16(1).I32(2).I32(1).I32(0x12000).I32(int(0xFF0000FFu)).I32(int(0x80FF0000u));
    cBytes b = DocumentStart(8, 8);
    b.I16(0).Append(ObjectRecord()).U8(1).I32(1);
    b.I32(256).I16(1).Append(GraphicRecord(object)).Append(picture);
    b.I16(1).U8(1).I32(0);
    std::unique_ptr<Brimvale::cBVScene> scene = Read(b.Bytes());
    ASSERT_TRUE(scene);
    ASSERT_EQ(scene->Root().ChildCount(), 1u);
    const Brimvale::cBVObject& layer = scene->Root().Child(0);
    EXPECT_EQ(std::u16string(layer.Name().View()), u"old");
    EXPECT_EQ(layer.Position(), (Container::sPoint{3, 4}));
    EXPECT_NEAR(layer.Rotation(), std::numbers::pi / 2, 1e-6);
    EXPECT_EQ(layer.ScaleX(), 1.0f);
    EXPECT_EQ(layer.State().secondFlag, 7);
    EXPECT_EQ(layer.State().stateValue, 11);
    EXPECT_EQ(layer.State().linkValue, 5);
    const Painter::cPicture* pixels = layer.GetPicture();
    ASSERT_TRUE(pixels && !pixels->IsEmpty());
    EXPECT_EQ(pixels->Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(pixels->Pixel(1, 0), 0x80FF0000u);
    // The group around it now covers the rotated layer.
    EXPECT_EQ(scene->Root().GetBounds(true), (Container::sRect{2, 4, 3, 6}));

    // Object record version 0: no state flag and value, no rotation.
    cBytes v0;
    v0.I16(0).WString(u"").I32(1).I32(2).U8(0).I16(-1).U8(0).U8(0);
    cBytes d = DocumentStart(2, 2);
    d.I16(0).Append(ObjectRecord()).U8(1).I32(1);
    d.I32(256).I16(1).Append(GraphicRecord(v0)).Append(RawPictureRecord(Solid(1, 1, 0xFFFFFFFFu)));
    d.I16(1).U8(1).I32(0);
    scene = Read(d.Bytes());
    ASSERT_TRUE(scene);
    EXPECT_EQ(scene->Root().Child(0).Visible(), 0);
    EXPECT_EQ(scene->Root().Child(0).Position(), (Container::sPoint{1, 2}));
}

TEST(BVFile, OldFormNamesKindsByTags)
{
    // File version 0: every version number sits in a 16-byte block whose
    // first 8 bytes are the record's tag.
    cBytes object;
    object.OldVersion("", 8).WString(u"").I32(0).I32(0).F32(0).F32(1).F32(1).F32(0).F32(0).F32(0).F32(0);
    object.U8(1).U8(0).I32(0).I16(-1).U8(0).U8(0);
    cBytes b;
    b.Text("tbv", 4).I32(0);
    b.OldVersion("", 5).WString(u"").I32(2).I32(1).I32(96).U8(0);
    b.OldVersion("", 1).I32(10).I32(10).U8(1).U8(1).I32(0).I32(0);
    b.OldVersion("Group", 0).Append(object).U8(1).I32(1);
    b.OldVersion("Image", 1).OldVersion("", 1).OldVersion("", 0).Append(object).U8(255).U8(0);
    b.OldVersion("", 1).U8(1).I32(1);
    b.OldVersion("Round", 1).U8(1).I32(0);  // a round style of radius 0
    b.U8(0);
    b.OldVersion("", 2).I32(2).I32(1).I32(0x12000).U8(0);
    for (std::uint8_t v : {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0xFF, 0xFF})
        b.U8(v);
    b.OldVersion("", 1).U8(1).I32(0);
    Brimvale::cTBVFile file;
    Painter::cPicture picture;
    ASSERT_TRUE(file.LoadFromMemory(picture, b.Bytes().data(), b.Size()));
    EXPECT_EQ(picture.Pixel(0, 0), 0xFF503010u);
    EXPECT_EQ(picture.Pixel(1, 0), 0xFF604020u);

    std::vector<std::uint8_t> wrongTag = b.Bytes();
    // The child's tag names its kind: "Imagf" names none.
    const std::string text(wrongTag.begin(), wrongTag.end());
    const std::size_t at = text.find("Image");
    ASSERT_NE(at, std::string::npos);
    wrongTag[at + 4] = 'f';
    EXPECT_FALSE(file.LoadFromMemory(picture, wrongTag.data(), wrongTag.size()));
}

TEST(BVFile, MetadataTravelsThroughTheDocument)
{
    auto info = std::make_unique<PictureFile::cExifInfo>();
    info->byteOrder = 1;
    info->primary.Append({0x010F, PictureFile::cExifInfo::TypeAscii, 6, {'C', 'a', 'm', 'e', 'r', 0}});
    info->primary.Append({0x0112, PictureFile::cExifInfo::TypeShort, 1, {0, 1}});
    info->exif.Append({0x9000, PictureFile::cExifInfo::TypeUndefined, 4, {'0', '2', '3', '0'}});
    info->gps.Append({0x0000, PictureFile::cExifInfo::TypeByte, 4, {2, 2, 0, 0}});
    info->makerNote = {'N', 'o', 't', 'e'};
    info->comment = Container::cByteString("a comment");
    const PictureFile::cExifInfo original = *info;
    Painter::cPicture picture = Solid(3, 2, 0xFF445566u);
    PictureFile::cExifInfo::AttachTo(picture, std::move(info));

    Testing::cTempFolder folder;
    Brimvale::cTBVFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"m.tbv")));
    const std::vector<std::uint8_t> bytes = ReadBytes(FileIn(folder, u"m.tbv"));
    ASSERT_GT(bytes.size(), 27u);
    EXPECT_EQ(bytes[26], 1) << "the metadata flag";
    Painter::cPicture back;
    ASSERT_TRUE(file.Load(back, FileIn(folder, u"m.tbv")));
    ASSERT_NE(back.Exif(), nullptr);
    EXPECT_EQ(back.Exif()->byteOrder, 1);
    EXPECT_TRUE(back.Exif()->primary == original.primary);
    EXPECT_TRUE(back.Exif()->exif == original.exif);
    EXPECT_TRUE(back.Exif()->gps == original.gps);
    EXPECT_EQ(back.Exif()->makerNote, original.makerNote);
    EXPECT_EQ(std::string(back.Exif()->comment.Text()), "a comment");
}

TEST(BVFile, FailedSavesKeepTheOldFile)
{
    Testing::cTempFolder folder;
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(FileIn(folder, u"x.tbv"), old);
    Brimvale::cTBVFile file;
    EXPECT_FALSE(file.Save(Painter::cPicture(), FileIn(folder, u"x.tbv")));
    EXPECT_EQ(ReadBytes(FileIn(folder, u"x.tbv")), old);
    EXPECT_FALSE(file.Save(Solid(2, 2, 0xFFFFFFFFu), FileIn(folder, u"missing/x.tbv")));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(BVFile, RenderingWorkIsBoundedBeforeAnythingRuns)
{
    Brimvale::cBVScene scene;
    ASSERT_TRUE(scene.SetCanvasSize(16, 16));
    auto image = ImageLayer(Solid(2000, 2000, 0xFFFFFFFFu));
    auto glow = std::make_unique<Style::cStyle::cOuterGlow>();
    glow->SetSizes(4096, 4096);
    image->Styles().Add(std::move(glow));
    scene.Root().AddChild(std::move(image));
    EXPECT_GT(scene.EstimateRenderWork(), Brimvale::sDocumentLimits::kBaseRenderWork);
    EXPECT_FALSE(scene.Render());

    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(cBVFile::SerializeScene(scene, bytes));
    Brimvale::cTBVFile file;
    Painter::cPicture picture;
    EXPECT_FALSE(file.LoadFromMemory(picture, bytes.data(), bytes.size()));

    // Found by fuzzing: a wide outline around one pixel is a spread over
    // 600 x 600 pixels with a pass per chord of its disc, minutes of work
    // from a file of a few hundred bytes.
    Brimvale::cBVScene small;
    ASSERT_TRUE(small.SetCanvasSize(1, 1));
    auto pixel = ImageLayer(Solid(1, 1, 0xFFFFFFFFu));
    auto outline = std::make_unique<Style::cStyle::cOutline>();
    outline->SetSize(300);
    pixel->Styles().Add(std::move(outline));
    small.Root().AddChild(std::move(pixel));
    ASSERT_TRUE(cBVFile::SerializeScene(small, bytes));
    EXPECT_LT(bytes.size(), 1000u);
    EXPECT_GT(small.EstimateRenderWork(), Brimvale::sDocumentLimits::RenderWorkFor(bytes.size()));
    EXPECT_FALSE(file.LoadFromMemory(picture, bytes.data(), bytes.size()));
    // A modest one renders.
    small.Root().Child(0).Invalidate();
    static_cast<Brimvale::cBVImage&>(small.Root().Child(0)).Styles().Clear();
    auto modest = std::make_unique<Style::cStyle::cOutline>();
    modest->SetSize(20);
    static_cast<Brimvale::cBVImage&>(small.Root().Child(0)).Styles().Add(std::move(modest));
    ASSERT_TRUE(cBVFile::SerializeScene(small, bytes));
    EXPECT_TRUE(file.LoadFromMemory(picture, bytes.data(), bytes.size()));
}
