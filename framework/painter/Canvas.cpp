#include "framework/painter/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "framework/painter/AlphaComposite.h"
#include "framework/painter/BlendModes.h"
#include "framework/painter/Channel.h"
#include "framework/painter/Fill.h"
#include "framework/painter/Path.h"
#include "framework/painter/Picture.h"
#include "framework/painter/PixelFormat.h"
#include "framework/painter/ScanConverter.h"
#include "framework/painter/SolidFill.h"
#include "framework/painter/Span.h"

namespace Painter {

namespace {

constexpr double kNegativeEntry = -0.00001;

// Points of the circle placed on every corner of a stroke.
constexpr int kJoinPoints = 16;

std::int32_t ClampOpacity(std::int32_t opacity) { return std::clamp(opacity, 0, 255); }

// A target-coordinate rectangle given in 64-bit (or double) values, cut to
// clip. False when nothing is left.
bool ClipRect64(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, const Container::sRect& clip,
                Container::sRect& out)
{
    left = std::max<std::int64_t>(left, clip.left);
    top = std::max<std::int64_t>(top, clip.top);
    right = std::min<std::int64_t>(right, clip.right);
    bottom = std::min<std::int64_t>(bottom, clip.bottom);
    if (left >= right || top >= bottom)
        return false;
    out = Container::sRect(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right),
                static_cast<std::int32_t>(bottom));
    return true;
}

// Same for double bounds; NaN gives nothing.
bool ClipRectDouble(double left, double top, double right, double bottom, const Container::sRect& clip, Container::sRect& out)
{
    if (!(left < right) || !(top < bottom))
        return false;
    left = std::max(left, static_cast<double>(clip.left));
    top = std::max(top, static_cast<double>(clip.top));
    right = std::min(right, static_cast<double>(clip.right));
    bottom = std::min(bottom, static_cast<double>(clip.bottom));
    if (!(left < right) || !(top < bottom))
        return false;
    return ClipRect64(static_cast<std::int64_t>(std::floor(left)), static_cast<std::int64_t>(std::floor(top)),
                      static_cast<std::int64_t>(std::ceil(right)), static_cast<std::int64_t>(std::ceil(bottom)), clip,
                      out);
}

bool SharesPixels(const cPicture& a, const cPicture& b)
{
    if (a.IsEmpty() || b.IsEmpty())
        return false;
    const std::uint8_t* aStart = a.Bits();
    const std::uint8_t* aEnd = aStart + static_cast<std::ptrdiff_t>(a.Height()) * a.Stride();
    const std::uint8_t* bStart = b.Bits();
    const std::uint8_t* bEnd = bStart + static_cast<std::ptrdiff_t>(b.Height()) * b.Stride();
    return aStart < bEnd && bStart < aEnd;
}

// Copies rect of a picture that is also the target into a picture of its
// own, so that a draw never reads pixels it has already written.
bool CopyOut(const cPicture& source, const Container::sRect& rect, cPicture& copy)
{
    if (!copy.Create(FORMAT_ARGB32, rect.Width(), rect.Height()))
        return false;
    for (std::int32_t y = 0; y < rect.Height(); ++y)
        std::memcpy(copy.Row32(y), source.Row32(rect.top + y) + rect.left,
                    static_cast<std::size_t>(rect.Width()) * sizeof(std::uint32_t));
    return true;
}

std::int64_t Extent(std::int32_t first, std::int32_t last) { return static_cast<std::int64_t>(last) - first; }

std::uint32_t Channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

// Passes the spans of another fill on with full coverage where the
// coverage reaches one half and drops the others: shapes without
// anti-aliasing.
class cHardEdgeFill : public cFill
{
public:
    explicit cHardEdgeFill(cFill& inner) : m_inner(inner) { m_fillRule = inner.FillRule(); }

    bool Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override
    {
        return m_inner.Begin(target, left, top, right, bottom);
    }
    void FillSpans(std::int32_t count, const sSpan* spans) override
    {
        m_spans.clear();
        for (std::int32_t i = 0; i < count; ++i)
            if (spans[i].coverage >= 128)
            {
                sSpan span = spans[i];
                span.coverage = 255;
                m_spans.push_back(span);
            }
        if (!m_spans.empty())
            m_inner.FillSpans(static_cast<std::int32_t>(m_spans.size()), m_spans.data());
    }
    void End() override { m_inner.End(); }

private:
    cFill& m_inner;
    std::vector<sSpan> m_spans;
};

} // namespace

