#include "framework/painter/BlendModes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Painter {

namespace {

// ---- Mode functions ------------------------------------------------------
//
// A separable mode is a functor with Blend(s, d) on one channel (0..255
// each). kVector says the function is free of branches and integer
// divisions, so that the loop over opaque targets vectorises.

struct sNormal
{
    static constexpr bool kNormal = true;
    static constexpr bool kVector = true;
    static std::int32_t Blend(std::int32_t s, std::int32_t) { return s; }
};

struct sSeparable
{
    static constexpr bool kNormal = false;
    static constexpr bool kVector = true;
};

struct sAdd : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return std::min(255, s + d); }
};

struct sAverage : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return (s + d) >> 1; }
};

struct sLinearBurn : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return s + d > 254 ? s + d - 255 : 0; }
};

// The quotient of two integers through a float division, truncated toward
// zero. Exact for |numerator| < 2^24 and 1 <= divisor <= 255: a quotient that
// is not whole lies at least 1/255 from the next whole number, further than
// the rounding of a float division can move it.
inline std::int32_t DivideSmall(std::int32_t numerator, std::int32_t divisor)
{
    return static_cast<std::int32_t>(static_cast<float>(numerator) / static_cast<float>(divisor));
}

struct sColorBurn : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d)
    {
        const std::int32_t divisor = s == 0 ? 1 : s;
        const std::int32_t v = std::max(0, DivideSmall((d - 255) * 256, divisor) + 255);
        return s == 0 ? 0 : v;
    }
};

struct sColorDodge : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d)
    {
        const std::int32_t divisor = s == 255 ? 1 : 255 - s;
        const std::int32_t v = std::min(255, DivideSmall(d * 256, divisor));
        return s == 255 ? 255 : v;
    }
};

struct sDarken : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return std::min(s, d); }
};

struct sDifference : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return s > d ? s - d : d - s; }
};

struct sExclusion : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return s + d - Div255(2 * s * d); }
};

struct sHardLight : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d)
    {
        return s >= 128 ? 255 - Div255(2 * (255 - s) * (255 - d)) : Div255(2 * s * d);
    }
};

struct sLighten : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return std::max(s, d); }
};

struct sMultiply : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return Div255Short(s * d); }
};

struct sNegation : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d)
    {
        const std::int32_t v = 255 - s - d;
        return 255 - (v < 0 ? -v : v);
    }
};

struct sOverlay : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d)
    {
        return d >= 128 ? 255 - Div255(2 * (255 - s) * (255 - d)) : Div255(2 * s * d);
    }
};

struct sPinLight : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d)
    {
        return s >= 128 ? std::max(d, 2 * s - 256) : std::min(d, 2 * s);
    }
};

struct sScreen : sSeparable
{
    // The product is divided by 256 here, not by 255.
    static std::int32_t Blend(std::int32_t s, std::int32_t d) { return 255 - (((255 - s) * (255 - d)) >> 8); }
};

struct sSoftLight : sSeparable
{
    static std::int32_t Blend(std::int32_t s, std::int32_t d)
    {
        const std::int32_t product = Div255Short(s * d);
        const std::int32_t screen = 255 - Div255Short((255 - s) * (255 - d));
        return product + Div255Short(d * (screen - product));
    }
};

// ---- HSL modes -------------------------------------------------------------

enum eHslMix
{
    HSL_COLOR,      // hue and saturation of the source, lightness of the target
    HSL_HUE,        // hue of the source
    HSL_SATURATION, // saturation of the source
    HSL_VALUE       // lightness of the source
};

template <eHslMix Mix>
struct sHsl
{
    static constexpr bool kNormal = false;
    static constexpr bool kVector = false;

    // The mixed colour (alpha byte 0) of source and target pixels.
    static std::uint32_t MixPixel(std::uint32_t source, std::uint32_t target)
    {
        std::int32_t sh, ss, sl, th, ts, tl;
        cBlendModes::RgbToHsl((source >> 16) & 0xFF, (source >> 8) & 0xFF, source & 0xFF, sh, ss, sl);
        cBlendModes::RgbToHsl((target >> 16) & 0xFF, (target >> 8) & 0xFF, target & 0xFF, th, ts, tl);
        std::int32_t r, g, b;
        switch (Mix)
        {
        case HSL_COLOR: cBlendModes::HslToRgb(sh, ss, tl, r, g, b); break;
        case HSL_HUE: cBlendModes::HslToRgb(sh, ts, tl, r, g, b); break;
        case HSL_SATURATION: cBlendModes::HslToRgb(th, ss, tl, r, g, b); break;
        case HSL_VALUE: cBlendModes::HslToRgb(th, ts, sl, r, g, b); break;
        }
        return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
    }
};

// The mixed colour B(s, d) of a whole pixel, for separable and HSL modes.
template <class Mode>
inline std::uint32_t MixPixel(std::uint32_t source, std::uint32_t target)
{
    if constexpr (requires { Mode::MixPixel(source, target); })
        return Mode::MixPixel(source, target);
    else
    {
        std::uint32_t result = 0;
        for (int shift = 0; shift < 24; shift += 8)
        {
            const std::int32_t s = static_cast<std::int32_t>((source >> shift) & 0xFF);
            const std::int32_t d = static_cast<std::int32_t>((target >> shift) & 0xFF);
            result |= static_cast<std::uint32_t>(Mode::Blend(s, d)) << shift;
        }
        return result;
    }
}

