#include <gtest/gtest.h>
#include "tests/support/TempFolder.h"
#include <filesystem>

TEST(TempFolderTest, CreatesAndRemovesItsFolder)
{
    std::filesystem::path where;
    {
        Testing::cTempFolder folder;
        where = folder.Path();
        EXPECT_TRUE(std::filesystem::is_directory(where));
    }
    EXPECT_FALSE(std::filesystem::exists(where));
}
