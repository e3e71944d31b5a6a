// The scan converter with a solid fill: many glyph-sized outlines, and one
// large anti-aliased ellipse, each beside a memset of the same target.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "framework/painter/Picture.h"
#include "framework/painter/ScanConverter.h"
#include "framework/painter/SolidFill.h"

namespace {

constexpr int GlyphWidth = 16, GlyphHeight = 20, GlyphColumns = 100, GlyphCount = 10000;
constexpr int GlyphRows = GlyphCount / GlyphColumns;
constexpr int EllipseSize = 2000;

// An "O"-like glyph: an outer and an inner ellipse of four cubic arcs each,
// the inner one running the other way.
void AddRing(Painter::cScanConverter& converter, double cx, double cy, double rx, double ry, bool reverse)
{
    const double k = 0.5522847498;
    const double s = reverse ? -1 : 1;
    converter.MoveTo(cx + rx, cy);
    converter.CubicTo(cx + rx, cy + s * k * ry, cx + k * rx, cy + s * ry, cx, cy + s * ry);
    converter.CubicTo(cx - k * rx, cy + s * ry, cx - rx, cy + s * k * ry, cx - rx, cy);
    converter.CubicTo(cx - rx, cy - s * k * ry, cx - k * rx, cy - s * ry, cx, cy - s * ry);
    converter.CubicTo(cx + k * rx, cy - s * ry, cx + rx, cy - s * k * ry, cx + rx, cy);
    converter.ClosePolygon();
}

void BM_Glyphs10000(benchmark::State& state)
{
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, GlyphWidth * GlyphColumns, GlyphHeight * GlyphRows);
    picture.Fill(0xFFFFFFFF);
    Painter::cSolidFill fill(0xFF000000);
    Painter::cScanConverter converter;
    for (auto _ : state)
    {
        for (int i = 0; i < GlyphCount; ++i)
        {
            converter.SetBox(0, 0, GlyphWidth, GlyphHeight);
            AddRing(converter, 8.3, 10.2, 6.4, 8.6, false);
            AddRing(converter, 8.3, 10.2, 3.9, 6.1, true);
            converter.Render(&picture, fill, (i % GlyphColumns) * GlyphWidth, (i / GlyphColumns) * GlyphHeight);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * GlyphCount);
}
BENCHMARK(BM_Glyphs10000)->Unit(benchmark::kMillisecond);

void BM_Glyphs10000_MemsetReference(benchmark::State& state)
{
    std::vector<std::uint8_t> target(std::size_t(GlyphWidth * GlyphColumns) * GlyphHeight * GlyphRows * 4);
    for (auto _ : state)
    {
        std::memset(target.data(), 0x5A, target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Glyphs10000_MemsetReference)->Unit(benchmark::kMillisecond);

void BM_Ellipse2000(benchmark::State& state)
{
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, EllipseSize, EllipseSize);
    picture.Fill(0xFFFFFFFF);
    // Half-transparent, so every pixel is composited.
    Painter::cSolidFill fill(state.range(0) ? 0x80204080 : 0xFF204080);
    Painter::cScanConverter converter(EllipseSize, EllipseSize);
    for (auto _ : state)
    {
        converter.Reset();
        // The canvas's ellipse: 360 points, one per degree.
        const double c = EllipseSize / 2.0, r = EllipseSize / 2.0 - 0.5;
        for (int degree = 0; degree < 360; ++degree)
        {
            const double angle = degree * std::numbers::pi / 180;
            const double x = c + r * std::cos(angle), y = c + r * std::sin(angle);
            degree == 0 ? converter.MoveTo(x, y) : converter.LineTo(x, y);
        }
        converter.Render(&picture, fill, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Ellipse2000)->Arg(0)->Arg(1)->ArgName("translucent")->Unit(benchmark::kMillisecond);

void BM_Ellipse2000_MemsetReference(benchmark::State& state)
{
    std::vector<std::uint8_t> target(std::size_t(EllipseSize) * EllipseSize * 4);
    for (auto _ : state)
    {
        std::memset(target.data(), 0x5A, target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Ellipse2000_MemsetReference)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
