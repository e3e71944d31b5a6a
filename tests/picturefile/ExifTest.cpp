#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "framework/picturefile/ExifInfo.h"

using PictureFile::cExifInfo;

namespace {

cExifInfo::sEntry Entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::vector<std::uint8_t> value)
{
    cExifInfo::sEntry entry;
    entry.tag = tag;
    entry.type = type;
    entry.count = count;
    entry.value = std::move(value);
    return entry;
}

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t first)
{
    std::vector<std::uint8_t> v(count);
    for (std::size_t i = 0; i < count; ++i)
        v[i] = std::uint8_t(first + i);
    return v;
}

// Every kind of directory, inline and out-of-line values, and a maker
// note that holds a directory.
cExifInfo MakeInfo(std::uint8_t byteOrder, bool fujiMakerNote)
{
    cExifInfo info;
    info.byteOrder = byteOrder;
    info.primary.Set(Entry(0x010F, cExifInfo::TypeAscii, 9, Bytes(9, 'A')));
    info.primary.Set(Entry(0x0112, cExifInfo::TypeShort, 1, {0, 1}));
    info.primary.Set(Entry(cExifInfo::TagGpsPointer, cExifInfo::TypeLong, 1, {0, 0, 0, 0}));
    info.primary.Set(Entry(0x011A, cExifInfo::TypeRational, 1, Bytes(8, 1)));
    info.primary.Set(Entry(cExifInfo::TagExifPointer, cExifInfo::TypeLong, 1, {0, 0, 0, 0}));
    info.gps.Set(Entry(0x0002, cExifInfo::TypeRational, 3, Bytes(24, 50)));
    info.gps.Set(Entry(0x0001, cExifInfo::TypeAscii, 2, {'N', 0}));
    info.exif.Set(Entry(0x829A, cExifInfo::TypeRational, 1, Bytes(8, 9)));
    info.exif.Set(Entry(0x9286, cExifInfo::TypeUndefined, 13, Bytes(13, 100)));    // odd size
    info.exif.Set(Entry(0x9999, 99, 5, Bytes(5, 7)));                              // unknown type
    info.exif.Set(Entry(cExifInfo::TagMakerNote, cExifInfo::TypeUndefined, 0, {}));
    info.exif.Set(Entry(0xA002, cExifInfo::TypeLong, 1, Bytes(4, 3)));
    if (fujiMakerNote)
    {
        info.makerNote = {'F', 'U', 'J', 'I', 'F', 'I', 'L', 'M'};
        // The maker note's own directory is little-endian.
        info.makerNoteDirectory.Set(Entry(0x0000, cExifInfo::TypeUndefined, 4, {'0', '1', '3', '0'}));
        info.makerNoteDirectory.Set(Entry(0x1000, cExifInfo::TypeAscii, 10, Bytes(10, 'a')));
    }
    else
    {
        info.makerNoteDirectory.Set(Entry(0x0001, cExifInfo::TypeShort, 1, {0, 7}));
        info.makerNoteDirectory.Set(Entry(0x0002, cExifInfo::TypeLong, 3, Bytes(12, 20)));
    }
    return info;
}

// Same entries in the same order; the values of pointer entries (and of
// the maker note, rebuilt from its parts) are the layout's business.
void ExpectSameEntries(const cExifInfo::cDirectory& a, const cExifInfo::cDirectory& b)
{
    ASSERT_EQ(a.Count(), b.Count());
    for (std::size_t i = 0; i < a.Count(); ++i)
    {
        const auto& x = a.Entries()[i];
        const auto& y = b.Entries()[i];
        EXPECT_EQ(x.tag, y.tag);
        EXPECT_EQ(x.type, y.type);
        if (x.tag != cExifInfo::TagMakerNote && x.tag != cExifInfo::TagExifPointer && x.tag != cExifInfo::TagGpsPointer)
        {
            EXPECT_TRUE(x == y) << std::hex << x.tag;
        }
    }
}

