#include "framework/painter/ScanConverter.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "framework/painter/Channel.h"
#include "framework/painter/ChannelFill.h"
#include "framework/painter/Path.h"

namespace Painter {

namespace {

// Division rounding toward minus infinity (the divisor is positive).
std::int64_t FloorDiv(std::int64_t numerator, std::int64_t divisor)
{
    std::int64_t quotient = numerator / divisor;
    if ((numerator % divisor) != 0 && (numerator < 0))
        --quotient;
    return quotient;
}

// Targets are pictures and channels: columns and rows 0..32766.
constexpr std::int64_t TargetLimit = 32767;

std::int32_t ClampToInt32(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

cScanConverter::cScanConverter(std::int32_t width, std::int32_t height)
{
    SetBox(0, 0, width, height);
}

bool cScanConverter::SetBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    Reset();
    const std::int64_t width = std::int64_t(right) - left, height = std::int64_t(bottom) - top;
    if (width < 1 || height < 1 || width > MaxBoxSide || height > MaxBoxSide)
    {
        m_left = m_top = m_width = m_height = 0;
        return false;
    }
    m_left = left;
    m_top = top;
    m_width = std::int32_t(width);
    m_height = std::int32_t(height);
    return true;
}

void cScanConverter::Reset()
{
    m_edges.clear();
    m_overflow = false;
    m_open = false;
}

// ---- Outline input -------------------------------------------------------

namespace {

// A box-relative pixel coordinate with NaN taken as 0 and the magnitude
// limited, so that the conversion to 1/256 pixel always fits an int32.
double Relative(double value, std::int32_t origin)
{
    if (std::isnan(value))
        value = 0;
    return std::clamp(value - origin, -cScanConverter::CoordinateLimit, cScanConverter::CoordinateLimit);
}

std::int32_t Subpixel(double relative)
{
    return static_cast<std::int32_t>(std::floor(relative * cScanConverter::SubpixelScale + 0.5));
}

} // namespace

std::int32_t cScanConverter::ToSubpixel(double value, std::int32_t origin) const
{
    return Subpixel(Relative(value, origin));
}

void cScanConverter::AddEdge(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1)
{
    if (y0 == y1 || m_overflow)
        return;
    // Edges wholly above or below the box add nothing to any row.
    const std::int64_t bottom = std::int64_t(m_height) * SubpixelScale;
    if (std::max(y0, y1) <= 0 || std::min(y0, y1) >= bottom)
        return;
    if (m_edges.size() >= MaxEdges)
    {
        m_overflow = true;
        return;
    }
    try
    {
        m_edges.push_back({x0, y0, x1, y1});
    }
    catch (const std::bad_alloc&)
    {
        m_overflow = true;
    }
}

void cScanConverter::LineToSubpixel(std::int32_t x, std::int32_t y)
{
    AddEdge(m_lastX, m_lastY, x, y);
    m_lastX = x;
    m_lastY = y;
}

void cScanConverter::MoveTo(double x, double y)
{
    ClosePolygon();
    m_lastPixelX = Relative(x, m_left);
    m_lastPixelY = Relative(y, m_top);
    m_startX = m_lastX = Subpixel(m_lastPixelX);
    m_startY = m_lastY = Subpixel(m_lastPixelY);
    m_open = true;
}

void cScanConverter::LineTo(double x, double y)
{
    if (!m_open)
    {
        MoveTo(x, y);
        return;
    }
    m_lastPixelX = Relative(x, m_left);
    m_lastPixelY = Relative(y, m_top);
    LineToSubpixel(Subpixel(m_lastPixelX), Subpixel(m_lastPixelY));
}

void cScanConverter::QuadTo(double cx, double cy, double x, double y)
{
    if (!m_open)
    {
        MoveTo(x, y);
        return;
    }
    const double x0 = m_lastPixelX, y0 = m_lastPixelY;
    const double x1 = Relative(cx, m_left), y1 = Relative(cy, m_top);
    const double x2 = Relative(x, m_left), y2 = Relative(y, m_top);
    for (int k = 1; k < CurveSteps; ++k)
    {
        const double t = double(k) / CurveSteps, s = 1 - t;
        LineToSubpixel(Subpixel(s * s * x0 + 2 * s * t * x1 + t * t * x2),
                       Subpixel(s * s * y0 + 2 * s * t * y1 + t * t * y2));
    }
    LineToSubpixel(Subpixel(x2), Subpixel(y2));
    m_lastPixelX = x2;
    m_lastPixelY = y2;
}

void cScanConverter::CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y)
{
    if (!m_open)
    {
        MoveTo(x, y);
        return;
    }
    const double x0 = m_lastPixelX, y0 = m_lastPixelY;
    const double x1 = Relative(c1x, m_left), y1 = Relative(c1y, m_top);
    const double x2 = Relative(c2x, m_left), y2 = Relative(c2y, m_top);
    const double x3 = Relative(x, m_left), y3 = Relative(y, m_top);
    for (int k = 1; k < CurveSteps; ++k)
    {
        const double t = double(k) / CurveSteps, s = 1 - t;
        const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
        LineToSubpixel(Subpixel(a * x0 + b * x1 + c * x2 + d * x3), Subpixel(a * y0 + b * y1 + c * y2 + d * y3));
    }
    LineToSubpixel(Subpixel(x3), Subpixel(y3));
    m_lastPixelX = x3;
    m_lastPixelY = y3;
}

void cScanConverter::ClosePolygon()
{
    if (!m_open)
        return;
    LineToSubpixel(m_startX, m_startY);
    m_lastPixelX = m_lastPixelY = 0;
    m_open = false;
}

void cScanConverter::AddPolygon(const Outline::sPoint* points, std::size_t count, double dx, double dy)
{
    if (!points || count == 0)
        return;
    MoveTo(points[0].x + dx, points[0].y + dy);
    for (std::size_t i = 1; i < count; ++i)
        LineTo(points[i].x + dx, points[i].y + dy);
    ClosePolygon();
}

void cScanConverter::AddPath(const Outline::cPath& path, double dx, double dy)
{
    std::vector<Outline::sPoint> polygon;
    for (const auto& contour : path.Contours())
    {
        polygon.clear();
        try
        {
            contour.ToPolygon(polygon);
        }
        catch (const std::bad_alloc&)
        {
            m_overflow = true;
            return;
        }
        AddPolygon(polygon.data(), polygon.size(), dx, dy);
    }
}

bool cScanConverter::AddGlyphOutline(const std::uint8_t* bytes, std::size_t size, double x, double y,
                                     double scaleX, double scaleY)
{
    Outline::cPath path;
    bool ok;
    try
    {
        ok = path.AddNativeGlyph(bytes, size, 0, 0, float(scaleX), float(scaleY));
    }
    catch (const std::bad_alloc&)
    {
        m_overflow = true;
        return false;
    }
    AddPath(path, x, y);
    return ok;
}

// ---- Rendering -----------------------------------------------------------

std::uint8_t cScanConverter::Coverage(std::int64_t area, bool nonZero)
{
    std::uint64_t value = std::uint64_t(area < 0 ? -area : area) >> (2 * SubpixelShift + 1 - 8);
    if (nonZero)
        return value >= 256 ? 255 : std::uint8_t(value);
    value &= 511;
    if (value > 256)
        value = 512 - value;
    return value >= 256 ? 255 : std::uint8_t(value);
}

void cScanConverter::AddCell(std::int64_t row, std::int64_t cellX, std::int64_t cover, std::int64_t area)
{
    const std::int64_t bandRow = row - m_bandTop;
    if (bandRow < 0 || bandRow >= m_bandRows)
        return;
    // Column `width` collects what lies right of the box; it is never shown.
    cellX = std::clamp<std::int64_t>(cellX, 0, m_width);
    sCell& cell = m_cells[std::size_t(bandRow * (m_width + 1) + cellX)];
    cell.cover += cover;
    cell.area += area;
    m_rowMin[std::size_t(bandRow)] = std::min(m_rowMin[std::size_t(bandRow)], std::int32_t(cellX));
    m_rowMax[std::size_t(bandRow)] = std::max(m_rowMax[std::size_t(bandRow)], std::int32_t(cellX));
}

// A piece of an edge inside one row (ya, yb are 0..256 within the row,
// ya < yb, travelling down; sign says the edge's true direction), with both
// x inside 0..width*256: walked cell by cell from left to right.
void cScanConverter::RenderHorizontal(std::int64_t row, std::int64_t xa, std::int64_t ya, std::int64_t xb,
                                      std::int64_t yb, int sign)
{
    if (ya == yb)
        return;
    if (xa == xb)
    {
        const std::int64_t cellX = xa >> SubpixelShift;
        const std::int64_t fx = xa - (cellX << SubpixelShift);
        AddCell(row, cellX, sign * (yb - ya), sign * 2 * fx * (yb - ya));
        return;
    }
    const bool rightwards = xa < xb;
    const std::int64_t xl = rightwards ? xa : xb, yl = rightwards ? ya : yb;
    const std::int64_t xr = rightwards ? xb : xa, yr = rightwards ? yb : ya;
    std::int64_t cellX = xl >> SubpixelShift;
    std::int64_t px = xl, py = yl;
    while (px < xr)
    {
        const std::int64_t cellLeft = cellX << SubpixelShift;
        const std::int64_t nx = std::min(xr, cellLeft + SubpixelScale);
        const std::int64_t ny = nx == xr ? yr : yl + FloorDiv((nx - xl) * (yr - yl), xr - xl);
        const std::int64_t dy = rightwards ? ny - py : py - ny;
        AddCell(row, cellX, sign * dy, sign * (px - cellLeft + nx - cellLeft) * dy);
        px = nx;
        py = ny;
        ++cellX;
    }
}

// A piece of an edge inside one row, x anywhere: the parts left of the box
// are moved onto its left side and the parts right of it onto its right
// side, which keeps the cover they add to the pixels they pass.
void cScanConverter::RenderRowPiece(std::int64_t row, std::int64_t xa, std::int64_t ya, std::int64_t xb,
                                    std::int64_t yb, int sign)
{
    if (ya == yb)
        return;
    const std::int64_t bounds[2] = {0, std::int64_t(m_width) << SubpixelShift};
    struct sPoint64
    {
        std::int64_t x, y;
    };
    sPoint64 points[4] = {{xa, ya}};
    int count = 1;
    // Crossings of the two sides, in the order the piece meets them.
    for (int i = 0; i < 2; ++i)
    {
        const std::int64_t side = bounds[xa < xb ? i : 1 - i];
        if ((xa < side && xb > side) || (xa > side && xb < side))
            points[count++] = {side, ya + FloorDiv((side - xa) * (yb - ya), xb - xa)};
    }
    points[count++] = {xb, yb};
    for (int i = 0; i + 1 < count; ++i)
    {
        const sPoint64 p = points[i], q = points[i + 1];
        const std::int64_t x1 = std::clamp(p.x, bounds[0], bounds[1]);
        const std::int64_t x2 = std::clamp(q.x, bounds[0], bounds[1]);
        RenderHorizontal(row, x1, p.y, x2, q.y, sign);
    }
}

void cScanConverter::RenderEdge(const sEdge& edge)
{
    std::int64_t x0 = edge.x0, y0 = edge.y0, x1 = edge.x1, y1 = edge.y1;
    int sign = 1;
    if (y0 > y1)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
        sign = -1;
    }
    const std::int64_t top = m_bandTop << SubpixelShift;
    const std::int64_t bottom = (m_bandTop + m_bandRows) << SubpixelShift;
    if (y1 <= top || y0 >= bottom)
        return;
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    // |dx| and |y - y0| stay below 2^31, so the product fits.
    auto xAt = [&](std::int64_t y) { return y == y0 ? x0 : y == y1 ? x1 : x0 + FloorDiv(dx * (y - y0), dy); };
    const std::int64_t ys = std::max(y0, top), ye = std::min(y1, bottom);
    for (std::int64_t row = ys >> SubpixelShift; (row << SubpixelShift) < ye; ++row)
    {
        const std::int64_t rowTop = row << SubpixelShift;
        const std::int64_t ya = std::max(ys, rowTop), yb = std::min(ye, rowTop + SubpixelScale);
        RenderRowPiece(row, xAt(ya), ya - rowTop, xAt(yb), yb - rowTop, sign);
    }
}

