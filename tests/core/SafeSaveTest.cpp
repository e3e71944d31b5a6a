#include <gtest/gtest.h>

#include "framework/core/File.h"
#include "framework/core/SafeSave.h"
#include "platform/Platform.h"
#include "tests/core/TestFiles.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

using Testing::ReadBytes;
using Testing::WriteBytes;

namespace {

std::vector<std::string> Names(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

} // namespace

TEST(SafeSaveTest, OnlyASuccessfulWriteReplacesTheTarget)
{
    Testing::cTempFolder folder;
    const std::u16string target = folder.File(u"t.bin");
    WriteBytes(folder.Path() / "t.bin", {9, 9, 9});

    const struct
    {
        const char* what;
        std::function<bool(Storage::cFile&)> write;
    } failures[] = {
        {"answers false after writing",
         [](Storage::cFile& file) {
             const std::uint8_t bytes[4] = {1, 2, 3, 4};
             file.Write(bytes, 1, 4);
             return false;
         }},
        {"throws",
         [](Storage::cFile& file) -> bool {
             const std::uint8_t bytes[2] = {1, 2};
             file.Write(bytes, 1, 2);
             throw std::bad_alloc();
         }},
        // A writer that closes the file behind the helper's back has not
        // delivered a flushed file.
        {"closes the file",
         [](Storage::cFile& file) {
             file.Close();
             return true;
         }},
        // A full disk half-way through a write that checks its results.
        {"meets a full disk",
         [](Storage::cFile& file) {
             file.LimitWrites(3);
             const std::uint8_t bytes[5] = {1, 2, 3, 4, 5};
             return file.Write(bytes, 1, 5) == 5;
         }},
    };
    for (const auto& failure : failures)
    {
        EXPECT_FALSE(Storage::WriteFileSafely(target.c_str(), failure.write)) << failure.what;
        EXPECT_EQ(ReadBytes(folder.Path() / "t.bin"), (std::vector<std::uint8_t>{9, 9, 9})) << failure.what;
        EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"t.bin"}) << failure.what << ": a temporary file is left";
    }

    EXPECT_TRUE(Storage::WriteFileSafely(target.c_str(), [](Storage::cFile& file) {
        const std::uint8_t bytes[2] = {7, 8};
        return file.Write(bytes, 1, 2) == 2;
    }));
    EXPECT_EQ(ReadBytes(folder.Path() / "t.bin"), (std::vector<std::uint8_t>{7, 8}));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"t.bin"});

    EXPECT_FALSE(Storage::WriteFileSafely(u"", [](Storage::cFile&) { return true; }));
    EXPECT_FALSE(Storage::WriteFileSafely(folder.File(u"missing\\t.bin").c_str(), [](Storage::cFile&) { return true; }));
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"t.bin"});
}

TEST(SafeSaveTest, WriteLimitCutsWritesShortAndCloseLiftsIt)
{
    Testing::cTempFolder folder;
    Storage::cFile file;
    bool exists = true;
    ASSERT_TRUE(file.CreateNew(folder.File(u"limited").c_str(), exists));
    EXPECT_FALSE(exists);
    file.LimitWrites(10);
    const std::uint32_t words[4] = {1, 2, 3, 4};
    EXPECT_EQ(file.Write(words, 4, 4), 2u);  // 8 of the 10 bytes: two whole items
    EXPECT_FALSE(file.WriteUInt32(5));       // 2 bytes left: the value is cut short
    EXPECT_EQ(file.Write(words, 1, 1), 0u);  // the disk is full
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(ReadBytes(folder.Path() / "limited").size(), 10u);

    ASSERT_TRUE(file.Open(folder.File(u"limited").c_str(), "wb"));
    EXPECT_EQ(file.Write(words, 4, 4), 4u);
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(ReadBytes(folder.Path() / "limited").size(), 16u);
}

