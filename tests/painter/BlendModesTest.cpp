#include "framework/painter/BlendModes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <cstdint>
#include <random>
#include <vector>

using Painter::cBlendModes;

namespace {

// ---- Division by 255 ---------------------------------------------------------

// Every numerator the modes can produce lies within +-130050 (2 x 255 x 255);
// the sweep covers a good margin beyond that.
TEST(BlendDiv255Test, MatchesIntegerDivisionOverTheWholeNumeratorRange)
{
    constexpr std::int32_t kRange = 1 << 20;
    for (std::int32_t x = -kRange; x <= kRange; ++x)
        ASSERT_EQ(Painter::Div255(x), x / 255) << x;
}

TEST(BlendDiv255Test, MatchesIntegerDivisionAtTheEndsOfTheIntRange)
{
    const std::int32_t values[] = {INT32_MIN, INT32_MIN + 1, INT32_MIN + 254, -2147483393, INT32_MAX,
                                   INT32_MAX - 1, 2147483393, 2147483392, 16777215, -16777215};
    for (std::int32_t x : values)
        EXPECT_EQ(Painter::Div255(x), x / 255) << x;
    std::mt19937 random(7);
    for (int i = 0; i < 1000000; ++i)
    {
        const std::int32_t x = static_cast<std::int32_t>(random());
        ASSERT_EQ(Painter::Div255(x), x / 255) << x;
    }
}

TEST(BlendDiv255Test, ShortFormIsExactUpToItsLimitAndNoFurther)
{
    for (std::int32_t x = -Painter::kDiv255ShortLimit; x <= Painter::kDiv255ShortLimit; ++x)
        ASSERT_EQ(Painter::Div255Short(x), x / 255) << x;
    // The limit is tight: the next magnitude is where the reciprocal breaks.
    EXPECT_NE(Painter::Div255Short(Painter::kDiv255ShortLimit + 1), (Painter::kDiv255ShortLimit + 1) / 255);
}

// ---- A table of cases per mode -------------------------------------------------

struct sCase
{
    std::int32_t mode;
    std::uint32_t source;
    std::uint32_t target;
    std::int32_t opacity;
    std::int32_t mask; // cBlendModes::kNoMask for the unmasked loops
    std::uint32_t expected;
    const char* what;
};

constexpr std::int32_t kNone = cBlendModes::kNoMask;

const sCase kCases[] = {
    // Normal.
    {0, 0x80000000, 0xFF010101, 255, kNone, 0xFF010101, "normal: 1 + 128 * -1 / 255 truncates to 1"},
    {0, 0x00FFFFFF, 0xFF123456, 255, kNone, 0xFF123456, "normal: a transparent source changes nothing"},
    {0, 0x80FF0000, 0x00123456, 255, kNone, 0x80FF0000, "normal: onto a transparent target, the source"},
    {0, 0x80FF0000, 0x800000FF, 255, kNone, 0xC0AA0055, "normal: two alphas of 128 give 192"},
    {0, 0xFFFF0000, 0xFF0000FF, 128, kNone, 0xFF80007F, "normal: opacity 128"},
    {0, 0xFFFF0000, 0xFF0000FF, 255, 128, 0xFF80007F, "normal: mask byte 128 acts like opacity 128"},
    {0, 0xFFFF0000, 0xFF0000FF, 255, 0, 0xFF0000FF, "normal: mask byte 0 leaves the target"},
    {0, 0xFFFF0000, 0x800000FF, 255, kNone, 0xFFFF0000, "normal: opaque source over half transparent"},
    {0, 0xFFFF0000, 0xFF0000FF, 0, kNone, 0xFF0000FF, "normal: opacity 0"},
    // Add (and 9), Average, Linear Burn (and 21).
    {1, 0xFF808080, 0xFF909090, 255, kNone, 0xFFFFFFFF, "add clamps at 255"},
    {1, 0xFF404040, 0x80404040, 255, kNone, 0xFF5F5F5F, "add: opaque source over alpha 128 gives alpha 255"},
    {9, 0xFF808080, 0xFF101010, 255, kNone, 0xFF909090, "mode 9 is add"},
    {2, 0xFF102030, 0xFF302010, 255, kNone, 0xFF202020, "average"},
    {3, 0xFFC86400, 0xFF646464, 255, kNone, 0xFF2D0000, "linear burn: 300 - 255 = 45, 200 -> 0"},
    {21, 0xFFC86400, 0xFF646464, 255, kNone, 0xFF2D0000, "mode 21 is linear burn"},
    // Color Burn: s = 0 -> 0; -55 * 256 / 128 + 255 = 145; -256 / 3 truncates to -85.
    {4, 0xFF800003, 0xFFC864FE, 255, kNone, 0xFF9100AA, "color burn"},
    {4, 0xFF0A0A0A, 0xFF646464, 255, kNone, 0xFF000000, "color burn below 0 gives 0"},
    // Color Dodge: s = 255 -> 255 even over 0; 25600 / 127 = 201; 25600 / 55 -> 255.
    {6, 0xFFFF80C8, 0xFF006464, 255, kNone, 0xFFFFC9FF, "color dodge"},
    {7, 0xFF10F080, 0xFF801080, 255, kNone, 0xFF101080, "darken"},
    {13, 0xFF10F080, 0xFF801080, 255, kNone, 0xFF80F080, "lighten"},
    {8, 0xFF0AC800, 0xFFC80A00, 255, kNone, 0xFFBEBE00, "difference"},
    // Exclusion: 256 - 32768 / 255 = 128; 355 - 51000 / 255 = 155; s = 0 -> d.
    {10, 0xFF80FF00, 0xFF806477, 255, kNone, 0xFF809B77, "exclusion"},
    // Hard Light: s >= 128 -> 255 - 2 * 55 * 155 / 255 = 189; else 2 * 100 * 200 / 255 = 156.
    {11, 0xFFC86400, 0xFF64C800, 255, kNone, 0xFFBD9C00, "hard light"},
    // Overlay tests d instead.
    {16, 0xFF64C800, 0xFFC86400, 255, kNone, 0xFFBD9C00, "overlay"},
    // Multiply: white leaves, black blackens, 128 * 128 / 255 = 64.
    {14, 0xFFFFFFFF, 0xFF123456, 255, kNone, 0xFF123456, "multiply by white"},
    {14, 0xFF000000, 0xFF123456, 255, kNone, 0xFF000000, "multiply by black"},
    {14, 0xFF808080, 0xFF808080, 255, kNone, 0xFF404040, "multiply 128 by 128"},
    // Negation: 255 - |255 - 300| = 210; 255 - |255 - 100| = 100.
    {15, 0xFFC83200, 0xFF643200, 255, kNone, 0xFFD26400, "negation"},
    // Pin Light: max(100, 144) = 144; min(200, 100) = 100; min(20, 100) = 20.
    {17, 0xFFC83232, 0xFF64C814, 255, kNone, 0xFF906414, "pin light"},
    // Screen divides by 256: white over black 255, 128 over 128 192, 0 over 0 gives 1.
    {19, 0xFFFF8000, 0xFF008000, 255, kNone, 0xFFFFC001, "screen"},
    // Soft Light: 64 + 128 * (192 - 64) / 255 = 128; 100 + 100 * 155 / 255 = 160.
    {20, 0xFF80FF00, 0xFF806400, 255, kNone, 0xFF80A000, "soft light"},
    // HSL modes.
    {5, 0xFFFF0000, 0xFF808080, 255, kNone, 0xFFFF0101, "color: hue and saturation of red, lightness 128"},
    {12, 0xFFFF0000, 0xFF0000C8, 255, kNone, 0xFFC80000, "hue: red hue on a blue of lightness 100"},
    {18, 0xFF808080, 0xFFFF0000, 255, kNone, 0xFF7F7F7F, "saturation: grey source takes all saturation"},
    {22, 0xFFFFFFFF, 0xFFFF0000, 255, kNone, 0xFFFFFFFF, "value: lightness 255 is white"},
    {22, 0xFF000000, 0xFFFF0000, 255, kNone, 0xFF000000, "value: lightness 0 is black"},
    // Erase.
    {24, 0xFF000000, 0xFF123456, 255, kNone, 0x00123456, "erase: opaque over opaque keeps the colour"},
    {24, 0xC8000000, 0x64ABCDEF, 255, kNone, 0x00000000, "erase: 200 over 100 clears all four bytes"},
    {24, 0x32000000, 0x64ABCDEF, 255, kNone, 0x32ABCDEF, "erase: 50 off 100"},
    {24, 0xFF000000, 0x64ABCDEF, 0, kNone, 0x64ABCDEF, "erase at opacity 0"},
    {24, 0xFF000000, 0xFFABCDEF, 255, 128, 0x7FABCDEF, "erase through mask 128"},
    // Modes that draw nothing.
    {23, 0xFFFFFFFF, 0x80123456, 255, kNone, 0x80123456, "mode 23"},
    {25, 0xFFFFFFFF, 0x80123456, 255, kNone, 0x80123456, "mode 25"},
    {26, 0xFFFFFFFF, 0x80123456, 255, kNone, 0x80123456, "mode 26"},
    {27, 0xFFFFFFFF, 0x80123456, 255, kNone, 0x80123456, "mode 27"},
    {31, 0xFFFFFFFF, 0x80123456, 255, kNone, 0x80123456, "mode 31"},
    {-1, 0xFFFFFFFF, 0x80123456, 255, kNone, 0x80123456, "mode -1"},
    // Copy.
    {28, 0x80FF0000, 0xFF00FF00, 255, kNone, 0x80FF0000, "copy"},
    {28, 0x80FF0000, 0xFF00FF00, 128, kNone, 0x40FF0000, "copy at opacity 128"},
    {28, 0x80FF0000, 0xFF00FF00, 255, 128, 0x40FF0000, "copy through mask 128"},
    // 29.
    {29, 0xC8102030, 0x00FFFFFF, 255, kNone, 0xC8102030, "29 onto a transparent target"},
    {29, 0xC8102030, 0x00FFFFFF, 128, kNone, 0x64102030, "29 onto a transparent target at opacity 128"},
    {29, 0x80FF00FF, 0xFF000000, 128, kNone, 0xC0800080, "29 moves all four bytes by the opacity"},
    {29, 0x80FF00FF, 0xFF000000, 128, 255, 0x40FF00FF, "29 with a mask: colour by the mask byte"},
    {29, 0x80FF00FF, 0xFF000000, 128, 0, 0xFF000000, "29 with mask byte 0"},
    // 30.
    {30, 0xFF800000, 0xFF112233, 255, kNone, 0x80112233, "30 multiplies alpha by the red byte"},
    {30, 0xFF00FFFF, 0xFF112233, 255, kNone, 0x00112233, "30 with red 0"},
    {30, 0xFF800000, 0xFF112233, 128, kNone, 0x40112233, "30 at opacity 128"},
    {30, 0xFF000000, 0xFF112233, 255, 0, 0xFF112233, "30 with mask byte 0"},
};

std::string Describe(const sCase& c)
{
    char text[200];
    std::snprintf(text, sizeof text, "%s (mode %d, source %08X, target %08X, opacity %d, mask %d)", c.what, c.mode,
                  c.source, c.target, c.opacity, c.mask);
    return text;
}

TEST(BlendModesTest, RulesGiveTheTabledResults)
{
    for (const sCase& c : kCases)
        EXPECT_EQ(cBlendModes::BlendPixel(c.mode, c.source, c.target, c.opacity, c.mask), c.expected) << Describe(c);
}

TEST(BlendModesTest, RowLoopsGiveTheTabledResults)
{
    for (const sCase& c : kCases)
    {
        const bool masked = c.mask != kNone;
        const cBlendModes::cRowFunction row = cBlendModes::GetRowFunction(c.mode, masked);
        // Rows long enough for the chunked loops, of the one case repeated.
        for (std::int32_t length : {1, 16, 37})
        {
            std::vector<std::uint32_t> target(static_cast<std::size_t>(length), c.target);
            const std::vector<std::uint32_t> source(static_cast<std::size_t>(length), c.source);
            const std::vector<std::uint8_t> mask(static_cast<std::size_t>(length),
                                                 static_cast<std::uint8_t>(masked ? c.mask : 0));
            if (row != nullptr)
                row(target.data(), source.data(), length, c.opacity, masked ? mask.data() : nullptr);
            for (std::uint32_t pixel : target)
                ASSERT_EQ(pixel, c.expected) << Describe(c) << " length " << length;
        }
    }
}

TEST(BlendModesTest, ExactlyTheNamedModesDraw)
{
    for (std::int32_t mode = -2; mode < 40; ++mode)
    {
        const bool draws = (mode >= 0 && mode <= 22) || mode == 24 || (mode >= 28 && mode <= 30);
        EXPECT_EQ(cBlendModes::IsDrawingMode(mode), draws) << mode;
        EXPECT_EQ(cBlendModes::GetRowFunction(mode, true) != nullptr, draws) << mode;
    }
}

// ---- Row loops against the rules ---------------------------------------------------

const std::int32_t kSeparableModes[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 19, 20, 21};

// Opaque over opaque at full opacity is B(s, d) itself: checked for every pair
// of channel values, which covers the division shortcuts of the row loops.
TEST(BlendModesTest, OpaqueRowsGiveTheModeFunctionForEveryChannelPair)
{
    std::vector<std::uint32_t> source(256), target(256);
    for (std::int32_t mode : kSeparableModes)
    {
        const cBlendModes::cRowFunction row = cBlendModes::GetRowFunction(mode, false);
        ASSERT_NE(row, nullptr);
        for (std::uint32_t s = 0; s < 256; ++s)
        {
            for (std::uint32_t d = 0; d < 256; ++d)
            {
                source[d] = 0xFF000000u | s | (s << 8) | (s << 16);
                target[d] = 0xFF000000u | d | (d << 8) | (d << 16);
            }
            row(target.data(), source.data(), 256, 255, nullptr);
            for (std::uint32_t d = 0; d < 256; ++d)
            {
                const std::int32_t b = cBlendModes::BlendChannel(mode, static_cast<std::int32_t>(s),
                                                                 static_cast<std::int32_t>(d));
                const std::uint32_t expected = 0xFF000000u | static_cast<std::uint32_t>(b) * 0x010101u;
                ASSERT_EQ(target[d], expected) << "mode " << mode << " s " << s << " d " << d;
            }
        }
    }
}

std::uint32_t RandomPixel(std::mt19937& random)
{
    // Alphas 0 and 255 are frequent, as in real pictures.
    const std::uint32_t colour = random() & 0x00FFFFFFu;
    switch (random() % 4)
    {
    case 0: return colour;
    case 1:
    case 2: return colour | 0xFF000000u;
    default: return colour | (random() << 24);
    }
}

// Rows mixing runs of opaque, transparent and partial pixels, so that every
// path of the chunked loops is taken; each pixel must equal the plain rule.
TEST(BlendModesTest, RowLoopsMatchTheRulesOnRandomRows)
{
    std::mt19937 random(1234);
    for (std::int32_t mode = 0; mode < cBlendModes::MODE_COUNT; ++mode)
    {
        if (!cBlendModes::IsDrawingMode(mode))
            continue;
        for (bool masked : {false, true})
        {
            const cBlendModes::cRowFunction row = cBlendModes::GetRowFunction(mode, masked);
            for (int round = 0; round < 60; ++round)
            {
                const std::int32_t length = 1 + static_cast<std::int32_t>(random() % 90);
                const std::int32_t opacity = round % 3 == 0 ? 255 : static_cast<std::int32_t>(random() % 256);
                std::vector<std::uint32_t> source(static_cast<std::size_t>(length));
                std::vector<std::uint32_t> target(static_cast<std::size_t>(length));
                std::vector<std::uint8_t> mask(static_cast<std::size_t>(length));
                // Runs of a kind: whole chunks of opaque targets or of
                // transparent or opaque sources.
                const int style = round % 4;
                for (std::int32_t i = 0; i < length; ++i)
                {
                    source[i] = RandomPixel(random);
                    target[i] = RandomPixel(random);
                    if (style == 1)
                        target[i] |= 0xFF000000u;
                    if (style == 2)
                        source[i] &= 0x00FFFFFFu;
                    if (style == 3)
                        source[i] |= 0xFF000000u;
                    mask[i] = static_cast<std::uint8_t>(random() % 3 == 0 ? 255 : random());
                }
                std::vector<std::uint32_t> result = target;
                row(result.data(), source.data(), length, opacity, masked ? mask.data() : nullptr);
                for (std::int32_t i = 0; i < length; ++i)
                {
                    const std::uint32_t expected = cBlendModes::BlendPixel(mode, source[i], target[i], opacity,
                                                                           masked ? mask[i] : cBlendModes::kNoMask);
                    ASSERT_EQ(result[i], expected) << "mode " << mode << " masked " << masked << " source " << std::hex
                                                   << source[i] << " target " << target[i] << std::dec << " opacity "
                                                   << opacity << " mask " << int(mask[i]);
                }
            }
        }
    }
}

// ---- HSL conversions ---------------------------------------------------------

TEST(BlendModesTest, RgbToHslFollowsTheIntegerRules)
{
    struct
    {
        std::int32_t r, g, b, h, s, l;
    } const cases[] = {
        {255, 0, 0, 0, 255, 127},     {0, 255, 0, 120, 255, 127}, {0, 0, 255, 240, 255, 127},
        {128, 128, 128, 0, 0, 128},   {255, 255, 255, 0, 0, 255}, {0, 0, 200, 240, 255, 100},
        {255, 0, 128, 330, 255, 127}, // (0 - 128 * 60) / 255 + 360 = 330
        {200, 250, 240, 168, 212, 225},
    };
    for (const auto& c : cases)
    {
        std::int32_t h, s, l;
        cBlendModes::RgbToHsl(c.r, c.g, c.b, h, s, l);
        EXPECT_EQ(h, c.h) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(s, c.s) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(l, c.l) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(BlendModesTest, HslToRgbFollowsTheIntegerRules)
{
    std::int32_t r, g, b;
    cBlendModes::HslToRgb(0, 255, 127, r, g, b); // m2 = 127 * 510 / 255 = 254, m1 = 0
    EXPECT_EQ(r, 254);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    cBlendModes::HslToRgb(30, 255, 128, r, g, b); // m2 = 255, m1 = 1; green 1 + 254 * 30 / 60
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 128);
    EXPECT_EQ(b, 1);
    cBlendModes::HslToRgb(200, 0, 77, r, g, b);
    EXPECT_EQ(r, 77);
    EXPECT_EQ(g, 77);
    EXPECT_EQ(b, 77);
    // Every triple the conversion can produce stays in bytes on the way back.
    for (std::int32_t h = 0; h < 360; h += 7)
        for (std::int32_t s = 0; s < 256; s += 5)
            for (std::int32_t l = 0; l < 256; l += 5)
            {
                cBlendModes::HslToRgb(h, s, l, r, g, b);
                ASSERT_TRUE(r >= 0 && r <= 255 && g >= 0 && g <= 255 && b >= 0 && b <= 255) << h << " " << s << " " << l;
            }
}

} // namespace
