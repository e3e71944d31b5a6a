#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "framework/core/ParallelFor.h"
#include "framework/painter/Channel.h"

using namespace Painter;

namespace {

// Straightforward implementations of the rules, pixel by pixel, to check
// the fast separable ones against.

int At(const cChannel& c, std::int64_t x, std::int64_t y)
{
    return x < 0 || y < 0 || x >= c.Width() || y >= c.Height() ? 0 : c.Value(int(x), int(y));
}

std::vector<std::uint8_t> ReferenceSpread(const cChannel& source, int r)
{
    std::vector<std::uint8_t> mask((r + 1) * (r + 1));
    for (int y = 0; y <= r; ++y)
        for (int x = 0; x <= r; ++x)
            mask[y * (r + 1) + x] = int(std::floor(std::sqrt(double(x * x + y * y)))) <= r ? 255 : 0;
    const int width = source.Width() + 2 * r, height = source.Height() + 2 * r;
    std::vector<std::uint8_t> out(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            int best = 0;
            for (int v = -r; v <= r; ++v)
                for (int u = -r; u <= r; ++u)
                {
                    const int m = mask[std::abs(v) * (r + 1) + std::abs(u)];
                    best = std::max(best, std::min(At(source, x - r + u, y - r + v), m));
                }
            out[std::size_t(y) * width + x] = std::uint8_t(best);
        }
    return out;
}

std::vector<std::uint8_t> ReferenceChoke(const cChannel& source, int r)
{
    const int width = source.Width(), height = source.Height();
    std::vector<std::uint8_t> out(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            int least = 255;
            for (int v = -r; v <= r && least > 0; ++v)
                for (int u = -r; u <= r && least > 0; ++u)
                    least = std::min(least, At(source, x + u, y + v));
            out[std::size_t(y) * width + x] = std::uint8_t(least);
        }
    return out;
}

std::vector<std::uint8_t> ReferenceBlur(const cChannel& source, int width, int height, int dx, int dy, int r)
{
    std::vector<double> w(2 * r + 1);
    double sum = 0;
    for (int i = -r; i <= r; ++i)
        sum += w[i + r] = r == 0 ? 1.0 : std::exp(-double(i * i) / (2.0 * r * r));
    std::vector<std::uint32_t> k(w.size());
    for (std::size_t i = 0; i < w.size(); ++i)
        k[i] = std::uint32_t(w[i] / sum * 65536.0);
    std::vector<std::uint8_t> pass(std::size_t(width) * height), out(pass.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            std::uint64_t acc = 0;
            for (int j = 0; j <= 2 * r; ++j)
                acc += std::uint64_t(At(source, x + j - r - dx, y - dy)) * k[j];
            pass[std::size_t(y) * width + x] = std::uint8_t(acc / 65536);
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            std::uint64_t acc = 0;
            for (int j = 0; j <= 2 * r; ++j)
                acc += std::uint64_t(pass[std::size_t(std::clamp(y + j - r, 0, height - 1)) * width + x]) * k[j];
            out[std::size_t(y) * width + x] = std::uint8_t(acc / 65536);
        }
    return out;
}

std::vector<std::uint8_t> Values(const cChannel& c)
{
    std::vector<std::uint8_t> values;
    for (int y = 0; y < c.Height(); ++y)
        values.insert(values.end(), c.Row(y), c.Row(y) + c.Width());
    return values;
}

// Random noise, or random blobs with empty space between them.
cChannel RandomChannel(int width, int height, unsigned seed, bool blobs)
{
    cChannel channel;
    EXPECT_TRUE(channel.Create(width, height));
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const unsigned value = random() % 256;
            channel.SetValue(x, y, std::uint8_t(blobs ? (value < 200 ? 0 : value) : value));
        }
    if (blobs)
    {
        for (int i = 0; i < 3; ++i)
        {
            const int cx = int(random() % width), cy = int(random() % height), r = 2 + int(random() % 6);
            for (int y = std::max(0, cy - r); y < std::min(height, cy + r + 1); ++y)
                for (int x = std::max(0, cx - r); x < std::min(width, cx + r + 1); ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                        channel.SetValue(x, y, 255);
        }
    }
    return channel;
}

// Runs the tests with two workers so the parallel paths are exercised,
// whatever the machine has.
class ChannelFilter : public ::testing::Test
{
protected:
    void SetUp() override { Thread::cParallelFor::SetWorkerCount(2); }
    void TearDown() override { Thread::cParallelFor::SetWorkerCount(0); }
};

const int kRadii[] = {0, 1, 2, 3, 7, 10};

} // namespace

