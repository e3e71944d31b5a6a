#include "framework/painter/Gradient.h"

#include <new>

namespace Painter {

cGradient::cGradient()
{
    m_colourStops.push_back({0, 0xFFFFFF, 0});
    m_colourStops.push_back({255, 0x000000, 0});
    m_alphaStops.push_back(AlphaStop(0, 255));
}

namespace {

// Spreads stop values over the entries: before the first stop the first
// value, between stops i and i + 1 (entries n*p_i/255 up to n*p_(i+1)/255)
// a linear ramp per byte, from the last stop on the last value. `mask`
// selects the bytes written; `value(i)` and `position(i)` read stop i.
template <typename Value, typename Position>
void Spread(std::vector<std::uint32_t>& table, std::size_t stops, std::uint32_t mask, Value value,
            Position position)
{
    const std::int64_t n = static_cast<std::int64_t>(table.size());
    auto put = [&](std::int64_t index, std::uint32_t colour) {
        if (index >= 0 && index < n)
            table[std::size_t(index)] = (table[std::size_t(index)] & ~mask) | (colour & mask);
    };
    const std::int64_t first = n * position(0) / 255;
    for (std::int64_t i = 0; i < first; ++i)
        put(i, value(0));
    for (std::size_t s = 0; s + 1 < stops; ++s)
    {
        const std::int64_t j = n * position(s) / 255;
        const std::int64_t k = n * position(s + 1) / 255;
        const std::uint32_t from = value(s), to = value(s + 1);
        for (std::int64_t m = 0; m < k - j; ++m)
        {
            std::uint32_t colour = 0;
            for (int shift = 0; shift < 32; shift += 8)
            {
                const std::int64_t a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
                colour |= std::uint32_t(a + m * (b - a) / (k - j)) << shift;
            }
            put(j + m, colour);
        }
    }
    for (std::int64_t i = n * position(stops - 1) / 255; i < n; ++i)
        put(i, value(stops - 1));
}

} // namespace

bool cGradient::BuildTable(std::int32_t count, std::vector<std::uint32_t>& table) const
{
    if (count < 1)
        return false;
    std::vector<std::uint32_t> result;
    try
    {
        result.assign(std::size_t(count), 0xFF000000u);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    if (!m_colourStops.empty())
        Spread(
            result, m_colourStops.size(), 0x00FFFFFFu, [&](std::size_t i) { return m_colourStops[i].colour; },
            [&](std::size_t i) { return std::int64_t(m_colourStops[i].position); });
    if (!m_alphaStops.empty())
        Spread(
            result, m_alphaStops.size(), 0xFF000000u, [&](std::size_t i) { return std::uint32_t(m_alphaStops[i] >> 8) << 24; },
            [&](std::size_t i) { return std::int64_t(m_alphaStops[i] & 0xFF); });
    table.swap(result);
    return true;
}

} // namespace Painter
