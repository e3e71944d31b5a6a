#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/painter/Contour.h"
#include "framework/painter/Fill.h"
#include "framework/painter/Span.h"

namespace Outline {
class cPath;
}

namespace Painter {

class cChannel;

// The anti-aliased scan converter. Outlines (polygons, Bezier curves,
// paths, glyph outlines) are collected as edges at 1/256-pixel precision;
// Render sweeps them row by row into spans with a coverage value 1..255
// and hands the spans to a fill.
//
// The outline lives in box coordinates: the box (left, top, right, bottom)
// says which pixels are produced. Render(target, fill, x, y) puts box
// pixel (px, py) at target pixel (px + x, py + y).
//
// Every contour is closed (a figure left open is closed by a line back to
// its start). Input coordinates that are not numbers count as 0 and huge
// ones are limited to +-CoordinateLimit pixels from the box, so nothing
// undefined reaches the integer arithmetic. Coverage is accumulated band
// by band in storage of a fixed budget, however long the outline.
class cScanConverter
{
public:
    // Spans are handed to the fill in batches of this many.
    static constexpr int SpanBatch = 256;
    // Curves are flattened into this many chords.
    static constexpr int CurveSteps = 16;
    // Sub-pixel precision: 1/256 pixel.
    static constexpr int SubpixelShift = 8;
    static constexpr std::int32_t SubpixelScale = 1 << SubpixelShift;
    static constexpr double CoordinateLimit = 4194304.0;  // 2^22 pixels
    // The largest box side.
    static constexpr std::int32_t MaxBoxSide = 65535;
    // The most edges one outline may hold; further input is refused and
    // Render then fails.
    static constexpr std::size_t MaxEdges = std::size_t(1) << 22;
    // Cells accumulated at a time (the band height is chosen from it).
    static constexpr std::size_t BandCells = std::size_t(1) << 16;

    cScanConverter() = default;
    // A box of width x height at the origin.
    cScanConverter(std::int32_t width, std::int32_t height);

    // Sets the box and clears the outline. False for a box without area or
    // with a side above MaxBoxSide (the converter then has no box and
    // renders nothing).
    bool SetBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    std::int32_t BoxLeft() const { return m_left; }
    std::int32_t BoxTop() const { return m_top; }
    std::int32_t BoxWidth() const { return m_width; }
    std::int32_t BoxHeight() const { return m_height; }

    // Forgets the outline; keeps the box.
    void Reset();

    // Figure building, in box coordinates (pixels). MoveTo closes the
    // current figure and starts the next.
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void QuadTo(double cx, double cy, double x, double y);
    void CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y);
    void ClosePolygon();

    // One closed polygon, every point moved by (dx, dy).
    void AddPolygon(const Outline::sPoint* points, std::size_t count, double dx = 0, double dy = 0);
    // Every contour of a path, closed, moved by (dx, dy).
    void AddPath(const Outline::cPath& path, double dx = 0, double dy = 0);
    // A glyph outline in GetGlyphOutline's native layout (see
    // Outline::cPath::AddNativeGlyph), its origin at (x, y). False when the
    // buffer was malformed (what was read before the fault is kept).
    bool AddGlyphOutline(const std::uint8_t* bytes, std::size_t size, double x, double y, double scaleX = 1,
                         double scaleY = 1);

    // False once the outline outgrew MaxEdges or memory ran out.
    bool IsOverflowed() const { return m_overflow; }
    std::size_t EdgeCount() const { return m_edges.size(); }

    // Sweeps the outline with the fill's rule: fill.Begin(target, box moved
    // by (x, y)), FillSpans in batches, fill.End(). Spans are clipped to the
    // box and to target coordinates 0..32766. False (nothing painted) without
    // a box, after an overflow, or when Begin refuses the target.
    bool Render(cFill::cTarget target, cFill& fill, std::int32_t x, std::int32_t y);
    // Renders the coverage into a channel with a channel fill and the
    // non-zero rule.
    bool Render(cChannel& channel, std::int32_t x, std::int32_t y);

    // The coverage of an accumulated area value under a fill rule.
    static std::uint8_t Coverage(std::int64_t area, bool nonZero);

private:
    struct sEdge
    {
        // 1/256 pixel, relative to the box's top left.
        std::int32_t x0, y0, x1, y1;
    };

    std::int32_t ToSubpixel(double value, std::int32_t origin) const;
    void AddEdge(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
    void LineToSubpixel(std::int32_t x, std::int32_t y);

    // Band accumulation.
    void RenderEdge(const sEdge& edge);
    void RenderRowPiece(std::int64_t row, std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb,
                        int sign);
    void RenderHorizontal(std::int64_t row, std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb,
                          int sign);
    void AddCell(std::int64_t row, std::int64_t cellX, std::int64_t cover, std::int64_t area);
    void SweepBand(bool nonZero);
    void EmitRun(std::int32_t row, std::int32_t x, std::int32_t length, std::uint8_t coverage);
    void PushSpan(std::int64_t x, std::int64_t y, std::int64_t length, std::uint8_t coverage);
    void FlushSpans();

    std::int32_t m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    std::vector<sEdge> m_edges;
    bool m_overflow = false;
    // The figure being built, in 1/256 pixel.
    bool m_open = false;
    std::int32_t m_startX = 0, m_startY = 0, m_lastX = 0, m_lastY = 0;
    double m_lastPixelX = 0, m_lastPixelY = 0;

    // Render state.
    struct sCell
    {
        std::int64_t cover;
        std::int64_t area;
    };
    std::vector<sCell> m_cells;           // (width + 1) per band row
    std::vector<std::int32_t> m_rowMin;   // touched cells per band row
    std::vector<std::int32_t> m_rowMax;
    std::int64_t m_bandTop = 0;           // first row of the band
    std::int64_t m_bandRows = 0;
    std::int64_t m_offsetX = 0, m_offsetY = 0;
    cFill* m_fill = nullptr;
    sSpan m_spans[SpanBatch];
    int m_spanCount = 0;
    // The run being merged.
    std::int32_t m_runRow = 0, m_runX = 0, m_runLength = 0;
    std::uint8_t m_runCoverage = 0;
};

} // namespace Painter