void ExpectSameContent(const cExifInfo& a, const cExifInfo& b)
{
    EXPECT_EQ(a.byteOrder, b.byteOrder);
    ExpectSameEntries(a.primary, b.primary);
    ExpectSameEntries(a.exif, b.exif);
    EXPECT_TRUE(a.gps == b.gps);
    EXPECT_EQ(a.makerNote, b.makerNote);
    EXPECT_TRUE(a.makerNoteDirectory == b.makerNoteDirectory);
}

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at, bool little)
{
    return little ? std::uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24)
                  : std::uint32_t(std::uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]);
}

} // namespace

TEST(Exif, ParseWriteParseKeepsEveryDirectory)
{
    for (const std::uint8_t order : {0, 1})
        for (const bool fuji : {true, false})
        {
            SCOPED_TRACE(testing::Message() << "order " << int(order) << " fuji " << fuji);
            const cExifInfo info = MakeInfo(order, fuji);
            std::vector<std::uint8_t> first;
            ASSERT_TRUE(info.Serialize(first));
            cExifInfo parsed;
            ASSERT_TRUE(parsed.Parse(first.data(), first.size()));
            std::vector<std::uint8_t> second;
            ASSERT_TRUE(parsed.Serialize(second));
            EXPECT_EQ(first, second);
            cExifInfo again;
            ASSERT_TRUE(again.Parse(second.data(), second.size()));
            ExpectSameContent(parsed, again);
            ExpectSameContent(info, parsed);
            // IFD0 at 8; every offset even.
            EXPECT_EQ(Read32(first, 4, order == 0), 8u);
            EXPECT_TRUE(parsed.Layout(true));
            for (const auto& e : parsed.primary.Entries())
                if (!e.IsInline())
                {
                    EXPECT_EQ(e.offset % 2, 0u);
                }
        }
}

TEST(Exif, FujiMakerNoteIsLittleEndianWithItsOwnOrigin)
{
    const cExifInfo info = MakeInfo(1, true);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(info.Serialize(bytes));
    cExifInfo parsed;
    ASSERT_TRUE(parsed.Parse(bytes.data(), bytes.size()));
    const cExifInfo::sEntry* maker = parsed.exif.Find(cExifInfo::TagMakerNote);
    ASSERT_TRUE(maker);
    ASSERT_GE(maker->value.size(), 14u);
    EXPECT_EQ(0, std::memcmp(maker->value.data(), "FUJIFILM\x0c\0\0\0", 12));
    EXPECT_EQ(maker->value[12], 2);    // two entries, little-endian count
    EXPECT_EQ(maker->value[13], 0);
}

TEST(Exif, LayoutAssignsThenVerifies)
{
    cExifInfo info = MakeInfo(0, false);
    EXPECT_FALSE(info.Layout(true)) << "nothing assigned yet";
    ASSERT_TRUE(info.Layout(false));
    EXPECT_TRUE(info.Layout(true));
    EXPECT_EQ(info.primary.Find(0x010F)->offset, 8u + 2 + 12 * 5 + 4);
    info.primary.Find(0x010F)->value.resize(12);
    info.primary.Find(0x010F)->count = 12;
    EXPECT_FALSE(info.Layout(true)) << "values after it moved";
}

