#include "framework/window/skin/rules/ColourModel.h"

#include <algorithm>

namespace Skin {

namespace {

std::int32_t Clamp255(std::int32_t v) { return std::clamp(v, 0, 255); }

std::uint32_t Pack(std::uint8_t alpha, std::int32_t r, std::int32_t g, std::int32_t b)
{
    return std::uint32_t(alpha) << 24 | std::uint32_t(Clamp255(r)) << 16 | std::uint32_t(Clamp255(g)) << 8 |
           std::uint32_t(Clamp255(b));
}

// The hue shared by HSL and HSV, from the channels and their extremes.
std::int32_t Hue(std::int32_t r, std::int32_t g, std::int32_t b, std::int32_t mn, std::int32_t mx)
{
    if (mn == mx)
        return 0;
    const std::int32_t d = mx - mn;
    if (r == mx)
        return ((g - b) * 60 / d + 360) % 360;
    if (g == mx)
        return (b - r) * 60 / d + 120;
    return (r - g) * 60 / d + 240;
}

std::int32_t HueChannel(std::int32_t p, std::int32_t q, std::int32_t h)
{
    if (h < 0)
        h += 360;
    else if (h > 360)
        h -= 360;
    if (h < 60)
        return p + (q - p) * h / 60;
    if (h < 180)
        return q;
    if (h >= 240)
        return p;
    return p + (q - p) * (240 - h) / 60;
}

std::int32_t NormalHue(std::int32_t h) { return ((h % 360) + 360) % 360; }

} // namespace

sHSL RgbToHsl(std::uint32_t colour)
{
    const std::int32_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    const std::int32_t mn = std::min({r, g, b}), mx = std::max({r, g, b});
    sHSL out;
    out.l = (mn + mx) / 2;
    if (mn == mx)
        return out;
    out.s = out.l > 128 ? (mx - mn) * 255 / (510 - mx - mn) : (mx - mn) * 255 / (mn + mx);
    out.h = Hue(r, g, b, mn, mx);
    return out;
}

std::uint32_t HslToRgb(const sHSL& hsl, std::uint8_t alpha)
{
    const std::int32_t s = Clamp255(hsl.s), l = Clamp255(hsl.l);
    if (s == 0)
        return Pack(alpha, l, l, l);
    const std::int32_t h = NormalHue(hsl.h);
    const std::int32_t q = l >= 128 ? l + s - l * s / 255 : l * (255 + s) / 255;
    const std::int32_t p = 2 * l - q;
    return Pack(alpha, HueChannel(p, q, h + 120), HueChannel(p, q, h), HueChannel(p, q, h - 120));
}

sHSV RgbToHsv(std::uint32_t colour)
{
    const std::int32_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    const std::int32_t mn = std::min({r, g, b}), mx = std::max({r, g, b});
    sHSV out;
    out.v = mx;
    out.s = mx == 0 ? 0 : (mx - mn) * 255 / mx;
    out.h = Hue(r, g, b, mn, mx);
    return out;
}

std::uint32_t HsvToRgb(const sHSV& hsv, std::uint8_t alpha)
{
    const std::int32_t s = Clamp255(hsv.s), v = Clamp255(hsv.v);
    if (s == 0)
        return Pack(alpha, v, v, v);
    const std::int32_t h = NormalHue(hsv.h);
    const std::int32_t sector = h / 60, f = h % 60;
    const std::int32_t p = v * (255 - s) / 255;
    const std::int32_t q = v * (15300 - s * f) / 15300;
    const std::int32_t t = v * (15300 - s * (60 - f)) / 15300;
    switch (sector)
    {
    case 0: return Pack(alpha, v, t, p);
    case 1: return Pack(alpha, q, v, p);
    case 2: return Pack(alpha, p, v, t);
    case 3: return Pack(alpha, p, q, v);
    case 4: return Pack(alpha, t, p, v);
    default: return Pack(alpha, v, p, q);
    }
}

std::uint32_t Grey(std::int32_t g)
{
    const std::int32_t c = Clamp255(g);
    return Pack(255, c, c, c);
}

std::uint32_t AddLightness(std::uint32_t colour, std::int32_t delta)
{
    sHSL hsl = RgbToHsl(colour);
    hsl.l = Clamp255(hsl.l + delta);
    return HslToRgb(hsl, std::uint8_t(colour >> 24));
}

} // namespace Skin
