#include "framework/painter/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "framework/painter/AlphaComposite.h"
#include "framework/painter/Channel.h"

namespace Painter {

namespace {

// Opaque black: what an index beyond the end of the palette reads as.
constexpr std::uint32_t kOutOfPaletteColour = 0xFF000000u;

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

std::uint32_t Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

} // namespace

// ---- Life cycle -----------------------------------------------------------

cPicture::cPicture(const cPicture& other)
{
    if (!other.IsEmpty())
        CopyFrom(other);
}

cPicture& cPicture::operator=(const cPicture& other)
{
    if (this != &other)
    {
        if (other.IsEmpty())
            Release();
        else
            CopyFrom(other);
    }
    return *this;
}

cPicture::cPicture(cPicture&& other) noexcept { Attach(other, other.m_owns); }

cPicture& cPicture::operator=(cPicture&& other) noexcept
{
    if (this != &other)
        Attach(other, other.m_owns);
    return *this;
}

cPicture::~cPicture() { Release(); }

void cPicture::FreeBits()
{
    // Owned blocks are allocated as 32-bit words (the stride is a multiple
    // of 4), so rows can be used as arrays of pixels.
    if (m_owns && m_bits)
        delete[] reinterpret_cast<std::uint32_t*>(m_bits);
    m_bits = nullptr;
    m_owns = false;
}

void cPicture::ClearFields()
{
    m_bits = nullptr;
    m_owns = false;
    m_width = 0;
    m_height = 0;
    m_stride = 0;
    m_clip = Container::sRect();
}

void cPicture::Release()
{
    FreeBits();
    m_exif.Reset();
    m_palette.clear();
    m_palette.shrink_to_fit();
    ClearFields();
}

bool cPicture::Create(std::int32_t format, std::int32_t width, std::int32_t height)
{
    if (m_bits && m_owns && m_format == format && m_width == width && m_height == height)
        return true;
    if (width < 1 || width > kMaxPictureSize || height < 1 || height > kMaxPictureSize)
        return false;
    Release();
    const int bits = FormatBits(format);
    if (!IsValidFormatBits(bits))
        return false;

    const std::int64_t stride = PictureStride(width, bits);
    std::size_t bytes = 0;
    if (stride > INT32_MAX || !BlockBytes(stride, height, kMaxBlockBytes, bytes))
        return false;
    std::uint32_t* block = new (std::nothrow) std::uint32_t[bytes / 4];
    if (!block)
        return false;

    m_format = format;
    m_width = width;
    m_height = height;
    m_stride = static_cast<std::int32_t>(stride);
    m_clip = Bounds();
    m_bits = reinterpret_cast<std::uint8_t*>(block);
    m_owns = true;
    return true;
}

void cPicture::Attach(cPicture& other, bool owns)
{
    if (&other == this)
    {
        m_owns = owns;
        return;
    }
    Release();
    m_format = other.m_format;
    m_width = other.m_width;
    m_height = other.m_height;
    m_stride = other.m_stride;
    m_clip = other.m_clip;
    m_bits = other.m_bits;
    m_owns = owns && other.m_bits != nullptr;
    m_palette = std::move(other.m_palette);
    m_paletteGrowth = other.m_paletteGrowth;
    m_exif = std::move(other.m_exif);
    other.m_palette.clear();
    other.ClearFields();
}

bool cPicture::AttachBits(std::uint8_t* bits, std::int32_t format, std::int32_t width, std::int32_t height,
                          std::int32_t stride)
{
    const int bitCount = FormatBits(format);
    if (!bits || width < 1 || width > kMaxPictureSize || height < 1 || height > kMaxPictureSize ||
        !IsValidFormatBits(bitCount) || stride < RowPixelBytes(width, bitCount) || stride % 4 != 0)
        return false;
    Release();
    m_format = format;
    m_width = width;
    m_height = height;
    m_stride = stride;
    m_clip = Bounds();
    m_bits = bits;
    m_owns = false;
    return true;
}

bool cPicture::CopyFrom(const cPicture& other)
{
    if (&other == this)
        return !IsEmpty();
    if (other.IsEmpty() || !Create(FORMAT_ARGB32, other.m_width, other.m_height))
        return false;
    return CopyPixels(other);
}

bool cPicture::CopyPixels(const cPicture& other)
{
    if (&other == this)
        return !IsEmpty();
    if (IsEmpty() || other.IsEmpty())
        return false;
    if (m_format == other.m_format)
    {
        const std::int32_t width = std::min(m_width, other.m_width);
        const std::int32_t height = std::min(m_height, other.m_height);
        const std::size_t rowBytes = static_cast<std::size_t>(RowPixelBytes(width, BitsPerPixel()));
        for (std::int32_t y = 0; y < height; ++y)
            std::memcpy(Row(y), other.Row(y), rowBytes);
    }
    else if (!ConvertRowsFrom(other))
    {
        return false;
    }

    if (&m_palette != &other.m_palette)
    {
        std::vector<std::uint32_t> palette;
        try
        {
            palette = other.m_palette;
        }
        catch (const std::bad_alloc&)
        {
            return false;
        }
        m_palette = std::move(palette);
    }
    m_exif = other.m_exif.Clone();
    return true;
}

// Conversion of any supported format into FORMAT_ARGB32. Indexed pixels
// look up the palette (alpha 255); an index beyond the palette reads as
// opaque black; without a palette the index is a grey level.
bool cPicture::ConvertRowsFrom(const cPicture& other)
{
    if (m_format != FORMAT_ARGB32)
        return false;
    const int bits = other.BitsPerPixel();
    if (bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;

    const std::int32_t width = std::min(m_width, other.m_width);
    const std::int32_t height = std::min(m_height, other.m_height);
    const std::uint32_t* palette = other.m_palette.data();
    const std::size_t paletteCount = other.m_palette.size();
    auto lookup = [&](unsigned index, unsigned grey) -> std::uint32_t {
        if (paletteCount == 0)
            return 0xFF000000u | grey * 0x010101u;
        return index < paletteCount ? (palette[index] | 0xFF000000u) : kOutOfPaletteColour;
    };

    for (std::int32_t y = 0; y < height; ++y)
    {
        const std::uint8_t* in = other.Row(y);
        std::uint32_t* out = Row32(y);
        switch (bits)
        {
        case 4:
            for (std::int32_t x = 0; x < width; ++x)
            {
                const unsigned byte = in[x >> 1];
                const unsigned index = (x & 1) ? (byte & 0x0F) : (byte >> 4);
                out[x] = lookup(index, index * 17);
            }
            break;
        case 8:
            for (std::int32_t x = 0; x < width; ++x)
                out[x] = lookup(in[x], in[x]);
            break;
        case 16:
            for (std::int32_t x = 0; x < width; ++x)
            {
                const unsigned word = in[2 * x] | (in[2 * x + 1] << 8);
                const unsigned blue = (word & 0x1F) << 3;
                const unsigned green = ((word >> 5) & 0x1F) << 3;
                const unsigned red = ((word >> 10) & 0x1F) << 3;
                out[x] = 0xFF000000u | (red << 16) | (green << 8) | blue;
            }
            break;
        case 24:
            for (std::int32_t x = 0; x < width; ++x)
            {
                const std::uint8_t* p = in + 3 * x;
                out[x] = 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
            }
            break;
        case 32:
        {
            const std::uint32_t* in32 = reinterpret_cast<const std::uint32_t*>(in);
            const std::uint32_t alphaMask = FormatHasAlpha(other.m_format) ? 0 : 0xFF000000u;
            for (std::int32_t x = 0; x < width; ++x)
                out[x] = in32[x] | alphaMask;
            break;
        }
        }
    }
    return true;
}

// ---- Palette --------------------------------------------------------------

bool cPicture::ResizePalette(int count)
{
    if (count < 0)
        return false;
    try
    {
        const std::size_t step = static_cast<std::size_t>(m_paletteGrowth);
        const std::size_t wanted = static_cast<std::size_t>(count);
        if (wanted > m_palette.capacity())
            m_palette.reserve((wanted + step - 1) / step * step);
        m_palette.resize(wanted);
    }
    catch (const std::exception&)
    {
        return false;
    }
    return true;
}

bool cPicture::SetPalette(const std::uint32_t* entries, int count)
{
    if (count < 0 || (count > 0 && !entries) || !ResizePalette(count))
        return false;
    if (count > 0)
        std::memcpy(m_palette.data(), entries, static_cast<std::size_t>(count) * sizeof(std::uint32_t));
    return true;
}

// ---- Fills and lines ------------------------------------------------------

void cPicture::Fill(std::uint32_t value)
{
    if (IsEmpty())
        return;
    const int bits = BitsPerPixel();
    for (std::int32_t y = 0; y < m_height; ++y)
    {
        std::uint8_t* row = Row(y);
        if (bits == 32)
            std::fill_n(reinterpret_cast<std::uint32_t*>(row), m_width, value);
        else if (bits == 16)
            for (std::int32_t x = 0; x < m_width; ++x)
            {
                row[2 * x] = static_cast<std::uint8_t>(value);
                row[2 * x + 1] = static_cast<std::uint8_t>(value >> 8);
            }
        else
            std::memset(row, static_cast<std::uint8_t>(value), static_cast<std::size_t>(RowPixelBytes(m_width, bits)));
    }
}

void cPicture::FillRect(const Container::sRect& rect, std::uint32_t value)
{
    if (!Is32())
        return;
    const Container::sRect r = Container::Intersection(rect, m_clip);
    for (std::int32_t y = r.top; y < r.bottom; ++y)
        std::fill(Row32(y) + r.left, Row32(y) + r.right, value);
}

void cPicture::HorizontalLine(std::int32_t x1, std::int32_t y, std::int32_t x2, std::uint32_t value)
{
    if (!Is32() || y < m_clip.top || y >= m_clip.bottom)
        return;
    const std::int32_t end = x2 >= m_clip.right ? m_clip.right - 1 : x2;
    const std::int32_t start = std::max(x1, m_clip.left);
    if (start < end)
        std::fill(Row32(y) + start, Row32(y) + end, value);
}

void cPicture::VerticalLine(std::int32_t x, std::int32_t y1, std::int32_t y2, std::uint32_t value)
{
    if (!Is32() || x < m_clip.left || x >= m_clip.right)
        return;
    const std::int32_t end = y2 >= m_clip.bottom ? m_clip.bottom - 1 : y2;
    for (std::int32_t y = std::max(y1, m_clip.top); y < end; ++y)
        Row32(y)[x] = value;
}

void cPicture::BlendHorizontalLine(std::int32_t x1, std::int32_t y, std::int32_t x2, std::uint32_t value)
{
    if (!Is32() || y < m_clip.top || y >= m_clip.bottom)
        return;
    std::uint32_t* row = Row32(y);
    for (std::int32_t x = std::max(x1, m_clip.left), end = std::min(x2, m_clip.right); x < end; ++x)
        row[x] = BlendNormal(row[x], value);
}

void cPicture::Checkerboard(const Container::sRect& rect, std::uint32_t first, std::uint32_t second, std::int32_t cellWidth,
                            std::int32_t cellHeight)
{
    if (!Is32() || cellWidth < 1 || cellHeight < 1)
        return;
    const Container::sRect r = Container::Intersection(rect, m_clip);
    for (std::int32_t y = r.top; y < r.bottom; ++y)
    {
        std::uint32_t* row = Row32(y);
        const std::int32_t cellRow = y / cellHeight;
        for (std::int32_t x = r.left; x < r.right; ++x)
            row[x] = (((x / cellWidth) ^ cellRow) & 1) ? second : first;
    }
}

void cPicture::GradientRect(bool vertical, std::uint32_t from, std::uint32_t to, const Container::sRect& rect)
{
    if (!Is32() || rect.IsEmpty())
        return;
    const Container::sRect r = Container::Intersection(rect, m_clip);
    if (r.IsEmpty())
        return;
    const std::int64_t n = vertical ? std::int64_t(rect.bottom) - rect.top : std::int64_t(rect.right) - rect.left;
    auto colourAt = [&](std::int64_t i) {
        std::uint32_t colour = 0;
        for (int shift = 0; shift < 32; shift += 8)
        {
            const std::int64_t c = (Channel(from, shift) * (n - i) + Channel(to, shift) * i) / n;
            colour |= static_cast<std::uint32_t>(c) << shift;
        }
        return colour;
    };
    if (vertical)
    {
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            std::fill(Row32(y) + r.left, Row32(y) + r.right, colourAt(std::int64_t(y) - rect.top));
    }
    else
    {
        for (std::int32_t x = r.left; x < r.right; ++x)
        {
            const std::uint32_t colour = colourAt(std::int64_t(x) - rect.left);
            for (std::int32_t y = r.top; y < r.bottom; ++y)
                Row32(y)[x] = colour;
        }
    }
}

// ---- Transfers ------------------------------------------------------------

bool cPicture::ClipTransfer(std::int32_t& x, std::int32_t& y, Container::sRect& sourceRect, const Container::sRect& sourceBounds) const
{
    // Source to its picture; the target follows.
    std::int64_t tx = x, ty = y;
    std::int64_t sl = sourceRect.left, st = sourceRect.top, sr = sourceRect.right, sb = sourceRect.bottom;
    if (sl < sourceBounds.left) { tx += sourceBounds.left - sl; sl = sourceBounds.left; }
    if (st < sourceBounds.top) { ty += sourceBounds.top - st; st = sourceBounds.top; }
    sr = std::min<std::int64_t>(sr, sourceBounds.right);
    sb = std::min<std::int64_t>(sb, sourceBounds.bottom);
    if (sr <= sl || sb <= st)
        return false;

    // Target to the clip rectangle; the source follows.
    std::int64_t tr = tx + (sr - sl), tb = ty + (sb - st);
    if (tx < m_clip.left) { sl += m_clip.left - tx; tx = m_clip.left; }
    if (ty < m_clip.top) { st += m_clip.top - ty; ty = m_clip.top; }
    tr = std::min<std::int64_t>(tr, m_clip.right);
    tb = std::min<std::int64_t>(tb, m_clip.bottom);
    if (tr <= tx || tb <= ty)
        return false;

    x = static_cast<std::int32_t>(tx);
    y = static_cast<std::int32_t>(ty);
    sourceRect = Container::sRect(static_cast<std::int32_t>(sl), static_cast<std::int32_t>(st),
                       static_cast<std::int32_t>(sl + (tr - tx)), static_cast<std::int32_t>(st + (tb - ty)));
    return true;
}

void cPicture::CopyRect(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect)
{
    if (!Is32() || !source.Is32())
        return;
    Container::sRect src = sourceRect;
    if (!ClipTransfer(x, y, src, source.Bounds()))
        return;
    const std::size_t bytes = static_cast<std::size_t>(src.Width()) * 4;
    const std::int32_t rows = src.Height();
    // Within one picture, copy rows in the direction that never reads a row
    // already overwritten.
    const bool backwards = &source == this && y > src.top;
    for (std::int32_t i = 0; i < rows; ++i)
    {
        const std::int32_t r = backwards ? rows - 1 - i : i;
        std::memmove(Row32(y + r) + x, source.Row32(src.top + r) + src.left, bytes);
    }
}

void cPicture::AlphaDraw(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect)
{
    AlphaDraw(x, y, source, sourceRect, 255);
}

void cPicture::AlphaDraw(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect,
                         std::uint32_t opacity)
{
    if (!Is32() || !source.Is32() || opacity == 0)
        return;
    opacity = std::min<std::uint32_t>(opacity, 255);
    Container::sRect src = sourceRect;
    if (!ClipTransfer(x, y, src, source.Bounds()))
        return;
    if (&source == this)
    {
        // Compositing a picture onto itself: work from a copy of the source part.
        cPicture copy;
        if (!copy.Create(FORMAT_ARGB32, src.Width(), src.Height()))
            return;
        copy.CopyRect(0, 0, source, src);
        AlphaDraw(x, y, copy, copy.Bounds(), opacity);
        return;
    }
    for (std::int32_t r = 0; r < src.Height(); ++r)
    {
        std::uint32_t* out = Row32(y + r) + x;
        const std::uint32_t* in = source.Row32(src.top + r) + src.left;
        for (std::int32_t i = 0; i < src.Width(); ++i)
        {
            const std::uint32_t s = in[i];
            const std::uint32_t alpha = opacity == 255 ? (s >> 24) : ScaleAlpha(s >> 24, opacity);
            out[i] = BlendNormal(out[i], s, alpha);
        }
    }
}

void cPicture::MaskDraw(std::int32_t x, std::int32_t y, std::uint32_t colour, const cChannel& channel,
                        const Container::sRect& channelRect)
{
    const std::uint32_t colourAlpha = colour >> 24;
    if (!Is32() || channel.IsEmpty() || colourAlpha == 0)
        return;
    Container::sRect src = channelRect;
    if (!ClipTransfer(x, y, src, Container::sRect(0, 0, channel.Width(), channel.Height())))
        return;
    for (std::int32_t r = 0; r < src.Height(); ++r)
    {
        std::uint32_t* out = Row32(y + r) + x;
        const std::uint8_t* mask = channel.Row(src.top + r) + src.left;
        for (std::int32_t i = 0; i < src.Width(); ++i)
            if (mask[i])
                out[i] = BlendNormal(out[i], colour, ScaleAlpha(colourAlpha, mask[i]));
    }
}

void cPicture::BlendPixel(std::int32_t x, std::int32_t y, std::uint32_t colour, std::uint32_t coverage)
{
    if (!Is32() || !Container::RectContains(m_clip, {x, y}))
        return;
    coverage = std::min<std::uint32_t>(coverage, 255);
    std::uint32_t& pixel = Row32(y)[x];
    pixel = BlendNormal(pixel, colour, ScaleAlpha(colour >> 24, coverage));
}

// ---- Stretching -----------------------------------------------------------

void cPicture::StretchDraw(int mode, const Container::sRect& destRect, const cPicture& source, const Container::sRect& sourceRect)
{
    if (!Is32() || !source.Is32() || destRect.IsEmpty() || sourceRect.IsEmpty() || &source == this)
        return;

    // Clip the source rectangle to the source picture and shrink the target
    // in proportion, so that the visible part keeps its place and scale.
    const Container::sRect src = Container::Intersection(sourceRect, source.Bounds());
    if (src.IsEmpty())
        return;
    const std::int64_t sw = std::int64_t(sourceRect.right) - sourceRect.left;
    const std::int64_t sh = std::int64_t(sourceRect.bottom) - sourceRect.top;
    const std::int64_t dw = std::int64_t(destRect.right) - destRect.left;
    const std::int64_t dh = std::int64_t(destRect.bottom) - destRect.top;
    auto mapX = [&](std::int32_t sx) { return destRect.left + (std::int64_t(sx) - sourceRect.left) * dw / sw; };
    auto mapY = [&](std::int32_t sy) { return destRect.top + (std::int64_t(sy) - sourceRect.top) * dh / sh; };
    const Container::sRect dest(ClampToInt32(mapX(src.left)), ClampToInt32(mapY(src.top)), ClampToInt32(mapX(src.right)),
                     ClampToInt32(mapY(src.bottom)));
    if (dest.IsEmpty())
        return;
    const Container::sRect writable = Container::Intersection(dest, m_clip);
    if (writable.IsEmpty())
        return;

    const std::int64_t sW = src.Width(), sH = src.Height();
    const std::int64_t dW = dest.Width(), dH = dest.Height();

    if (mode == 2)
    {
        StretchArea(dest, writable, source, src);
        return;
    }

    // Per destination column, the source column and (bilinear) the fraction.
    std::vector<std::int32_t> columns;
    std::vector<std::uint32_t> fractions;
    try
    {
        columns.resize(static_cast<std::size_t>(writable.Width()));
        fractions.resize(static_cast<std::size_t>(writable.Width()));
    }
    catch (const std::bad_alloc&)
    {
        return;
    }
    for (std::int32_t x = writable.left; x < writable.right; ++x)
    {
        const std::int64_t position = (std::int64_t(x) - dest.left) * sW;
        columns[x - writable.left] = static_cast<std::int32_t>(src.left + position / dW);
        fractions[x - writable.left] = static_cast<std::uint32_t>((position * 256 / dW) & 0xFF);
    }

    for (std::int32_t y = writable.top; y < writable.bottom; ++y)
    {
        const std::int64_t position = (std::int64_t(y) - dest.top) * sH;
        const std::int32_t sy = static_cast<std::int32_t>(src.top + position / dH);
        std::uint32_t* out = Row32(y) + writable.left;
        const std::uint32_t* row0 = source.Row32(sy);
        if (mode != 1)
        {
            for (std::int32_t i = 0; i < writable.Width(); ++i)
                out[i] = row0[columns[i]];
            continue;
        }
        const std::uint32_t fy = static_cast<std::uint32_t>((position * 256 / dH) & 0xFF);
        const std::uint32_t* row1 = sy + 1 < src.bottom ? source.Row32(sy + 1) : row0;
        for (std::int32_t i = 0; i < writable.Width(); ++i)
        {
            const std::int32_t sx = columns[i];
            const std::int32_t sx1 = sx + 1 < src.right ? sx + 1 : sx;
            const std::uint32_t fx = fractions[i];
            const std::uint32_t w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy);
            const std::uint32_t w01 = (256 - fx) * fy, w11 = fx * fy;
            const std::uint32_t p00 = row0[sx], p10 = row0[sx1], p01 = row1[sx], p11 = row1[sx1];
            std::uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8)
            {
                const std::uint32_t c = (Channel(p00, shift) * w00 + Channel(p10, shift) * w10 +
                                         Channel(p01, shift) * w01 + Channel(p11, shift) * w11) >> 16;
                result |= c << shift;
            }
            out[i] = result;
        }
    }
}

