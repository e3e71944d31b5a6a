#include <gtest/gtest.h>

#include "framework/window/skin/rules/ColourModel.h"

using namespace Skin;

TEST(ColourModelTest, RgbToHslOfKnownColours)
{
    struct sCase
    {
        std::uint32_t rgb;
        sHSL hsl;
    };
    const sCase cases[] = {
        {0xFF000000, {0, 0, 0}},      {0xFFFFFFFF, {0, 0, 255}},  {0xFF808080, {0, 0, 128}},
        {0xFFFF0000, {0, 255, 127}},  {0xFF00FF00, {120, 255, 127}}, {0xFF0000FF, {240, 255, 127}},
        {0xFF3399FF, {210, 255, 153}}, {0xFF99B4D1, {212, 96, 181}},
        {0xFFFF00FF, {300, 255, 127}}, // red largest, (g - b) negative: wraps through 360
    };
    for (const sCase& c : cases)
        EXPECT_EQ(RgbToHsl(c.rgb), c.hsl) << std::hex << c.rgb;
}

TEST(ColourModelTest, RgbToHsvOfKnownColours)
{
    EXPECT_EQ(RgbToHsv(0xFF99B4D1), (sHSV{212, 68, 209}));
    EXPECT_EQ(RgbToHsv(0xFF000000), (sHSV{0, 0, 0}));
    EXPECT_EQ(RgbToHsv(0xFFFFFF00), (sHSV{60, 255, 255}));
}

// Converting to a model and back gives the colour again within the
// truncation of the integer rules (at most a few steps per channel), and
// exactly for greys.
TEST(ColourModelTest, RoundTripsStayClose)
{
    const std::uint32_t colours[] = {0xFF000000, 0xFFFFFFFF, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                     0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF, 0xFF3399FF, 0xFF99B4D1, 0xFFF0F0F0,
                                     0xFF202020, 0xFF0066CC, 0xFF123456, 0xFFC0FFEE, 0xFF7F3F1F, 0xFF010203};
    auto channelDistance = [](std::uint32_t a, std::uint32_t b) {
        int worst = 0;
        for (int shift = 0; shift < 24; shift += 8)
            worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
        return worst;
    };
    for (std::uint32_t c : colours)
    {
        EXPECT_LE(channelDistance(HslToRgb(RgbToHsl(c)), c), 4) << std::hex << c;
        EXPECT_LE(channelDistance(HsvToRgb(RgbToHsv(c)), c), 4) << std::hex << c;
    }
    for (std::uint32_t c : {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u, 0xFF010101u, 0xFFFEFEFEu})
    {
        EXPECT_EQ(HslToRgb(RgbToHsl(c)), c) << std::hex << c;
        EXPECT_EQ(HsvToRgb(RgbToHsv(c)), c) << std::hex << c;
    }
}

// Every colour of a coarse grid over the RGB cube survives the round trips.
TEST(ColourModelTest, RoundTripsOverTheCube)
{
    int worstHsl = 0, worstHsv = 0;
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15)
            {
                const std::uint32_t c = 0xFF000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
                const std::uint32_t hsl = HslToRgb(RgbToHsl(c)), hsv = HsvToRgb(RgbToHsv(c));
                for (int shift = 0; shift < 24; shift += 8)
                {
                    worstHsl = std::max(worstHsl, std::abs(int((hsl >> shift) & 0xFF) - int((c >> shift) & 0xFF)));
                    worstHsv = std::max(worstHsv, std::abs(int((hsv >> shift) & 0xFF) - int((c >> shift) & 0xFF)));
                }
            }
    EXPECT_LE(worstHsl, 8);
    EXPECT_LE(worstHsv, 8);
}

TEST(ColourModelTest, AlphaIsCarriedAndComponentsClamped)
{
    EXPECT_EQ(HslToRgb({0, 0, 300}, 0x12), 0x12FFFFFFu);
    EXPECT_EQ(HslToRgb({720, 255, 127}), HslToRgb({0, 255, 127}));
    EXPECT_EQ(HsvToRgb({-120, 255, 255}), 0xFF0000FFu);  // -120 is hue 240
    EXPECT_EQ(Grey(-5), 0xFF000000u);
    EXPECT_EQ(Grey(999), 0xFFFFFFFFu);
    EXPECT_EQ(AddLightness(0x80808080, 300), 0x80FFFFFFu);
    EXPECT_EQ(AddLightness(0xFF808080, -10), 0xFF767676u);
}