void cScanConverter::PushSpan(std::int64_t x, std::int64_t y, std::int64_t length, std::uint8_t coverage)
{
    const std::int64_t targetY = y + m_offsetY;
    if (targetY < 0 || targetY >= TargetLimit)
        return;
    const std::int64_t x1 = std::max<std::int64_t>(x + m_offsetX, 0);
    const std::int64_t x2 = std::min<std::int64_t>(x + m_offsetX + length, TargetLimit);
    if (x1 >= x2)
        return;
    m_spans[m_spanCount++] = {std::int16_t(x1), std::int16_t(targetY), std::uint16_t(x2 - x1), coverage};
    if (m_spanCount == SpanBatch)
        FlushSpans();
}

void cScanConverter::FlushSpans()
{
    if (m_spanCount > 0 && m_fill)
        m_fill->FillSpans(m_spanCount, m_spans);
    m_spanCount = 0;
}

void cScanConverter::EmitRun(std::int32_t row, std::int32_t x, std::int32_t length, std::uint8_t coverage)
{
    if (m_runLength > 0 && row == m_runRow && x == m_runX + m_runLength && coverage == m_runCoverage)
    {
        m_runLength += length;
        return;
    }
    if (m_runLength > 0)
        PushSpan(m_runX, m_runRow, m_runLength, m_runCoverage);
    m_runRow = row;
    m_runX = x;
    m_runLength = length;
    m_runCoverage = coverage;
}

