#include <gtest/gtest.h>

#include "framework/core/FileFind.h"
#include "framework/core/PathHelpers.h"
#include "tests/core/TestFiles.h"
#include "tests/support/TempFolder.h"

#include <set>
#include <string>

using Container::cWideString;

TEST(PathHelpersTest, DirectoryTitleExtensionTable)
{
    const struct
    {
        const char16_t* path;
        const char16_t* directory;
        const char16_t* title;
        const char16_t* extension;
    } cases[] = {
        {u"C:\\a\\b.txt", u"C:\\a", u"b", u"txt"},
        {u"b.txt", u"", u"b", u"txt"},
        {u"C:\\a.b\\c.tar.gz", u"C:\\a.b", u"c.tar", u"gz"},
        {u"C:\\a.b\\c", u"C:\\a.b", u"c", u"b\\c"},  // the extension is taken anywhere in the path
        {u"C:/x/y/", u"C:/x/y", u"", u""},
        {u"dir/file", u"dir", u"file", u""},
        {u"C:\\", u"C:", u"", u""},
        {u".hidden", u"", u"", u"hidden"},
        {u"", u"", u"", u""},
        {u"a\\b/c.d", u"a\\b", u"c", u"d"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(std::u16string_view(c.directory), Storage::DirectoryOf(c.path).View());
        EXPECT_EQ(std::u16string_view(c.title), Storage::TitleOf(c.path).View());
        EXPECT_EQ(std::u16string_view(c.extension), Storage::ExtensionOf(c.path).View());
    }
    EXPECT_EQ(u"b.txt", Storage::FileNameOf(u"C:\\a\\b.txt").View());
    EXPECT_TRUE(Storage::DirectoryOf(static_cast<const char16_t*>(nullptr)).IsEmpty());
}

TEST(PathHelpersTest, LongPathsStayWithinTheirBuffers)
{
    // A separator at index 259 still gives a folder; at 260 it does not.
    std::u16string path(259, u'a');
    path += u"\\file.txt";
    EXPECT_EQ(259u, Storage::DirectoryOf(path.c_str()).Length());
    path = u"a" + path;
    EXPECT_TRUE(Storage::DirectoryOf(path.c_str()).IsEmpty());

    // Titles longer than 258 characters are refused.
    EXPECT_EQ(258u, Storage::TitleOf((std::u16string(258, u't') + u".x").c_str()).Length());
    EXPECT_TRUE(Storage::TitleOf((std::u16string(259, u't') + u".x").c_str()).IsEmpty());

    // Extensions of 260 characters or more are not copied.
    EXPECT_EQ(259u, Storage::ExtensionOf((u"a." + std::u16string(259, u'e')).c_str()).Length());
    EXPECT_TRUE(Storage::ExtensionOf((u"a." + std::u16string(260, u'e')).c_str()).IsEmpty());

    // Very long paths are handled without reading or writing past them.
    const std::u16string huge(100000, u'\\');
    EXPECT_TRUE(Storage::DirectoryOf(huge.c_str()).IsEmpty());
    EXPECT_TRUE(Storage::TitleOf(huge.c_str()).IsEmpty());
    EXPECT_FALSE(Storage::MakeDirectories(huge.c_str()));
}

TEST(PathHelpersTest, FilterIndexOf)
{
    const char16_t* filter = u"PNG files|*.png|Bitmaps|*.bmp|JPEG|*.jpg;*.jpeg|";
    EXPECT_EQ(1, Storage::FilterIndexOf(filter, u"png"));
    EXPECT_EQ(2, Storage::FilterIndexOf(filter, u"bmp"));
    EXPECT_EQ(3, Storage::FilterIndexOf(filter, u"jpg"));
    EXPECT_EQ(3, Storage::FilterIndexOf(filter, u"jpeg"));
    // Not found: one more than half the number of "|".
    EXPECT_EQ(4, Storage::FilterIndexOf(filter, u"gif"));
    EXPECT_EQ(0, Storage::FilterIndexOf(u"", u"png"));
    EXPECT_EQ(0, Storage::FilterIndexOf(nullptr, u"png"));
    EXPECT_EQ(0, Storage::FilterIndexOf(u"*.png|PNG", u"png"));  // stands at the very start
}

TEST(PathHelpersTest, MakeDirectoriesCreatesEveryLevel)
{
    Testing::cTempFolder folder;
    const auto deepest = folder.File(u"x/y/z");
    EXPECT_TRUE(Storage::MakeDirectories(deepest.c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "x" / "y"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "x" / "y" / "z"));
    // Existing levels are fine, and a trailing separator too.
    EXPECT_TRUE(Storage::MakeDirectories((deepest + u"/w/").c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "x" / "y" / "z" / "w"));
    // A file in the way makes it fail.
    Testing::WriteBytes(folder.Path() / "file", {1});
    EXPECT_FALSE(Storage::MakeDirectories(folder.File(u"file/sub").c_str()));
}

TEST(PathHelpersTest, ExistenceByAttributes)
{
    Testing::cTempFolder folder;
    Testing::WriteBytes(folder.Path() / "a.txt", {1});
    const auto file = folder.File(u"a.txt");
    EXPECT_TRUE(Storage::PathExists(file.c_str()));
    EXPECT_FALSE(Storage::IsFolder(file.c_str()));
    EXPECT_TRUE(Storage::IsFolder(folder.Path().u16string().c_str()));
    EXPECT_FALSE(Storage::PathExists(folder.File(u"b.txt").c_str()));
    EXPECT_FALSE(Storage::PathExists(u""));
    // Wildcards are not wildcards here: "?.txt" and "*" name nothing.
    EXPECT_FALSE(Storage::PathExists(folder.File(u"?.txt").c_str()));
    EXPECT_FALSE(Storage::PathExists(folder.File(u"*").c_str()));
    // Roots exist and are folders; a search finds nothing for them.
#ifdef _WIN32
    const char16_t* root = u"C:\\";
#else
    const char16_t* root = u"/";
#endif
    EXPECT_TRUE(Storage::PathExists(root));
    EXPECT_TRUE(Storage::IsFolder(root));
    Storage::cFileFind find;
    EXPECT_FALSE(find.FindFirst(root));
}

TEST(FileFindTest, ListsMatchingEntries)
{
    Testing::cTempFolder folder;
    Testing::WriteBytes(folder.Path() / "one.png", {1, 2, 3});
    Testing::WriteBytes(folder.Path() / "two.PNG", {1});
    Testing::WriteBytes(folder.Path() / "three.jpg", {1});
    std::filesystem::create_directory(folder.Path() / "sub.png");

    Storage::cFileFind find;
    const auto pattern = folder.File(u"*.png");
    ASSERT_TRUE(find.FindFirst(pattern.c_str()));
    EXPECT_EQ(Storage::DirectoryOf(pattern.c_str()).View(), find.Folder().View());
    std::set<std::u16string> names;
    do
    {
        names.insert(find.Name());
        if (std::u16string_view(find.Name()) == u"one.png")
        {
            EXPECT_EQ(3u, find.Size());
            EXPECT_FALSE(find.IsFolder());
            EXPECT_NE(0u, find.WriteTime());
            EXPECT_TRUE(Storage::PathExists(find.FullPath()));
        }
        if (std::u16string_view(find.Name()) == u"sub.png")
        {
            EXPECT_TRUE(find.IsFolder());
        }
    } while (find.FindNext());
    EXPECT_EQ((std::set<std::u16string>{u"one.png", u"two.PNG", u"sub.png"}), names);
    EXPECT_FALSE(find.FindNext());

    EXPECT_TRUE(find.FindFirst(folder.File(u"t?o.png").c_str()));
    EXPECT_EQ(u"two.PNG", std::u16string_view(find.Name()));
    EXPECT_FALSE(find.FindFirst(folder.File(u"*.gif").c_str()));
    EXPECT_FALSE(find.FindFirst(folder.File(u"missing/*").c_str()));
}
