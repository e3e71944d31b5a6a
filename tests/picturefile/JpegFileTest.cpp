#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "framework/painter/Picture.h"
#include "framework/picturefile/ExifInfo.h"
#include "framework/picturefile/JpegFile.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace PictureFileTest;
using PictureFile::cExifInfo;
using PictureFile::cJpegFile;

namespace {

struct sSegment
{
    std::uint8_t marker;
    std::vector<std::uint8_t> payload;
};

// The marker segments up to the first scan.
std::vector<sSegment> Segments(const std::vector<std::uint8_t>& jpeg)
{
    std::vector<sSegment> segments;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF)
    {
        const std::uint8_t marker = jpeg[at + 1];
        const std::size_t length = std::size_t(jpeg[at + 2] << 8 | jpeg[at + 3]);
        if (at + 2 + length > jpeg.size())
            break;
        segments.push_back({marker, std::vector<std::uint8_t>(jpeg.begin() + std::ptrdiff_t(at + 4),
                                                              jpeg.begin() + std::ptrdiff_t(at + 2 + length))});
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return segments;
}

const sSegment* FindSegment(const std::vector<sSegment>& segments, std::uint8_t marker)
{
    for (const auto& s : segments)
        if (s.marker == marker)
            return &s;
    return nullptr;
}

// The largest difference of any colour channel.
int MaxError(const Painter::cPicture& a, const Painter::cPicture& b)
{
    int worst = 0;
    for (std::int32_t y = 0; y < a.Height(); ++y)
        for (std::int32_t x = 0; x < a.Width(); ++x)
        {
            const std::uint32_t p = Bgr(a, x, y), q = Bgr(b, x, y);
            for (int s = 0; s < 24; s += 8)
                worst = std::max(worst, std::abs(int((p >> s) & 255) - int((q >> s) & 255)));
        }
    return worst;
}

cExifInfo::sEntry Entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::vector<std::uint8_t> value)
{
    cExifInfo::sEntry entry;
    entry.tag = tag;
    entry.type = type;
    entry.count = count;
    entry.value = std::move(value);
    return entry;
}

// Inserts a segment right after SOI.
std::vector<std::uint8_t> InsertSegment(const std::vector<std::uint8_t>& jpeg, std::uint8_t marker,
                                        const std::vector<std::uint8_t>& payload)
{
    std::vector<std::uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    out.push_back(0xFF);
    out.push_back(marker);
    out.push_back(std::uint8_t((payload.size() + 2) >> 8));
    out.push_back(std::uint8_t(payload.size() + 2));
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

} // namespace

TEST(JpegFile, DefaultSaveIsProgressiveQuality100Subsampled2x2WithoutMetadata)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(64, 48);
    cJpegFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"d.jpg")));
    const auto segments = Segments(ReadBytes(FileIn(folder, u"d.jpg")));
    EXPECT_FALSE(FindSegment(segments, 0xE1));
    EXPECT_FALSE(FindSegment(segments, 0xFE));
    const sSegment* frame = FindSegment(segments, 0xC2);
    ASSERT_TRUE(frame) << "progressive frame header";
    EXPECT_EQ(frame->payload[5], 3);       // components
    EXPECT_EQ(frame->payload[7], 0x22);    // first component 2 x 2
    EXPECT_EQ(frame->payload[10], 0x11);
    const sSegment* tables = FindSegment(segments, 0xDB);
    ASSERT_TRUE(tables);
    for (std::size_t i = 1; i < 65; ++i)
        EXPECT_EQ(tables->payload[i], 1) << "quality 100 quantizes by 1";
}

TEST(JpegFile, CodingModesAndSubsamplingRoundTripWithinASmallError)
{
    Testing::cTempFolder folder;
    const Painter::cPicture picture = MakeSmooth(97, 61);
    struct sCase { int coding; int subsampling; std::uint8_t frameMarker; std::uint8_t sampling; };
    const sCase cases[] = {
        {0, 0, 0xC0, 0x22}, {1, 0, 0xC0, 0x22}, {2, 0, 0xC2, 0x22},
        {0, 1, 0xC0, 0x21}, {1, 2, 0xC0, 0x11}, {2, 2, 0xC2, 0x11},
    };
    for (const sCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "coding " << c.coding << " subsampling " << c.subsampling);
        cJpegFile file;
        file.SaveOptions().o6 = c.coding;
        file.SaveOptions().o7 = c.subsampling;
        ASSERT_TRUE(file.Save(picture, FileIn(folder, u"m.jpg")));
        const auto bytes = ReadBytes(FileIn(folder, u"m.jpg"));
        const auto segments = Segments(bytes);
        const sSegment* frame = FindSegment(segments, c.frameMarker);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->payload[7], c.sampling);
        Painter::cPicture back;
        ASSERT_TRUE(file.Load(back, FileIn(folder, u"m.jpg")));
        EXPECT_EQ(back.Format(), Painter::FORMAT_RGB24);
        ASSERT_EQ(back.Width(), 97);
        ASSERT_EQ(back.Height(), 61);
        EXPECT_LE(MaxError(picture, back), 4);
        Painter::cPicture fromMemory;
        ASSERT_TRUE(file.LoadFromMemory(fromMemory, bytes.data(), bytes.size()));
        EXPECT_EQ(MaxError(back, fromMemory), 0);
    }
}