namespace {

// Resampling weights of one axis: for each destination index, a run of
// (source index, weight) pairs with weights in 1/256 source pixels.
struct sAxisWeights
{
    std::vector<std::int32_t> first;  // start of each destination index's run; one extra at the end
    std::vector<std::int32_t> index;
    std::vector<std::uint32_t> weight;
};

// Reduction: each destination pixel covers sourceSize/destSize source
// pixels; the coverage of each source pixel is measured in 1/256 units
// with rounded multiply-divide. Enlargement: linear interpolation between
// the two nearest source pixels (pixel centres aligned). Equal sizes: 1:1.
bool BuildAxisWeights(std::int64_t sourceSize, std::int64_t destSize, std::int64_t writeFirst,
                      std::int64_t writeCount, sAxisWeights& axis)
{
    try
    {
        axis.first.assign(static_cast<std::size_t>(writeCount + 1), 0);
        axis.index.clear();
        axis.weight.clear();
        for (std::int64_t k = 0; k < writeCount; ++k)
        {
            const std::int64_t d = writeFirst + k;
            axis.first[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(axis.index.size());
            if (sourceSize == destSize)
            {
                axis.index.push_back(static_cast<std::int32_t>(d));
                axis.weight.push_back(256);
            }
            else if (sourceSize > destSize)
            {
                const std::int64_t begin = (d * sourceSize * 256 + destSize / 2) / destSize;
                const std::int64_t end = ((d + 1) * sourceSize * 256 + destSize / 2) / destSize;
                for (std::int64_t s = begin / 256; s * 256 < end && s < sourceSize; ++s)
                {
                    const std::int64_t overlap = std::min(end, (s + 1) * 256) - std::max(begin, s * 256);
                    if (overlap > 0)
                    {
                        axis.index.push_back(static_cast<std::int32_t>(s));
                        axis.weight.push_back(static_cast<std::uint32_t>(overlap));
                    }
                }
            }
            else
            {
                // Centre of destination pixel d in source pixels, in 1/256 units,
                // measured from the centre of source pixel 0.
                std::int64_t position = ((2 * d + 1) * sourceSize * 256) / (2 * destSize) - 128;
                position = std::clamp<std::int64_t>(position, 0, (sourceSize - 1) * 256);
                const std::int64_t s = position / 256;
                const std::uint32_t f = static_cast<std::uint32_t>(position % 256);
                axis.index.push_back(static_cast<std::int32_t>(s));
                axis.weight.push_back(256 - f);
                if (f != 0)
                {
                    axis.index.push_back(static_cast<std::int32_t>(s + 1));
                    axis.weight.push_back(f);
                }
            }
        }
        axis.first[static_cast<std::size_t>(writeCount)] = static_cast<std::int32_t>(axis.index.size());
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

struct sAccumulator
{
    std::uint64_t blue, green, red;  // sum of weight x alpha x colour
    std::uint64_t alpha;             // sum of weight x alpha
    std::uint64_t weight;            // sum of weight
};

} // namespace

// Alpha-weighted area averaging: colour = sum(w a c) / sum(w a) (the
// destination colour is kept when every covered pixel is transparent),
// alpha = sum(w a) / sum(w), where w is the coverage weight. One
// accumulator per written destination column.
void cPicture::StretchArea(const Container::sRect& dest, const Container::sRect& writable, const cPicture& source, const Container::sRect& src)
{
    if (src.Width() == dest.Width() && src.Height() == dest.Height())
    {
        CopyRect(dest.left, dest.top, source, src);
        return;
    }
    sAxisWeights columns, rows;
    std::vector<sAccumulator> sums;
    try
    {
        sums.resize(static_cast<std::size_t>(writable.Width()));
    }
    catch (const std::bad_alloc&)
    {
        return;
    }
    if (!BuildAxisWeights(src.Width(), dest.Width(), writable.left - dest.left, writable.Width(), columns) ||
        !BuildAxisWeights(src.Height(), dest.Height(), writable.top - dest.top, writable.Height(), rows))
        return;

    for (std::int32_t k = 0; k < writable.Height(); ++k)
    {
        std::fill(sums.begin(), sums.end(), sAccumulator{});
        for (std::int32_t r = rows.first[k]; r < rows.first[k + 1]; ++r)
        {
            const std::uint32_t* in = source.Row32(src.top + rows.index[r]) + src.left;
            const std::uint64_t wy = rows.weight[r];
            for (std::int32_t i = 0; i < writable.Width(); ++i)
            {
                sAccumulator row{};
                for (std::int32_t c = columns.first[i]; c < columns.first[i + 1]; ++c)
                {
                    const std::uint32_t p = in[columns.index[c]];
                    const std::uint64_t w = columns.weight[c];
                    const std::uint64_t wa = w * (p >> 24);
                    row.blue += wa * Channel(p, 0);
                    row.green += wa * Channel(p, 8);
                    row.red += wa * Channel(p, 16);
                    row.alpha += wa;
                    row.weight += w;
                }
                sAccumulator& sum = sums[static_cast<std::size_t>(i)];
                sum.blue += row.blue * wy;
                sum.green += row.green * wy;
                sum.red += row.red * wy;
                sum.alpha += row.alpha * wy;
                sum.weight += row.weight * wy;
            }
        }
        std::uint32_t* out = Row32(writable.top + k) + writable.left;
        for (std::int32_t i = 0; i < writable.Width(); ++i)
        {
            const sAccumulator& sum = sums[static_cast<std::size_t>(i)];
            if (sum.weight == 0)
                continue;
            const std::uint32_t alpha = static_cast<std::uint32_t>((sum.alpha + sum.weight / 2) / sum.weight);
            std::uint32_t colour = out[i] & 0x00FFFFFFu;
            if (sum.alpha != 0)
            {
                const std::uint64_t half = sum.alpha / 2;
                colour = static_cast<std::uint32_t>((sum.red + half) / sum.alpha) << 16 |
                         static_cast<std::uint32_t>((sum.green + half) / sum.alpha) << 8 |
                         static_cast<std::uint32_t>((sum.blue + half) / sum.alpha);
            }
            out[i] = (alpha << 24) | colour;
        }
    }
}

// ---- Alpha, bounds, geometry ----------------------------------------------

void cPicture::SetOpaque() { SetOpaque(Bounds()); }

void cPicture::SetOpaque(const Container::sRect& rect)
{
    if (!Is32())
        return;
    const Container::sRect r = Container::Intersection(rect, Bounds());
    for (std::int32_t y = r.top; y < r.bottom; ++y)
    {
        std::uint32_t* row = Row32(y);
        for (std::int32_t x = r.left; x < r.right; ++x)
            row[x] |= 0xFF000000u;
    }
}

bool cPicture::AlphaToChannel(cChannel& channel) const
{
    if (!Is32() || !channel.Create(m_width, m_height))
        return false;
    for (std::int32_t y = 0; y < m_height; ++y)
    {
        const std::uint32_t* in = Row32(y);
        std::uint8_t* out = channel.Row(y);
        for (std::int32_t x = 0; x < m_width; ++x)
            out[x] = static_cast<std::uint8_t>(in[x] >> 24);
    }
    return true;
}

Container::sRect cPicture::FindContentBounds(std::uint32_t key, const Container::sRect& rect) const
{
    if (!Is32())
        return Container::sRect();
    const Container::sRect area = Container::Intersection(rect, Bounds());
    std::int32_t left = area.right, top = area.bottom, right = area.left, bottom = area.top;
    for (std::int32_t y = area.top; y < area.bottom; ++y)
    {
        const std::uint32_t* row = Row32(y);
        std::int32_t x = area.left;
        while (x < area.right && row[x] == key)
            ++x;
        if (x == area.right)
            continue;
        std::int32_t last = area.right - 1;
        while (row[last] == key)
            --last;
        left = std::min(left, x);
        right = std::max(right, last + 1);
        top = std::min(top, y);
        bottom = y + 1;
    }
    return top < bottom ? Container::sRect(left, top, right, bottom) : Container::sRect();
}

void cPicture::Flip(bool horizontal, bool vertical)
{
    if (IsEmpty())
        return;
    const int bits = BitsPerPixel();
    if (horizontal)
    {
        for (std::int32_t y = 0; y < m_height; ++y)
        {
            std::uint8_t* row = Row(y);
            if (bits == 4)
            {
                auto get = [row](std::int32_t x) { return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4); };
                auto set = [row](std::int32_t x, unsigned v) {
                    std::uint8_t& byte = row[x >> 1];
                    byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | v)
                                   : static_cast<std::uint8_t>((byte & 0x0F) | (v << 4));
                };
                for (std::int32_t a = 0, b = m_width - 1; a < b; ++a, --b)
                {
                    const unsigned va = get(a), vb = get(b);
                    set(a, vb);
                    set(b, va);
                }
            }
            else
            {
                const int bytes = bits / 8;
                for (std::int32_t a = 0, b = m_width - 1; a < b; ++a, --b)
                    std::swap_ranges(row + std::ptrdiff_t(a) * bytes, row + std::ptrdiff_t(a + 1) * bytes,
                                     row + std::ptrdiff_t(b) * bytes);
            }
        }
    }
    if (vertical)
    {
        const std::size_t bytes = static_cast<std::size_t>(m_stride);
        for (std::int32_t a = 0, b = m_height - 1; a < b; ++a, --b)
            std::swap_ranges(Row(a), Row(a) + bytes, Row(b));
    }
}

bool cPicture::Rotate90(const cPicture& source, bool clockwise)
{
    if (!Is32() || !source.Is32() || &source == this || m_width != source.m_height || m_height != source.m_width)
        return false;
    const std::int32_t sw = source.m_width, sh = source.m_height;
    for (std::int32_t y = 0; y < m_height; ++y)
    {
        std::uint32_t* out = Row32(y);
        for (std::int32_t x = 0; x < m_width; ++x)
        {
            // Clockwise: source (sx, sy) lands on (sh - 1 - sy, sx).
            out[x] = clockwise ? source.Pixel(y, sh - 1 - x) : source.Pixel(sw - 1 - y, x);
        }
    }
    return true;
}

void cPicture::Ellipse(std::uint32_t colour, const Container::sRect& rect, bool antialiased)
{
    if (!Is32() || rect.IsEmpty() || (colour >> 24) == 0)
        return;
    const Container::sRect r = Container::Intersection(rect, m_clip);
    if (r.IsEmpty())
        return;
    const double cx = (double(rect.left) + rect.right) / 2, cy = (double(rect.top) + rect.bottom) / 2;
    const double rx = (double(rect.right) - rect.left) / 2, ry = (double(rect.bottom) - rect.top) / 2;
    // The half width of the ellipse at height py (in picture coordinates).
    auto halfWidth = [&](double py) {
        const double t = (py - cy) / ry;
        return t >= 1.0 || t <= -1.0 ? -1.0 : rx * std::sqrt(1.0 - t * t);
    };

    if (!antialiased)
    {
        // Pixels whose centre lies inside.
        for (std::int32_t y = r.top; y < r.bottom; ++y)
        {
            const double h = halfWidth(y + 0.5);
            if (h < 0)
                continue;
            const std::int64_t x0 = std::max<std::int64_t>(r.left, std::llround(std::ceil(cx - h - 0.5)));
            const std::int64_t x1 = std::min<std::int64_t>(r.right, std::llround(std::floor(cx + h - 0.5)) + 1);
            for (std::int64_t x = x0; x < x1; ++x)
                BlendPixel(static_cast<std::int32_t>(x), y, colour, 255);
        }
        return;
    }

    // Coverage: four sub-rows per pixel row, each contributing the exact
    // horizontal overlap of its span with the pixel.
    constexpr int kSubRows = 4;
    std::vector<double> coverage;
    try
    {
        coverage.resize(static_cast<std::size_t>(r.Width()));
    }
    catch (const std::bad_alloc&)
    {
        return;
    }
    for (std::int32_t y = r.top; y < r.bottom; ++y)
    {
        std::fill(coverage.begin(), coverage.end(), 0.0);
        bool any = false;
        for (int s = 0; s < kSubRows; ++s)
        {
            const double h = halfWidth(y + (s + 0.5) / kSubRows);
            if (h <= 0)
                continue;
            const double a = cx - h, b = cx + h;
            const std::int64_t x0 = std::max<std::int64_t>(r.left, static_cast<std::int64_t>(std::floor(a)));
            const std::int64_t x1 = std::min<std::int64_t>(r.right, static_cast<std::int64_t>(std::ceil(b)));
            for (std::int64_t x = x0; x < x1; ++x)
            {
                const double overlap = std::min(b, double(x + 1)) - std::max(a, double(x));
                if (overlap > 0)
                {
                    coverage[static_cast<std::size_t>(x - r.left)] += overlap / kSubRows;
                    any = true;
                }
            }
        }
        if (!any)
            continue;
        for (std::int32_t x = r.left; x < r.right; ++x)
        {
            const long c = std::lround(coverage[static_cast<std::size_t>(x - r.left)] * 255);
            if (c > 0)
                BlendPixel(x, y, colour, static_cast<std::uint32_t>(std::min(c, 255L)));
        }
    }
}

} // namespace Painter
