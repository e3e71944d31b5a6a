#include "framework/document/BVScene.h"

#include <algorithm>

#include "framework/document/BVGraphic.h"
#include "framework/document/DocumentLimits.h"
#include "framework/painter/Canvas.h"
#include "framework/picturefile/ExifInfo.h"
#include "framework/picturefile/PixelBudget.h"

namespace Brimvale {

namespace {

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

std::uint64_t Area(const Container::sRect& rect)
{
    if (rect.IsEmpty())
        return 0;
    return std::uint64_t(std::int64_t(rect.right) - rect.left) * std::uint64_t(std::int64_t(rect.bottom) - rect.top);
}

// Walks the visible layers of a group, bottom first.
template <typename tVisit>
void VisitLayers(const cBVGroup& group, tVisit&& visit)
{
    for (std::size_t i = 0; i < group.ChildCount(); ++i)
    {
        const cBVObject& child = group.Child(i);
        if (!child.Visible())
            continue;
        if (child.Kind() == cBVObject::KindGroup)
            VisitLayers(static_cast<const cBVGroup&>(child), visit);
        else
            visit(child);
    }
}

} // namespace

cBVScene::cBVScene()
{
    m_quickMask.SetOpacity(255);
}

cBVScene::~cBVScene() = default;

bool cBVScene::SetCanvasSize(std::int32_t width, std::int32_t height)
{
    Painter::cPicture canvas;
    if (!canvas.Create(Painter::FORMAT_ARGB32, width, height))
        return false;
    m_canvas = std::move(canvas);
    m_canvasWidth = width;
    m_canvasHeight = height;
    return true;
}

void cBVScene::SetMetadata(std::unique_ptr<PictureFile::cExifInfo> info)
{
    m_metadata = std::move(info);
}

std::uint64_t cBVScene::EstimateRenderWork() const
{
    const Container::sRect canvas{0, 0, m_canvasWidth, m_canvasHeight};
    std::uint64_t work = Area(canvas);
    VisitLayers(m_root, [&](const cBVObject& layer) {
        Container::sRect drawn;
        Container::IntersectRect(drawn, layer.GetBounds(true), canvas);
        work = SaturatingAdd(work, Area(drawn));
        if (const auto* graphic = dynamic_cast<const cBVGraphic*>(&layer))
            work = SaturatingAdd(work, graphic->EstimateStyleWork());
    });
    return work;
}

std::uint64_t cBVScene::EstimateRenderPixels() const
{
    std::uint64_t pixels = 0;
    VisitLayers(m_root, [&](const cBVObject& layer) {
        if (const auto* graphic = dynamic_cast<const cBVGraphic*>(&layer))
            pixels = SaturatingAdd(pixels, graphic->EstimateStyledPixels());
    });
    return pixels;
}

bool cBVScene::Render(std::uint64_t maxWork)
{
    if (m_canvas.IsEmpty())
        return false;
    if (EstimateRenderWork() > maxWork ||
        EstimateRenderPixels() > PictureFile::PixelBudget())
        return false;
    m_canvas.Fill(0);
    Painter::cCanvas canvas(m_canvas);
    m_root.Draw(canvas, Painter::cMatrix::Identity());
    return true;
}

} // namespace Brimvale
