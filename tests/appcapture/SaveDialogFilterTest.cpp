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

TEST(SaveDialogFilter, DialogFormSeparatesWithNullsAndEndsInTwo)
{
    const std::u16string text = cSaveDialogFilter::DialogForm();
    const std::u16string plain = cSaveDialogFilter::Text();
    ASSERT_EQ(text.size(), plain.size());
    EXPECT_EQ(std::count(text.begin(), text.end(), u'\0'), 2 * 14 + 1);
    EXPECT_EQ(std::count(text.begin(), text.end(), u'|'), 0);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text[text.size() - 1], u'\0');
    EXPECT_EQ(text[text.size() - 2], u'\0');
    EXPECT_EQ(text.substr(0, text.find(u'\0')), u"Portable Network Graphic(*.png)");
}
