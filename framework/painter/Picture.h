#pragma once

// Painter::cPicture: the one in-memory raster. Rows run top first, row y
// starts at Bits() + y * Stride(), the stride is a multiple of 4 bytes, and
// FORMAT_ARGB32 pixels read as 0xAARRGGBB integers with straight alpha
// (the layout of a 32-bit top-down device-independent bitmap).
//
// Drawing operations work on FORMAT_ARGB32 pictures and do nothing on
// others. Every one of them clips its target to the clip rectangle; the
// ones with a source also clip the source rectangle to the source picture,
// moving the target by the same amount.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/painter/PictureMetadata.h"
#include "framework/painter/PixelFormat.h"
#include "framework/core/Geometry.h"

namespace Painter {

class cChannel;

class cPicture
{
public:
    cPicture() = default;
    cPicture(const cPicture& other);
    cPicture& operator=(const cPicture& other);
    cPicture(cPicture&& other) noexcept;
    cPicture& operator=(cPicture&& other) noexcept;
    virtual ~cPicture();

    // ---- Life cycle ----------------------------------------------------

    // Allocates width x height pixels of `format` (not cleared). Keeps the
    // pixels when the picture already owns exactly this format and size.
    // False for a size outside 1..32767 (picture unchanged), for a bit count
    // other than 4 or a multiple of 8 (picture empty) and when the block
    // cannot be allocated (picture empty).
    bool Create(std::int32_t format, std::int32_t width, std::int32_t height);
    // Frees owned pixels, the metadata and the palette; the picture is empty.
    void Release();
    // Takes over every field of `other` without copying; `other` is left
    // empty without anything being freed. `owns` says whether this picture
    // frees the pixels (they must come from another picture's Create then).
    void Attach(cPicture& other, bool owns);
    // Wraps pixels the caller keeps alive (such as a DIB section's memory).
    // Not owned; false for a stride too small for the row or sizes out of range.
    bool AttachBits(std::uint8_t* bits, std::int32_t format, std::int32_t width, std::int32_t height,
                    std::int32_t stride);
    // Create(FORMAT_ARGB32, other's size) then CopyPixels(other).
    bool CopyFrom(const cPicture& other);
    // Copies the pixels of `other` into this picture (over the common size):
    // a plain copy for the same format, else a conversion, which is defined
    // into FORMAT_ARGB32 only. Then copies the palette and the metadata.
    bool CopyPixels(const cPicture& other);

    // ---- Fields --------------------------------------------------------

    bool IsEmpty() const { return m_bits == nullptr; }
    std::int32_t Format() const { return m_format; }
    int BitsPerPixel() const { return FormatBits(m_format); }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    std::int32_t Stride() const { return m_stride; }
    bool OwnsBits() const { return m_owns; }
    Container::sRect Bounds() const { return Container::sRect(0, 0, m_width, m_height); }
    std::uint8_t* Bits() { return m_bits; }
    const std::uint8_t* Bits() const { return m_bits; }
    std::uint8_t* Row(std::int32_t y) { return m_bits + static_cast<std::ptrdiff_t>(y) * m_stride; }
    const std::uint8_t* Row(std::int32_t y) const { return m_bits + static_cast<std::ptrdiff_t>(y) * m_stride; }
    // A row of a 32-bit picture as pixels.
    std::uint32_t* Row32(std::int32_t y) { return reinterpret_cast<std::uint32_t*>(Row(y)); }
    const std::uint32_t* Row32(std::int32_t y) const { return reinterpret_cast<const std::uint32_t*>(Row(y)); }
    // One pixel of a 32-bit picture; no range check.
    std::uint32_t Pixel(std::int32_t x, std::int32_t y) const { return Row32(y)[x]; }
    void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t value) { Row32(y)[x] = value; }

    const Container::sRect& Clip() const { return m_clip; }
    // The clip rectangle is always kept inside the picture.
    void SetClip(const Container::sRect& clip) { m_clip = Container::Intersection(clip, Bounds()); }
    void ResetClip() { m_clip = Bounds(); }

    // ---- Palette (0xAARRGGBB entries, used by the indexed formats) -----

    // Grows the palette to at least `count` entries (capacity in multiples of
    // the growth step) and sets its count. False when memory runs out.
    bool ResizePalette(int count);
    bool SetPalette(const std::uint32_t* entries, int count);
    void SetPaletteGrowth(int step) { m_paletteGrowth = step < 1 ? 1 : step; }
    int PaletteCount() const { return static_cast<int>(m_palette.size()); }
    const std::uint32_t* Palette() const { return m_palette.data(); }
    std::uint32_t* Palette() { return m_palette.data(); }

