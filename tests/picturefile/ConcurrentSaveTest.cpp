#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/painter/Picture.h"
#include "framework/picturefile/PictureFile.h"
#include "framework/picturefile/PictureFileFactory.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

using namespace PictureFileTest;

namespace {

Painter::cPicture OpaquePattern(unsigned seed)
{
    Painter::cPicture picture = MakePattern(Painter::FORMAT_ARGB32, 61, 37, seed);
    for (std::int32_t y = 0; y < picture.Height(); ++y)
        for (std::int32_t x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y, picture.Pixel(x, y) | 0xFF000000u);
    return picture;
}

bool SaveAs(const Painter::cPicture& picture, const std::u16string& path)
{
    PictureFile::cPictureFileFactory factory;
    std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(Container::cWideString(std::u16string_view(path))));
    return file && file->Save(picture, Container::cWideString(std::u16string_view(path)));
}

// Which of the pictures the file holds, exactly: its index, or -1 when it
// does not decode or matches none.
int Decode(const std::filesystem::path& path, const std::vector<const Painter::cPicture*>& candidates)
{
    const std::u16string text = path.u16string();
    PictureFile::cPictureFileFactory factory;
    std::unique_ptr<PictureFile::cPictureFile> file(factory.Create(Container::cWideString(std::u16string_view(text))));
    Painter::cPicture read;
    if (!file || !file->Load(read, Container::cWideString(std::u16string_view(text))))
        return -1;
    for (std::size_t i = 0; i < candidates.size(); ++i)
    {
        const Painter::cPicture& expected = *candidates[i];
        if (read.Width() != expected.Width() || read.Height() != expected.Height())
            continue;
        bool same = true;
        for (std::int32_t y = 0; y < expected.Height() && same; ++y)
            for (std::int32_t x = 0; x < expected.Width() && same; ++x)
                same = Bgr(read, x, y) == Bgr(expected, x, y);
        if (same)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

// Two save workers writing into one folder at once, to one shared name and
// to names of their own: every file ends complete, and no temporary file
// is left behind.
TEST(ConcurrentSaveTest, TwoThreadsSavingFiveHundredTimesEachLeaveOnlyCompleteFiles)
{
    constexpr int kSaves = 500;
    Testing::cTempFolder folder;
    const Painter::cPicture pictures[2] = {OpaquePattern(1), OpaquePattern(2)};
    std::atomic<int> failures[2] = {0, 0};

    auto worker = [&](int index) {
        const std::u16string own = index == 0 ? u"a-" : u"b-";
        for (int i = 0; i < kSaves; ++i)
        {
            // Even turns go to the shared name, odd ones to a name of this
            // thread's own.
            std::u16string name = u"shared.png";
            if (i % 2 == 1)
            {
                name = own;
                for (char c : std::to_string(i))
                    name.push_back(static_cast<char16_t>(c));
                name += u".png";
            }
            if (!SaveAs(pictures[index], folder.File(name)))
                ++failures[index];
        }
    };
    std::thread first(worker, 0);
    std::thread second(worker, 1);
    first.join();
    second.join();
    EXPECT_EQ(failures[0].load(), 0);
    EXPECT_EQ(failures[1].load(), 0);

    const std::vector<const Painter::cPicture*> both = {&pictures[0], &pictures[1]};
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    {
        ++files;
        const std::string name = entry.path().filename().string();
        ASSERT_EQ(entry.path().extension(), ".png") << name << " is left over";
        const int holds = Decode(entry.path(), both);
        if (name == "shared.png")
            EXPECT_GE(holds, 0) << name;
        else
            EXPECT_EQ(holds, name[0] == 'a' ? 0 : 1) << name;
    }
    EXPECT_EQ(files, 1 + kSaves);
}