TEST(JpegFile, AlphaIsIgnoredNotComposited)
{
    Testing::cTempFolder folder;
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, 16, 16);
    picture.Fill(0x00C08040);    // fully transparent
    cJpegFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"a.jpg")));
    Painter::cPicture back;
    ASSERT_TRUE(file.Load(back, FileIn(folder, u"a.jpg")));
    const std::uint32_t v = Bgr(back, 8, 8);
    EXPECT_NEAR(int(v >> 16), 0xC0, 2);
    EXPECT_NEAR(int((v >> 8) & 255), 0x80, 2);
    EXPECT_NEAR(int(v & 255), 0x40, 2);
    // 24-bit pictures save too; other formats are refused without a file.
    EXPECT_TRUE(file.Save(MakePattern(Painter::FORMAT_RGB24, 5, 5), FileIn(folder, u"b.jpg")));
    EXPECT_FALSE(file.Save(MakePattern(Painter::FORMAT_INDEX8, 5, 5), FileIn(folder, u"c.jpg")));
    EXPECT_FALSE(std::filesystem::exists(FileIn(folder, u"c.jpg")));
}

TEST(JpegFile, ExifAndCommentSurviveLoadAndSave)
{
    Testing::cTempFolder folder;
    Painter::cPicture picture = MakeSmooth(32, 32);
    auto exif = std::make_unique<cExifInfo>();
    exif->byteOrder = 1;
    exif->primary.Set(Entry(0x010F, cExifInfo::TypeAscii, 6, {'M', 'a', 'k', 'e', 'r', 0}));
    exif->primary.Set(Entry(0x0112, cExifInfo::TypeShort, 1, {0, 1}));
    exif->primary.Set(Entry(cExifInfo::TagExifPointer, cExifInfo::TypeLong, 1, {0, 0, 0, 0}));
    exif->exif.Set(Entry(0x829A, cExifInfo::TypeRational, 1, {0, 0, 0, 1, 0, 0, 0, 60}));
    exif->exif.Set(Entry(cExifInfo::TagInteropPointer, cExifInfo::TypeLong, 1, {0, 0, 0x12, 0x34}));
    exif->comment = "a comment";
    cExifInfo::AttachTo(picture, std::move(exif));

    cJpegFile file;
    ASSERT_TRUE(file.Save(picture, FileIn(folder, u"e.jpg")));
    const auto bytes = ReadBytes(FileIn(folder, u"e.jpg"));
    const auto segments = Segments(bytes);
    const sSegment* app1 = FindSegment(segments, 0xE1);
    ASSERT_TRUE(app1);
    ASSERT_GE(app1->payload.size(), 14u);
    EXPECT_EQ(0, std::memcmp(app1->payload.data(), "Exif\0\0MM\0\x2a\0\0\0\x08", 14));
    const sSegment* comment = FindSegment(segments, 0xFE);
    ASSERT_TRUE(comment);
    EXPECT_EQ(std::string(comment->payload.begin(), comment->payload.end()), "a comment");

    Painter::cPicture back;
    ASSERT_TRUE(file.Load(back, FileIn(folder, u"e.jpg")));
    ASSERT_TRUE(back.Exif());
    EXPECT_EQ(back.Exif()->byteOrder, 1);
    EXPECT_EQ(std::string(back.Exif()->comment.Text()), "a comment");
    ASSERT_TRUE(back.Exif()->primary.Find(0x010F));
    EXPECT_EQ(back.Exif()->primary.Find(0x010F)->value, picture.Exif()->primary.Find(0x010F)->value);
    EXPECT_TRUE(back.Exif()->exif.Find(0x829A));
    EXPECT_FALSE(back.Exif()->exif.Find(cExifInfo::TagInteropPointer)) << "its target is not written";
    EXPECT_TRUE(back.Exif()->Layout(true));

    // Copies of the picture carry their own copy; saving again keeps both.
    Painter::cPicture copy(back);
    ASSERT_TRUE(copy.Exif());
    EXPECT_NE(copy.Exif(), back.Exif());
    ASSERT_TRUE(file.Save(copy, FileIn(folder, u"f.jpg")));
    Painter::cPicture again;
    ASSERT_TRUE(file.Load(again, FileIn(folder, u"f.jpg")));
    ASSERT_TRUE(again.Exif());
    EXPECT_TRUE(again.Exif()->primary == back.Exif()->primary);
    EXPECT_TRUE(again.Exif()->exif == back.Exif()->exif);
    EXPECT_EQ(std::string(again.Exif()->comment.Text()), "a comment");
}