    // ---- Metadata ------------------------------------------------------

    PictureFile::cExifInfo* Exif() const { return m_exif.Get(); }
    void SetExif(cPictureMetadata&& exif) { m_exif = std::move(exif); }

    // ---- Pixel operations ----------------------------------------------

    // Every pixel (32-bit), every 16-bit pixel (low half) or every pixel byte
    // (low byte) set to `value`.
    void Fill(std::uint32_t value);
    void FillRect(const Container::sRect& rect, std::uint32_t value);
    // From x1 (y1) to before x2 (y2); a line reaching the right (bottom) clip
    // edge stops one pixel before it.
    void HorizontalLine(std::int32_t x1, std::int32_t y, std::int32_t x2, std::uint32_t value);
    void VerticalLine(std::int32_t x, std::int32_t y1, std::int32_t y2, std::uint32_t value);
    // From x1 to before x2, composited with the normal rule, clipped at the
    // clip edge itself.
    void BlendHorizontalLine(std::int32_t x1, std::int32_t y, std::int32_t x2, std::uint32_t value);
    // Cells counted from the picture's origin; a cell size below 1 draws nothing.
    void Checkerboard(const Container::sRect& rect, std::uint32_t first, std::uint32_t second, std::int32_t cellWidth,
                      std::int32_t cellHeight);
    // Row i of n (vertical) or column i of n: per channel (from(n-i) + to i)/n.
    void GradientRect(bool vertical, std::uint32_t from, std::uint32_t to, const Container::sRect& rect);
    // Plain copy of 32-bit pixels; the source may be this picture.
    void CopyRect(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect);
    void AlphaDraw(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect);
    void AlphaDraw(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect,
                   std::uint32_t opacity);
    // Composites `colour` through the channel bytes of channelRect.
    void MaskDraw(std::int32_t x, std::int32_t y, std::uint32_t colour, const cChannel& channel,
                  const Container::sRect& channelRect);
    void BlendPixel(std::int32_t x, std::int32_t y, std::uint32_t colour, std::uint32_t coverage);
    // Mode 0 nearest neighbour, 1 bilinear, 2 alpha-weighted area average.
    // The pixels are replaced, not composited.
    void StretchDraw(int mode, const Container::sRect& destRect, const cPicture& source, const Container::sRect& sourceRect);
    void SetOpaque();
    void SetOpaque(const Container::sRect& rect);
    // Creates `channel` at this picture's size and copies the alpha bytes in.
    bool AlphaToChannel(cChannel& channel) const;
    // The smallest rectangle inside `rect` holding every pixel that differs
    // from `key`; (0, 0, 0, 0) when there is none.
    Container::sRect FindContentBounds(std::uint32_t key, const Container::sRect& rect) const;
    // Mirrors columns and/or rows in place, for any pixel size.
    void Flip(bool horizontal, bool vertical);
    // This picture (created with the swapped size) receives `source` turned
    // by a quarter turn. False when the sizes or formats do not fit.
    bool Rotate90(const cPicture& source, bool clockwise);
    // The filled ellipse inscribed in `rect`, composited.
    void Ellipse(std::uint32_t colour, const Container::sRect& rect, bool antialiased);

private:
    bool Is32() const { return m_bits != nullptr && FormatBits(m_format) == 32; }
    // Clips a transfer of sourceRect (of a source sized sourceBounds) to (x, y):
    // the source to its bounds, the target to the clip rectangle. False when empty.
    bool ClipTransfer(std::int32_t& x, std::int32_t& y, Container::sRect& sourceRect, const Container::sRect& sourceBounds) const;
    bool ConvertRowsFrom(const cPicture& other);
    void FreeBits();
    void ClearFields();
    void StretchArea(const Container::sRect& dest, const Container::sRect& writable, const cPicture& source, const Container::sRect& src);

    std::int32_t m_format = FORMAT_ARGB32;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::int32_t m_stride = 0;
    Container::sRect m_clip;
    std::uint8_t* m_bits = nullptr;
    bool m_owns = false;
    std::vector<std::uint32_t> m_palette;
    int m_paletteGrowth = 1;
    cPictureMetadata m_exif;
};

} // namespace Painter
