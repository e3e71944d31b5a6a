#include <gtest/gtest.h>

#include "app/capture/SaveDialogFilter.h"

#include <algorithm>
#include <string>

TEST(SaveDialogFilter, IndexOfEachFormatOfTheOptions)
{
    struct sCase
    {
        const char16_t* format;
        int index;
    };
    const sCase cases[] = {
        {u"png", 1}, {u"bmp", 2}, {u"gif", 3}, {u"ico", 4}, {u"jpg", 5}, {u"jpe", 5}, {u"jpeg", 5},
        {u"jpc", 6}, {u"jp2", 7}, {u"pcx", 8}, {u"pgx", 9}, {u"pnm", 10}, {u"ras", 11}, {u"ska", 12},
        {u"tga", 13}, {u"tbv", 14},
        // Not offered: one past the last entry.
        {u"pgm", 15}, {u"ppm", 15}, {u"wmf", 15},
        // The search is case-sensitive.
        {u"PNG", 15},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(cSaveDialogFilter::IndexOf(c.format), c.index) << std::string(c.format, c.format + 3);
}