cCanvas::cCanvas(cPicture& target) : m_target(target)
{
    ResetMapping();
    m_clip = target.IsEmpty() ? Container::sRect() : Container::Intersection(target.Clip(), target.Bounds());
}

// ---- Mapping -------------------------------------------------------------------

bool cCanvas::SetMapping(std::int32_t windowX, std::int32_t windowY, std::int32_t windowWidth,
                         std::int32_t windowHeight, std::int32_t viewportX, std::int32_t viewportY,
                         std::int32_t viewportWidth, std::int32_t viewportHeight)
{
    if (windowWidth == 0 || windowHeight == 0)
        return false;
    m_windowX = windowX;
    m_windowY = windowY;
    m_windowWidth = windowWidth;
    m_windowHeight = windowHeight;
    m_viewportX = viewportX;
    m_viewportY = viewportY;
    m_viewportWidth = viewportWidth;
    m_viewportHeight = viewportHeight;
    return true;
}

void cCanvas::ResetMapping()
{
    const std::int32_t width = std::max(1, m_target.Width());
    const std::int32_t height = std::max(1, m_target.Height());
    m_windowX = m_windowY = m_viewportX = m_viewportY = 0;
    m_windowWidth = m_viewportWidth = width;
    m_windowHeight = m_viewportHeight = height;
}

namespace {

std::int32_t MapValue(std::int32_t value, std::int32_t origin, std::int32_t extent, std::int32_t viewOrigin,
                      std::int32_t viewExtent)
{
    const std::int64_t mapped =
        (static_cast<std::int64_t>(value) - origin) * viewExtent / extent + static_cast<std::int64_t>(viewOrigin);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(mapped, INT32_MIN, INT32_MAX));
}

} // namespace

std::int32_t cCanvas::MapX(std::int32_t x) const
{
    return MapValue(x, m_windowX, m_windowWidth, m_viewportX, m_viewportWidth);
}

std::int32_t cCanvas::MapY(std::int32_t y) const
{
    return MapValue(y, m_windowY, m_windowHeight, m_viewportY, m_viewportHeight);
}

float cCanvas::MapX(float x) const
{
    return static_cast<float>((static_cast<double>(x) - m_windowX) * m_viewportWidth / m_windowWidth + m_viewportX);
}

float cCanvas::MapY(float y) const
{
    return static_cast<float>((static_cast<double>(y) - m_windowY) * m_viewportHeight / m_windowHeight +
                              m_viewportY);
}

Container::sRect cCanvas::MapRect(const Container::sRect& rect) const
{
    Container::sRect mapped(MapX(rect.left), MapY(rect.top), MapX(rect.right), MapY(rect.bottom));
    if (mapped.left > mapped.right)
        std::swap(mapped.left, mapped.right);
    if (mapped.top > mapped.bottom)
        std::swap(mapped.top, mapped.bottom);
    return mapped;
}

// ---- Mask and clip -----------------------------------------------------------------

void cCanvas::SetMask(const cChannel* mask, std::int32_t x, std::int32_t y)
{
    m_useMask = mask != nullptr && !mask->IsEmpty() && mask->Width() > 0 && mask->Height() > 0;
    m_mask = m_useMask ? mask : nullptr;
    m_maskX = x;
    m_maskY = y;
}

void cCanvas::SetClip(const Container::sRect& clip)
{
    m_clip = Container::Intersection(clip, m_target.Bounds());
}

void cCanvas::MaskRow(std::int32_t x, std::int32_t y, std::int32_t count, std::uint8_t* out) const
{
    std::memset(out, 0, static_cast<std::size_t>(count));
    const std::int64_t row = static_cast<std::int64_t>(y) - m_maskY;
    if (row < 0 || row >= m_mask->Height())
        return;
    const std::int64_t first = std::max<std::int64_t>(x, m_maskX);
    const std::int64_t last = std::min<std::int64_t>(static_cast<std::int64_t>(x) + count,
                                                     static_cast<std::int64_t>(m_maskX) + m_mask->Width());
    if (first >= last)
        return;
    std::memcpy(out + (first - x), m_mask->Row(static_cast<std::int32_t>(row)) + (first - m_maskX),
                static_cast<std::size_t>(last - first));
}

