#include <gtest/gtest.h>

#include "app/capture/SimplePictureSaveThread.h"
#include "framework/core/Thread.h"
#include "framework/core/PathHelpers.h"
#include "tests/support/TempFolder.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

using sNaming = cSettingsRecord::sNaming;

std::string Narrow(const Container::cWideString& text)
{
    std::string result;
    for (char16_t c : text.View())
        result += static_cast<char>(c);
    return result;
}

// A picture whose every pixel differs from its neighbours and from the
// same place of the other pictures made with another seed.
Painter::cPicture Pattern(int width, int height, std::uint32_t seed)
{
    Painter::cPicture picture;
    EXPECT_TRUE(picture.Create(Painter::FORMAT_ARGB32, width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, 0xFF000000u | ((seed * 2654435761u + x * 7919u + y * 104729u) & 0xFFFFFFu));
    return picture;
}

bool SamePixels(const Painter::cPicture& loaded, const Painter::cPicture& b)
{
    // A reader may give another pixel format (24-bit for opaque PNG).
    Painter::cPicture a;
    if (!a.CopyFrom(loaded))
        return false;
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

bool LoadFile(const Container::cWideString& path, Painter::cPicture& picture)
{
    Brimvale::cBVPictureFileFactory factory;
    std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(path));
    return file && file->Load(picture, path);
}

// Records the saved paths; can hold the worker inside a notification.
class cRecorder : public cSimplePictureSaveThread::cListener
{
public:
    void OnPictureSaved(const Container::cWideString& path) override
    {
        std::unique_lock lock(m_lock);
        m_paths.push_back(Narrow(path));
        m_inside = true;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return !m_hold; });
        m_inside = false;
    }
    void Hold() { std::lock_guard lock(m_lock); m_hold = true; }
    void Let()
    {
        std::lock_guard lock(m_lock);
        m_hold = false;
        m_changed.notify_all();
    }
    bool WaitInside()
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_inside; });
    }
    std::vector<std::string> Paths()
    {
        std::lock_guard lock(m_lock);
        return m_paths;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::string> m_paths;
    bool m_hold = false;
    bool m_inside = false;
};

sNaming Naming(const std::filesystem::path& folder, const char16_t* format)
{
    sNaming naming;
    naming.prefix = u"Quillsnapper";
    naming.format = format;
    naming.folder = Container::cWideString(std::u16string_view(folder.u16string()));
    return naming;
}

struct sFakeClock
{
    sFakeClock()
    {
        Platform::sTime time;
        time.year = 2013;
        time.month = 5;
        time.day = 4;
        time.hour = 9;
        time.minute = 7;
        time.second = 3;
        time.milliseconds = 58;
        Platform::SetFakeTime(&time, &time);
    }
    ~sFakeClock() { Platform::SetFakeTime(nullptr, nullptr); }
};

using tWorker = Thread::cThreadHolder<cSimplePictureSaveThread>;

// A worker made and started idle, as the tool window makes one; empty when
// either step failed.
tWorker StartedWorker(const sNaming& naming, cCaptureFileNamer& namer, cSimplePictureSaveThread::cListener* listener)
{
    tWorker holder = tWorker::Create(naming, namer, listener);
    if (holder && !holder->Start())
        return tWorker();
    return holder;
}

