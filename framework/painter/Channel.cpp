#include "framework/painter/Channel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "framework/core/ParallelFor.h"
#include "framework/painter/PixelFormat.h"

namespace Painter {

namespace {

constexpr std::int64_t ChannelStride(std::int64_t width) { return (width + 7) & ~std::int64_t(7); }

// Scratch memory of one row task; a failed allocation is reported through
// `failed` instead of an exception escaping the parallel loop.
bool Reserve(std::vector<std::uint8_t>& buffer, std::size_t size, std::atomic<bool>& failed)
{
    try
    {
        if (buffer.size() < size)
            buffer.resize(size);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        failed = true;
        return false;
    }
}

// Sliding maximum over [x - h, x + h] of a row of n values, values outside
// the row counting as 0 (van Herk / Gil-Werman: blocks of 2h + 1 with a
// forward and a backward running maximum; three comparisons per value
// whatever h is). `scratch` must hold 3 (n + 2h) bytes.
void SlidingMaxRow(const std::uint8_t* in, std::uint8_t* out, std::int64_t n, std::int64_t h, std::uint8_t* scratch)
{
    const std::int64_t m = n + 2 * h, k = 2 * h + 1;
    std::uint8_t* padded = scratch;
    std::uint8_t* forward = scratch + m;
    std::uint8_t* backward = scratch + 2 * m;
    std::memset(padded, 0, static_cast<std::size_t>(h));
    std::memcpy(padded + h, in, static_cast<std::size_t>(n));
    std::memset(padded + h + n, 0, static_cast<std::size_t>(h));
    for (std::int64_t start = 0; start < m; start += k)
    {
        const std::int64_t end = std::min(start + k, m);
        forward[start] = padded[start];
        for (std::int64_t i = start + 1; i < end; ++i)
            forward[i] = std::max(forward[i - 1], padded[i]);
        backward[end - 1] = padded[end - 1];
        for (std::int64_t i = end - 2; i >= start; --i)
            backward[i] = std::max(backward[i + 1], padded[i]);
    }
    for (std::int64_t x = 0; x < n; ++x)
        out[x] = std::max(backward[x], forward[x + 2 * h]);
}

// Sliding minimum over [x - h, x + h] with values outside the row counting
// as 0: the first and last h outputs are 0, the rest are minima of windows
// that lie inside the row. `scratch` must hold 2n bytes.
void SlidingMinRow(const std::uint8_t* in, std::uint8_t* out, std::int64_t n, std::int64_t h, std::uint8_t* scratch)
{
    const std::int64_t k = 2 * h + 1;
    if (k > n)
    {
        std::memset(out, 0, static_cast<std::size_t>(n));
        return;
    }
    std::uint8_t* forward = scratch;
    std::uint8_t* backward = scratch + n;
    for (std::int64_t start = 0; start < n; start += k)
    {
        const std::int64_t end = std::min(start + k, n);
        forward[start] = in[start];
        for (std::int64_t i = start + 1; i < end; ++i)
            forward[i] = std::min(forward[i - 1], in[i]);
        backward[end - 1] = in[end - 1];
        for (std::int64_t i = end - 2; i >= start; --i)
            backward[i] = std::min(backward[i + 1], in[i]);
    }
    std::memset(out, 0, static_cast<std::size_t>(h));
    for (std::int64_t x = h; x < n - h; ++x)
        out[x] = std::min(backward[x - h], forward[x + h]);
    std::memset(out + n - h, 0, static_cast<std::size_t>(h));
}

// Running maximum or minimum down the rows of one block [start, end) of a
// sequence of rows: target[i] = op(target[i -/+ 1], row(i)).
template <typename tRowOf, typename tOp>
void BlockScan(tRowOf rowOf, cChannel& forward, cChannel& backward, std::int32_t start, std::int32_t end,
               std::int32_t width, tOp op)
{
    std::memcpy(forward.Row(start), rowOf(start), static_cast<std::size_t>(width));
    for (std::int32_t i = start + 1; i < end; ++i)
    {
        const std::uint8_t* __restrict in = rowOf(i);
        const std::uint8_t* __restrict previous = forward.Row(i - 1);
        std::uint8_t* __restrict out = forward.Row(i);
        for (std::int32_t x = 0; x < width; ++x)
            out[x] = op(previous[x], in[x]);
    }
    std::memcpy(backward.Row(end - 1), rowOf(end - 1), static_cast<std::size_t>(width));
    for (std::int32_t i = end - 2; i >= start; --i)
    {
        const std::uint8_t* __restrict in = rowOf(i);
        const std::uint8_t* __restrict next = backward.Row(i + 1);
        std::uint8_t* __restrict out = backward.Row(i);
        for (std::int32_t x = 0; x < width; ++x)
            out[x] = op(next[x], in[x]);
    }
}

struct sMax
{
    std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const { return a > b ? a : b; }
};
struct sMin
{
    std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const { return a < b ? a : b; }
};

// The integer square root: the largest s with s * s <= value.
std::int64_t IntegerSqrt(std::int64_t value)
{
    std::int64_t s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(value)));
    while (s * s > value)
        --s;
    while ((s + 1) * (s + 1) <= value)
        ++s;
    return s;
}