bool cCanvas::TargetUsable() const
{
    return !m_target.IsEmpty() && FormatBits(m_target.Format()) == 32 && !m_clip.IsEmpty();
}

bool cCanvas::ClipSource(const cPicture& source, Container::sRect& sourceRect)
{
    if (source.IsEmpty() || FormatBits(source.Format()) != 32)
        return false;
    sourceRect = Container::Intersection(sourceRect, source.Bounds());
    return !sourceRect.IsEmpty();
}

// ---- Compositing ---------------------------------------------------------------------

void cCanvas::CompositeAt(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect,
                          std::int32_t mode, std::int32_t opacity)
{
    const cBlendModes::cRowFunction row = cBlendModes::GetRowFunction(mode, m_useMask);
    if (row == nullptr || !TargetUsable())
        return;
    Container::sRect src = sourceRect;
    if (!ClipSource(source, src))
        return;
    // Where the clipped source lands, in 64 bits.
    const std::int64_t left = static_cast<std::int64_t>(x) + (src.left - static_cast<std::int64_t>(sourceRect.left));
    const std::int64_t top = static_cast<std::int64_t>(y) + (src.top - static_cast<std::int64_t>(sourceRect.top));
    Container::sRect dest;
    if (!ClipRect64(left, top, left + src.Width(), top + src.Height(), m_clip, dest))
        return;
    std::int32_t sx = static_cast<std::int32_t>(src.left + (dest.left - left));
    std::int32_t sy = static_cast<std::int32_t>(src.top + (dest.top - top));

    const cPicture* from = &source;
    cPicture copy;
    if (SharesPixels(source, m_target))
    {
        if (!CopyOut(source, Container::sRect(sx, sy, sx + dest.Width(), sy + dest.Height()), copy))
            return;
        from = &copy;
        sx = sy = 0;
    }

    opacity = ClampOpacity(opacity);
    const std::int32_t width = dest.Width();
    if (m_useMask)
        m_maskRow.resize(static_cast<std::size_t>(width));
    for (std::int32_t ty = dest.top; ty < dest.bottom; ++ty)
    {
        const std::uint8_t* mask = nullptr;
        if (m_useMask)
        {
            MaskRow(dest.left, ty, width, m_maskRow.data());
            mask = m_maskRow.data();
        }
        row(m_target.Row32(ty) + dest.left, from->Row32(sy + (ty - dest.top)) + sx, width, opacity, mask);
    }
}

void cCanvas::Composite(const cMatrix& matrix, const cPicture& source, const Container::sRect& sourceRect, std::int32_t mode,
                        std::int32_t opacity)
{
    if (!matrix.IsFinite())
        return;
    if (matrix.IsTranslation())
    {
        const double tx = std::floor(static_cast<double>(matrix.m[2][0]) + 0.5);
        const double ty = std::floor(static_cast<double>(matrix.m[2][1]) + 0.5);
        // A translation this large puts everything far outside any picture.
        constexpr double kFar = 1 << 30;
        if (std::fabs(tx) > kFar || std::fabs(ty) > kFar)
            return;
        const std::int64_t x = sourceRect.left + static_cast<std::int64_t>(tx);
        const std::int64_t y = sourceRect.top + static_cast<std::int64_t>(ty);
        if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX)
            return;
        CompositeAt(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), source, sourceRect, mode, opacity);
        return;
    }
    Transformed(matrix, source, sourceRect, mode, opacity, false);
}

void cCanvas::CompositeCopy(const cMatrix& matrix, const cPicture& source, const Container::sRect& sourceRect)
{
    Transformed(matrix, source, sourceRect, 0, 255, true);
}

