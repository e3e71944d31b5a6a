#pragma once
// The toolkit's integer colour models. Colours are 0xAARRGGBB. Hue is
// 0..359, saturation, lightness and value 0..255; every division truncates
// towards zero, so the results are exactly reproducible (the palette is
// derived through them).
#include <cstdint>

namespace Skin {

struct sHSL
{
    std::int32_t h = 0;
    std::int32_t s = 0;
    std::int32_t l = 0;
    friend bool operator==(const sHSL&, const sHSL&) = default;
};

struct sHSV
{
    std::int32_t h = 0;
    std::int32_t s = 0;
    std::int32_t v = 0;
    friend bool operator==(const sHSV&, const sHSV&) = default;
};

// The alpha byte is ignored.
sHSL RgbToHsl(std::uint32_t colour);
// Components outside their ranges are clamped (hue taken modulo 360).
std::uint32_t HslToRgb(const sHSL& hsl, std::uint8_t alpha = 255);
sHSV RgbToHsv(std::uint32_t colour);
std::uint32_t HsvToRgb(const sHSV& hsv, std::uint8_t alpha = 255);

// The opaque grey of lightness g (clamped to 0..255).
std::uint32_t Grey(std::int32_t g);
// HSL lightness of a colour.
inline std::int32_t Lightness(std::uint32_t colour) { return RgbToHsl(colour).l; }
// The colour with its HSL lightness changed by delta, clamped to 0..255.
std::uint32_t AddLightness(std::uint32_t colour, std::int32_t delta);

} // namespace Skin
