#include <gtest/gtest.h>

#include "framework/core/File.h"
#include "tests/core/TestFiles.h"
#include "tests/support/TempFolder.h"

using Container::cByteString;
using Container::cWideString;
using Storage::cFile;

namespace {

class FileTest : public testing::Test
{
protected:
    Testing::cTempFolder m_folder;
    std::u16string Path(const char16_t* name) const { return m_folder.File(name); }
    std::filesystem::path NativePath(const char16_t* name) const { return std::filesystem::path(Path(name)); }
};

} // namespace

TEST_F(FileTest, OpenReadWriteSeekLength)
{
    const auto path = Path(u"raw.bin");
    cFile file;
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(file.Open(path.c_str(), "wb"));
    const std::uint32_t values[3] = {1, 2, 3};
    EXPECT_EQ(3u, file.Write(values, sizeof values[0], 3));
    EXPECT_EQ(12, file.Length());  // buffered data counts
    EXPECT_TRUE(file.Flush());
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.IsOpen());

    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    EXPECT_EQ(12, file.Length());
    EXPECT_TRUE(file.Seek(4));
    EXPECT_EQ(4, file.Tell());
    EXPECT_EQ(8, file.Remaining());
    std::uint32_t read[4] = {};
    EXPECT_EQ(2u, file.Read(read, sizeof read[0], 4));  // only complete items count
    EXPECT_EQ(2u, read[0]);
    EXPECT_EQ(3u, read[1]);
    EXPECT_TRUE(file.Seek(-4, SEEK_END));
    EXPECT_EQ(1u, file.Read(read, 4, 1));
    EXPECT_EQ(3u, read[0]);
}

TEST_F(FileTest, OpenFailsForMissingFilesAndWbTruncates)
{
    cFile file;
    EXPECT_FALSE(file.Open(Path(u"missing.bin").c_str(), "rb"));
    EXPECT_FALSE(file.Open(static_cast<const char16_t*>(nullptr), "rb"));
    Testing::WriteBytes(NativePath(u"old.bin"), {1, 2, 3, 4, 5});
    ASSERT_TRUE(file.Open(Path(u"old.bin").c_str(), "wb"));
    EXPECT_EQ(0, file.Length());
    EXPECT_TRUE(file.Close());
    EXPECT_TRUE(Testing::ReadBytes(NativePath(u"old.bin")).empty());
}

TEST_F(FileTest, UnicodePathsWork)
{
    const auto path = Path(u"\uD55C\uAE00 caf\u00E9.txt");
    cFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "wb"));
    EXPECT_EQ(1u, file.Write("x", 1, 1));
    EXPECT_TRUE(file.Close());
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(path)));
}

TEST_F(FileTest, StringRecordsHaveTheDocumentedBytes)
{
    const auto path = Path(u"records.bin");
    {
        cFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        EXPECT_TRUE(file.WriteString(cWideString(u"A\u00E9")));
        EXPECT_TRUE(file.WriteString(cWideString()));     // null
        EXPECT_TRUE(file.WriteString(cWideString(u"")));  // allocated empty
        EXPECT_TRUE(file.WriteString(cByteString("hi")));
        EXPECT_TRUE(file.WriteString(cByteString()));
    }
    const std::vector<std::uint8_t> expected = {
        2, 0, 0, 0, 'A', 0, 0xE9, 0,  // wide "Aé"
        0, 0, 0, 0,                   // null
        0, 0, 0, 0,                   // empty
        2, 0, 0, 0, 'h', 'i',         // bytes "hi"
        0, 0, 0, 0,
    };
    EXPECT_EQ(expected, Testing::ReadBytes(NativePath(u"records.bin")));
}