void cCanvas::Transformed(const cMatrix& matrix, const cPicture& source, const Container::sRect& sourceRect,
                          std::int32_t mode, std::int32_t opacity, bool copyOnly)
{
    const cBlendModes::cRowFunction row = copyOnly ? nullptr : cBlendModes::GetRowFunction(mode, m_useMask);
    if ((!copyOnly && row == nullptr) || !TargetUsable())
        return;
    Container::sRect src = sourceRect;
    if (!ClipSource(source, src))
        return;
    sInverseMatrix inverse;
    if (!inverse.Invert(matrix))
        return;

    if (SharesPixels(source, m_target))
    {
        // Sample from a copy placed at the same source coordinates.
        cPicture copy;
        if (!CopyOut(source, src, copy))
            return;
        const cMatrix shifted = cMatrix::Translation(static_cast<float>(src.left), static_cast<float>(src.top)) * matrix;
        // The shift is exact in float for picture-sized offsets.
        Transformed(shifted, copy, Container::sRect(0, 0, src.Width(), src.Height()), mode, opacity, copyOnly);
        return;
    }

    // The target rectangle: the transformed source rectangle rounded outward.
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    const double cornersX[2] = {static_cast<double>(src.left), static_cast<double>(src.right)};
    const double cornersY[2] = {static_cast<double>(src.top), static_cast<double>(src.bottom)};
    for (double cx : cornersX)
        for (double cy : cornersY)
        {
            double px, py;
            matrix.Transform(cx, cy, px, py);
            minX = std::min(minX, px);
            maxX = std::max(maxX, px);
            minY = std::min(minY, py);
            maxY = std::max(maxY, py);
        }
    if (!std::isfinite(minX) || !std::isfinite(minY) || !std::isfinite(maxX) || !std::isfinite(maxY))
        return;
    Container::sRect dest;
    if (!ClipRectDouble(std::floor(minX), std::floor(minY), std::ceil(maxX), std::ceil(maxY), m_clip, dest))
        return;

    const double shiftX = (matrix.m[0][0] < kNegativeEntry || matrix.m[0][1] < kNegativeEntry) ? -1.0 : 0.0;
    const double shiftY = (matrix.m[1][0] < kNegativeEntry || matrix.m[1][1] < kNegativeEntry) ? -1.0 : 0.0;
    const double left = src.left, top = src.top, right = src.right, bottom = src.bottom;
    opacity = ClampOpacity(opacity);

    const std::int32_t width = dest.Width();
    m_sourceRow.resize(static_cast<std::size_t>(width));
    if (m_useMask && !copyOnly)
        m_maskRow.resize(static_cast<std::size_t>(width));
    std::uint32_t* samples = m_sourceRow.data();

    for (std::int32_t ty = dest.top; ty < dest.bottom; ++ty)
    {
        std::uint32_t* targetRow = m_target.Row32(ty);
        const double rowX = ty * inverse.m10 + inverse.m20 + shiftX;
        const double rowY = ty * inverse.m11 + inverse.m21 + shiftY;
        std::int32_t runStart = -1;
        auto flush = [&](std::int32_t end) {
            if (runStart < 0)
                return;
            const std::int32_t count = end - runStart;
            std::uint32_t* first = samples + (runStart - dest.left);
            if (copyOnly)
                std::memcpy(targetRow + runStart, first, static_cast<std::size_t>(count) * sizeof(std::uint32_t));
            else
            {
                const std::uint8_t* mask = nullptr;
                if (m_useMask)
                {
                    MaskRow(runStart, ty, count, m_maskRow.data());
                    mask = m_maskRow.data();
                }
                row(targetRow + runStart, first, count, opacity, mask);
            }
            runStart = -1;
        };

        for (std::int32_t tx = dest.left; tx < dest.right; ++tx)
        {
            const double sx = rowX + tx * inverse.m00;
            const double sy = rowY + tx * inverse.m01;
            // Also false for NaN.
            if (!(sx >= left && sx < right && sy >= top && sy < bottom))
            {
                flush(tx);
                continue;
            }
            const std::int32_t ix = static_cast<std::int32_t>(std::floor(sx));
            const std::int32_t iy = static_cast<std::int32_t>(std::floor(sy));
            const std::int32_t fx = std::clamp(static_cast<std::int32_t>((sx - ix) * 16), 0, 15);
            const std::int32_t fy = std::clamp(static_cast<std::int32_t>((sy - iy) * 16), 0, 15);
            const bool hasRight = ix + 1 < src.right;
            const bool hasBelow = iy + 1 < src.bottom;
            const std::uint32_t* row0 = source.Row32(iy);
            const std::uint32_t* row1 = hasBelow ? source.Row32(iy + 1) : row0;
            // A neighbour past the last column or row counts with alpha 0.
            const std::uint32_t p[4] = {row0[ix], hasRight ? row0[ix + 1] : 0u, hasBelow ? row1[ix] : 0u,
                                        hasRight && hasBelow ? row1[ix + 1] : 0u};
            const std::int32_t w[4] = {(16 - fx) * (16 - fy), fx * (16 - fy), (16 - fx) * fy, fx * fy};

            std::uint32_t sample;
            if ((p[0] & p[1] & p[2] & p[3]) >> 24 == 255)
            {
                sample = 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8)
                {
                    const std::uint32_t c = (Channel(p[0], shift) * w[0] + Channel(p[1], shift) * w[1] +
                                             Channel(p[2], shift) * w[2] + Channel(p[3], shift) * w[3]) >> 8;
                    sample |= c << shift;
                }
            }
            else
            {
                std::int32_t alphaSum = 0;
                std::int32_t v[4];
                std::int32_t vSum = 0;
                for (int i = 0; i < 4; ++i)
                {
                    const std::int32_t a = static_cast<std::int32_t>(p[i] >> 24);
                    alphaSum += w[i] * a;
                    v[i] = Div255Short(w[i] * a);
                    vSum += v[i];
                }
                sample = static_cast<std::uint32_t>(alphaSum >> 8) << 24;
                if (vSum > 0)
                    for (int shift = 0; shift < 24; shift += 8)
                    {
                        std::int32_t sum = 0;
                        for (int i = 0; i < 4; ++i)
                            sum += v[i] * static_cast<std::int32_t>(Channel(p[i], shift));
                        sample |= static_cast<std::uint32_t>(sum / vSum) << shift;
                    }
            }
            samples[tx - dest.left] = sample;
            if (runStart < 0)
                runStart = tx;
        }
        flush(dest.right);
    }
}

