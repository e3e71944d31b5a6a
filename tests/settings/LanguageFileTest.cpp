#include <gtest/gtest.h>

#include "framework/core/File.h"
#include "framework/core/SafeSave.h"
#include "framework/settings/Language.h"
#include "tests/settings/LanguageTestSupport.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

using Testing::Dump;
using Testing::Narrow;

namespace {

std::vector<unsigned char> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::size_t FileCount(const std::filesystem::path& folder)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

// A document large enough that its file takes many writes.
void FillLarge(AS::cLanguage& document)
{
    AS::cLanguage::cNode& root = document.Root();
    root.SetName(u"Quillsnapper");
    AS::cLanguage::cNode* program = root.AddChild(u"Program");
    for (int i = 0; i < 2000; ++i)
        program->AddChild(u"Value")->SetText(u"some text that makes the file longer");
}

const std::vector<unsigned char> OldFile = {0xFF, 0xFE, 'a', 0, ' ', 0, '=', 0, ' ', 0, '1', 0};

// Saves the document the way Save does, through a file that takes only
// failAfter bytes, as a full disk would.
bool SaveWithFullDisk(const AS::cLanguage& document, const std::u16string& path, std::int64_t failAfter)
{
    return Storage::WriteFileSafely(path.c_str(), [&](Storage::cFile& file) {
        file.LimitWrites(failAfter);
        return document.WriteTo(file);
    });
}

} // namespace

TEST(LanguageFileTest, EmptyFileLoadsIntoAnEmptyRoot)
{
    Testing::cTempFolder folder;
    WriteBytes(folder.Path() / "empty.asl", {});
    AS::cLanguage document;
    ASSERT_TRUE(document.Load(folder.File(u"empty.asl").c_str()));
    EXPECT_EQ(Dump(document.Root()), "_");
    EXPECT_TRUE(document.ErrorText().IsEmpty());
}

TEST(LanguageFileTest, MissingFileFailsAndLeavesTheDocumentAlone)
{
    AS::cLanguage document;
    document.Parse(u"a = { b = 1 #");
    ASSERT_EQ(Narrow(document.ErrorText().View()), "unknown lexeme");
    Testing::cTempFolder folder;
    EXPECT_FALSE(document.Load(folder.File(u"missing.asl").c_str()));
    EXPECT_EQ(Narrow(document.ErrorText().View()), "unknown lexeme");
    EXPECT_EQ(Dump(document.Root()), "a{b=1}");
}

TEST(LanguageFileTest, SyntaxErrorStillLoadsThePartialTree)
{
    Testing::cTempFolder folder;
    // UTF-8 with a byte-order mark.
    const std::string text = "\xEF\xBB\xBFQ = { Program = { A = 1, B = \"\xC3\xA9\" C = 3 } }";
    WriteBytes(folder.Path() / "partial.asl", std::vector<unsigned char>(text.begin(), text.end()));
    AS::cLanguage document;
    EXPECT_TRUE(document.Load(folder.File(u"partial.asl").c_str()));
    EXPECT_EQ(Narrow(document.ErrorText().View()), ", or } is required");
    EXPECT_EQ(Dump(document.Root()), "Q{Program{A=1,B=\"<233>\"}}");
}

TEST(LanguageFileTest, SaveReplacesALongerOldFileCompletely)
{
    Testing::cTempFolder folder;
    const std::filesystem::path target = folder.Path() / "config.asl";
    AS::cLanguage large;
    FillLarge(large);
    ASSERT_TRUE(large.Save(folder.File(u"config.asl").c_str()));

    AS::cLanguage small;
    small.Root().SetName(u"a");
    small.Root().SetInteger(1);
    ASSERT_TRUE(small.Save(folder.File(u"config.asl").c_str()));
    EXPECT_EQ(FileBytes(target), (std::vector<unsigned char>{0xFF, 0xFE, 'a', 0, ' ', 0, '=', 0, ' ', 0, '1', 0,
                                                             ';', 0, '\r', 0, '\n', 0}));
    EXPECT_EQ(FileCount(folder.Path()), 1u);
}

TEST(LanguageFileTest, FailedWriteKeepsTheOldFileByteIdentical)
{
    Testing::cTempFolder folder;
    const std::filesystem::path target = folder.Path() / "config.asl";
    WriteBytes(target, OldFile);

    AS::cLanguage document;
    FillLarge(document);
    for (std::int64_t failAfter : {0, 1, 2, 1000, 50000}) {
        EXPECT_FALSE(SaveWithFullDisk(document, folder.File(u"config.asl"), failAfter)) << failAfter;
        EXPECT_EQ(FileBytes(target), OldFile) << failAfter;
        EXPECT_EQ(FileCount(folder.Path()), 1u) << "the new file is removed";
    }
    // Without the failure the same save goes through.
    ASSERT_TRUE(document.Save(folder.File(u"config.asl").c_str()));
    AS::cLanguage reread;
    ASSERT_TRUE(reread.Load(folder.File(u"config.asl").c_str()));
    EXPECT_EQ(reread.Root().FindChild(u"Program")->ChildCount(), 2000u);
}

TEST(LanguageFileTest, SaveIntoAMissingFolderFails)
{
    Testing::cTempFolder folder;
    AS::cLanguage document;
    document.Root().SetName(u"a");
    EXPECT_FALSE(document.Save(folder.File(u"no such folder/config.asl").c_str()));
    EXPECT_EQ(FileCount(folder.Path()), 0u);
}

#ifndef _WIN32
TEST(LanguageFileTest, RealWriteFailureKeepsTheOldFile)
{
    // The OS refuses writes past the file-size limit (EFBIG), whoever runs
    // the test.
    Testing::cTempFolder folder;
    const std::filesystem::path target = folder.Path() / "config.asl";
    WriteBytes(target, OldFile);
    AS::cLanguage document;
    FillLarge(document);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved = document.Save(folder.File(u"config.asl").c_str());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(FileBytes(target), OldFile);
    EXPECT_EQ(FileCount(folder.Path()), 1u);
}
#endif
