#include <gtest/gtest.h>

#include "app/capture/CaptureFileNamer.h"
#include "framework/core/PathHelpers.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using sNaming = cSettingsRecord::sNaming;

Platform::sTime Time(int year, int month, int day, int hour, int minute, int second, int ms)
{
    Platform::sTime time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(day);
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minute);
    time.second = static_cast<std::uint16_t>(second);
    time.milliseconds = static_cast<std::uint16_t>(ms);
    return time;
}

std::string Narrow(const Container::cWideString& text)
{
    std::string result;
    for (char16_t c : text.View())
        result += static_cast<char>(c);
    return result;
}

sNaming Naming(const std::u16string& folder, const char16_t* format = u"png", bool same = false)
{
    sNaming naming;
    naming.prefix = u"Quillsnapper";
    naming.format = format;
    naming.folder = Container::cWideString(std::u16string_view(folder));
    naming.sameFileName = same;
    return naming;
}

void Touch(const std::filesystem::path& path)
{
    std::ofstream(path, std::ios::binary) << "x";
}

// Restores the real clock however a test ends.
struct sFakeClock
{
    explicit sFakeClock(const Platform::sTime& time) { Platform::SetFakeTime(&time, &time); }
    ~sFakeClock() { Platform::SetFakeTime(nullptr, nullptr); }
};

} // namespace

TEST(CaptureFileNamer, NamesFollowTheDateAndTimePattern)
{
    struct sCase
    {
        Platform::sTime time;
        const char16_t* format;
        bool same;
        int suffix;
        const char* expected;
    };
    const sCase cases[] = {
        {Time(2013, 5, 4, 9, 7, 3, 58), u"png", false, 1, "Quillsnapper_2013-05-04_09-07-03_58.png"},
        {Time(2026, 12, 31, 23, 59, 59, 999), u"jp2", false, 1, "Quillsnapper_2026-12-31_23-59-59_999.jp2"},
        {Time(2000, 1, 1, 0, 0, 0, 0), u"bmp", false, 1, "Quillsnapper_2000-01-01_00-00-00_0.bmp"},
        {Time(2013, 5, 4, 9, 7, 3, 58), u"png", false, 2, "Quillsnapper_2013-05-04_09-07-03_58_2.png"},
        {Time(2013, 5, 4, 9, 7, 3, 5), u"png", false, 13, "Quillsnapper_2013-05-04_09-07-03_5_13.png"},
        // The same name every time, whatever the clock and the suffix.
        {Time(2013, 5, 4, 9, 7, 3, 58), u"png", true, 1, "Quillsnapper.png"},
        {Time(2001, 2, 3, 4, 5, 6, 7), u"tga", true, 3, "Quillsnapper.tga"},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(Narrow(cCaptureFileNamer::FileName(Naming(u"", c.format, c.same), c.time, c.suffix)), c.expected);
}

TEST(CaptureFileNamer, JoinsTheFolderWithOneSeparator)
{
    const Container::cWideString name(u"a.png");
    EXPECT_EQ(Narrow(cCaptureFileNamer::JoinPath(u"C:\\Shots", name)), "C:\\Shots\\a.png");
    EXPECT_EQ(Narrow(cCaptureFileNamer::JoinPath(u"C:\\", name)), "C:\\a.png");
    EXPECT_EQ(Narrow(cCaptureFileNamer::JoinPath(u"Z:/tmp/", name)), "Z:/tmp/a.png");
    EXPECT_EQ(Narrow(cCaptureFileNamer::JoinPath(u"", name)), "a.png");
}

TEST(CaptureFileNamer, NameTakenOnDiskOrByAPendingSaveGetsTheNextSuffix)
{
    Testing::cTempFolder folder;
    const std::u16string base = folder.Path().u16string();
    const sNaming naming = Naming(base);
    const Platform::sTime time = Time(2013, 5, 4, 9, 7, 3, 58);
    cCaptureFileNamer namer;

    Touch(folder.Path() / "Quillsnapper_2013-05-04_09-07-03_58.png");
    const Container::cWideString first = namer.MakeCaptureFileName(naming, time);
    EXPECT_EQ(Narrow(first), Narrow(cCaptureFileNamer::JoinPath(naming.folder, u"Quillsnapper_2013-05-04_09-07-03_58_2.png")));
    // Reserved, not yet on disk: the next one moves on.
    const Container::cWideString second = namer.MakeCaptureFileName(naming, time);
    EXPECT_EQ(Narrow(Storage::FileNameOf(second)), "Quillsnapper_2013-05-04_09-07-03_58_3.png");
    EXPECT_EQ(namer.ReservedCount(), 2u);

    // Released without a file: the name is free again.
    namer.Release(first);
    EXPECT_EQ(namer.ReservedCount(), 1u);
    const Container::cWideString third = namer.MakeCaptureFileName(naming, time);
    EXPECT_EQ(Narrow(third), Narrow(first));
}

TEST(CaptureFileNamer, SameFileNameIgnoresExistingFilesAndReservations)
{
    Testing::cTempFolder folder;
    const sNaming naming = Naming(folder.Path().u16string(), u"png", true);
    Touch(folder.Path() / "Quillsnapper.png");
    cCaptureFileNamer namer;
    const Platform::sTime time = Time(2013, 5, 4, 9, 7, 3, 58);
    const Container::cWideString first = namer.MakeCaptureFileName(naming, time);
    const Container::cWideString second = namer.MakeCaptureFileName(naming, time);
    EXPECT_EQ(Narrow(Storage::FileNameOf(first)), "Quillsnapper.png");
    EXPECT_EQ(Narrow(second), Narrow(first));
}

TEST(CaptureFileNamer, ReadsTheClockOnceForEveryField)
{
    // The fake clock's local and system times disagree on the milliseconds:
    // the name must take every field from the one (local) reading.
    Platform::sTime local = Time(2013, 5, 4, 9, 7, 3, 58);
    Platform::sTime system = Time(2013, 5, 4, 7, 7, 3, 123);
    Platform::SetFakeTime(&local, &system);
    cCaptureFileNamer namer;
    const Container::cWideString path = namer.MakeCaptureFileName(Naming(u""));
    Platform::SetFakeTime(nullptr, nullptr);
    EXPECT_EQ(Narrow(path), "Quillsnapper_2013-05-04_09-07-03_58.png");
}

TEST(CaptureFileNamer, ThreadsNamingAtTheSameMomentNeverShareAName)
{
    Testing::cTempFolder folder;
    const sNaming naming = Naming(folder.Path().u16string());
    sFakeClock clock(Time(2020, 2, 29, 12, 0, 0, 500));
    cCaptureFileNamer namer;
    constexpr int kThreads = 4;
    constexpr int kEach = 40;
    std::vector<std::vector<std::string>> names(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                names[t].push_back(Narrow(namer.MakeCaptureFileName(naming)));
        });
    for (std::thread& thread : threads)
        thread.join();
    std::set<std::string> distinct;
    for (const auto& list : names)
        distinct.insert(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kThreads * kEach));
    EXPECT_EQ(namer.ReservedCount(), static_cast<std::size_t>(kThreads * kEach));
}