TEST(ChannelLife, CreateStrideKeepAndCopyFrom)
{
    cChannel channel;
    EXPECT_FALSE(channel.Create(0, 5));
    EXPECT_FALSE(channel.Create(5, -1));
    EXPECT_TRUE(channel.IsEmpty());
    ASSERT_TRUE(channel.Create(5, 3));
    EXPECT_EQ(channel.Stride(), 8);
    channel.Clear();
    channel.SetValue(4, 2, 9);
    const std::uint8_t* bits = channel.Bits();
    ASSERT_TRUE(channel.Create(5, 3));
    EXPECT_EQ(channel.Bits(), bits);
    EXPECT_EQ(channel.Value(4, 2), 9);

    cChannel patch;
    ASSERT_TRUE(patch.Create(2, 2));
    std::memset(patch.Bits(), 7, std::size_t(patch.Stride()) * 2);
    channel.Clear();
    channel.CopyFrom(-1, 2, patch);  // only (0, 2) lands inside
    channel.CopyFrom(4, -1, patch);  // only (4, 0)
    EXPECT_EQ(Values(channel), (std::vector<std::uint8_t>{0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0}));

    cChannel copy(channel);
    EXPECT_EQ(Values(copy), Values(channel));
    EXPECT_NE(copy.Bits(), channel.Bits());
}

TEST_F(ChannelFilter, SpreadEqualsTheDiscRule)
{
    for (const bool blobs : {false, true})
        for (const int r : kRadii)
        {
            const cChannel source = RandomChannel(37, 23, 1000u + unsigned(r), blobs);
            cChannel result;
            ASSERT_TRUE(result.Spread(source, r));
            ASSERT_EQ(result.Width(), 37 + 2 * r);
            ASSERT_EQ(result.Height(), 23 + 2 * r);
            EXPECT_EQ(Values(result), ReferenceSpread(source, r)) << "radius " << r << " blobs " << blobs;
        }
}

TEST_F(ChannelFilter, ChokeEqualsTheSquareRule)
{
    for (const bool blobs : {false, true})
        for (const int r : kRadii)
        {
            cChannel source = RandomChannel(41, 29, 2000u + unsigned(r), blobs);
            if (!blobs)  // mostly high values, so that minima are not all 0
                for (int y = 0; y < source.Height(); ++y)
                    for (int x = 0; x < source.Width(); ++x)
                        source.SetValue(x, y, std::uint8_t(std::max<int>(source.Value(x, y), 180 + (x * y) % 60)));
            cChannel result;
            ASSERT_TRUE(result.Choke(source, r));
            ASSERT_EQ(result.Width(), 41);
            EXPECT_EQ(Values(result), ReferenceChoke(source, r)) << "radius " << r << " blobs " << blobs;
        }
}

TEST_F(ChannelFilter, ChokeOfAFullSquareEatsTheEdges)
{
    cChannel full;
    ASSERT_TRUE(full.Create(9, 9));
    std::memset(full.Bits(), 255, std::size_t(full.Stride()) * 9);
    cChannel result;
    ASSERT_TRUE(result.Choke(full, 2));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(result.Value(x, y), x >= 2 && x < 7 && y >= 2 && y < 7 ? 255 : 0) << x << "," << y;
    // A square larger than the channel leaves nothing.
    ASSERT_TRUE(result.Choke(full, 5));
    EXPECT_EQ(Values(result), std::vector<std::uint8_t>(81, 0));
}

TEST_F(ChannelFilter, BlurOfADeltaMatchesTheKernel)
{
    cChannel delta;
    ASSERT_TRUE(delta.Create(21, 21));
    delta.Clear();
    delta.SetValue(10, 10, 255);
    cChannel result;
    ASSERT_TRUE(result.Blur(delta, 0, 0, 3));
    ASSERT_EQ(result.Width(), 21);
    EXPECT_EQ(Values(result), ReferenceBlur(delta, 21, 21, 0, 0, 3));
    // Symmetric, peaked in the middle, and spread out.
    int total = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
        {
            EXPECT_EQ(result.Value(x, y), result.Value(20 - x, y));
            EXPECT_EQ(result.Value(x, y), result.Value(x, 20 - y));
            EXPECT_LE(result.Value(x, y), result.Value(10, 10));
            total += result.Value(x, y);
        }
    EXPECT_GT(result.Value(10, 10), 0);
    EXPECT_LT(result.Value(10, 10), 255);
    EXPECT_GT(result.Value(12, 10), 0);
    EXPECT_NEAR(total, 255, 60);  // truncation loses a little
}