// Blur kernels with every truncated weight 0 give an empty result; this is
// the case for every radius above about 26150, so larger radii are never
// expanded into a kernel.
constexpr std::int32_t kLargestBlurKernel = 32767;

} // namespace

// ---- Life cycle -----------------------------------------------------------

cChannel::cChannel(const cChannel& other) { *this = other; }

cChannel& cChannel::operator=(const cChannel& other)
{
    if (this == &other)
        return *this;
    if (other.IsEmpty())
    {
        Release();
        return *this;
    }
    if (Create(other.m_width, other.m_height))
        std::memcpy(m_bits, other.m_bits, static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height));
    return *this;
}

cChannel::cChannel(cChannel&& other) noexcept
    : m_bits(std::exchange(other.m_bits, nullptr)), m_owns(std::exchange(other.m_owns, false)),
      m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_stride(std::exchange(other.m_stride, 0))
{
}

cChannel& cChannel::operator=(cChannel&& other) noexcept
{
    if (this != &other)
    {
        Release();
        m_bits = std::exchange(other.m_bits, nullptr);
        m_owns = std::exchange(other.m_owns, false);
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_stride = std::exchange(other.m_stride, 0);
    }
    return *this;
}

cChannel::~cChannel() { Release(); }

void cChannel::Release()
{
    if (m_owns)
        delete[] m_bits;
    m_bits = nullptr;
    m_owns = false;
    m_width = m_height = m_stride = 0;
}

bool cChannel::Create(std::int32_t width, std::int32_t height)
{
    if (m_bits && width == m_width && height == m_height)
        return true;
    Release();
    if (width < 1 || height < 1)
        return false;
    const std::int64_t stride = ChannelStride(width);
    std::size_t bytes = 0;
    if (stride > INT32_MAX || !BlockBytes(stride, height, kMaxBlockBytes, bytes))
        return false;
    m_bits = new (std::nothrow) std::uint8_t[bytes];
    if (!m_bits)
        return false;
    m_owns = true;
    m_width = width;
    m_height = height;
    m_stride = static_cast<std::int32_t>(stride);
    return true;
}

void cChannel::Clear()
{
    if (m_bits)
        std::memset(m_bits, 0, static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height));
}

void cChannel::CopyFrom(std::int32_t x, std::int32_t y, const cChannel& source)
{
    if (IsEmpty() || source.IsEmpty() || &source == this)
        return;
    const std::int64_t left = std::max<std::int64_t>(x, 0), top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t(x) + source.m_width, m_width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t(y) + source.m_height, m_height);
    if (right <= left || bottom <= top)
        return;
    for (std::int64_t row = top; row < bottom; ++row)
        std::memcpy(Row(static_cast<std::int32_t>(row)) + left,
                    source.Row(static_cast<std::int32_t>(row - y)) + (left - x), static_cast<std::size_t>(right - left));
}

