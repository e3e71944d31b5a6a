#include "framework/picturefile/PixelBudget.h"

#include <atomic>

namespace PictureFile {

namespace {

std::atomic<std::uint64_t> g_budget{DefaultPixelBudget};

} // namespace

std::uint64_t PixelBudget()
{
    return g_budget.load(std::memory_order_relaxed);
}

void SetPixelBudget(std::uint64_t pixels)
{
    g_budget.store(pixels == 0 || pixels > DefaultPixelBudget ? DefaultPixelBudget : pixels,
                   std::memory_order_relaxed);
}

bool FitsPixelBudget(std::int64_t width, std::int64_t height, std::uint64_t limit)
{
    if (width < 1 || height < 1)
        return false;
    // Both sides below 2^32 keep the product within 64 bits.
    if (width > INT64_C(0xFFFFFFFF) || height > INT64_C(0xFFFFFFFF))
        return false;
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    const std::uint64_t budget = PixelBudget();
    return pixels <= budget && pixels <= limit;
}

} // namespace PictureFile
