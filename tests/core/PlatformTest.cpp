#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/PlatformInternal.h"
#include "tests/core/TestFiles.h"
#include "tests/support/TempFolder.h"

#include <cstring>

TEST(PlatformTest, Utf8DecodingReplacesInvalidSequences)
{
    const struct
    {
        const char* name;
        std::string bytes;
        std::u16string expected;
    } cases[] = {
        {"ascii", "abc", u"abc"},
        {"two and three bytes", "\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC"},
        {"four bytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"lone continuation", "a\x80z", u"a\uFFFDz"},
        {"overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three", "\xE0\x80\xAF", u"\uFFFD"},
        {"surrogate", "\xED\xA0\x80", u"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
        {"truncated at end", "ab\xE2\x82", u"ab\uFFFD"},
        {"truncated then ascii", "\xE2\x82x", u"\uFFFDx"},
        {"embedded zero", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases)
    {
        std::u16string out;
        Platform::Utf8ToUtf16(c.bytes.data(), c.bytes.size(), out);
        EXPECT_EQ(c.expected, out) << c.name;
    }
}

TEST(PlatformTest, Utf16ToUtf8RoundTrip)
{
    const std::u16string text = u"caf\u00E9 \uD55C \U0001F600";
    std::string utf8;
    Platform::Utf16ToUtf8(text.data(), text.size(), utf8);
    EXPECT_EQ("caf\xC3\xA9 \xED\x95\x9C \xF0\x9F\x98\x80", utf8);
    std::u16string back;
    Platform::Utf8ToUtf16(utf8.data(), utf8.size(), back);
    EXPECT_EQ(text, back);
    std::string lone;
    const char16_t surrogate[] = {0xD800, u'x'};
    Platform::Utf16ToUtf8(surrogate, 2, lone);
    EXPECT_EQ("\xEF\xBF\xBDx", lone);
}

#ifndef _WIN32
TEST(PlatformTest, AnsiIsWindows1252)
{
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes.push_back(static_cast<char>(c));
    std::u16string out;
    ASSERT_TRUE(Platform::AnsiToUtf16(bytes.data(), bytes.size(), out));
    ASSERT_EQ(256u, out.size());
    EXPECT_EQ(u'A', out[0x41]);
    EXPECT_EQ(u'\u20AC', out[0x80]);
    EXPECT_EQ(u'\u0081', out[0x81]);
    EXPECT_EQ(u'\u2122', out[0x99]);
    EXPECT_EQ(u'\u0178', out[0x9F]);
    EXPECT_EQ(u'\u00A0', out[0xA0]);
    EXPECT_EQ(u'\u00FF', out[0xFF]);
}
#endif

TEST(PlatformTest, AtomicReplaceOverwritesAnExistingTargetAndCreatesANewOne)
{
    Testing::cTempFolder folder;
    Testing::WriteBytes(folder.Path() / "target", {1, 1, 1});
    const auto target = folder.File(u"target");
    const auto temp = folder.File(u"new.tmp");

    bool exists = true;
    std::FILE* file = Platform::CreateNewFile(temp.c_str(), exists);
    ASSERT_NE(nullptr, file);
    EXPECT_FALSE(exists);
    EXPECT_EQ(2u, std::fwrite("\x02\x02", 1, 2, file));
    EXPECT_TRUE(Platform::FlushToDisk(file));
    EXPECT_EQ(2, Platform::FileLength(file));
    std::fclose(file);

    EXPECT_TRUE(Platform::AtomicReplace(temp.c_str(), target.c_str()));
    EXPECT_EQ((std::vector<std::uint8_t>{2, 2}), Testing::ReadBytes(folder.Path() / "target"));
    EXPECT_FALSE(Platform::PathExists(temp.c_str()));
    // A source that is gone changes nothing.
    EXPECT_FALSE(Platform::AtomicReplace(temp.c_str(), target.c_str()));
    EXPECT_EQ((std::vector<std::uint8_t>{2, 2}), Testing::ReadBytes(folder.Path() / "target"));

    // A target that does not exist yet.
    Testing::WriteBytes(folder.Path() / "new.tmp", {3});
    const auto fresh = folder.File(u"fresh");
    EXPECT_TRUE(Platform::AtomicReplace(temp.c_str(), fresh.c_str()));
    EXPECT_EQ((std::vector<std::uint8_t>{3}), Testing::ReadBytes(folder.Path() / "fresh"));
    EXPECT_FALSE(Platform::PathExists(temp.c_str()));

    EXPECT_TRUE(Platform::RemoveFile(target.c_str()));
    EXPECT_FALSE(Platform::RemoveFile(target.c_str()));
    EXPECT_TRUE(Platform::CreateFolder(target.c_str()));
    EXPECT_FALSE(Platform::CreateFolder(target.c_str()));
}

TEST(PlatformTest, LargeOffsetsAre64Bit)
{
    Testing::cTempFolder folder;
    const auto path = folder.File(u"sparse");
    std::FILE* file = Platform::OpenFile(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    const std::int64_t beyond = (std::int64_t{1} << 32) + 10;
    ASSERT_TRUE(Platform::Seek(file, beyond, SEEK_SET));
    EXPECT_EQ(beyond, Platform::Tell(file));
    EXPECT_EQ(1u, std::fwrite("x", 1, 1, file));
    EXPECT_EQ(beyond + 1, Platform::FileLength(file));
    std::fclose(file);
}

TEST(PlatformTest, TimesAreSaneAndCanBeFaked)
{
    const Platform::sTime now = Platform::LocalTime();
    EXPECT_GE(now.year, 2020);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_LE(now.dayOfWeek, 6);
    EXPECT_LE(now.milliseconds, 999);
    const Platform::sTime utc = Platform::SystemTime();
    EXPECT_GE(utc.year, 2020);

    Platform::sTime fake;
    fake.year = 2001;
    fake.month = 2;
    fake.day = 3;
    Platform::SetFakeTime(&fake, &fake);
    EXPECT_EQ(2001, Platform::LocalTime().year);
    EXPECT_EQ(3, Platform::SystemTime().day);
    Platform::SetFakeTime(nullptr, nullptr);
    EXPECT_GE(Platform::LocalTime().year, 2020);
}

TEST(PlatformTest, RegisteredResources)
{
    const char bytes[] = "hello";
    Platform::RegisterResource(u"Language", u"English", bytes, 5);
    Platform::RegisterResource(Platform::ResourceId(10), Platform::ResourceId(7), bytes, 2);
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(Platform::FindResourceBytes(nullptr, u"LANGUAGE", u"english", data, size));
    EXPECT_EQ(5u, size);
    EXPECT_EQ(0, std::memcmp(data, "hello", 5));
    ASSERT_TRUE(Platform::FindResourceBytes(nullptr, Platform::ResourceId(10), Platform::ResourceId(7), data, size));
    EXPECT_EQ(2u, size);
    EXPECT_FALSE(Platform::FindResourceBytes(nullptr, u"Language", u"Korean", data, size));
    Platform::ClearRegisteredResources();
    EXPECT_FALSE(Platform::FindResourceBytes(nullptr, u"Language", u"English", data, size));
}

TEST(PlatformTest, UserDefaultLanguageCanBeFaked)
{
    EXPECT_NE(0, Platform::UserDefaultLanguage());
    Platform::SetFakeUserDefaultLanguage(0x0412);
    EXPECT_EQ(0x0412, Platform::UserDefaultLanguage());
    Platform::SetFakeUserDefaultLanguage(0);
}

#ifdef _WIN32
// Long paths reach Win32 in the form that has no MAX_PATH limit; short ones
// as they are. (Wine itself takes long plain paths too, so the form is
// checked here rather than through a failing save.)
TEST(PlatformTest, LongPathsGoToWin32InTheirLongForm)
{
    const std::u16string name(240, u'n');
    const struct
    {
        std::u16string path, expected;
    } cases[] = {
        {u"C:\\short\\file.png", u"C:\\short\\file.png"},
        {u"relative.png", u"relative.png"},
        {u"C:\\a\\" + name + u".png", u"\\\\?\\C:\\a\\" + name + u".png"},
        {u"C:/a/" + name + u".png", u"\\\\?\\C:\\a\\" + name + u".png"},        // separators made "\\"
        {u"C:\\a\\b\\..\\" + name, u"\\\\?\\C:\\a\\" + name},                // ".." resolved first
        {u"\\\\server\\share\\" + name, u"\\\\?\\UNC\\server\\share\\" + name},
        {u"\\\\?\\C:\\a\\" + name, u"\\\\?\\C:\\a\\" + name},              // already long
    };
    for (const auto& c : cases)
        EXPECT_EQ(Platform::Internal::Win32FilePath(c.path.c_str()), c.expected) << c.path.size();
    EXPECT_EQ(Platform::Internal::Win32FilePath(u""), u"");
    EXPECT_EQ(Platform::Internal::Win32FilePath(nullptr), u"");
    // Just below the threshold nothing changes.
    const std::u16string below = u"C:\\" + std::u16string(244, u'x');
    EXPECT_EQ(Platform::Internal::Win32FilePath(below.c_str()), below);
}
#endif