TEST_F(FileTest, RecordRoundTripGivesTheSameLengthAndBytes)
{
    cWideString original(u"x");
    original.Resize(5);  // embedded zero characters survive
    original[2] = u'\uD55C';
    const cByteString bytes("b\0c", 3);
    const auto first = Path(u"first.bin");
    const auto second = Path(u"second.bin");
    {
        cFile file;
        ASSERT_TRUE(file.Open(first.c_str(), "wb"));
        ASSERT_TRUE(file.WriteString(original));
        ASSERT_TRUE(file.WriteString(bytes));
    }
    cWideString wide;
    cByteString narrow;
    {
        cFile file;
        ASSERT_TRUE(file.Open(first.c_str(), "rb"));
        ASSERT_TRUE(file.ReadString(wide));
        ASSERT_TRUE(file.ReadString(narrow));
        EXPECT_EQ(0, file.Remaining());
        cWideString more(u"unchanged");
        EXPECT_FALSE(file.ReadString(more));  // at the end
        EXPECT_EQ(u"unchanged", more.View());
    }
    EXPECT_EQ(5u, wide.Length());
    EXPECT_EQ(original.View(), wide.View());
    EXPECT_EQ(3u, narrow.Length());
    EXPECT_EQ(bytes.View(), narrow.View());
    {
        cFile file;
        ASSERT_TRUE(file.Open(second.c_str(), "wb"));
        ASSERT_TRUE(file.WriteString(wide));
        ASSERT_TRUE(file.WriteString(narrow));
    }
    EXPECT_EQ(Testing::ReadBytes(NativePath(u"first.bin")), Testing::ReadBytes(NativePath(u"second.bin")));
}

TEST_F(FileTest, RecordOfZeroCharactersReadsAsAnEmptyString)
{
    Testing::WriteBytes(NativePath(u"zero.bin"), {0, 0, 0, 0});
    cFile file;
    ASSERT_TRUE(file.Open(Path(u"zero.bin").c_str(), "rb"));
    cWideString text(u"old");
    EXPECT_TRUE(file.ReadString(text));
    EXPECT_TRUE(text.IsEmpty());
}

// Counts come from files and cannot be trusted: a record that claims more
// characters than the file holds fails before anything is allocated, and
// the target string keeps its value.
TEST_F(FileTest, TruncatedAndHugeRecordsFailAndKeepTheString)
{
    const struct
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool wide;
    } cases[] = {
        {"short count", {2, 0}, true},
        {"wide truncated", {3, 0, 0, 0, 'a', 0, 'b', 0}, true},
        {"wide odd byte", {1, 0, 0, 0, 'a'}, true},
        {"wide huge", {0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}, true},
        {"wide 2n overflows 32 bits", {0x00, 0x00, 0x00, 0x80, 'a', 0}, true},
        {"bytes truncated", {5, 0, 0, 0, 'a', 'b'}, false},
        {"bytes huge", {0xFF, 0xFF, 0xFF, 0x7F, 'a'}, false},
    };
    for (const auto& c : cases)
    {
        Testing::WriteBytes(NativePath(u"bad.bin"), c.bytes);
        cFile file;
        ASSERT_TRUE(file.Open(Path(u"bad.bin").c_str(), "rb"));
        if (c.wide)
        {
            cWideString text(u"kept");
            EXPECT_FALSE(file.ReadString(text)) << c.name;
            EXPECT_EQ(u"kept", text.View()) << c.name;
        }
        else
        {
            cByteString text("kept");
            EXPECT_FALSE(file.ReadString(text)) << c.name;
            EXPECT_EQ("kept", text.View()) << c.name;
        }
    }
}

TEST_F(FileTest, ClosedFileAnswersFailure)
{
    cFile file;
    char buffer[4];
    EXPECT_EQ(0u, file.Read(buffer, 1, 4));
    EXPECT_EQ(0u, file.Write(buffer, 1, 4));
    EXPECT_EQ(-1, file.Length());
    EXPECT_FALSE(file.Seek(0));
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(file.Close());
    cWideString text(u"kept");
    EXPECT_FALSE(file.ReadString(text));
    EXPECT_FALSE(file.WriteString(text));
}
