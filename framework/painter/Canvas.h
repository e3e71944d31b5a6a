#pragma once

// Painter::cCanvas: the drawing context over a FORMAT_ARGB32 picture. It
// composites source pictures with a blending mode and an opacity (through a
// transform or stretched), optionally through a selection mask, and draws
// filled and stroked shapes through the scan converter.
//
// Coordinates: Composite, CompositeCopy and StretchComposite take target
// pixel coordinates; the shape operations take logical coordinates, which
// the mapping turns into target coordinates. Everything is clipped to the
// canvas clip rectangle, which never leaves the target. The mask is not
// owned: it must outlive its use by the canvas.

#include <cstdint>
#include <vector>

#include "framework/painter/Contour.h"
#include "framework/painter/Matrix.h"
#include "framework/core/Geometry.h"

namespace Painter {

class cChannel;
class cFill;
class cPicture;

class cCanvas
{
public:
    // A stroke: a colour and a width in pixels; width 0 draws no stroke.
    struct sStroke
    {
        std::uint32_t colour = 0xFF000000u;
        float width = 0;
    };

    using cPolygon = std::vector<Outline::sPoint>;

    explicit cCanvas(cPicture& target);
    cCanvas(const cCanvas&) = delete;
    cCanvas& operator=(const cCanvas&) = delete;

    cPicture& Target() { return m_target; }

    // ---- Mapping: logical x becomes (x - window x) * viewport width /
    // window width + viewport x, likewise y. ----------------------------

    // False (mapping unchanged) when a window extent is 0.
    bool SetMapping(std::int32_t windowX, std::int32_t windowY, std::int32_t windowWidth, std::int32_t windowHeight,
                    std::int32_t viewportX, std::int32_t viewportY, std::int32_t viewportWidth,
                    std::int32_t viewportHeight);
    // The identity mapping over the target's size.
    void ResetMapping();
    std::int32_t MapX(std::int32_t x) const;
    std::int32_t MapY(std::int32_t y) const;
    float MapX(float x) const;
    float MapY(float y) const;
    // Both corners mapped; a mapping with a negative extent yields the
    // rectangle with its sides put back in order.
    Container::sRect MapRect(const Container::sRect& rect) const;

    // ---- Mask and clip ----------------------------------------------------

    // A mask whose top left lies at (x, y) in target coordinates. Pixels of
    // the target outside the mask read a mask byte of 0. A mask without
    // pixels (or null) turns masking off.
    void SetMask(const cChannel* mask, std::int32_t x, std::int32_t y);
    void ClearMask() { SetMask(nullptr, 0, 0); }
    bool UsesMask() const { return m_useMask; }

    const Container::sRect& Clip() const { return m_clip; }
    // The clip rectangle, kept inside the target.
    void SetClip(const Container::sRect& clip);

    // Whether ellipses get anti-aliased edges (on after construction);
    // without it a pixel is painted fully or not at all.
    bool Antialias() const { return m_antialias; }
    void SetAntialias(bool on) { m_antialias = on; }

    // ---- Compositing --------------------------------------------------------

    // Draws sourceRect of source through the matrix (which maps source
    // picture coordinates into the target) with a blending mode and an
    // opacity 0..255. A pure translation is drawn at the translation rounded
    // to whole pixels; any other matrix resamples bilinearly. A matrix that
    // is not finite or (nearly) singular draws nothing.
    void Composite(const cMatrix& matrix, const cPicture& source, const Container::sRect& sourceRect, std::int32_t mode,
                   std::int32_t opacity);
    // The translation-only path with the source rectangle's top left drawn
    // at (x, y).
    void CompositeAt(std::int32_t x, std::int32_t y, const cPicture& source, const Container::sRect& sourceRect,
                     std::int32_t mode, std::int32_t opacity);
    // The transformed path without a mode: each sampled pixel replaces the
    // target's. Does not read the mask.
    void CompositeCopy(const cMatrix& matrix, const cPicture& source, const Container::sRect& sourceRect);
    // Scales sourceRect onto destRect (target coordinates), sampling with
    // nearest-neighbour stepping or, with smooth, bilinearly. Modes 28 and 30
    // draw nothing on this path.
    void StretchComposite(const Container::sRect& destRect, const cPicture& source, const Container::sRect& sourceRect,
                          std::int32_t mode, std::int32_t opacity, bool smooth);

    // ---- Shapes (logical coordinates) ---------------------------------------

    // The whole mapped window set to value, no blending.
    void Clear(std::uint32_t value);
    void FillRect(float left, float top, float right, float bottom, cFill* fill, const sStroke& stroke);
    // Every row composited with the normal rule.
    void FillRectBlend(std::uint32_t colour, const Container::sRect& rect);
    void FillRoundRect(float left, float top, float right, float bottom, float radius, cFill* fill,
                       const sStroke& stroke);
    // A closed polygon of 360 points, one per degree, inscribed in rect.
    void FillEllipse(cFill* fill, const sStroke& stroke, const Container::sRect& rect);
    void FillPolygon(const Outline::sPoint* points, std::size_t count, cFill* fill);
    // One-pixel bands: top and left in `first`, bottom and right in
    // `second`, composited.
    void Draw3dRect(const Container::sRect& rect, std::uint32_t first, std::uint32_t second);
    // Fills the polygons (with `fill`, when there is one) at the fill's
    // rule, then strokes their outlines (when the stroke width is not 0)
    // with the stroke colour under the non-zero rule.
    void FillPolygons(const std::vector<cPolygon>& polygons, cFill* fill, const sStroke& stroke);
    // Bilinear resampling of sourceRect onto rect (logical), replacing the
    // pixels.
    void StretchPicture(const cPicture& source, const Container::sRect& sourceRect, const Container::sRect& rect);

private:
    // Fills mask bytes for target row y, columns x..x + count - 1 (0 outside
    // the mask).
    void MaskRow(std::int32_t x, std::int32_t y, std::int32_t count, std::uint8_t* out) const;
    bool TargetUsable() const;
    // Source rectangle clipped to the source picture; false when empty or the
    // source is not a 32-bit picture.
    static bool ClipSource(const cPicture& source, Container::sRect& sourceRect);
    // The transformed path; copyOnly writes the samples unchanged.
    void Transformed(const cMatrix& matrix, const cPicture& source, const Container::sRect& sourceRect, std::int32_t mode,
                     std::int32_t opacity, bool copyOnly);
    // Builds the outline polygons of a stroke around polygons.
    static void StrokePolygons(const std::vector<cPolygon>& polygons, float width, std::vector<cPolygon>& out);
    void MapPolygons(const std::vector<cPolygon>& polygons, std::vector<cPolygon>& out) const;
    void RenderPolygons(const std::vector<cPolygon>& polygons, cFill& fill);

    cPicture& m_target;
    std::int32_t m_windowX = 0, m_windowY = 0, m_windowWidth = 1, m_windowHeight = 1;
    std::int32_t m_viewportX = 0, m_viewportY = 0, m_viewportWidth = 1, m_viewportHeight = 1;
    const cChannel* m_mask = nullptr;
    std::int32_t m_maskX = 0;
    std::int32_t m_maskY = 0;
    bool m_useMask = false;
    Container::sRect m_clip;
    bool m_antialias = true;
    // Row buffers reused between draws.
    std::vector<std::uint32_t> m_sourceRow;
    std::vector<std::uint8_t> m_maskRow;
};

} // namespace Painter
