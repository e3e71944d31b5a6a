#include "framework/window/skin/rules/Palette.h"

#include <algorithm>

#include "framework/window/skin/rules/ColourModel.h"

namespace Skin {

namespace {

constexpr std::uint32_t AccentColour = 0xFF0066CCu;

// Black text on light colours, a light grey (the lightness raised by
// `raise`) on dark ones.
std::uint32_t TextOn(std::int32_t lightness, std::int32_t raise)
{
    return lightness > 128 ? Grey(0) : Grey(std::min(lightness + raise, 255));
}

} // namespace

cPalette::cPalette()
    : m_entries{0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF777777, 0xFF999999, 0xFFEEEEEE, 0xFFDDDDDD,
                0xFFCCCCCC, 0xFF333333, 0xFF222222, 0xFF000000, 0xFF0000FF, 0xFF000000, 0xFF777777,
                0xFF555555, 0xFF444444, 0xFF999999, 0xFFFFFFFF, 0xFFCCCCCC, 0xFF333333, 0xFFFFFFFF,
                0xFF000000, 0xFF00FF00, 0xFFFFFF00, AccentColour, 0xFFFFFFFF, 0xFF808080}
{
}

cPalette cPalette::Derive(std::uint32_t face, std::uint32_t caption, std::uint32_t highlight,
                          std::uint32_t previousText)
{
    const sHSL c0 = RgbToHsl(face);
    const std::int32_t H = c0.h, S = c0.s, L = c0.l;
    const std::int32_t L0 = std::min(L * 150 / 100, 255);
    const std::int32_t L1 = std::min(L0 * 94 / 100, 255);
    const std::int32_t L8 = std::min(L * 60 / 100, 255);

    cPalette p;
    p[EditBackground] = HslToRgb({H, S / 2, L0});
    p[EditAlternate] = HslToRgb({H, S / 2, L1});
    p[EditText] = L1 > 128 ? Grey(0) : Grey(std::min(L + 128, 255));

    sHSL shade = RgbToHsl(previousText);
    shade.l = shade.l <= 127 ? std::min(shade.l + 80, 255) : std::max(shade.l - 80, 0);
    p[Shade] = HslToRgb(shade);

    p[DialogFace] = HslToRgb(c0);
    p[Light] = HslToRgb({H, S, std::min(L * 140 / 100, 255)});
    p[EdgeLight] = HslToRgb({H, S, std::min(L * 115 / 100, 248)});
    p[ButtonFace] = face | 0xFF000000u;
    p[Outline] = HslToRgb({H, S / 2, L8});
    p[DarkOutline] = HslToRgb({H, S / 2, std::min(L * 20 / 100, 255)});
    p[Text] = TextOn(L, 100);
    p[LinkText] = L > 128 ? HslToRgb({240, 204, std::max(L - 100, 0)}) : HslToRgb({240, 204, std::min(L + 100, 255)});
    p[PressedTint] = TextOn(L8, 100);
    p[DisabledText] = L > 128 ? Grey(80) : Grey(std::min(L + 80, 255));

    p[Caption] = caption | 0xFF000000u;
    sHSV dark = RgbToHsv(caption);
    dark.v /= 2;
    p[DarkCaption] = HsvToRgb(dark);
    sHSV pale = RgbToHsv(caption);
    pale.s /= 2;
    p[PaleCaption] = HsvToRgb(pale);
    const std::int32_t captionLightness = Lightness(caption);
    p[CaptionText] = TextOn(captionLightness, 100);
    p[CaptionSecondaryText] = captionLightness > 128 ? Grey(64) : Grey(std::min(captionLightness + 64, 255));
    p[Outline2] = p[Outline];

    p[HighlightText] = TextOn(Lightness(highlight), 128);
    p[Highlight] = highlight | 0xFF000000u;
    sHSL focus = RgbToHsl(highlight);
    focus.s = 255;
    p[Focus] = HslToRgb(focus);

    sHSL hot = c0;
    hot.l = L >= 128 ? L * 80 / 100 : std::max(L * 120 / 100, 30);
    p[HotFill] = HslToRgb(hot);
    p[Accent] = AccentColour;
    p[EditBackground2] = p[EditBackground];
    p[Outline3] = p[Outline];
    return p;
}

} // namespace Skin
