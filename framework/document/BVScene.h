#pragma once

// Brimvale::cBVScene: a layered document: the canvas, the grid and guides,
// the scene styles, the metadata and the tree of layers under the root
// group. Rendering composites the layers into the canvas picture.

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/document/BVGroup.h"
#include "framework/document/BVQuickMask.h"
#include "framework/document/DocumentLimits.h"
#include "framework/document/Style.h"
#include "framework/painter/Picture.h"

namespace PictureFile {
class cExifInfo;
}

namespace Brimvale {

class cBVScene
{
public:
    struct sGrid
    {
        std::int32_t width = 10;
        std::int32_t height = 10;
        std::uint8_t flags[2] = {1, 1};
        std::vector<std::int32_t> horizontalGuides;
        std::vector<std::int32_t> verticalGuides;
    };

    cBVScene();
    cBVScene(const cBVScene&) = delete;
    cBVScene& operator=(const cBVScene&) = delete;
    ~cBVScene();

    // Stores the size and creates the canvas picture (FORMAT_ARGB32) of it;
    // false when the picture cannot be created (size unchanged).
    bool SetCanvasSize(std::int32_t width, std::int32_t height);
    std::int32_t CanvasWidth() const { return m_canvasWidth; }
    std::int32_t CanvasHeight() const { return m_canvasHeight; }
    Painter::cPicture& Canvas() { return m_canvas; }
    const Painter::cPicture& Canvas() const { return m_canvas; }

    cBVGroup& Root() { return m_root; }
    const cBVGroup& Root() const { return m_root; }
    sGrid& Grid() { return m_grid; }
    const sGrid& Grid() const { return m_grid; }
    Style::cStyle& Styles() { return m_styles; }
    const Style::cStyle& Styles() const { return m_styles; }
    cBVQuickMask& QuickMask() { return m_quickMask; }
    const Container::cWideString& Name() const { return m_name; }
    void SetName(const Container::cWideString& name) { m_name = name; }
    std::int32_t Resolution() const { return m_resolution; }
    void SetResolution(std::int32_t resolution) { m_resolution = resolution; }

    PictureFile::cExifInfo* Metadata() const { return m_metadata.get(); }
    // Replaces (and destroys) the metadata; null removes it.
    void SetMetadata(std::unique_ptr<PictureFile::cExifInfo> info);

    // Every group's rectangle from its children, innermost first.
    void RecomputeGroupBounds() { m_root.RecomputeBounds(); }

    // What rendering costs, estimated from the layers' rectangles and
    // styles without rendering anything (pixel operations and pixels the
    // styled layers need).
    std::uint64_t EstimateRenderWork() const;
    std::uint64_t EstimateRenderPixels() const;
    // Clears the canvas to transparent and composites every visible layer
    // into it, bottom first. False without a canvas, or when the estimate
    // exceeds maxWork or the pixel budget (nothing is drawn then).
    bool Render(std::uint64_t maxWork = sDocumentLimits::kBaseRenderWork);

private:
    sGrid m_grid;
    Style::cStyle m_styles;
    Container::cWideString m_name;
    std::int32_t m_canvasWidth = 0;
    std::int32_t m_canvasHeight = 0;
    std::int32_t m_resolution = 96;
    cBVGroup m_root;
    Painter::cPicture m_canvas;
    cBVQuickMask m_quickMask;
    std::unique_ptr<PictureFile::cExifInfo> m_metadata;
};

} // namespace Brimvale