TEST(JpegFile, OnlyAnExifApp1SegmentYieldsExif)
{
    Testing::cTempFolder folder;
    cJpegFile file;
    ASSERT_TRUE(file.Save(MakeSmooth(16, 16), FileIn(folder, u"p.jpg")));
    const auto plain = ReadBytes(FileIn(folder, u"p.jpg"));
    const std::string xmp = "http://ns.adobe.com/xap/1.0/";
    std::vector<std::uint8_t> payload(xmp.begin(), xmp.end());
    payload.push_back(0);
    payload.resize(64, ' ');
    const auto withXmp = InsertSegment(plain, 0xE1, payload);
    Painter::cPicture picture;
    ASSERT_TRUE(file.LoadFromMemory(picture, withXmp.data(), withXmp.size()));
    EXPECT_FALSE(picture.Exif());

    // A broken Exif block does not stop the picture from loading.
    std::vector<std::uint8_t> broken = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2};
    const auto withBroken = InsertSegment(plain, 0xE1, broken);
    ASSERT_TRUE(file.LoadFromMemory(picture, withBroken.data(), withBroken.size()));
    EXPECT_TRUE(!picture.Exif() || !picture.Exif()->HasExif());
}

TEST(JpegFile, DamagedDataFailsOrDecodesWithoutHarm)
{
    Testing::cTempFolder folder;
    cJpegFile file;
    file.SaveOptions().o6 = 2;
    ASSERT_TRUE(file.Save(MakeSmooth(40, 24), FileIn(folder, u"t.jpg")));
    const auto bytes = ReadBytes(FileIn(folder, u"t.jpg"));
    Painter::cPicture picture = MakePattern(Painter::FORMAT_ARGB32, 3, 3);
    // Cut anywhere: either a clean failure or a picture of the right size.
    for (std::size_t size = 0; size < bytes.size(); size += 7)
    {
        std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        Painter::cPicture out = MakePattern(Painter::FORMAT_ARGB32, 3, 3);
        if (file.LoadFromMemory(out, prefix.data(), prefix.size()))
            EXPECT_EQ(out.Width(), 40);
        else
            EXPECT_EQ(out.Width(), 3);
    }
    const std::vector<std::uint8_t> garbage(100, 0x5A);
    EXPECT_FALSE(file.LoadFromMemory(picture, garbage.data(), garbage.size()));
    WriteBytes(FileIn(folder, u"g.jpg"), garbage);
    EXPECT_FALSE(file.Load(picture, FileIn(folder, u"g.jpg")));
    PictureFile::sPictureInfo info;
    EXPECT_FALSE(file.GetInfo(info, FileIn(folder, u"g.jpg")));
    ASSERT_TRUE(file.GetInfo(info, FileIn(folder, u"t.jpg")));
    EXPECT_EQ(info.width, 40);
    EXPECT_EQ(info.height, 24);
    EXPECT_EQ(info.format, Painter::FORMAT_RGB24);
    EXPECT_EQ(picture.Width(), 3) << "failed loads leave the picture alone";
}

TEST(JpegFile, SaveIntoAMissingFolderLeavesNothing)
{
    Testing::cTempFolder folder;
    cJpegFile file;
    EXPECT_FALSE(file.Save(MakeSmooth(8, 8), FileIn(folder, u"missing/x.jpg")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(JpegFile, FramesLargerThanAPictureFailCleanly)
{
    Testing::cTempFolder folder;
    cJpegFile file;
    file.SaveOptions().o6 = 0;
    ASSERT_TRUE(file.Save(MakeSmooth(16, 8), FileIn(folder, u"s.jpg")));
    auto bytes = ReadBytes(FileIn(folder, u"s.jpg"));
    // Patch the frame header to 40000 x 8: more than a picture can hold.
    std::size_t at = 2;
    while (at + 4 < bytes.size() && bytes[at + 1] != 0xC0)
        at += 2 + std::size_t(bytes[at + 2] << 8 | bytes[at + 3]);
    ASSERT_LT(at + 9, bytes.size());
    bytes[at + 7] = std::uint8_t(40000 >> 8);
    bytes[at + 8] = std::uint8_t(40000 & 255);
    Painter::cPicture picture = MakePattern(Painter::FORMAT_RGB24, 2, 2);
    EXPECT_FALSE(file.LoadFromMemory(picture, bytes.data(), bytes.size()));
    EXPECT_EQ(picture.Width(), 2);
}