void cCanvas::StretchComposite(const Container::sRect& destRect, const cPicture& source, const Container::sRect& sourceRect,
                               std::int32_t mode, std::int32_t opacity, bool smooth)
{
    if (destRect.IsEmpty() || sourceRect.IsEmpty() || !TargetUsable())
        return;
    // Extents in 64 bits: a rectangle from the caller may span more than 2^31.
    const std::int64_t sourceWidth = Extent(sourceRect.left, sourceRect.right);
    const std::int64_t sourceHeight = Extent(sourceRect.top, sourceRect.bottom);
    const std::int64_t destWidth = Extent(destRect.left, destRect.right);
    const std::int64_t destHeight = Extent(destRect.top, destRect.bottom);
    if (destWidth == sourceWidth && destHeight == sourceHeight)
    {
        CompositeAt(destRect.left, destRect.top, source, sourceRect, mode, opacity);
        return;
    }
    if (mode == cBlendModes::MODE_COPY || mode == cBlendModes::MODE_APPLY_MASK)
        return;
    // Keeps position arithmetic below inside 64 bits.
    constexpr std::int64_t kMaxExtent = std::int64_t(1) << 30;
    if (sourceWidth > kMaxExtent || sourceHeight > kMaxExtent || destWidth > kMaxExtent || destHeight > kMaxExtent)
        return;
    const cBlendModes::cRowFunction row = cBlendModes::GetRowFunction(mode, m_useMask);
    if (row == nullptr)
        return;
    // The part of the source rectangle that exists; target pixels whose
    // sample falls outside it are left alone, so the scale stays that of
    // the rectangles given.
    Container::sRect readable = sourceRect;
    if (!ClipSource(source, readable))
        return;
    Container::sRect dest;
    if (!ClipRect64(destRect.left, destRect.top, destRect.right, destRect.bottom, m_clip, dest))
        return;

    // Integer position of target column (row) i: i * source extent in units
    // of the target extent, which is what stepping with an error
    // accumulator produces.
    auto sampleOf = [](std::int64_t i, std::int64_t sourceExtent, std::int64_t destExtent, std::int64_t origin,
                       std::int64_t& index, std::int32_t& fraction) {
        const std::int64_t position = i * sourceExtent;
        index = origin + position / destExtent;
        fraction = static_cast<std::int32_t>(position % destExtent * 256 / destExtent);
    };

    // Columns whose samples exist: the mapping is monotonic, so they form one run.
    std::vector<std::int32_t> columns;
    std::vector<std::int32_t> fractions;
    std::int32_t firstColumn = -1;
    for (std::int32_t tx = dest.left; tx < dest.right; ++tx)
    {
        std::int64_t index;
        std::int32_t fraction;
        sampleOf(tx - static_cast<std::int64_t>(destRect.left), sourceWidth, destWidth, sourceRect.left, index,
                 fraction);
        if (index < readable.left || index >= readable.right)
        {
            if (firstColumn >= 0)
                break;
            continue;
        }
        if (firstColumn < 0)
            firstColumn = tx;
        columns.push_back(static_cast<std::int32_t>(index));
        fractions.push_back(fraction);
    }
    if (columns.empty())
        return;
    const std::int32_t count = static_cast<std::int32_t>(columns.size());

    const cPicture* from = &source;
    cPicture copy;
    if (SharesPixels(source, m_target))
    {
        if (!CopyOut(source, source.Bounds(), copy))
            return;
        from = &copy;
    }

    opacity = ClampOpacity(opacity);
    m_sourceRow.resize(static_cast<std::size_t>(count));
    if (m_useMask)
        m_maskRow.resize(static_cast<std::size_t>(count));
    for (std::int32_t ty = dest.top; ty < dest.bottom; ++ty)
    {
        std::int64_t sampleRow;
        std::int32_t fy;
        sampleOf(ty - static_cast<std::int64_t>(destRect.top), sourceHeight, destHeight, sourceRect.top, sampleRow, fy);
        if (sampleRow < readable.top || sampleRow >= readable.bottom)
            continue;
        const std::int32_t sy = static_cast<std::int32_t>(sampleRow);
        const std::uint32_t* row0 = from->Row32(sy);
        std::uint32_t* samples = m_sourceRow.data();
        if (!smooth)
        {
            for (std::int32_t i = 0; i < count; ++i)
                samples[i] = row0[columns[i]];
        }
        else
        {
            // The next row and column, replaced by the current one at the last.
            const std::uint32_t* row1 = sy + 1 < readable.bottom ? from->Row32(sy + 1) : row0;
            for (std::int32_t i = 0; i < count; ++i)
            {
                const std::int32_t sx = columns[i];
                const std::int32_t next = sx + 1 < readable.right ? sx + 1 : sx;
                const std::uint32_t fx = static_cast<std::uint32_t>(fractions[i]);
                const std::uint32_t gy = static_cast<std::uint32_t>(fy);
                const std::uint32_t w00 = (256 - fx) * (256 - gy), w10 = fx * (256 - gy);
                const std::uint32_t w01 = (256 - fx) * gy, w11 = fx * gy;
                std::uint32_t result = 0;
                for (int shift = 0; shift < 32; shift += 8)
                {
                    const std::uint32_t c = (Channel(row0[sx], shift) * w00 + Channel(row0[next], shift) * w10 +
                                             Channel(row1[sx], shift) * w01 + Channel(row1[next], shift) * w11) >> 16;
                    result |= c << shift;
                }
                samples[i] = result;
            }
        }
        const std::uint8_t* mask = nullptr;
        if (m_useMask)
        {
            MaskRow(firstColumn, ty, count, m_maskRow.data());
            mask = m_maskRow.data();
        }
        row(m_target.Row32(ty) + firstColumn, samples, count, opacity, mask);
    }
}