TEST(Exif, PointersWithoutWrittenTargetsAreDropped)
{
    cExifInfo info;
    info.primary.Set(Entry(0x0111, cExifInfo::TypeLong, 1, {0, 0, 1, 0}));    // strip offsets
    info.primary.Set(Entry(0x0201, cExifInfo::TypeLong, 1, {0, 0, 1, 0}));    // thumbnail
    info.primary.Set(Entry(0x0110, cExifInfo::TypeAscii, 2, {'X', 0}));
    info.primary.Set(Entry(cExifInfo::TagExifPointer, cExifInfo::TypeLong, 1, {0, 0, 0, 0}));
    info.exif.Set(Entry(cExifInfo::TagInteropPointer, cExifInfo::TypeLong, 1, {0, 0, 0x40, 0}));
    info.exif.Set(Entry(cExifInfo::TagGpsPointer, cExifInfo::TypeLong, 1, {0, 0, 0x40, 0}));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(info.Serialize(bytes));
    cExifInfo parsed;
    ASSERT_TRUE(parsed.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(parsed.primary.Count(), 2u);
    EXPECT_TRUE(parsed.primary.Find(0x0110));
    EXPECT_TRUE(parsed.exif.IsEmpty());
}

TEST(Exif, ReadsTheInteroperabilityDirectoryIntoExtra)
{
    // II, IFD0 with an Exif pointer; Exif with an interoperability pointer.
    std::vector<std::uint8_t> b = {'I', 'I', 42, 0, 8, 0, 0, 0,
                                   1, 0, 0x69, 0x87, 4, 0, 1, 0, 0, 0, 26, 0, 0, 0, 0, 0, 0, 0,
                                   1, 0, 0x05, 0xA0, 4, 0, 1, 0, 0, 0, 44, 0, 0, 0, 0, 0, 0, 0,
                                   1, 0, 0x01, 0x00, 2, 0, 4, 0, 0, 0, 'R', '9', '8', 0, 0, 0, 0, 0};
    cExifInfo info;
    ASSERT_TRUE(info.Parse(b.data(), b.size()));
    ASSERT_TRUE(info.extra.Find(0x0001));
    EXPECT_EQ(info.extra.Find(0x0001)->value, (std::vector<std::uint8_t>{'R', '9', '8', 0}));
}

TEST(Exif, HostileStructuresAreBounded)
{
    struct sCase { const char* what; std::vector<std::uint8_t> bytes; bool parses; };
    const sCase cases[] = {
        {"too short", {'I', 'I', 42, 0, 8, 0}, false},
        {"bad order", {'X', 'X', 42, 0, 8, 0, 0, 0, 0, 0}, false},
        {"bad magic", {'I', 'I', 43, 0, 8, 0, 0, 0, 0, 0}, false},
        {"IFD0 beyond the end", {'I', 'I', 42, 0, 0xF0, 0xFF, 0xFF, 0xFF}, false},
        {"entry count beyond the end", {'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0xFF, 0, 0}, false},
        // one entry of 0xFFFFFFFF doubles at offset 0: dropped, not read
        {"huge count", {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 1, 1, 12, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, true},
        // value offset near 4 GiB
        {"value offset wraps", {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 1, 1, 2, 0, 8, 0, 0, 0, 0xFC, 0xFF, 0xFF, 0xFF}, true},
        // Exif pointer back at IFD0: each directory is read once
        {"cycle", {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x69, 0x87, 4, 0, 1, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0}, true},
    };
    for (const sCase& c : cases)
    {
        cExifInfo info;
        EXPECT_EQ(info.Parse(c.bytes.data(), c.bytes.size()), c.parses) << c.what;
        EXPECT_LE(info.primary.Count(), 1u) << c.what;
        EXPECT_TRUE(info.exif.IsEmpty()) << c.what;
        std::vector<std::uint8_t> out;
        EXPECT_TRUE(info.Serialize(out)) << c.what;
    }
}

TEST(Exif, EveryPrefixOfAStructureParsesSafely)
{
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(MakeInfo(0, true).Serialize(bytes));
    for (std::size_t size = 0; size <= bytes.size(); ++size)
    {
        std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        cExifInfo info;
        const bool parsed = info.Parse(prefix.data(), prefix.size());
        EXPECT_EQ(parsed, size >= 8 + 2 + 12 * 5) << size;
    }
}

TEST(Exif, TooLargeForASegmentIsRefused)
{
    cExifInfo info;
    info.primary.Set(Entry(0x9C9C, cExifInfo::TypeByte, 70000, std::vector<std::uint8_t>(70000, 1)));
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(info.Serialize(out));
    EXPECT_TRUE(out.empty());
}

TEST(Exif, CloneIsDeep)
{
    cExifInfo info = MakeInfo(0, true);
    info.comment = "text";
    std::unique_ptr<cExifInfo> copy(info.Clone());
    ASSERT_TRUE(copy);
    ExpectSameContent(info, *copy);
    EXPECT_STREQ(copy->comment.Text(), "text");
    info.primary.Find(0x010F)->value[0] = 'Z';
    EXPECT_EQ(copy->primary.Find(0x010F)->value[0], 'A');
    EXPECT_EQ(cExifInfo::TypeSize(cExifInfo::TypeDouble), 8u);
    EXPECT_EQ(cExifInfo::TypeSize(cExifInfo::TypeSShort), 2u);
    EXPECT_EQ(cExifInfo::TypeSize(200), 1u);
}
