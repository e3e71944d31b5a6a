#include <gtest/gtest.h>

#include <cstdio>

#include "framework/window/skin/rules/ColourModel.h"
#include "framework/window/skin/rules/Palette.h"

using Skin::cPalette;

namespace {

std::string Hex(std::uint32_t c)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", c);
    return text;
}

void ExpectPalette(const cPalette& palette, const std::array<std::uint32_t, cPalette::Count>& expected)
{
    for (int i = 0; i < cPalette::Count; ++i)
        EXPECT_EQ(Hex(palette[i]), Hex(expected[std::size_t(i)])) << "entry " << i;
}

} // namespace

TEST(PaletteTest, UsualSystemColoursGiveTheKnownPalette)
{
    const cPalette fresh;
    const cPalette p = cPalette::Derive(0xFFF0F0F0, 0xFF99B4D1, 0xFF3399FF, fresh[cPalette::Text]);
    ExpectPalette(p, {0xFFFFFFFF, 0xFFEFEFEF, 0xFF000000, 0xFF505050, 0xFFF0F0F0, 0xFFFFFFFF, 0xFFF8F8F8,
                      0xFFF0F0F0, 0xFF909090, 0xFF303030, 0xFF000000, 0xFF3030E8, 0xFF000000, 0xFF505050,
                      0xFF99B4D1, 0xFF4C5968, 0xFFB5C2D1, 0xFF000000, 0xFF404040, 0xFF909090, 0xFF000000,
                      0xFF3399FF, 0xFF3399FF, 0xFFC0C0C0, 0xFF0066CC, 0xFFFFFFFF, 0xFF909090});
}

TEST(PaletteTest, ConstructionPaletteBeforeInitialisation)
{
    ExpectPalette(cPalette(), {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF777777, 0xFF999999, 0xFFEEEEEE, 0xFFDDDDDD,
                               0xFFCCCCCC, 0xFF333333, 0xFF222222, 0xFF000000, 0xFF0000FF, 0xFF000000, 0xFF777777,
                               0xFF555555, 0xFF444444, 0xFF999999, 0xFFFFFFFF, 0xFFCCCCCC, 0xFF333333, 0xFFFFFFFF,
                               0xFF000000, 0xFF00FF00, 0xFFFFFF00, 0xFF0066CC, 0xFFFFFFFF, 0xFF808080});
}

// A dark face (lightness 32) turns every text colour light. The values are
// those of the rules worked by hand: L0 = 48, L1 = 45, L8 = 19.
TEST(PaletteTest, DarkFaceColourSwitchesTextAndEditColours)
{
    const cPalette p = cPalette::Derive(0xFF202020, 0xFF202040, 0xFF800000, 0xFF000000);
    struct sCase
    {
        int entry;
        std::uint32_t expected;
    };
    const sCase cases[] = {
        {cPalette::EditBackground, 0xFF303030},  // lightness 32 * 150 / 100 = 48
        {cPalette::EditAlternate, 0xFF2D2D2D},   // 48 * 94 / 100 = 45
        {cPalette::EditText, 0xFFA0A0A0},        // L1 <= 128: grey 32 + 128
        {cPalette::Shade, 0xFF505050},           // black moved by 80 towards the middle
        {cPalette::DialogFace, 0xFF202020},
        {cPalette::Light, 0xFF2C2C2C},           // 32 * 140 / 100 = 44
        {cPalette::EdgeLight, 0xFF242424},       // 32 * 115 / 100 = 36
        {cPalette::ButtonFace, 0xFF202020},
        {cPalette::Outline, 0xFF131313},         // 32 * 60 / 100 = 19
        {cPalette::DarkOutline, 0xFF060606},     // 32 * 20 / 100 = 6
        {cPalette::Text, 0xFF848484},            // grey 32 + 100
        {cPalette::PressedTint, 0xFF777777},     // grey 19 + 100
        {cPalette::DisabledText, 0xFF707070},    // grey 32 + 80
        {cPalette::HotFill, 0xFF262626},         // 32 * 120 / 100 = 38
        {cPalette::EditBackground2, 0xFF303030},
        {cPalette::Outline3, 0xFF131313},
    };
    for (const sCase& c : cases)
        EXPECT_EQ(Hex(p[c.entry]), Hex(c.expected)) << "entry " << c.entry;
    // Caption 0x202040: lightness (32 + 64) / 2 = 48, so its text is grey 148
    // and its secondary text grey 112.
    EXPECT_EQ(Hex(p[cPalette::CaptionText]), Hex(0xFF949494));
    EXPECT_EQ(Hex(p[cPalette::CaptionSecondaryText]), Hex(0xFF707070));
    // Highlight 0x800000: lightness 64, its text grey 64 + 128.
    EXPECT_EQ(Hex(p[cPalette::HighlightText]), Hex(0xFFC0C0C0));
    // The link colour is a blue of lightness 32 + 100 = 132.
    const Skin::sHSL link = Skin::RgbToHsl(p[cPalette::LinkText]);
    EXPECT_EQ(link.h, 240);
    EXPECT_NEAR(link.l, 132, 1);
}

// A white face would give an invisible light edge; entry 6 stops at 248.
TEST(PaletteTest, LightEdgeStaysVisibleOnWhite)
{
    const cPalette p = cPalette::Derive(0xFFFFFFFF, 0xFF99B4D1, 0xFF3399FF, 0xFF000000);
    EXPECT_EQ(Hex(p[cPalette::EdgeLight]), Hex(0xFFF8F8F8));
    EXPECT_EQ(Hex(p[cPalette::Light]), Hex(0xFFFFFFFF));
    EXPECT_EQ(Hex(p[cPalette::HotFill]), Hex(0xFFCCCCCC));  // 255 * 80 / 100 = 204
}

// Entry 3 comes from the previous entry 10: a second derivation starts from
// the first one's text colour.
TEST(PaletteTest, ShadeFollowsThePreviousTextColour)
{
    EXPECT_EQ(Hex(cPalette::Derive(0xFFF0F0F0, 0xFF99B4D1, 0xFF3399FF, 0xFFC8C8C8)[cPalette::Shade]),
              Hex(0xFF787878));  // 200 - 80
    EXPECT_EQ(Hex(cPalette::Derive(0xFFF0F0F0, 0xFF99B4D1, 0xFF3399FF, 0xFF7F7F7F)[cPalette::Shade]),
              Hex(0xFFCFCFCF));  // 127 + 80
}

// Every entry is opaque, whatever alpha the inputs carry.
TEST(PaletteTest, EntriesAreOpaque)
{
    const cPalette p = cPalette::Derive(0x00808000, 0x00112233, 0x00445566, 0x00000000);
    for (int i = 0; i < cPalette::Count; ++i)
        EXPECT_EQ(p[i] >> 24, 0xFFu) << "entry " << i;
}