// ---- Shapes ----------------------------------------------------------------------------

void cCanvas::Clear(std::uint32_t value)
{
    if (!TargetUsable())
        return;
    const Container::sRect window(m_windowX, m_windowY,
                       static_cast<std::int32_t>(std::clamp<std::int64_t>(
                           static_cast<std::int64_t>(m_windowX) + m_windowWidth, INT32_MIN, INT32_MAX)),
                       static_cast<std::int32_t>(std::clamp<std::int64_t>(
                           static_cast<std::int64_t>(m_windowY) + m_windowHeight, INT32_MIN, INT32_MAX)));
    const Container::sRect area = Container::Intersection(MapRect(window), m_clip);
    for (std::int32_t y = area.top; y < area.bottom; ++y)
        std::fill_n(m_target.Row32(y) + area.left, area.Width(), value);
}

void cCanvas::FillRectBlend(std::uint32_t colour, const Container::sRect& rect)
{
    if (!TargetUsable() || (colour >> 24) == 0)
        return;
    const Container::sRect area = Container::Intersection(MapRect(rect), m_clip);
    for (std::int32_t y = area.top; y < area.bottom; ++y)
    {
        std::uint32_t* row = m_target.Row32(y);
        for (std::int32_t x = area.left; x < area.right; ++x)
            row[x] = BlendNormal(row[x], colour);
    }
}