// ---- The shared composition of the separable and HSL modes ----------------

template <class Mode, bool Masked>
inline std::uint32_t MixedPixel(std::uint32_t source, std::uint32_t target, std::int32_t opacity, std::int32_t mask)
{
    std::int32_t a = Div255Short(opacity * static_cast<std::int32_t>(source >> 24));
    if constexpr (Masked)
        a = Div255Short(a * mask);
    if (a == 0)
        return target;
    const std::int32_t da = static_cast<std::int32_t>(target >> 24);
    if (da == 0)
        return (source & 0x00FFFFFFu) | (static_cast<std::uint32_t>(a) << 24);

    const std::uint32_t mixed = MixPixel<Mode>(source, target);
    std::uint32_t result;
    if (da == 255)
    {
        result = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8)
        {
            const std::int32_t d = static_cast<std::int32_t>((target >> shift) & 0xFF);
            const std::int32_t b = static_cast<std::int32_t>((mixed >> shift) & 0xFF);
            result |= static_cast<std::uint32_t>(d + Div255Short(a * (b - d))) << shift;
        }
        return result;
    }

    const std::int32_t alpha = Div255Short((255 - a) * da + 127) + a;
    const std::int32_t weight = a * 255 / alpha;
    result = static_cast<std::uint32_t>(alpha) << 24;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const std::int32_t d = static_cast<std::int32_t>((target >> shift) & 0xFF);
        const std::int32_t s = static_cast<std::int32_t>((source >> shift) & 0xFF);
        std::int32_t m;
        if constexpr (Mode::kNormal)
            m = s;
        else
        {
            const std::int32_t b = static_cast<std::int32_t>((mixed >> shift) & 0xFF);
            m = Div255Short((255 - da) * s) + Div255Short(da * b);
        }
        result |= static_cast<std::uint32_t>(d + Div255Short(weight * (m - d))) << shift;
    }
    return result;
}

// The loop over a run of targets that are all opaque: the alpha stays 255
// and every channel becomes d + a (B - d) / 255, which with a = 0 is d
// itself. Free of branches, so the compiler vectorises it.
template <class Mode, bool Masked>
inline void OpaqueTargetRun(std::uint32_t* __restrict target, const std::uint32_t* __restrict source,
                            std::int32_t count, std::int32_t opacity, const std::uint8_t* __restrict mask)
{
    for (std::int32_t i = 0; i < count; ++i)
    {
        const std::uint32_t s = source[i];
        const std::uint32_t t = target[i];
        std::int32_t a = Div255Short(opacity * static_cast<std::int32_t>(s >> 24));
        if constexpr (Masked)
            a = Div255Short(a * mask[i]);
        const std::int32_t s0 = static_cast<std::int32_t>(s & 0xFF);
        const std::int32_t s1 = static_cast<std::int32_t>((s >> 8) & 0xFF);
        const std::int32_t s2 = static_cast<std::int32_t>((s >> 16) & 0xFF);
        const std::int32_t d0 = static_cast<std::int32_t>(t & 0xFF);
        const std::int32_t d1 = static_cast<std::int32_t>((t >> 8) & 0xFF);
        const std::int32_t d2 = static_cast<std::int32_t>((t >> 16) & 0xFF);
        const std::int32_t c0 = d0 + Div255Short(a * (Mode::Blend(s0, d0) - d0));
        const std::int32_t c1 = d1 + Div255Short(a * (Mode::Blend(s1, d1) - d1));
        const std::int32_t c2 = d2 + Div255Short(a * (Mode::Blend(s2, d2) - d2));
        target[i] = 0xFF000000u | static_cast<std::uint32_t>(c0) | (static_cast<std::uint32_t>(c1) << 8) |
                    (static_cast<std::uint32_t>(c2) << 16);
    }
}


// ---- 16-bit lanes (SSE2) ---------------------------------------------------------
//
// Over opaque targets the row loops take four pixels at a time, each
// channel in a 16-bit lane. Every product of the rules fits 16 bits
// unsigned, and x / 255 is (x * 0x8081) >> 23 through the high half of a
// 16-bit multiply, exact up to 66298. Modes with a division by a channel
// (Color Burn, Color Dodge) find B(s, d) in 32-bit lanes instead (sPixels)
// and mix in the 16-bit ones.

#if defined(__SSE2__)

using vLanes = __m128i;

inline vLanes Div255(vLanes x) { return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<short>(0x8081))), 7); }

// 2x / 255 for x <= 65025 (2x itself does not fit 16 bits): 2x / 255 is
// (x + x / 255) / 128, and the fraction of x / 255 never carries the sum
// past a multiple of 128, so the whole quotient x / 255 serves.
inline vLanes Div255Twice(vLanes x)
{
    return _mm_srli_epi16(_mm_add_epi16(x, Div255(x)), 7);
}

