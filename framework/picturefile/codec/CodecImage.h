#pragma once

// The raster the format codecs work on: 32-bit pixels whose bytes are
// blue, green, red, alpha (0xAARRGGBB read as a little-endian integer),
// rows top first, straight alpha. It is the layout of a FORMAT_ARGB32
// Painter::cPicture, so a picture can be handed to an encoder without a
// copy (sPixelView) and a decoder's result copied into one row by row.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/picturefile/PixelBudget.h"

namespace PictureFile {

// Largest width or height of a picture.
inline constexpr int MaxPictureSide = 32767;
// The per-call pixel limit of the decoders when the caller names none:
// every side in range. The shared pixel budget (PixelBudget.h) applies on
// top of any limit.
inline constexpr std::uint64_t MaxPicturePixels = std::uint64_t(MaxPictureSide) * MaxPictureSide;

// A borrowed 32-bit raster.
struct sPixelView
{
    const std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;    // bytes from one row to the next

    const std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(bits + std::ptrdiff_t(y) * stride);
    }
    bool IsValid() const
    {
        return bits && width >= 1 && height >= 1 && width <= MaxPictureSide && height <= MaxPictureSide &&
               stride >= std::ptrdiff_t(width) * 4;
    }
    // True when every alpha byte is 255.
    bool IsOpaque() const;
    // True when some alpha byte is 0.
    bool HasTransparentPixel() const;
};

// An owned 32-bit raster, filled by the decoders.
class cCodecImage
{
public:
    // Allocates width x height pixels, not cleared: the decoder writes
    // every one. False, leaving the image unchanged, for a size outside
    // 1..MaxPictureSide, more than maxPixels pixels or more than the pixel
    // budget, or a failed allocation. Never throws.
    bool Create(int width, int height, std::uint64_t maxPixels = MaxPicturePixels);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0; }
    std::uint32_t* Row(int y) { return m_pixels.get() + std::size_t(y) * std::size_t(m_width); }
    const std::uint32_t* Row(int y) const { return m_pixels.get() + std::size_t(y) * std::size_t(m_width); }
    sPixelView View() const;

    // True when the file stored an alpha channel or a transparent colour;
    // the decoder sets it. Opaque files leave every alpha byte at 255.
    bool HasAlpha() const { return m_hasAlpha; }
    void SetHasAlpha(bool hasAlpha) { m_hasAlpha = hasAlpha; }

private:
    std::unique_ptr<std::uint32_t[]> m_pixels;
    int m_width = 0;
    int m_height = 0;
    bool m_hasAlpha = false;
};

// Channel helpers for 0xAARRGGBB values.
inline std::uint8_t BlueOf(std::uint32_t c) { return std::uint8_t(c); }
inline std::uint8_t GreenOf(std::uint32_t c) { return std::uint8_t(c >> 8); }
inline std::uint8_t RedOf(std::uint32_t c) { return std::uint8_t(c >> 16); }
inline std::uint8_t AlphaOf(std::uint32_t c) { return std::uint8_t(c >> 24); }
inline std::uint32_t MakeColour(unsigned r, unsigned g, unsigned b, unsigned a = 255)
{
    return (std::uint32_t(a) << 24) | (std::uint32_t(r & 255) << 16) | (std::uint32_t(g & 255) << 8) | (b & 255);
}

} // namespace PictureFile
