#pragma once

// Pixel-format codes of pictures and the size arithmetic that goes with
// them. A code keeps the bits per pixel in bits 8-15, the kind in the low
// byte, and FORMAT_ALPHA_FLAG when the fourth byte of a 32-bit pixel is
// alpha.

#include <cstddef>
#include <cstdint>

namespace Painter {

enum : std::int32_t
{
    FORMAT_INDEX4 = 0x404,    // two palette indices per byte, high nibble first
    FORMAT_INDEX8 = 0x804,    // one palette index per byte
    FORMAT_RGB15 = 0x1002,    // little-endian word: blue bits 0-4, green 5-9, red 10-14
    FORMAT_RGB16 = 0x1003,    // the same 5-5-5 layout, declared as 16 bits by its file
    FORMAT_RGB24 = 0x1805,    // bytes B, G, R
    FORMAT_RGB32 = 0x2001,    // bytes B, G, R, ignored
    FORMAT_ARGB32 = 0x12000,  // bytes B, G, R, A (straight alpha): the working format
};

constexpr std::int32_t FORMAT_ALPHA_FLAG = 0x10000;

// Width and height of an allocated picture.
constexpr std::int32_t kMaxPictureSize = 32767;

constexpr int FormatBits(std::int32_t format) { return (format >> 8) & 0xFF; }
constexpr bool FormatHasAlpha(std::int32_t format) { return (format & FORMAT_ALPHA_FLAG) != 0; }
// Whole bytes per pixel; 0 for the 4-bit format.
constexpr int FormatBytesPerPixel(std::int32_t format) { return FormatBits(format) / 8; }
// The bit counts a picture can be created with: 4 or a positive multiple of 8.
constexpr bool IsValidFormatBits(int bits) { return bits == 4 || (bits > 0 && bits % 8 == 0); }

// Bytes that hold the pixels of one row: width x bits rounded up to whole
// bytes (never less than 1).
constexpr std::int64_t RowPixelBytes(std::int64_t width, int bits)
{
    const std::int64_t bytes = (width * bits + 7) / 8;
    return bytes < 1 ? 1 : bytes;
}

// Bytes per row of a picture: the pixel bytes rounded up to a multiple of 4.
constexpr std::int64_t PictureStride(std::int64_t width, int bits)
{
    return (RowPixelBytes(width, bits) + 3) & ~std::int64_t(3);
}

// The largest single block this build hands to the allocator: half the
// address space (what a pointer difference can span).
constexpr std::uint64_t kMaxBlockBytes = static_cast<std::uint64_t>(PTRDIFF_MAX);

// Size in bytes of stride x height computed in 64 bits. False when either
// factor is negative or the product exceeds `limit` (so a 32-bit build
// rejects a 4 GiB picture instead of wrapping around).
constexpr bool BlockBytes(std::int64_t stride, std::int64_t height, std::uint64_t limit, std::size_t& bytes)
{
    if (stride < 0 || height < 0)
        return false;
    if (stride != 0 && static_cast<std::uint64_t>(height) > limit / static_cast<std::uint64_t>(stride))
        return false;
    const std::uint64_t product = static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height);
    if (product > static_cast<std::uint64_t>(SIZE_MAX))
        return false;
    bytes = static_cast<std::size_t>(product);
    return true;
}

} // namespace Painter