inline vLanes Select(vLanes mask, vLanes a, vLanes b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
inline vLanes Const(short value) { return _mm_set1_epi16(value); }
inline vLanes Inverse(vLanes x) { return _mm_sub_epi16(Const(255), x); }

template <class Mode>
struct sLanes
{
    static constexpr bool kAvailable = false;
    static vLanes Blend(vLanes s, vLanes) { return s; }
};

template <>
struct sLanes<sNormal>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes) { return s; }
};

template <>
struct sLanes<sAdd>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return _mm_min_epi16(_mm_add_epi16(s, d), Const(255)); }
};

template <>
struct sLanes<sAverage>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return _mm_srli_epi16(_mm_add_epi16(s, d), 1); }
};

template <>
struct sLanes<sLinearBurn>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d)
    {
        return _mm_max_epi16(_mm_sub_epi16(_mm_add_epi16(s, d), Const(255)), _mm_setzero_si128());
    }
};

template <>
struct sLanes<sDarken>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return _mm_min_epi16(s, d); }
};

template <>
struct sLanes<sLighten>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return _mm_max_epi16(s, d); }
};

template <>
struct sLanes<sDifference>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return _mm_sub_epi16(_mm_max_epi16(s, d), _mm_min_epi16(s, d)); }
};

template <>
struct sLanes<sExclusion>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d)
    {
        return _mm_sub_epi16(_mm_add_epi16(s, d), Div255Twice(_mm_mullo_epi16(s, d)));
    }
};

template <>
struct sLanes<sMultiply>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return Div255(_mm_mullo_epi16(s, d)); }
};

// Hard Light tests the source, Overlay the target.
// One product for both cases: of the inverses where the test is high (the
// result then inverted as well), of the values themselves where it is low.
inline vLanes HardMix(vLanes test, vLanes s, vLanes d)
{
    const vLanes high = _mm_cmpgt_epi16(test, Const(127));
    const vLanes factorS = _mm_xor_si128(s, _mm_and_si128(high, Const(255)));
    const vLanes factorD = _mm_xor_si128(d, _mm_and_si128(high, Const(255)));
    const vLanes mixed = Div255Twice(_mm_mullo_epi16(factorS, factorD));
    return _mm_xor_si128(mixed, _mm_and_si128(high, Const(255)));
}

template <>
struct sLanes<sHardLight>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return HardMix(s, s, d); }
};

template <>
struct sLanes<sOverlay>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return HardMix(d, s, d); }
};

template <>
struct sLanes<sNegation>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d)
    {
        const vLanes v = _mm_sub_epi16(_mm_sub_epi16(Const(255), s), d);
        const vLanes magnitude = _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
        return Inverse(magnitude);
    }
};

template <>
struct sLanes<sPinLight>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d)
    {
        const vLanes twice = _mm_add_epi16(s, s);
        const vLanes high = _mm_max_epi16(d, _mm_sub_epi16(twice, Const(256)));
        const vLanes low = _mm_min_epi16(d, twice);
        return Select(_mm_cmpgt_epi16(s, Const(127)), high, low);
    }
};

template <>
struct sLanes<sScreen>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d) { return Inverse(_mm_srli_epi16(_mm_mullo_epi16(Inverse(s), Inverse(d)), 8)); }
};

template <>
struct sLanes<sSoftLight>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes d)
    {
        const vLanes product = Div255(_mm_mullo_epi16(s, d));
        const vLanes screen = Inverse(Div255(_mm_mullo_epi16(Inverse(s), Inverse(d))));
        return _mm_add_epi16(product, Div255(_mm_mullo_epi16(d, _mm_sub_epi16(screen, product))));
    }
};

// Color Burn and Color Dodge over whole pixels, one channel of four pixels
// per 32-bit lane: three float divisions per four pixels instead of the four
// of the 16-bit lanes, which divide the alpha lanes as well. The divisions
// and truncations are those of DivideSmall; the clamp to 255 happens on the
// float quotient, which truncation keeps in order. Returns B(s, t) for every
// channel, with an alpha of 255.
template <bool Burn>
inline vLanes DividePixels(vLanes s, vLanes t)
{
    const vLanes byte = _mm_set1_epi32(0xFF);
    const __m128 limit = _mm_set1_ps(255.0f);
    vLanes result = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (int shift = 0; shift < 24; shift += 8)
    {
        const vLanes sc = _mm_and_si128(_mm_srli_epi32(s, shift), byte);
        const vLanes dc = _mm_and_si128(_mm_srli_epi32(t, shift), byte);
        vLanes value;
        if constexpr (Burn)
        {
            // 255 - (255 - d) * 256 / s, at least 0; 0 where s is 0.
            const vLanes isZero = _mm_cmpeq_epi32(sc, _mm_setzero_si128());
            const __m128 divisor = _mm_cvtepi32_ps(_mm_sub_epi32(sc, isZero));
            const __m128 numerator = _mm_cvtepi32_ps(_mm_slli_epi32(_mm_sub_epi32(byte, dc), 8));
            const vLanes quotient = _mm_cvttps_epi32(_mm_min_ps(_mm_div_ps(numerator, divisor), limit));
            value = _mm_andnot_si128(isZero, _mm_sub_epi32(byte, quotient));
        }
        else
        {
            // d * 256 / (255 - s), at most 255; 255 where s is 255.
            const vLanes isFull = _mm_cmpeq_epi32(sc, byte);
            const __m128 divisor = _mm_cvtepi32_ps(_mm_sub_epi32(_mm_sub_epi32(byte, sc), isFull));
            const __m128 numerator = _mm_cvtepi32_ps(_mm_slli_epi32(dc, 8));
            const vLanes quotient = _mm_cvttps_epi32(_mm_min_ps(_mm_div_ps(numerator, divisor), limit));
            value = _mm_or_si128(_mm_and_si128(isFull, byte), quotient);
        }
        result = _mm_or_si128(result, _mm_slli_epi32(value, shift));
    }
    return result;
}

