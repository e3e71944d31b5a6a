#pragma once

// The pixel budget shared by every picture reader. A reader refuses a
// picture of more pixels than the budget before it allocates anything for
// it, on top of its own rule that a picture must not be larger than its
// data can encode. The budget is one value for the whole process: the
// default holds a 16384 x 16384 picture (1 GiB in the working format);
// callers may lower it (a fuzz harness, a program that knows its pictures
// are small), never raise it above the default.

#include <cstdint>

namespace PictureFile {

inline constexpr std::uint64_t DefaultPixelBudget = std::uint64_t(1) << 28;

// The current budget, DefaultPixelBudget unless lowered.
std::uint64_t PixelBudget();

// Sets the budget to `pixels`, at most DefaultPixelBudget (larger values
// and 0 restore the default). Safe to call from any thread; readers that
// are running keep the budget they started with.
void SetPixelBudget(std::uint64_t pixels);

// True when a width x height picture is within the budget and within
// `limit` pixels; false for a side below 1.
bool FitsPixelBudget(std::int64_t width, std::int64_t height, std::uint64_t limit = UINT64_MAX);

} // namespace PictureFile
