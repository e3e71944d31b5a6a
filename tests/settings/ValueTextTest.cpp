#include <gtest/gtest.h>

#include "framework/settings/ValueText.h"

#include <cfloat>
#include <cstdint>
#include <string>
#include <vector>

using AS::cValueText;

TEST(ValueTextTest, IntegersParseLikeAScanfPattern)
{
    struct sCase
    {
        const char16_t* text;
        std::size_t matched;
        std::vector<std::int32_t> expected; // starting from {-1, -1, -1, -1}
    };
    const sCase cases[] = {
        {u"1,2,3,4", 4, {1, 2, 3, 4}},
        {u" 1, 2,\t3,\n4 tail", 4, {1, 2, 3, 4}}, // white space before a number is skipped
        {u"1 ,2,3,4", 1, {1, -1, -1, -1}},        // but not before the comma
        {u"+5,-6", 2, {5, -6, -1, -1}},
        {u"7,8", 2, {7, 8, -1, -1}},
        {u"", 0, {-1, -1, -1, -1}},
        {u"x", 0, {-1, -1, -1, -1}},
        {u"2147483647,-2147483648,2147483648,0", 2, {2147483647, -2147483647 - 1, -1, -1}},
        {u"99999999999999999999999,1", 0, {-1, -1, -1, -1}},
        {u"3.5,4", 1, {3, -1, -1, -1}},
        {u"-,1", 0, {-1, -1, -1, -1}},
    };
    for (const sCase& test : cases) {
        std::int32_t fields[4] = {-1, -1, -1, -1};
        EXPECT_EQ(cValueText::ParseIntegers(test.text, fields), test.matched);
        EXPECT_EQ(std::vector<std::int32_t>(fields, fields + 4), test.expected);
    }
}

TEST(ValueTextTest, RealsParseAndFormatWithSixDecimals)
{
    float fields[2] = {9.0f, 9.0f};
    EXPECT_EQ(cValueText::ParseReals(u"1.5,-2.25", fields), 2u);
    EXPECT_EQ(fields[0], 1.5f);
    EXPECT_EQ(fields[1], -2.25f);
    EXPECT_EQ(cValueText::ParseReals(u"1e3,.5", fields), 2u);
    EXPECT_EQ(fields[0], 1000.0f);
    EXPECT_EQ(fields[1], 0.5f);
    fields[0] = fields[1] = 9.0f;
    EXPECT_EQ(cValueText::ParseReals(u"1e39,2", fields), 0u); // beyond any float
    EXPECT_EQ(cValueText::ParseReals(u"1e-60,2", fields), 2u);
    EXPECT_EQ(fields[0], 0.0f);

    Container::cWideString text;
    ASSERT_TRUE(cValueText::FormatReals(text, {0.1f, -3.0f}));
    EXPECT_EQ(text, u"0.100000,-3.000000");
    ASSERT_TRUE(cValueText::FormatReal(text, FLT_MAX * 2)); // infinity
    float back = 0;
    EXPECT_EQ(cValueText::ParseReals(text.View(), {&back, 1}), 1u);
    EXPECT_EQ(back, FLT_MAX);

    ASSERT_TRUE(cValueText::FormatIntegers(text, std::vector<std::int32_t>{0, -2147483647 - 1, 480}));
    EXPECT_EQ(text, u"0,-2147483648,480");
}

TEST(ValueTextTest, ToRealReadsTheLeadingNumber)
{
    EXPECT_EQ(cValueText::ToReal(u"1.500000"), 1.5f);
    EXPECT_EQ(cValueText::ToReal(u"  -2.5xyz"), -2.5f);
    EXPECT_EQ(cValueText::ToReal(u"abc"), 0.0f);
    EXPECT_EQ(cValueText::ToReal(u""), 0.0f);
    EXPECT_EQ(cValueText::ToReal(u"-."), 0.0f);
    EXPECT_EQ(cValueText::ToReal(u"1e300"), FLT_MAX);
    EXPECT_EQ(cValueText::ToReal(u"-1e300"), -FLT_MAX);
}