template <class Mode>
struct sPixels
{
    static constexpr bool kAvailable = false;
    static vLanes Blend(vLanes s, vLanes) { return s; }
};

template <>
struct sPixels<sColorBurn>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes t) { return DividePixels<true>(s, t); }
};

template <>
struct sPixels<sColorDodge>
{
    static constexpr bool kAvailable = true;
    static vLanes Blend(vLanes s, vLanes t) { return DividePixels<false>(s, t); }
};

// The lane loops take Color Burn and Color Dodge through sPixels.
template <>
struct sLanes<sColorBurn>
{
    static constexpr bool kAvailable = true;
};

template <>
struct sLanes<sColorDodge>
{
    static constexpr bool kAvailable = true;
};

// The alpha of each of two pixels spread over its four lanes.
inline vLanes SpreadAlpha(vLanes pixels)
{
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

// d + a (B - d) / 255 for the lanes of two pixels, the division truncating
// toward zero: done on the magnitude, the sign put back afterwards.
inline vLanes MixLanes(vLanes d, vLanes b, vLanes a)
{
    const vLanes difference = _mm_sub_epi16(b, d);
    const vLanes sign = _mm_srai_epi16(difference, 15);
    const vLanes magnitude = _mm_sub_epi16(_mm_xor_si128(difference, sign), sign);
    const vLanes step = Div255(_mm_mullo_epi16(magnitude, a));
    return _mm_add_epi16(d, _mm_sub_epi16(_mm_xor_si128(step, sign), sign));
}

// Four pixels at a time over targets that are all opaque; the tail goes
// through the 32-bit loop.
template <class Mode, bool Masked>
void OpaqueTargetLanes(std::uint32_t* target, const std::uint32_t* source, std::int32_t count, std::int32_t opacity,
                       const std::uint8_t* mask)
{
    const vLanes zero = _mm_setzero_si128();
    const vLanes factor = Const(static_cast<short>(opacity));
    const vLanes opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const bool fullOpacity = opacity == 255;
    std::int32_t i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const vLanes s = _mm_loadu_si128(reinterpret_cast<const vLanes*>(source + i));
        const vLanes t = _mm_loadu_si128(reinterpret_cast<const vLanes*>(target + i));
        const vLanes sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
        const vLanes tLow = _mm_unpacklo_epi8(t, zero), tHigh = _mm_unpackhi_epi8(t, zero);
        vLanes aLow = SpreadAlpha(sLow), aHigh = SpreadAlpha(sHigh);
        if (!fullOpacity)
        {
            aLow = Div255(_mm_mullo_epi16(aLow, factor));
            aHigh = Div255(_mm_mullo_epi16(aHigh, factor));
        }
        if constexpr (Masked)
        {
            std::int32_t bytes;
            std::memcpy(&bytes, mask + i, sizeof bytes);
            const vLanes m = _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero);
            const vLanes pairs = _mm_unpacklo_epi16(m, m);
            aLow = Div255(_mm_mullo_epi16(aLow, _mm_unpacklo_epi32(pairs, pairs)));
            aHigh = Div255(_mm_mullo_epi16(aHigh, _mm_unpackhi_epi32(pairs, pairs)));
        }
        vLanes bLow, bHigh;
        if constexpr (sPixels<Mode>::kAvailable)
        {
            const vLanes b = sPixels<Mode>::Blend(s, t);
            bLow = _mm_unpacklo_epi8(b, zero);
            bHigh = _mm_unpackhi_epi8(b, zero);
        }
        else
        {
            bLow = sLanes<Mode>::Blend(sLow, tLow);
            bHigh = sLanes<Mode>::Blend(sHigh, tHigh);
        }
        const vLanes rLow = MixLanes(tLow, bLow, aLow);
        const vLanes rHigh = MixLanes(tHigh, bHigh, aHigh);
        _mm_storeu_si128(reinterpret_cast<vLanes*>(target + i), _mm_or_si128(_mm_packus_epi16(rLow, rHigh), opaque));
    }
    if (i < count)
        OpaqueTargetRun<Mode, Masked>(target + i, source + i, count - i, opacity, Masked ? mask + i : nullptr);
}