void cCanvas::Draw3dRect(const Container::sRect& rect, std::uint32_t first, std::uint32_t second)
{
    if (!TargetUsable())
        return;
    const Container::sRect r = MapRect(rect);
    if (r.IsEmpty())
        return;
    // Bands in target coordinates: the mapping is already applied, so they
    // are drawn through an identity mapping.
    auto band = [&](std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                    std::uint32_t colour) {
        const Container::sRect area = Container::Intersection(Container::sRect(left, top, right, bottom), m_clip);
        if ((colour >> 24) == 0)
            return;
        for (std::int32_t y = area.top; y < area.bottom; ++y)
        {
            std::uint32_t* row = m_target.Row32(y);
            for (std::int32_t x = area.left; x < area.right; ++x)
                row[x] = BlendNormal(row[x], colour);
        }
    };
    band(r.left, r.top, r.right, r.top + 1, first);
    band(r.left, r.top + 1, r.left + 1, r.bottom, first);
    if (Extent(r.top, r.bottom) > 1)
        band(r.left + 1, r.bottom - 1, r.right, r.bottom, second);
    if (Extent(r.left, r.right) > 1)
        band(r.right - 1, r.top + 1, r.right, r.bottom - 1, second);
}

void cCanvas::FillRect(float left, float top, float right, float bottom, cFill* fill, const sStroke& stroke)
{
    std::vector<cPolygon> polygons(1);
    polygons[0] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    FillPolygons(polygons, fill, stroke);
}

void cCanvas::FillRoundRect(float left, float top, float right, float bottom, float radius, cFill* fill,
                            const sStroke& stroke)
{
    Outline::cPath path;
    path.AddRoundRect(radius, left, top, right, bottom);
    std::vector<cPolygon> polygons;
    path.ToPolygons(polygons);
    FillPolygons(polygons, fill, stroke);
}

void cCanvas::FillEllipse(cFill* fill, const sStroke& stroke, const Container::sRect& rect)
{
    std::vector<cPolygon> polygons(1);
    cPolygon& points = polygons[0];
    points.reserve(360);
    const double centreX = (static_cast<double>(rect.left) + rect.right) / 2;
    const double centreY = (static_cast<double>(rect.top) + rect.bottom) / 2;
    const double halfWidth = (static_cast<double>(rect.right) - rect.left) / 2;
    const double halfHeight = (static_cast<double>(rect.bottom) - rect.top) / 2;
    for (int degree = 0; degree < 360; ++degree)
    {
        const double theta = degree * std::numbers::pi / 180;
        points.push_back({static_cast<float>(centreX + std::cos(theta) * halfWidth),
                          static_cast<float>(centreY + std::sin(theta) * halfHeight)});
    }
    if (fill != nullptr && !m_antialias)
    {
        cHardEdgeFill hardEdge(*fill);
        FillPolygons(polygons, &hardEdge, stroke);
        return;
    }
    FillPolygons(polygons, fill, stroke);
}

void cCanvas::FillPolygon(const Outline::sPoint* points, std::size_t count, cFill* fill)
{
    if (points == nullptr || count == 0)
        return;
    std::vector<cPolygon> polygons(1);
    polygons[0].assign(points, points + count);
    FillPolygons(polygons, fill, sStroke{});
}

void cCanvas::MapPolygons(const std::vector<cPolygon>& polygons, std::vector<cPolygon>& out) const
{
    out.clear();
    out.reserve(polygons.size());
    for (const cPolygon& polygon : polygons)
    {
        cPolygon mapped;
        mapped.reserve(polygon.size());
        for (const Outline::sPoint& point : polygon)
            mapped.push_back({MapX(point.x), MapY(point.y)});
        out.push_back(std::move(mapped));
    }
}