TEST(SafeSaveTest, TemporaryFilesAreCreatedExclusivelyUnderAFreshName)
{
    Testing::cTempFolder folder;
    const std::u16string target = folder.File(u"shot.png");
    const std::uint32_t seed = 0x12345678;

    // Where the first names are taken, they are skipped and left alone.
    Storage::cFile probe;
    std::u16string first;
    ASSERT_TRUE(Storage::CreateTemporarySibling(probe, target.c_str(), seed, first));
    ASSERT_TRUE(probe.Close());
    WriteBytes(std::filesystem::path(first), {1, 2, 3});
    Storage::cFile second;
    std::u16string secondName;
    ASSERT_TRUE(Storage::CreateTemporarySibling(second, target.c_str(), seed, secondName));
    EXPECT_NE(secondName, first);
    const std::uint8_t byte = 4;
    EXPECT_EQ(second.Write(&byte, 1, 1), 1u);
    ASSERT_TRUE(second.Close());
    EXPECT_EQ(ReadBytes(std::filesystem::path(first)), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadBytes(std::filesystem::path(secondName)), (std::vector<std::uint8_t>{4}));

    // Beside the target, short, and the same folder whatever the target's
    // own name.
    EXPECT_EQ(std::filesystem::path(first).parent_path(), folder.Path());
    EXPECT_EQ(std::filesystem::path(first).filename().string().size(), std::string("~qs01234567.tmp").size());
    EXPECT_EQ(Storage::TemporarySiblingName(u"C:\\a\\b.png", 0xABCDEF01), u"C:\\a\\~qsabcdef01.tmp");
    EXPECT_EQ(Storage::TemporarySiblingName(u"dir/x", 1), u"dir/~qs00000001.tmp");
    EXPECT_EQ(Storage::TemporarySiblingName(u"x.png", 2), u"~qs00000002.tmp");

    // The platform's exclusive create never truncates.
    bool exists = false;
    EXPECT_EQ(Platform::CreateNewFile(first.c_str(), exists), nullptr);
    EXPECT_TRUE(exists);
    EXPECT_EQ(ReadBytes(std::filesystem::path(first)), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(Platform::CreateNewFile(folder.File(u"no folder\\f").c_str(), exists), nullptr);
    EXPECT_FALSE(exists);
    Storage::cFile none;
    std::u16string unused;
    EXPECT_FALSE(Storage::CreateTemporarySibling(none, folder.File(u"no folder\\f").c_str(), seed, unused));
}

TEST(SafeSaveTest, TargetsNearAndBeyondTheOldPathLimitAreSaved)
{
    Testing::cTempFolder folder;
    // An absolute path of exactly 250 characters, whose temporary sibling
    // name is longer than the target's own name, and one of 300 in a
    // folder that itself needs the long form.
    std::u16string base = folder.File(u"");
    ASSERT_LT(base.size(), 200u);
    std::u16string at250 = base + std::u16string(250 - base.size() - 4, u'n') + u".bin";
    ASSERT_EQ(at250.size(), 250u);

    std::u16string deepFolder = base + std::u16string(200 - base.size(), u'd');
    ASSERT_TRUE(Platform::CreateFolder(deepFolder.c_str()));
    std::u16string at300 = deepFolder + u"\\" + std::u16string(95, u'f') + u".bin";
    ASSERT_EQ(at300.size(), 300u);

    for (const std::u16string& target : {at250, at300})
    {
        for (const std::uint8_t value : {1, 2})
        {
            EXPECT_TRUE(Storage::WriteFileSafely(target.c_str(), [&](Storage::cFile& file) {
                return file.Write(&value, 1, 1) == 1;
            })) << target.size();
            Storage::cFile file;
            ASSERT_TRUE(file.Open(target.c_str(), "rb")) << target.size();
            std::uint8_t read = 0;
            EXPECT_EQ(file.Read(&read, 1, 1), 1u);
            EXPECT_EQ(read, value);
        }
    }
    std::vector<std::string> names = Names(folder.Path());
    EXPECT_EQ(names.size(), 2u);  // the 250 file and the folder: no temporary left
    std::size_t inDeep = 0;
    Platform::sFindEntry entry;
    Platform::FindHandle find = Platform::FindFirst((deepFolder + u"\\*").c_str(), entry);
    ASSERT_NE(find, nullptr);
    do
    {
        if (entry.name != u"." && entry.name != u"..")
            ++inDeep;
    } while (Platform::FindNext(find, entry));
    Platform::FindClose(find);
    EXPECT_EQ(inDeep, 1u);
    EXPECT_TRUE(Platform::RemoveFile(at300.c_str()));
}

#if !defined(_WIN32)
TEST(SafeSaveTest, AReplacedFileKeepsItsPermissions)
{
    Testing::cTempFolder folder;
    const std::filesystem::path target = folder.Path() / "kept";
    WriteBytes(target, {1});
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(Storage::WriteFileSafely(folder.File(u"kept").c_str(), [](Storage::cFile& file) {
        return file.WriteUInt32(7);
    }));
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(target).size(), 4u);
}
#endif