// Opaque sources at full opacity over opaque targets: a is 255 throughout,
// and d + 255 (B - d) / 255 is B itself, so the result is B with an alpha
// of 255 and the mixing step drops out.
template <class Mode>
void SolidOverOpaqueLanes(std::uint32_t* target, const std::uint32_t* source, std::int32_t count)
{
    const vLanes zero = _mm_setzero_si128();
    const vLanes opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    std::int32_t i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const vLanes s = _mm_loadu_si128(reinterpret_cast<const vLanes*>(source + i));
        const vLanes t = _mm_loadu_si128(reinterpret_cast<const vLanes*>(target + i));
        vLanes result;
        if constexpr (sPixels<Mode>::kAvailable)
            result = sPixels<Mode>::Blend(s, t);
        else
        {
            const vLanes bLow = sLanes<Mode>::Blend(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(t, zero));
            const vLanes bHigh = sLanes<Mode>::Blend(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(t, zero));
            result = _mm_or_si128(_mm_packus_epi16(bLow, bHigh), opaque);
        }
        _mm_storeu_si128(reinterpret_cast<vLanes*>(target + i), result);
    }
    if (i < count)
        OpaqueTargetRun<Mode, false>(target + i, source + i, count - i, 255, nullptr);
}

#endif

constexpr std::int32_t kChunk = 16;

// The general loop of a separable or HSL mode, below.
template <class Mode, bool Masked>
void MixedChunks(std::uint32_t* target, const std::uint32_t* source, std::int32_t count, std::int32_t opacity,
                 const std::uint8_t* mask);

// Normal at full opacity without a mask, the common case of pictures that
// are mostly opaque with transparent margins: runs of opaque sources are
// copied, runs of transparent ones skipped, and what lies between goes
// through the general loop.
void NormalRow(std::uint32_t* target, const std::uint32_t* source, std::int32_t count)
{
    std::int32_t i = 0;
#if defined(__SSE2__)
    // Four pixels at a time: copied when all are opaque, skipped when all
    // are transparent; a group with anything else goes through the
    // general loop. One pass, so opaque rows move at about copying speed.
    const vLanes alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const vLanes zero = _mm_setzero_si128();
    for (; i + 4 <= count; i += 4)
    {
        const vLanes s = _mm_loadu_si128(reinterpret_cast<const vLanes*>(source + i));
        const vLanes alpha = _mm_and_si128(s, alphaMask);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alphaMask)) == 0xFFFF)
        {
            _mm_storeu_si128(reinterpret_cast<vLanes*>(target + i), s);
            continue;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF)
            continue;
        MixedChunks<sNormal, false>(target + i, source + i, 4, 255, nullptr);
    }
    if (i < count)
        MixedChunks<sNormal, false>(target + i, source + i, count - i, 255, nullptr);
#else
    while (i < count)
    {
        std::int32_t j = i;
        while (j < count && source[j] >= 0xFF000000u)
            ++j;
        if (j > i)
        {
            std::memcpy(target + i, source + i, static_cast<std::size_t>(j - i) * sizeof(std::uint32_t));
            i = j;
        }
        while (j < count && source[j] < 0x01000000u)
            ++j;
        i = j;
        while (j < count && source[j] >= 0x01000000u && source[j] < 0xFF000000u)
            ++j;
        if (j > i)
        {
            MixedChunks<sNormal, false>(target + i, source + i, j - i, 255, nullptr);
            i = j;
        }
    }
#endif
}

template <class Mode, bool Masked>
void MixedRow(std::uint32_t* target, const std::uint32_t* source, std::int32_t count, std::int32_t opacity,
              const std::uint8_t* mask)
{
    if constexpr (Mode::kNormal && !Masked)
    {
        // Long runs are worth the scan only at full opacity.
        if (opacity == 255 && count >= 2 * kChunk)
        {
            NormalRow(target, source, count);
            return;
        }
    }
    MixedChunks<Mode, Masked>(target, source, count, opacity, mask);
}

// The row is taken in chunks: a chunk whose sources are all transparent is
// skipped, a chunk whose targets are all opaque goes through the
// branch-free loop (16-bit lanes where available), and for Normal a chunk
// of opaque sources at full opacity is copied; the rest pixel by pixel.
template <class Mode, bool Masked>
void MixedChunks(std::uint32_t* target, const std::uint32_t* source, std::int32_t count, std::int32_t opacity,
                 const std::uint8_t* mask)
{
    for (std::int32_t i = 0; i < count; i += kChunk)
    {
        const std::int32_t n = std::min(kChunk, count - i);
        std::uint32_t sourceAny = 0;
        std::uint32_t sourceAll = 0xFFFFFFFFu;
        std::uint32_t targetAll = 0xFFFFFFFFu;
        for (std::int32_t j = 0; j < n; ++j)
        {
            sourceAny |= source[i + j];
            sourceAll &= source[i + j];
            targetAll &= target[i + j];
        }
        if ((sourceAny >> 24) == 0)
            continue;
        if constexpr (Mode::kNormal && !Masked)
        {
            // A source alpha of 255 at full opacity replaces any target.
            if (opacity == 255 && (sourceAll >> 24) == 255)
            {
                std::memcpy(target + i, source + i, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
                continue;
            }
        }
        const std::uint8_t* chunkMask = Masked ? mask + i : nullptr;
        if constexpr (Mode::kVector)
        {
            if ((targetAll >> 24) == 255)
            {
#if defined(__SSE2__)
                if constexpr (sLanes<Mode>::kAvailable)
                {
                    if (!Masked && opacity == 255 && (sourceAll >> 24) == 255)
                    {
                        SolidOverOpaqueLanes<Mode>(target + i, source + i, n);
                        continue;
                    }
                    OpaqueTargetLanes<Mode, Masked>(target + i, source + i, n, opacity, chunkMask);
                    continue;
                }
#endif
                OpaqueTargetRun<Mode, Masked>(target + i, source + i, n, opacity, chunkMask);
                continue;
            }
        }
        for (std::int32_t j = 0; j < n; ++j)
            target[i + j] = MixedPixel<Mode, Masked>(source[i + j], target[i + j], opacity, Masked ? chunkMask[j] : 255);
    }
}

// ---- Special modes -----------------------------------------------------------

// 24: lowers the target alpha by the source alpha; a target that would go
// below 0 becomes 0 in all four bytes.
template <bool Masked>
void EraseRow(std::uint32_t* __restrict target, const std::uint32_t* __restrict source, std::int32_t count,
              std::int32_t opacity, const std::uint8_t* __restrict mask)
{
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::int32_t e = Div255Short(opacity * static_cast<std::int32_t>(source[i] >> 24));
        if constexpr (Masked)
            e = Div255Short(e * mask[i]);
        const std::uint32_t t = target[i];
        const std::int32_t alpha = static_cast<std::int32_t>(t >> 24) - e;
        target[i] = alpha < 0 ? 0u : (t & 0x00FFFFFFu) | (static_cast<std::uint32_t>(alpha) << 24);
    }
}

