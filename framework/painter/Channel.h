#pragma once

// Painter::cChannel: an 8-bit plane, one byte per pixel, 0 empty and 255
// full; row 0 at the top, the stride is the width rounded up to a multiple
// of 8. Used as a mask and as the working surface of blur, spread and choke,
// which run their rows in parallel.

#include <cstddef>
#include <cstdint>

namespace Painter {

class cChannel
{
public:
    cChannel() = default;
    cChannel(const cChannel& other);
    cChannel& operator=(const cChannel& other);
    cChannel(cChannel&& other) noexcept;
    cChannel& operator=(cChannel&& other) noexcept;
    virtual ~cChannel();

    // Keeps the bits when the size is unchanged, else reallocates (not
    // cleared). A width or height below 1 leaves the channel empty: false.
    bool Create(std::int32_t width, std::int32_t height);
    void Release();
    void Clear();
    // Copies `source` in with its top left at (x, y), clipped to this channel.
    void CopyFrom(std::int32_t x, std::int32_t y, const cChannel& source);

    // Gaussian blur (sigma = radius) of `source` moved by (dx, dy). The
    // result has this channel's size, or the source's when this one is
    // empty. False for a negative radius or an empty source.
    bool Blur(const cChannel& source, std::int32_t dx, std::int32_t dy, std::int32_t radius);
    // Grows the covered area by a disc of `radius`; the result is larger by
    // `radius` on every side. False for a negative radius, an empty source
    // or a result too large to allocate.
    bool Spread(const cChannel& source, std::int32_t radius);
    // Shrinks the covered area by a square of half-size `radius`, pixels
    // outside counting as 0; the result has the source's size.
    bool Choke(const cChannel& source, std::int32_t radius);

    bool IsEmpty() const { return m_bits == nullptr; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    std::int32_t Stride() const { return m_stride; }
    std::uint8_t* Bits() { return m_bits; }
    const std::uint8_t* Bits() const { return m_bits; }
    std::uint8_t* Row(std::int32_t y) { return m_bits + static_cast<std::ptrdiff_t>(y) * m_stride; }
    const std::uint8_t* Row(std::int32_t y) const { return m_bits + static_cast<std::ptrdiff_t>(y) * m_stride; }
    std::uint8_t Value(std::int32_t x, std::int32_t y) const { return Row(y)[x]; }
    void SetValue(std::int32_t x, std::int32_t y, std::uint8_t value) { Row(y)[x] = value; }

private:
    std::uint8_t* m_bits = nullptr;
    bool m_owns = false;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::int32_t m_stride = 0;
};

} // namespace Painter
