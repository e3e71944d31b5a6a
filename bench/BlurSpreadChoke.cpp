// Blur, spread and choke of a 3840 x 2160 channel at radius 10 and 30, on 1
// and 2 threads, with a memory copy of the same size as the floor.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "framework/core/ParallelFor.h"
#include "framework/painter/Channel.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

// A few filled discs with soft edges on an empty background.
const Painter::cChannel& Source()
{
    static Painter::cChannel channel = [] {
        Painter::cChannel c;
        c.Create(kWidth, kHeight);
        c.Clear();
        const int discs[][3] = {{600, 500, 300}, {1900, 1100, 700}, {3300, 400, 250}, {3000, 1800, 350}, {400, 1800, 120}};
        for (const auto& d : discs)
            for (int y = d[1] - d[2]; y <= d[1] + d[2]; ++y)
                for (int x = d[0] - d[2]; x <= d[0] + d[2]; ++x)
                {
                    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
                        continue;
                    const long long dx = x - d[0], dy = y - d[1], r = d[2];
                    const long long inside = r * r - (dx * dx + dy * dy);
                    if (inside >= 0)
                        c.SetValue(x, y, static_cast<std::uint8_t>(inside > 4 * r ? 255 : 128));
                }
        return c;
    }();
    return channel;
}

void Run(benchmark::State& state, int filter)
{
    const int radius = static_cast<int>(state.range(0));
    Thread::cParallelFor::SetWorkerCount(static_cast<int>(state.range(1)));
    const Painter::cChannel& source = Source();
    Painter::cChannel target;
    for (auto _ : state)
    {
        bool ok = false;
        if (filter == 0)
        {
            target.Create(kWidth, kHeight);
            ok = target.Blur(source, 0, 0, radius);
        }
        else if (filter == 1)
            ok = target.Spread(source, radius);
        else
            ok = target.Choke(source, radius);
        if (!ok)
            state.SkipWithError("filter failed");
        benchmark::DoNotOptimize(target.Bits());
    }
    Thread::cParallelFor::SetWorkerCount(0);
    state.SetBytesProcessed(state.iterations() * std::int64_t(kWidth) * kHeight);
}

void BM_Blur(benchmark::State& state) { Run(state, 0); }
void BM_Spread(benchmark::State& state) { Run(state, 1); }
void BM_Choke(benchmark::State& state) { Run(state, 2); }

void BM_Memcpy(benchmark::State& state)
{
    std::vector<std::uint8_t> from(std::size_t(kWidth) * kHeight, 1), to(from.size());
    for (auto _ : state)
    {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(from.size()));
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Blur)->ArgNames({"radius", "threads"})->ArgsProduct({{10, 30}, {1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Spread)->ArgNames({"radius", "threads"})->ArgsProduct({{10, 30}, {1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Choke)->ArgNames({"radius", "threads"})->ArgsProduct({{10, 30}, {1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