TEST_F(ChannelFilter, BlurMovesTheSourceIntoTheTargetSize)
{
    const cChannel source = RandomChannel(19, 13, 77, true);
    for (const int r : {0, 1, 4, 9})
        for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{3, 3}, std::pair{-2, 5}, std::pair{40, 0}})
        {
            cChannel target;
            ASSERT_TRUE(target.Create(25, 19));
            ASSERT_TRUE(target.Blur(source, dx, dy, r));
            ASSERT_EQ(target.Width(), 25);
            EXPECT_EQ(Values(target), ReferenceBlur(source, 25, 19, dx, dy, r))
                << "radius " << r << " offset " << dx << "," << dy;
        }
}

TEST_F(ChannelFilter, RadiusZeroCopiesAtTheOffset)
{
    const cChannel source = RandomChannel(6, 4, 5, false);
    cChannel target;
    ASSERT_TRUE(target.Create(8, 6));
    ASSERT_TRUE(target.Blur(source, 1, 2, 0));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(target.Value(x, y), At(source, x - 1, y - 2));
}

TEST_F(ChannelFilter, NegativeAndHugeRadii)
{
    const cChannel source = RandomChannel(8, 8, 9, false);
    cChannel target(source);
    EXPECT_FALSE(target.Blur(source, 0, 0, -1));
    EXPECT_FALSE(target.Spread(source, -1));
    EXPECT_FALSE(target.Choke(source, -3));
    EXPECT_EQ(Values(target), Values(source));  // unchanged

    // A result larger than any channel: refused, nothing overflows.
    EXPECT_FALSE(target.Spread(source, INT32_MAX));
    EXPECT_FALSE(target.Spread(source, 1 << 30));
    EXPECT_EQ(Values(target), Values(source));

    ASSERT_TRUE(target.Choke(source, INT32_MAX));
    EXPECT_EQ(Values(target), std::vector<std::uint8_t>(64, 0));
    // Every truncated weight of such a kernel is 0: the blur is empty.
    cChannel blurred;
    ASSERT_TRUE(blurred.Blur(source, INT32_MAX, INT32_MIN, INT32_MAX));
    EXPECT_EQ(Values(blurred), std::vector<std::uint8_t>(64, 0));
    ASSERT_TRUE(blurred.Blur(source, 0, 0, 30000));
    EXPECT_EQ(Values(blurred), std::vector<std::uint8_t>(64, 0));
    // Offsets far outside only give an empty result.
    ASSERT_TRUE(blurred.Blur(source, INT32_MIN, INT32_MAX, 2));
    EXPECT_EQ(Values(blurred), std::vector<std::uint8_t>(64, 0));

    cChannel empty;
    EXPECT_FALSE(target.Spread(empty, 2));
    EXPECT_FALSE(target.Blur(empty, 0, 0, 2));
}

TEST_F(ChannelFilter, FiltersIntoTheirOwnSource)
{
    const cChannel source = RandomChannel(16, 12, 11, true);
    cChannel expected, same(source);
    ASSERT_TRUE(expected.Spread(source, 3));
    ASSERT_TRUE(same.Spread(same, 3));
    EXPECT_EQ(Values(same), Values(expected));

    same = source;
    ASSERT_TRUE(expected.Choke(source, 2));
    ASSERT_TRUE(same.Choke(same, 2));
    EXPECT_EQ(Values(same), Values(expected));

    same = source;
    expected = cChannel();
    ASSERT_TRUE(expected.Blur(source, 1, 1, 2));
    ASSERT_TRUE(same.Blur(same, 1, 1, 2));
    EXPECT_EQ(Values(same), Values(expected));
}

TEST(ChannelThreads, ResultsDoNotDependOnTheWorkerCount)
{
    const cChannel source = RandomChannel(301, 157, 4242, true);
    std::vector<std::uint8_t> results[3][3];
    const int counts[] = {1, 2, 5};
    for (int i = 0; i < 3; ++i)
    {
        Thread::cParallelFor::SetWorkerCount(counts[i]);
        cChannel blur, spread, choke;
        ASSERT_TRUE(blur.Blur(source, 2, -3, 6));
        ASSERT_TRUE(spread.Spread(source, 6));
        ASSERT_TRUE(choke.Choke(source, 2));
        results[i][0] = Values(blur);
        results[i][1] = Values(spread);
        results[i][2] = Values(choke);
    }
    Thread::cParallelFor::SetWorkerCount(0);
    for (int i = 1; i < 3; ++i)
        for (int f = 0; f < 3; ++f)
            EXPECT_EQ(results[i][f], results[0][f]) << "workers " << counts[i] << " filter " << f;
}
