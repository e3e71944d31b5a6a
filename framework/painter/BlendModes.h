#pragma once

// Painter::cBlendModes: the blending modes of the drawing context, numbered
// as layers store them, with one row loop per mode (with and without a mask)
// so that no inner loop switches on the mode.
//
// Every mode works on straight-alpha 0xAARRGGBB pixels, in integers, with
// every division truncating toward zero. Divisions by 255 go through a
// reciprocal multiplication (Div255) that gives exactly the quotient of C's
// integer division, negative numerators included.

#include <cstdint>

namespace Painter {

// Exact x / 255 (C truncation toward zero) for every 32-bit x.
inline std::int32_t Div255(std::int32_t x)
{
    const std::uint32_t sign = static_cast<std::uint32_t>(x >> 31); // 0 or all ones
    const std::uint32_t magnitude = (static_cast<std::uint32_t>(x) ^ sign) - sign;
    const std::uint32_t quotient = static_cast<std::uint32_t>((static_cast<std::uint64_t>(magnitude) * 0x80808081u) >> 39);
    return static_cast<std::int32_t>((quotient ^ sign) - sign);
}

// The largest magnitude Div255Short is exact for.
constexpr std::int32_t kDiv255ShortLimit = 66298;

// Exact x / 255 (truncation toward zero) for |x| <= kDiv255ShortLimit, in
// 32-bit arithmetic only, which vectorises well. Every product of two bytes,
// and every byte times a difference of two bytes, is in that range.
inline std::int32_t Div255Short(std::int32_t x)
{
    const std::uint32_t sign = static_cast<std::uint32_t>(x >> 31);
    const std::uint32_t magnitude = (static_cast<std::uint32_t>(x) ^ sign) - sign;
    const std::uint32_t quotient = (magnitude * 0x8081u) >> 23;
    return static_cast<std::int32_t>((quotient ^ sign) - sign);
}

class cBlendModes
{
public:
    // The numbers of the modes. Numbers without a name here (23, 25 to 27
    // and anything outside 0..30) draw nothing.
    enum eMode : std::int32_t
    {
        MODE_NORMAL = 0,
        MODE_ADD = 1,
        MODE_AVERAGE = 2,
        MODE_LINEAR_BURN = 3,
        MODE_COLOR_BURN = 4,
        MODE_COLOR = 5,
        MODE_COLOR_DODGE = 6,
        MODE_DARKEN = 7,
        MODE_DIFFERENCE = 8,
        MODE_ADD_ALT = 9, // runs the Add kernels
        MODE_EXCLUSION = 10,
        MODE_HARD_LIGHT = 11,
        MODE_HUE = 12,
        MODE_LIGHTEN = 13,
        MODE_MULTIPLY = 14,
        MODE_NEGATION = 15,
        MODE_OVERLAY = 16,
        MODE_PIN_LIGHT = 17,
        MODE_SATURATION = 18,
        MODE_SCREEN = 19,
        MODE_SOFT_LIGHT = 20,
        MODE_LINEAR_BURN_ALT = 21, // runs the Linear Burn kernels
        MODE_VALUE = 22,
        MODE_ERASE = 24,
        MODE_COPY = 28,
        MODE_MIX = 29,
        MODE_APPLY_MASK = 30,
        MODE_COUNT = 31
    };

    // Composites `count` source pixels into `target` with an opacity of
    // 0..255. The masked loops read one mask byte per target pixel.
    using cRowFunction = void (*)(std::uint32_t* target, const std::uint32_t* source, std::int32_t count,
                                  std::int32_t opacity, const std::uint8_t* mask);

    // The row loop of `mode`, or null for a mode that draws nothing.
    static cRowFunction GetRowFunction(std::int32_t mode, bool masked);
    // Whether `mode` draws anything at all.
    static bool IsDrawingMode(std::int32_t mode) { return GetRowFunction(mode, false) != nullptr; }

    // One pixel of `mode` written plainly from the rules, without any of the
    // row loops' shortcuts: `mask` is a mask byte, or kNoMask. Returns the
    // new target pixel (the target unchanged for a mode that draws nothing).
    static constexpr std::int32_t kNoMask = -1;
    static std::uint32_t BlendPixel(std::int32_t mode, std::uint32_t source, std::uint32_t target,
                                    std::int32_t opacity, std::int32_t mask = kNoMask);

    // The mode function B(s, d) of a separable mode for one colour channel,
    // and -1 for the other modes.
    static std::int32_t BlendChannel(std::int32_t mode, std::int32_t source, std::int32_t target);

    // Hue 0..359, saturation and lightness 0..255, in the modes' integer rules.
    static void RgbToHsl(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t& hue,
                         std::int32_t& saturation, std::int32_t& lightness);
    static void HslToRgb(std::int32_t hue, std::int32_t saturation, std::int32_t lightness, std::int32_t& red,
                         std::int32_t& green, std::int32_t& blue);
};

} // namespace Painter
