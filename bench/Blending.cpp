// Compositing a 3840 x 2160 picture through the drawing context, per
// blending mode, with and without a mask, and through the transformed path
// at 30 degrees; printed beside the floor (a memcpy of the same bytes) and
// beside pixman's OVER and MULTIPLY on the same pixels (premultiplied for
// pixman, converted outside the timing).

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "framework/painter/Canvas.h"
#include "framework/painter/Channel.h"
#include "framework/painter/Matrix.h"
#include "framework/painter/Picture.h"

namespace {

constexpr std::int32_t kWidth = 3840;
constexpr std::int32_t kHeight = 2160;

std::uint32_t Next(std::uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// A layer like the ones composited in practice: random colours, mostly
// opaque, with transparent and half-transparent stretches (runs of 64
// pixels share an alpha class).
struct sPictures
{
    Painter::cPicture layer;      // mixed alpha
    Painter::cPicture screenshot; // opaque everywhere
    Painter::cPicture background; // opaque target
    Painter::cChannel mask;

    sPictures()
    {
        layer.Create(Painter::FORMAT_ARGB32, kWidth, kHeight);
        screenshot.Create(Painter::FORMAT_ARGB32, kWidth, kHeight);
        background.Create(Painter::FORMAT_ARGB32, kWidth, kHeight);
        mask.Create(kWidth, kHeight);
        std::uint32_t state = 0x12345678;
        for (std::int32_t y = 0; y < kHeight; ++y)
        {
            std::uint32_t alphaClass = 0;
            for (std::int32_t x = 0; x < kWidth; ++x)
            {
                if (x % 64 == 0)
                    alphaClass = Next(state) % 10;
                const std::uint32_t colour = Next(state) & 0x00FFFFFFu;
                const std::uint32_t alpha = alphaClass < 7 ? 255u : alphaClass < 9 ? 0u : Next(state) >> 24;
                layer.SetPixel(x, y, colour | (alpha << 24));
                screenshot.SetPixel(x, y, colour | 0xFF000000u);
                background.SetPixel(x, y, (Next(state) & 0x00FFFFFFu) | 0xFF000000u);
                mask.SetValue(x, y, static_cast<std::uint8_t>((x + y) & 0xFF));
            }
        }
    }
};

sPictures& Pictures()
{
    static sPictures pictures;
    return pictures;
}

void CopyPicture(Painter::cPicture& target, const Painter::cPicture& source)
{
    std::memcpy(target.Bits(), source.Bits(), static_cast<std::size_t>(source.Stride()) * source.Height());
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4);
}

// ---- References ----------------------------------------------------------------

void BM_Memcpy(benchmark::State& state)
{
    sPictures& pictures = Pictures();
    Painter::cPicture target;
    target.Create(Painter::FORMAT_ARGB32, kWidth, kHeight);
    for (auto _ : state)
    {
        CopyPicture(target, pictures.layer);
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// pixman works on premultiplied pixels: the layer is premultiplied once.
void BM_Pixman(benchmark::State& state)
{
    sPictures& pictures = Pictures();
    const pixman_op_t op = static_cast<pixman_op_t>(state.range(0));
    std::vector<std::uint32_t> source(static_cast<std::size_t>(kWidth) * kHeight);
    std::vector<std::uint32_t> target(source.size());
    std::vector<std::uint32_t> original(source.size());
    for (std::int32_t y = 0; y < kHeight; ++y)
        for (std::int32_t x = 0; x < kWidth; ++x)
        {
            const std::uint32_t p = pictures.layer.Pixel(x, y);
            const std::uint32_t a = p >> 24;
            auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
            source[static_cast<std::size_t>(y) * kWidth + x] =
                (a << 24) | (mul(p >> 16 & 0xFF) << 16) | (mul(p >> 8 & 0xFF) << 8) | mul(p & 0xFF);
            original[static_cast<std::size_t>(y) * kWidth + x] = pictures.background.Pixel(x, y);
        }
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, source.data(), kWidth * 4);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, target.data(), kWidth * 4);
    for (auto _ : state)
    {
        state.PauseTiming();
        std::memcpy(target.data(), original.data(), original.size() * 4);
        state.ResumeTiming();
        pixman_image_composite32(op, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    SetBytes(state);
}
BENCHMARK(BM_Pixman)->Arg(PIXMAN_OP_OVER)->Arg(PIXMAN_OP_MULTIPLY)->ArgNames({"op(3=OVER,48=MULTIPLY)"})
    ->Unit(benchmark::kMillisecond);

// ---- The canvas ------------------------------------------------------------------

// Args: mode, masked, source (0 the mixed-alpha layer, 1 the opaque screenshot).
void BM_Composite(benchmark::State& state)
{
    sPictures& pictures = Pictures();
    const std::int32_t mode = static_cast<std::int32_t>(state.range(0));
    const bool masked = state.range(1) != 0;
    const Painter::cPicture& source = state.range(2) != 0 ? pictures.screenshot : pictures.layer;
    Painter::cPicture target;
    target.Create(Painter::FORMAT_ARGB32, kWidth, kHeight);
    Painter::cCanvas canvas(target);
    if (masked)
        canvas.SetMask(&pictures.mask, 0, 0);
    for (auto _ : state)
    {
        state.PauseTiming();
        CopyPicture(target, pictures.background);
        state.ResumeTiming();
        canvas.CompositeAt(0, 0, source, source.Bounds(), mode, 255);
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_Composite)
    ->ArgNames({"mode", "mask", "opaque"})
    ->Args({0, 0, 0})
    ->Args({0, 1, 0})
    ->Args({0, 0, 1})
    ->Args({14, 0, 0})
    ->Args({14, 1, 0})
    ->Args({5, 0, 0})
    ->Args({5, 1, 0})
    ->Args({24, 0, 0})
    ->Args({24, 1, 0})
    ->Unit(benchmark::kMillisecond);

// The other separable modes, unmasked, for the memcpy-floor goal.
void BM_SeparableModes(benchmark::State& state) { BM_Composite(state); }
BENCHMARK(BM_SeparableModes)
    ->ArgNames({"mode", "mask", "opaque"})
    ->Args({1, 0, 0})
    ->Args({2, 0, 0})
    ->Args({3, 0, 0})
    ->Args({4, 0, 0})
    ->Args({6, 0, 0})
    ->Args({7, 0, 0})
    ->Args({8, 0, 0})
    ->Args({10, 0, 0})
    ->Args({11, 0, 0})
    ->Args({13, 0, 0})
    ->Args({15, 0, 0})
    ->Args({16, 0, 0})
    ->Args({17, 0, 0})
    ->Args({19, 0, 0})
    ->Args({20, 0, 0})
    ->Unit(benchmark::kMillisecond);

// The transformed path: the layer turned by 30 degrees about its centre,
// bilinear at 1/16 pixel, onto a target of the same size.
void BM_Transformed30(benchmark::State& state)
{
    sPictures& pictures = Pictures();
    const bool masked = state.range(0) != 0;
    Painter::cPicture target;
    target.Create(Painter::FORMAT_ARGB32, kWidth, kHeight);
    Painter::cCanvas canvas(target);
    if (masked)
        canvas.SetMask(&pictures.mask, 0, 0);
    const Painter::cMatrix matrix = Painter::cMatrix::Translation(-kWidth / 2.0f, -kHeight / 2.0f) *
                                    Painter::cMatrix::Rotation(std::numbers::pi / 6) *
                                    Painter::cMatrix::Translation(kWidth / 2.0f, kHeight / 2.0f);
    for (auto _ : state)
    {
        state.PauseTiming();
        CopyPicture(target, pictures.background);
        state.ResumeTiming();
        canvas.Composite(matrix, pictures.layer, pictures.layer.Bounds(), 0, 255);
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_Transformed30)->ArgNames({"mask"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
