#include <gtest/gtest.h>

#include "framework/core/TextFile.h"
#include "tests/core/TestFiles.h"
#include "tests/support/TempFolder.h"

#include <vector>

using Container::cWideString;
using Storage::ReadTextFile;

namespace {

class TextFileTest : public testing::Test
{
protected:
    // Writes bytes to a file and reads it back through ReadTextFile.
    bool Read(const std::vector<std::uint8_t>& bytes, cWideString& text)
    {
        const auto path = m_folder.File(u"text.txt");
        Testing::WriteBytes(std::filesystem::path(path), bytes);
        return ReadTextFile(path.c_str(), text);
    }

    Testing::cTempFolder m_folder;
};

} // namespace

TEST_F(TextFileTest, EncodingsByMark)
{
    const struct
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char16_t* expected;
    } cases[] = {
        {"UTF-8 with mark", {0xEF, 0xBB, 0xBF, 'c', 'a', 'f', 0xC3, 0xA9}, u"caf\u00E9"},
        {"UTF-8 mark only", {0xEF, 0xBB, 0xBF, 'x'}, u"x"},
        {"UTF-16LE", {0xFF, 0xFE, 'h', 0, 'i', 0, 0x5C, 0xD5}, u"hi\uD55C"},
        {"UTF-16BE", {0xFE, 0xFF, 0, 'h', 0, 'i', 0xD5, 0x5C}, u"hi\uD55C"},
        {"UTF-16LE odd trailing byte ignored", {0xFF, 0xFE, 'a', 0, 'b'}, u"a"},
        {"UTF-16LE line ends", {0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0}, u"a\r\n"},
        {"ASCII without mark", {'p', 'l', 'a', 'i', 'n'}, u"plain"},
        {"one byte", {'Z'}, u"Z"},
        {"two bytes", {'o', 'k'}, u"ok"},
        {"three bytes, no mark", {'a', 'b', 'c'}, u"abc"},
        {"broken UTF-8 becomes U+FFFD", {0xEF, 0xBB, 0xBF, 'a', 0xC3, 'b'}, u"a\uFFFDb"},
    };
    for (const auto& c : cases)
    {
        cWideString text(u"old");
        EXPECT_TRUE(Read(c.bytes, text)) << c.name;
        EXPECT_EQ(std::u16string_view(c.expected), text.View()) << c.name;
    }
}

TEST_F(TextFileTest, MarkOnlyAndEmptyFilesLeaveTheStringUnchanged)
{
    const std::vector<std::vector<std::uint8_t>> files = {{}, {0xFF, 0xFE}, {0xFE, 0xFF}, {0xEF, 0xBB, 0xBF}};
    for (const auto& bytes : files)
    {
        cWideString text(u"unchanged");
        EXPECT_TRUE(Read(bytes, text)) << bytes.size();
        EXPECT_EQ(u"unchanged", text.View()) << bytes.size();
    }
}

TEST_F(TextFileTest, AnsiWithoutMark)
{
    // 0xE9 is é in every Western code page and in Windows-1252.
    cWideString text;
    EXPECT_TRUE(Read({'c', 'a', 'f', 0xE9}, text));
    EXPECT_EQ(u"caf\u00E9", text.View());
#ifndef _WIN32
    // Windows-1252's own characters in 0x80-0x9F.
    EXPECT_TRUE(Read({0x80, 0x93, 'x', 0x94, 0x81}, text));
    EXPECT_EQ(u"\u20AC\u201Cx\u201D\u0081", text.View());
#endif
}

TEST_F(TextFileTest, MissingFileFails)
{
    cWideString text(u"kept");
    EXPECT_FALSE(ReadTextFile(m_folder.File(u"missing.txt").c_str(), text));
    EXPECT_EQ(u"kept", text.View());
}

TEST_F(TextFileTest, DecodeTextFollowsTheSameRules)
{
    const std::uint8_t utf16[] = {0xFE, 0xFF, 0, 'q'};
    cWideString text;
    EXPECT_TRUE(Storage::DecodeText(utf16, sizeof utf16, text));
    EXPECT_EQ(u"q", text.View());
    // A truncated buffer cannot be told apart from a complete one here, so
    // only the whole units are taken.
    const std::uint8_t utf8[] = {0xEF, 0xBB, 0xBF, 0xE2, 0x82, 0xAC};
    EXPECT_TRUE(Storage::DecodeText(utf8, sizeof utf8, text));
    EXPECT_EQ(u"\u20AC", text.View());
    cWideString kept(u"kept");
    EXPECT_TRUE(Storage::DecodeText(nullptr, 0, kept));
    EXPECT_EQ(u"kept", kept.View());
}

// A read that comes up short: the UTF-16 branches keep the complete code
// units that were read and answer false; the 8-bit branches answer false
// and leave the string alone.
TEST_F(TextFileTest, ShortReadsAreFailures)
{
    const std::uint8_t little[] = {0xFF, 0xFE, 'a', 0, 'b', 0, 'c'};
    cWideString text(u"old");
    EXPECT_FALSE(Storage::DecodeText(little, 7, 10, text));  // 10 bytes expected, 7 read
    EXPECT_EQ(u"ab", text.View());

    const std::uint8_t big[] = {0xFE, 0xFF, 0, 'z'};
    text = u"old";
    EXPECT_FALSE(Storage::DecodeText(big, 4, 100, text));
    EXPECT_EQ(u"z", text.View());

    text = u"old";
    EXPECT_FALSE(Storage::DecodeText(big, 2, 100, text));  // nothing after the mark
    EXPECT_EQ(u"old", text.View());

    const std::uint8_t utf8[] = {0xEF, 0xBB, 0xBF, 'a', 'b'};
    EXPECT_FALSE(Storage::DecodeText(utf8, 5, 6, text));
    EXPECT_EQ(u"old", text.View());
    const std::uint8_t ansi[] = {'a', 'b', 'c'};
    EXPECT_FALSE(Storage::DecodeText(ansi, 3, 4, text));
    EXPECT_FALSE(Storage::DecodeText(ansi, 1, 4, text));
    EXPECT_FALSE(Storage::DecodeText(ansi, 0, 1, text));
    EXPECT_EQ(u"old", text.View());
}

TEST_F(TextFileTest, AbsurdLengthsAreRefused)
{
    const std::uint8_t bytes[] = {'a'};
    cWideString text(u"old");
    EXPECT_FALSE(Storage::DecodeText(bytes, 1, static_cast<std::size_t>(Storage::MaxTextFileBytes) + 1, text));
    EXPECT_EQ(u"old", text.View());
}

TEST_F(TextFileTest, FilesOver64MiBAreRefusedBeforeReading)
{
    const auto path = m_folder.File(u"huge.txt");
    Testing::WriteBytes(std::filesystem::path(path), {0xFF, 0xFE, 'a', 0});
    std::filesystem::resize_file(std::filesystem::path(path), Storage::MaxTextFileBytes + 2);
    cWideString text(u"old");
    EXPECT_FALSE(ReadTextFile(path.c_str(), text));
    EXPECT_EQ(u"old", text.View());
}