void cScanConverter::SweepBand(bool nonZero)
{
    const std::int64_t stride = std::int64_t(m_width) + 1;
    for (std::int64_t r = 0; r < m_bandRows; ++r)
    {
        std::int32_t& first = m_rowMin[std::size_t(r)];
        std::int32_t& last = m_rowMax[std::size_t(r)];
        if (last < first)
            continue;
        sCell* cells = &m_cells[std::size_t(r * stride)];
        const std::int32_t row = std::int32_t(m_bandTop + r);
        const std::int32_t end = std::min(last, m_width - 1);
        std::int64_t cover = 0;
        for (std::int32_t x = first; x <= end; ++x)
        {
            cover += cells[x].cover;
            const std::uint8_t coverage = Coverage(cover * 2 * SubpixelScale - cells[x].area, nonZero);
            if (coverage)
                EmitRun(row, x, 1, coverage);
        }
        // Right of the last touched cell the cover no longer changes.
        if (last < m_width && cover != 0)
        {
            const std::uint8_t coverage = Coverage(cover * 2 * SubpixelScale, nonZero);
            if (coverage)
                EmitRun(row, last + 1, m_width - last - 1, coverage);
        }
        std::fill(cells + first, cells + last + 1, sCell{0, 0});
        first = INT32_MAX;
        last = -1;
    }
}