// ---- Blur -----------------------------------------------------------------

bool cChannel::Blur(const cChannel& source, std::int32_t dx, std::int32_t dy, std::int32_t radius)
{
    if (radius < 0 || source.IsEmpty())
        return false;
    const std::int32_t width = IsEmpty() ? source.m_width : m_width;
    const std::int32_t height = IsEmpty() ? source.m_height : m_height;
    cChannel result;
    if (!result.Create(width, height))
        return false;

    // Kernel of 2r + 1 taps exp(-i^2 / 2r^2), normalised, in 16.16 fixed point.
    std::vector<std::uint32_t> kernel;
    bool empty = radius > kLargestBlurKernel;
    if (!empty)
    {
        try
        {
            kernel.resize(static_cast<std::size_t>(2 * radius + 1));
            std::vector<double> weights(kernel.size());
            double sum = 0;
            for (std::int32_t i = -radius; i <= radius; ++i)
            {
                const double w = radius == 0 ? 1.0 : std::exp(-double(i) * i / (2.0 * double(radius) * radius));
                weights[static_cast<std::size_t>(i + radius)] = w;
                sum += w;
            }
            empty = true;
            for (std::size_t j = 0; j < kernel.size(); ++j)
            {
                kernel[j] = static_cast<std::uint32_t>(weights[j] / sum * 65536.0);
                empty = empty && kernel[j] == 0;
            }
        }
        catch (const std::bad_alloc&)
        {
            return false;
        }
    }
    if (empty)
    {
        result.Clear();
        *this = std::move(result);
        return true;
    }

    cChannel rows;
    if (!rows.Create(width, height))
        return false;
    const std::int64_t taps = static_cast<std::int64_t>(kernel.size());
    std::atomic<bool> failed{false};

    // Pass 1, along the rows of the moved source; samples outside count as 0.
    Thread::cParallelFor::Run(0, height, [&](int y) {
        std::uint8_t* out = rows.Row(y);
        const std::int64_t sy = std::int64_t(y) - dy;
        if (sy < 0 || sy >= source.m_height)
        {
            std::memset(out, 0, static_cast<std::size_t>(width));
            return;
        }
        thread_local std::vector<std::uint32_t> sums;
        try
        {
            sums.assign(static_cast<std::size_t>(width), 0);
        }
        catch (const std::bad_alloc&)
        {
            failed = true;
            return;
        }
        const std::uint8_t* in = source.Row(static_cast<std::int32_t>(sy));
        for (std::int64_t j = 0; j < taps; ++j)
        {
            const std::uint32_t w = kernel[static_cast<std::size_t>(j)];
            if (w == 0)
                continue;
            // Output x reads source x + offset.
            const std::int64_t offset = j - radius - std::int64_t(dx);
            const std::int64_t first = std::max<std::int64_t>(0, -offset);
            const std::int64_t last = std::min<std::int64_t>(width, std::int64_t(source.m_width) - offset);
            std::uint32_t* __restrict acc = sums.data();
            const std::uint8_t* __restrict src = in + offset;
            for (std::int64_t x = first; x < last; ++x)
                acc[x] += src[x] * w;
        }
        for (std::int32_t x = 0; x < width; ++x)
            out[x] = static_cast<std::uint8_t>(sums[static_cast<std::size_t>(x)] >> 16);
    });
    if (failed)
        return false;

    // Pass 2, down the columns of pass 1's result, rows clamped to the edges.
    Thread::cParallelFor::Run(0, height, [&](int y) {
        thread_local std::vector<std::uint32_t> sums;
        try
        {
            sums.assign(static_cast<std::size_t>(width), 0);
        }
        catch (const std::bad_alloc&)
        {
            failed = true;
            return;
        }
        for (std::int64_t j = 0; j < taps; ++j)
        {
            const std::uint32_t w = kernel[static_cast<std::size_t>(j)];
            if (w == 0)
                continue;
            const std::int64_t sy = std::clamp<std::int64_t>(std::int64_t(y) + j - radius, 0, height - 1);
            std::uint32_t* __restrict acc = sums.data();
            const std::uint8_t* __restrict src = rows.Row(static_cast<std::int32_t>(sy));
            for (std::int32_t x = 0; x < width; ++x)
                acc[x] += src[x] * w;
        }
        std::uint8_t* out = result.Row(y);
        for (std::int32_t x = 0; x < width; ++x)
            out[x] = static_cast<std::uint8_t>(sums[static_cast<std::size_t>(x)] >> 16);
    });
    if (failed)
        return false;
    *this = std::move(result);
    return true;
}