// 28: the source pixel with its alpha reduced, nothing blended.
template <bool Masked>
void CopyRow(std::uint32_t* __restrict target, const std::uint32_t* __restrict source, std::int32_t count,
             std::int32_t opacity, const std::uint8_t* __restrict mask)
{
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::int32_t a = Div255Short(opacity * static_cast<std::int32_t>(source[i] >> 24));
        if constexpr (Masked)
            a = Div255Short(a * mask[i]);
        target[i] = (source[i] & 0x00FFFFFFu) | (static_cast<std::uint32_t>(a) << 24);
    }
}

// 29: all four bytes move toward the source's by the opacity (with a mask:
// the colour by the mask byte, the alpha toward the reduced source alpha).
template <bool Masked>
void MixRow(std::uint32_t* __restrict target, const std::uint32_t* __restrict source, std::int32_t count,
            std::int32_t opacity, const std::uint8_t* __restrict mask)
{
    for (std::int32_t i = 0; i < count; ++i)
    {
        const std::uint32_t s = source[i];
        const std::uint32_t t = target[i];
        const std::int32_t reduced = Div255Short(opacity * static_cast<std::int32_t>(s >> 24));
        if ((t >> 24) == 0)
        {
            const std::int32_t a = Masked ? Div255Short(reduced * mask[i]) : reduced;
            target[i] = (s & 0x00FFFFFFu) | (static_cast<std::uint32_t>(a) << 24);
            continue;
        }
        const std::int32_t colourWeight = Masked ? mask[i] : opacity;
        std::uint32_t result = 0;
        for (int shift = 0; shift < 24; shift += 8)
        {
            const std::int32_t d = static_cast<std::int32_t>((t >> shift) & 0xFF);
            const std::int32_t c = static_cast<std::int32_t>((s >> shift) & 0xFF);
            result |= static_cast<std::uint32_t>(d + Div255Short(colourWeight * (c - d))) << shift;
        }
        const std::int32_t da = static_cast<std::int32_t>(t >> 24);
        const std::int32_t toward = Masked ? reduced : static_cast<std::int32_t>(s >> 24);
        const std::int32_t alpha = da + Div255Short(colourWeight * (toward - da));
        target[i] = result | (static_cast<std::uint32_t>(alpha) << 24);
    }
}

// 30: the target alpha is multiplied by the source's red byte (a layer mask
// stored as grey); colours untouched. A mask byte limits how much of that
// reduction happens.
template <bool Masked>
void ApplyMaskRow(std::uint32_t* __restrict target, const std::uint32_t* __restrict source, std::int32_t count,
                  std::int32_t opacity, const std::uint8_t* __restrict mask)
{
    for (std::int32_t i = 0; i < count; ++i)
    {
        const std::int32_t factor = Div255Short(opacity * static_cast<std::int32_t>((source[i] >> 16) & 0xFF));
        const std::uint32_t t = target[i];
        const std::int32_t da = static_cast<std::int32_t>(t >> 24);
        std::int32_t alpha = Div255Short(da * factor);
        if constexpr (Masked)
            alpha = da - Div255Short((da - alpha) * mask[i]);
        target[i] = (t & 0x00FFFFFFu) | (static_cast<std::uint32_t>(alpha) << 24);
    }
}

// ---- Dispatch ------------------------------------------------------------------

struct sRowPair
{
    cBlendModes::cRowFunction plain = nullptr;
    cBlendModes::cRowFunction masked = nullptr;
};

template <class Mode>
constexpr sRowPair Mixed()
{
    return {&MixedRow<Mode, false>, &MixedRow<Mode, true>};
}