void cCanvas::RenderPolygons(const std::vector<cPolygon>& polygons, cFill& fill)
{
    // The box: the polygons' bounds, left and top rounded down, right and
    // bottom rounded up plus one, cut to the clip.
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const cPolygon& polygon : polygons)
        for (const Outline::sPoint& point : polygon)
        {
            if (!std::isfinite(point.x) || !std::isfinite(point.y))
                continue;
            minX = std::min(minX, static_cast<double>(point.x));
            minY = std::min(minY, static_cast<double>(point.y));
            maxX = std::max(maxX, static_cast<double>(point.x));
            maxY = std::max(maxY, static_cast<double>(point.y));
        }
    Container::sRect box;
    if (!ClipRectDouble(std::floor(minX), std::floor(minY), std::ceil(maxX) + 1, std::ceil(maxY) + 1, m_clip, box))
        return;
    cScanConverter converter;
    if (!converter.SetBox(box.left, box.top, box.right, box.bottom))
        return;
    // Outlines are placed at 1/64 pixel.
    cPolygon snapped;
    for (const cPolygon& polygon : polygons)
    {
        if (polygon.size() < 2)
            continue;
        snapped.clear();
        for (const Outline::sPoint& point : polygon)
            snapped.push_back({static_cast<float>(std::nearbyint(static_cast<double>(point.x) * 64) / 64),
                               static_cast<float>(std::nearbyint(static_cast<double>(point.y) * 64) / 64)});
        converter.AddPolygon(snapped.data(), snapped.size());
    }
    converter.Render(cFill::cTarget(m_target), fill, 0, 0);
}

void cCanvas::StrokePolygons(const std::vector<cPolygon>& polygons, float width, std::vector<cPolygon>& out)
{
    // Every edge becomes a rectangle of the stroke width centred on it and
    // every corner a disc of that diameter, all wound the same way so that
    // the non-zero rule joins them.
    const double half = width / 2.0;
    auto addOriented = [&out](cPolygon polygon) {
        double area = 0;
        for (std::size_t i = 0; i < polygon.size(); ++i)
        {
            const Outline::sPoint& a = polygon[i];
            const Outline::sPoint& b = polygon[(i + 1) % polygon.size()];
            area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
        }
        if (area < 0)
            std::reverse(polygon.begin(), polygon.end());
        out.push_back(std::move(polygon));
    };
    for (const cPolygon& polygon : polygons)
    {
        const std::size_t count = polygon.size();
        for (std::size_t i = 0; i < count; ++i)
        {
            const Outline::sPoint& a = polygon[i];
            const Outline::sPoint& b = polygon[(i + 1) % count];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
                continue;
            cPolygon disc;
            disc.reserve(kJoinPoints);
            for (int k = 0; k < kJoinPoints; ++k)
            {
                const double theta = 2 * std::numbers::pi * k / kJoinPoints;
                disc.push_back({static_cast<float>(a.x + half * std::cos(theta)),
                                static_cast<float>(a.y + half * std::sin(theta))});
            }
            addOriented(std::move(disc));
            const double dx = static_cast<double>(b.x) - a.x;
            const double dy = static_cast<double>(b.y) - a.y;
            const double length = std::sqrt(dx * dx + dy * dy);
            if (count < 2 || !(length > 0))
                continue;
            const float nx = static_cast<float>(-dy / length * half);
            const float ny = static_cast<float>(dx / length * half);
            addOriented({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
        }
    }
}

void cCanvas::FillPolygons(const std::vector<cPolygon>& polygons, cFill* fill, const sStroke& stroke)
{
    if (!TargetUsable() || polygons.empty())
        return;
    std::vector<cPolygon> mapped;
    MapPolygons(polygons, mapped);
    if (fill != nullptr)
        RenderPolygons(mapped, *fill);
    if (stroke.width > 0 && std::isfinite(stroke.width))
    {
        std::vector<cPolygon> outline;
        StrokePolygons(mapped, stroke.width, outline);
        cSolidFill strokeFill(stroke.colour);
        strokeFill.SetFillRule(cFill::NonZero);
        RenderPolygons(outline, strokeFill);
    }
}

void cCanvas::StretchPicture(const cPicture& source, const Container::sRect& sourceRect, const Container::sRect& rect)
{
    if (!TargetUsable())
        return;
    // The picture's own clip, narrowed to the canvas clip for the draw.
    const Container::sRect saved = m_target.Clip();
    m_target.SetClip(Container::Intersection(saved, m_clip));
    if (!m_target.Clip().IsEmpty())
        m_target.StretchDraw(1, MapRect(rect), source, sourceRect);
    m_target.SetClip(saved);
}

} // namespace Painter