// ---- Spread ---------------------------------------------------------------

// The disc { (u, v) : floor(sqrt(u^2 + v^2)) <= r } = { u^2 + v^2 < (r + 1)^2 }
// is the union of rectangles |u| <= h, |v| <= V(h), one per distinct half
// width h(v) = isqrt((r + 1)^2 - 1 - v^2). The maximum over each rectangle is
// separable (a running maximum down the columns, then along the rows, both
// in constant time per pixel), so the whole disc costs one pass per distinct
// half width: O(r) per pixel instead of O(r^2).
bool cChannel::Spread(const cChannel& source, std::int32_t radius)
{
    if (radius < 0 || source.IsEmpty())
        return false;
    const std::int64_t r = radius;
    const std::int64_t width64 = std::int64_t(source.m_width) + 2 * r;
    const std::int64_t height64 = std::int64_t(source.m_height) + 2 * r;
    if (width64 > INT32_MAX - 7 || height64 > INT32_MAX)
        return false;
    const std::int32_t width = static_cast<std::int32_t>(width64);
    const std::int32_t height = static_cast<std::int32_t>(height64);

    // The source placed in the frame of the result.
    cChannel frame, result;
    if (!frame.Create(width, height) || !result.Create(width, height))
        return false;
    frame.Clear();
    frame.CopyFrom(radius, radius, source);
    if (radius == 0)
    {
        *this = std::move(frame);
        return true;
    }
    result.Clear();

    // Rectangle levels (half width h, half height V), widest first.
    std::vector<std::pair<std::int64_t, std::int64_t>> levels;
    try
    {
        const std::int64_t limit = (r + 1) * (r + 1) - 1;
        std::int64_t previous = IntegerSqrt(limit);
        for (std::int64_t v = 1; v <= r; ++v)
        {
            const std::int64_t h = IntegerSqrt(limit - v * v);
            if (h != previous)
                levels.emplace_back(previous, v - 1);
            previous = h;
        }
        levels.emplace_back(previous, r);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }

    const std::int64_t maxV = r;
    if (height64 + 2 * maxV > INT32_MAX)
        return false;
    cChannel forward, backward;
    if (!forward.Create(width, static_cast<std::int32_t>(height64 + 2 * maxV)) ||
        !backward.Create(width, static_cast<std::int32_t>(height64 + 2 * maxV)))
        return false;
    std::vector<std::uint8_t> zeroRow;
    try
    {
        zeroRow.assign(static_cast<std::size_t>(width), 0);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    std::atomic<bool> failed{false};

    for (const auto& level : levels)
    {
        // Plain copies: lambdas cannot capture structured bindings in C++20.
        const auto h = level.first;
        const auto V = level.second;
        // Column maxima over |v| <= V: blocks of 2V + 1 rows of the frame
        // padded with V empty rows above and below.
        const std::int32_t k = static_cast<std::int32_t>(2 * V + 1);
        const std::int32_t paddedRows = static_cast<std::int32_t>(height + 2 * V);
        auto rowOf = [&](std::int32_t i) -> const std::uint8_t* {
            const std::int64_t y = std::int64_t(i) - V;
            return y < 0 || y >= height ? zeroRow.data() : frame.Row(static_cast<std::int32_t>(y));
        };
        const std::int32_t blocks = (paddedRows + k - 1) / k;
        Thread::cParallelFor::Run(0, blocks, [&](int b) {
            const std::int32_t start = b * k;
            BlockScan(rowOf, forward, backward, start, std::min(start + k, paddedRows), width, sMax());
        });

        // Row maxima over |u| <= h of the column maxima, merged into the result.
        Thread::cParallelFor::Run(0, height, [&](int y) {
            thread_local std::vector<std::uint8_t> scratch;
            const std::size_t rowBytes = static_cast<std::size_t>(width);
            if (!Reserve(scratch, 2 * rowBytes + 3 * (rowBytes + 2 * static_cast<std::size_t>(h)), failed))
                return;
            std::uint8_t* column = scratch.data();
            std::uint8_t* rowMax = column + rowBytes;
            const std::uint8_t* __restrict up = backward.Row(y);
            const std::uint8_t* __restrict down = forward.Row(static_cast<std::int32_t>(y + 2 * V));
            for (std::int32_t x = 0; x < width; ++x)
                column[x] = std::max(up[x], down[x]);
            SlidingMaxRow(column, rowMax, width, h, rowMax + rowBytes);
            std::uint8_t* __restrict out = result.Row(y);
            for (std::int32_t x = 0; x < width; ++x)
                out[x] = std::max(out[x], rowMax[x]);
        });
        if (failed)
            return false;
    }
    *this = std::move(result);
    return true;
}

// ---- Choke ----------------------------------------------------------------

// The minimum over a (2r + 1) square is separable exactly: a running
// minimum along the rows, then down the columns, both in constant time per
// pixel. Pixels outside count as 0, so the outer r rows and columns are 0.
bool cChannel::Choke(const cChannel& source, std::int32_t radius)
{
    if (radius < 0 || source.IsEmpty())
        return false;
    const std::int32_t width = source.m_width, height = source.m_height;
    cChannel result;
    if (!result.Create(width, height))
        return false;
    if (radius == 0)
    {
        result.CopyFrom(0, 0, source);
        *this = std::move(result);
        return true;
    }
    const std::int64_t r = radius;
    if (2 * r + 1 > width || 2 * r + 1 > height)
    {
        result.Clear();
        *this = std::move(result);
        return true;
    }

    cChannel rows, forward, backward;
    if (!rows.Create(width, height) || !forward.Create(width, height) || !backward.Create(width, height))
        return false;
    std::atomic<bool> failed{false};
    Thread::cParallelFor::Run(0, height, [&](int y) {
        thread_local std::vector<std::uint8_t> scratch;
        if (!Reserve(scratch, 2 * static_cast<std::size_t>(width), failed))
            return;
        SlidingMinRow(source.Row(y), rows.Row(y), width, r, scratch.data());
    });
    if (failed)
        return false;

    const std::int32_t k = 2 * radius + 1;
    auto rowOf = [&](std::int32_t i) -> const std::uint8_t* { return rows.Row(i); };
    Thread::cParallelFor::Run(0, (height + k - 1) / k, [&](int b) {
        const std::int32_t start = b * k;
        BlockScan(rowOf, forward, backward, start, std::min(start + k, height), width, sMin());
    });
    Thread::cParallelFor::Run(0, height, [&](int y) {
        std::uint8_t* __restrict out = result.Row(y);
        if (y < radius || y >= height - radius)
        {
            std::memset(out, 0, static_cast<std::size_t>(width));
            return;
        }
        const std::uint8_t* __restrict up = backward.Row(y - radius);
        const std::uint8_t* __restrict down = forward.Row(y + radius);
        for (std::int32_t x = 0; x < width; ++x)
            out[x] = std::min(up[x], down[x]);
    });
    *this = std::move(result);
    return true;
}

} // namespace Painter