constexpr sRowPair kRows[cBlendModes::MODE_COUNT] = {
    Mixed<sNormal>(),             // 0
    Mixed<sAdd>(),                // 1
    Mixed<sAverage>(),            // 2
    Mixed<sLinearBurn>(),         // 3
    Mixed<sColorBurn>(),          // 4
    Mixed<sHsl<HSL_COLOR>>(),     // 5
    Mixed<sColorDodge>(),         // 6
    Mixed<sDarken>(),             // 7
    Mixed<sDifference>(),         // 8
    Mixed<sAdd>(),                // 9
    Mixed<sExclusion>(),          // 10
    Mixed<sHardLight>(),          // 11
    Mixed<sHsl<HSL_HUE>>(),       // 12
    Mixed<sLighten>(),            // 13
    Mixed<sMultiply>(),           // 14
    Mixed<sNegation>(),           // 15
    Mixed<sOverlay>(),            // 16
    Mixed<sPinLight>(),           // 17
    Mixed<sHsl<HSL_SATURATION>>(), // 18
    Mixed<sScreen>(),             // 19
    Mixed<sSoftLight>(),          // 20
    Mixed<sLinearBurn>(),         // 21
    Mixed<sHsl<HSL_VALUE>>(),     // 22
    {},                           // 23
    {&EraseRow<false>, &EraseRow<true>},         // 24
    {},                           // 25
    {},                           // 26
    {},                           // 27
    {&CopyRow<false>, &CopyRow<true>},           // 28
    {&MixRow<false>, &MixRow<true>},             // 29
    {&ApplyMaskRow<false>, &ApplyMaskRow<true>}, // 30
};

} // namespace

cBlendModes::cRowFunction cBlendModes::GetRowFunction(std::int32_t mode, bool masked)
{
    if (mode < 0 || mode >= MODE_COUNT)
        return nullptr;
    return masked ? kRows[mode].masked : kRows[mode].plain;
}

// ---- The rules, plainly ----------------------------------------------------------

std::int32_t cBlendModes::BlendChannel(std::int32_t mode, std::int32_t s, std::int32_t d)
{
    switch (mode)
    {
    case MODE_NORMAL: return s;
    case MODE_ADD:
    case MODE_ADD_ALT: return std::min(255, s + d);
    case MODE_AVERAGE: return (s + d) >> 1;
    case MODE_LINEAR_BURN:
    case MODE_LINEAR_BURN_ALT: return s + d > 254 ? s + d - 255 : 0;
    case MODE_COLOR_BURN:
    {
        if (s == 0)
            return 0;
        const std::int32_t v = (d - 255) * 256 / s + 255;
        return v < 0 ? 0 : v;
    }
    case MODE_COLOR_DODGE: return s == 255 ? 255 : std::min(255, d * 256 / (255 - s));
    case MODE_DARKEN: return std::min(s, d);
    case MODE_DIFFERENCE: return s > d ? s - d : d - s;
    case MODE_EXCLUSION: return s + d - (2 * s * d) / 255;
    case MODE_HARD_LIGHT: return s >= 128 ? 255 - (2 * (255 - s) * (255 - d)) / 255 : (2 * s * d) / 255;
    case MODE_LIGHTEN: return std::max(s, d);
    case MODE_MULTIPLY: return (s * d) / 255;
    case MODE_NEGATION: return 255 - std::abs(255 - s - d);
    case MODE_OVERLAY: return d >= 128 ? 255 - (2 * (255 - s) * (255 - d)) / 255 : (2 * s * d) / 255;
    case MODE_PIN_LIGHT: return s >= 128 ? std::max(d, 2 * s - 256) : std::min(d, 2 * s);
    case MODE_SCREEN: return 255 - ((255 - s) * (255 - d)) / 256;
    case MODE_SOFT_LIGHT:
    {
        const std::int32_t screen = 255 - ((255 - s) * (255 - d)) / 255;
        return (s * d) / 255 + d * (screen - (s * d) / 255) / 255;
    }
    default: return -1;
    }
}