bool WaitFinished(const cSimplePictureSaveThread& worker)
{
    for (int i = 0; i < 2000; ++i) {
        if (worker.IsFinished())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

TEST(SimplePictureSaveThread, SavesEveryPictureUnderItsOwnNameAndReportsEachPath)
{
    Testing::cTempFolder folder;
    sFakeClock clock;
    cCaptureFileNamer namer;
    cRecorder recorder;
    tWorker holder = StartedWorker(Naming(folder.Path(), u"png"), namer, &recorder);
    ASSERT_TRUE(holder);
    cSimplePictureSaveThread& worker = *holder;
    const std::vector<Painter::cPicture> pictures = {Pattern(17, 9, 1), Pattern(5, 23, 2), Pattern(1, 1, 3)};
    ASSERT_TRUE(worker.SetQueue(pictures));
    worker.Wake();
    ASSERT_TRUE(WaitFinished(worker));

    // The clock stands still: the second and third pictures of the capture
    // get suffixes instead of overwriting the first.
    const std::vector<std::string> names = {"Quillsnapper_2013-05-04_09-07-03_58.png",
                                            "Quillsnapper_2013-05-04_09-07-03_58_2.png",
                                            "Quillsnapper_2013-05-04_09-07-03_58_3.png"};
    const std::vector<std::string> paths = recorder.Paths();
    ASSERT_EQ(paths.size(), 3u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(Narrow(Storage::FileNameOf(Container::cWideString(std::u16string_view(
                      std::u16string(paths[i].begin(), paths[i].end()))))),
                  names[i]);
        Painter::cPicture loaded;
        ASSERT_TRUE(LoadFile(Container::cWideString(std::u16string_view(folder.File(
                                 std::u16string(names[i].begin(), names[i].end())))),
                             loaded))
            << names[i];
        EXPECT_TRUE(SamePixels(loaded, pictures[i])) << names[i];
    }
    EXPECT_EQ(worker.SavedCount(), 3);
    EXPECT_EQ(worker.FailedCount(), 0);
    EXPECT_EQ(namer.ReservedCount(), 0u);
}

TEST(SimplePictureSaveThread, PicturesThatCannotBeSavedAreSkippedWithoutANotice)
{
    Testing::cTempFolder folder;
    struct sCase
    {
        std::filesystem::path folder;
        const char16_t* format;
    };
    const sCase cases[] = {
        {folder.Path(), u"xyz"},                 // no writer for that extension
        {folder.Path() / "missing" / "deeper", u"png"}, // no such folder
    };
    for (const sCase& c : cases) {
        cCaptureFileNamer namer;
        cRecorder recorder;
        tWorker holder = StartedWorker(Naming(c.folder, c.format), namer, &recorder);
        ASSERT_TRUE(holder);
        cSimplePictureSaveThread& worker = *holder;
        ASSERT_TRUE(worker.SetQueue({Pattern(4, 4, 1), Pattern(4, 4, 2)}));
        worker.Wake();
        ASSERT_TRUE(WaitFinished(worker));
        EXPECT_TRUE(recorder.Paths().empty());
        EXPECT_EQ(worker.SavedCount(), 0);
        EXPECT_EQ(worker.FailedCount(), 2);
        EXPECT_EQ(namer.ReservedCount(), 0u);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(SimplePictureSaveThread, IsNotFinishedWhileWorkIsQueuedOrBeingSaved)
{
    Testing::cTempFolder folder;
    cCaptureFileNamer namer;
    cRecorder recorder;
    tWorker holder = StartedWorker(Naming(folder.Path(), u"bmp"), namer, &recorder);
    ASSERT_TRUE(holder);
    cSimplePictureSaveThread& worker = *holder;
    EXPECT_TRUE(worker.IsFinished()); // idle and empty

    ASSERT_TRUE(worker.SetQueue({Pattern(8, 8, 1)}));
    EXPECT_FALSE(worker.IsFinished()); // handed over, not yet woken

    recorder.Hold();
    worker.Wake();
    ASSERT_TRUE(recorder.WaitInside());
    // The queue is empty now, but the worker is still inside its step.
    EXPECT_FALSE(worker.IsFinished());
    recorder.Let();
    ASSERT_TRUE(WaitFinished(worker));
    EXPECT_EQ(worker.SavedCount(), 1);
}

TEST(SimplePictureSaveThread, DeletingTheWorkerSavesWhatWasHandedOver)
{
    Testing::cTempFolder folder;
    cCaptureFileNamer namer;
    {
        tWorker holder = StartedWorker(Naming(folder.Path(), u"tga"), namer, nullptr);
        ASSERT_TRUE(holder);
        cSimplePictureSaveThread& worker = *holder;
        ASSERT_TRUE(worker.SetQueue({Pattern(300, 200, 1), Pattern(300, 200, 2), Pattern(300, 200, 3)}));
        worker.Wake();
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        EXPECT_EQ(entry.path().extension(), ".tga");
        ++files;
    }
    EXPECT_EQ(files, 3);
}

TEST(SimplePictureSaveThread, KeepsTheNamingItWasCreatedWith)
{
    Testing::cTempFolder folder;
    cCaptureFileNamer namer;
    cRecorder recorder;
    sNaming naming = Naming(folder.Path(), u"png");
    naming.sameFileName = true;
    auto holder = Thread::cThreadHolder<cSimplePictureSaveThread>::Create(naming, namer, &recorder);
    ASSERT_TRUE(holder);
    cSimplePictureSaveThread& worker = *holder;
    // The caller's record changes after the worker was made.
    naming.format = u"bmp";
    naming.prefix = u"Other";
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.SetQueue({Pattern(3, 3, 1)}));
    worker.Wake();
    ASSERT_TRUE(WaitFinished(worker));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Quillsnapper.png"));
    EXPECT_EQ(recorder.Paths().size(), 1u);
}

TEST(SimplePictureSaveThread, SharedPicturesAreSavedWhileTheOwnerStillReadsThem)
{
    Testing::cTempFolder folder;
    cCaptureFileNamer namer;
    cRecorder recorder;
    tWorker holder = StartedWorker(Naming(folder.Path(), u"png"), namer, &recorder);
    ASSERT_TRUE(holder);
    cSimplePictureSaveThread& worker = *holder;

    // A missing picture is refused and leaves nothing queued.
    const auto first = std::make_shared<const Painter::cPicture>(Pattern(64, 48, 1));
    EXPECT_FALSE(worker.SetQueue(std::vector<cSimplePictureSaveThread::tSharedPicture>{first, nullptr}));
    EXPECT_TRUE(worker.IsFinished());

    const auto second = std::make_shared<const Painter::cPicture>(Pattern(64, 48, 2));
    const Painter::cPicture expected = *second;
    ASSERT_TRUE(worker.SetQueue(std::vector<cSimplePictureSaveThread::tSharedPicture>{first, second}));
    worker.Wake();
    // The owner reads the last picture (as the clipboard does) while the
    // worker saves both; neither copies nor changes the pixels.
    std::uint64_t sum = 0;
    for (int pass = 0; pass < 20; ++pass)
        for (int y = 0; y < second->Height(); ++y)
            for (int x = 0; x < second->Width(); ++x)
                sum += second->Pixel(x, y) & 0xFF;
    EXPECT_GT(sum, 0u);
    ASSERT_TRUE(WaitFinished(worker));

    const std::vector<std::string> paths = recorder.Paths();
    ASSERT_EQ(paths.size(), 2u);
    Painter::cPicture loaded;
    ASSERT_TRUE(LoadFile(Container::cWideString(std::u16string_view(std::u16string(paths[1].begin(), paths[1].end()))), loaded));
    EXPECT_TRUE(SamePixels(loaded, expected));
    // The worker let go of its share once saved.
    EXPECT_EQ(second.use_count(), 1);
    EXPECT_EQ(first.use_count(), 1);
}