bool cScanConverter::Render(cFill::cTarget target, cFill& fill, std::int32_t x, std::int32_t y)
{
    ClosePolygon();
    if (m_width < 1 || m_height < 1 || m_overflow)
        return false;
    const std::int64_t left = std::int64_t(x) + m_left, top = std::int64_t(y) + m_top;
    if (!fill.Begin(target, ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + m_width),
                    ClampToInt32(top + m_height)))
    {
        fill.End();
        return false;
    }
    const bool nonZero = fill.FillRule() != cFill::EvenOdd;
    const std::int64_t stride = std::int64_t(m_width) + 1;
    const std::int64_t bandRows = std::clamp<std::int64_t>(std::int64_t(BandCells) / stride, 1, m_height);
    bool ok = true;
    try
    {
        m_cells.assign(std::size_t(stride * bandRows), sCell{0, 0});
        m_rowMin.assign(std::size_t(bandRows), INT32_MAX);
        m_rowMax.assign(std::size_t(bandRows), -1);
    }
    catch (const std::bad_alloc&)
    {
        ok = false;
    }
    if (ok)
    {
        m_fill = &fill;
        m_offsetX = left;
        m_offsetY = top;
        m_spanCount = 0;
        m_runLength = 0;
        // Edges enter the active list in the band where they start and
        // leave it after the band where they end.
        std::sort(m_edges.begin(), m_edges.end(),
                  [](const sEdge& a, const sEdge& b) { return std::min(a.y0, a.y1) < std::min(b.y0, b.y1); });
        std::vector<const sEdge*> active;
        std::size_t next = 0;
        for (m_bandTop = 0; m_bandTop < m_height; m_bandTop += bandRows)
        {
            m_bandRows = std::min<std::int64_t>(bandRows, m_height - m_bandTop);
            const std::int64_t bandBottom = (m_bandTop + m_bandRows) << SubpixelShift;
            while (next < m_edges.size() && std::min(m_edges[next].y0, m_edges[next].y1) < bandBottom)
                active.push_back(&m_edges[next++]);
            for (const sEdge* edge : active)
                RenderEdge(*edge);
            std::erase_if(active, [&](const sEdge* edge) { return std::max(edge->y0, edge->y1) <= bandBottom; });
            SweepBand(nonZero);
        }
        if (m_runLength > 0)
            PushSpan(m_runX, m_runRow, m_runLength, m_runCoverage);
        m_runLength = 0;
        FlushSpans();
        m_fill = nullptr;
    }
    fill.End();
    return ok;
}

bool cScanConverter::Render(cChannel& channel, std::int32_t x, std::int32_t y)
{
    cChannelFill fill;
    fill.SetFillRule(cFill::NonZero);
    return Render(cFill::cTarget(&channel), fill, x, y);
}

} // namespace Painter