std::uint32_t cBlendModes::BlendPixel(std::int32_t mode, std::uint32_t source, std::uint32_t target,
                                      std::int32_t opacity, std::int32_t mask)
{
    opacity = std::clamp(opacity, 0, 255);
    const bool masked = mask != kNoMask;
    const std::int32_t m = std::clamp(mask, 0, 255);
    const std::int32_t sa = static_cast<std::int32_t>(source >> 24);
    const std::int32_t da = static_cast<std::int32_t>(target >> 24);
    auto byte = [](std::uint32_t pixel, int index) { return static_cast<std::int32_t>((pixel >> (index * 8)) & 0xFF); };
    auto pack = [](std::int32_t b, std::int32_t g, std::int32_t r, std::int32_t a) {
        return static_cast<std::uint32_t>(b) | (static_cast<std::uint32_t>(g) << 8) |
               (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(a) << 24);
    };

    switch (mode)
    {
    case MODE_ERASE:
    {
        std::int32_t e = opacity * sa / 255;
        if (masked)
            e = e * m / 255;
        if (e == 0)
            return target;
        if (da < e)
            return 0;
        return (target & 0x00FFFFFFu) | (static_cast<std::uint32_t>(da - e) << 24);
    }
    case MODE_COPY:
    {
        std::int32_t a = sa * opacity / 255;
        if (masked)
            a = a * m / 255;
        return (source & 0x00FFFFFFu) | (static_cast<std::uint32_t>(a) << 24);
    }
    case MODE_MIX:
    {
        const std::int32_t reduced = opacity * sa / 255;
        if (da == 0)
            return (source & 0x00FFFFFFu) | (static_cast<std::uint32_t>(masked ? reduced * m / 255 : reduced) << 24);
        const std::int32_t by = masked ? m : opacity;
        std::int32_t c[3];
        for (int i = 0; i < 3; ++i)
            c[i] = byte(target, i) + by * (byte(source, i) - byte(target, i)) / 255;
        const std::int32_t toward = masked ? reduced : sa;
        return pack(c[0], c[1], c[2], da + by * (toward - da) / 255);
    }
    case MODE_APPLY_MASK:
    {
        const std::int32_t factor = opacity * byte(source, 2) / 255;
        std::int32_t alpha = da * factor / 255;
        if (masked)
            alpha = da - (da - alpha) * m / 255;
        return (target & 0x00FFFFFFu) | (static_cast<std::uint32_t>(alpha) << 24);
    }
    default: break;
    }

    const bool hsl = mode == MODE_COLOR || mode == MODE_HUE || mode == MODE_SATURATION || mode == MODE_VALUE;
    if (!hsl && BlendChannel(mode, 0, 0) < 0)
        return target;

    // B(s, d) for the three colour channels.
    std::int32_t b[3];
    if (hsl)
    {
        std::int32_t sh, ss, sl, th, ts, tl;
        RgbToHsl(byte(source, 2), byte(source, 1), byte(source, 0), sh, ss, sl);
        RgbToHsl(byte(target, 2), byte(target, 1), byte(target, 0), th, ts, tl);
        std::int32_t h = th, s = ts, l = tl;
        if (mode == MODE_COLOR)
            h = sh, s = ss;
        else if (mode == MODE_HUE)
            h = sh;
        else if (mode == MODE_SATURATION)
            s = ss;
        else
            l = sl;
        HslToRgb(h, s, l, b[2], b[1], b[0]);
    }
    else
    {
        for (int i = 0; i < 3; ++i)
            b[i] = BlendChannel(mode, byte(source, i), byte(target, i));
    }

    std::int32_t a = opacity * sa / 255;
    if (masked)
        a = a * m / 255;
    if (a == 0)
        return target;
    if (da == 0)
        return (source & 0x00FFFFFFu) | (static_cast<std::uint32_t>(a) << 24);
    std::int32_t c[3];
    if (da == 255)
    {
        for (int i = 0; i < 3; ++i)
            c[i] = byte(target, i) + a * (b[i] - byte(target, i)) / 255;
        return pack(c[0], c[1], c[2], 255);
    }
    const std::int32_t alpha = ((255 - a) * da + 127) / 255 + a;
    const std::int32_t w = a * 255 / alpha;
    for (int i = 0; i < 3; ++i)
    {
        const std::int32_t mixed =
            mode == MODE_NORMAL ? byte(source, i) : ((255 - da) * byte(source, i)) / 255 + (da * b[i]) / 255;
        c[i] = byte(target, i) + w * (mixed - byte(target, i)) / 255;
    }
    return pack(c[0], c[1], c[2], alpha);
}

void cBlendModes::RgbToHsl(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t& hue,
                           std::int32_t& saturation, std::int32_t& lightness)
{
    const std::int32_t mx = std::max({red, green, blue});
    const std::int32_t mn = std::min({red, green, blue});
    lightness = (mx + mn) / 2;
    if (mx == mn)
    {
        saturation = 0;
        hue = 0;
        return;
    }
    const std::int32_t delta = mx - mn;
    saturation = lightness > 128 ? delta * 255 / (510 - mx - mn) : delta * 255 / (mx + mn);
    if (red == mx)
        hue = ((green * 60 - blue * 60) / delta + 360) % 360;
    else if (green == mx)
        hue = (blue - red) * 60 / delta + 120;
    else
        hue = (red - green) * 60 / delta + 240;
}

namespace {

std::int32_t HueChannel(std::int32_t m1, std::int32_t m2, std::int32_t h)
{
    if (h > 360)
        h -= 360;
    if (h < 0)
        h += 360;
    if (h < 60)
        return m1 + (m2 - m1) * h / 60;
    if (h < 180)
        return m2;
    if (h >= 240)
        return m1;
    return m1 + (m2 - m1) * (240 - h) / 60;
}

} // namespace

void cBlendModes::HslToRgb(std::int32_t hue, std::int32_t saturation, std::int32_t lightness, std::int32_t& red,
                           std::int32_t& green, std::int32_t& blue)
{
    if (saturation == 0)
    {
        red = green = blue = lightness;
        return;
    }
    const std::int32_t m2 =
        lightness >= 128 ? lightness + saturation - lightness * saturation / 255 : lightness * (saturation + 255) / 255;
    const std::int32_t m1 = 2 * lightness - m2;
    // Inputs outside 0..359 / 0..255 cannot come from RgbToHsl; the clamp
    // keeps every result a byte regardless.
    red = std::clamp(HueChannel(m1, m2, hue + 120), 0, 255);
    green = std::clamp(HueChannel(m1, m2, hue), 0, 255);
    blue = std::clamp(HueChannel(m1, m2, hue - 120), 0, 255);
}

} // namespace Painter
