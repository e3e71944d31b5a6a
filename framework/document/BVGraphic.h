#pragma once

// Brimvale::cBVGraphic: a picture layer with an opacity, a blending mode,
// layer styles and an optional mask. The layer with its mask and styles
// applied is cached as the styled picture, drawn offset from the layer
// picture by the styles' growth; changes mark the cache dirty and it is
// regenerated on the next Render.

#include <memory>

#include "framework/document/BVLayerMask.h"
#include "framework/document/BVPicture.h"
#include "framework/document/Style.h"

namespace Brimvale {

class cBVGraphic : public cBVPicture
{
public:
    cBVGraphic() = default;
    cBVGraphic(const cBVGraphic& other);
    ~cBVGraphic() override;

    std::unique_ptr<cBVObject> Clone() const override;
    std::size_t GetMemorySize() const override;
    void ReleaseCache() override;
    // The styled picture's rectangle (relative to the layer picture).
    Container::sRect GetLocalBounds() const override;
    Container::sRect GetBounds(bool withStyles) const override;
    void Invalidate() override;
    void Draw(Painter::cCanvas& canvas, const Painter::cMatrix& matrix) override;
    void Render(Painter::cCanvas& canvas, const Painter::cMatrix& matrix, std::int32_t mode,
                std::int32_t opacity) override;

    std::int32_t BlendingMode() const { return m_blendingMode; }
    void SetBlendingMode(std::int32_t mode) { m_blendingMode = mode; }
    Style::cStyle& Styles() { return m_styles; }
    const Style::cStyle& Styles() const { return m_styles; }
    cBVLayerMask* Mask() const { return m_mask.get(); }
    void SetMask(std::unique_ptr<cBVLayerMask> mask) { m_mask = std::move(mask); }
    std::uint8_t MaskEnabled() const { return m_maskEnabled; }
    void SetMaskEnabled(std::uint8_t enabled) { m_maskEnabled = enabled; }

    // Whether styles take part: a non-empty list with its flag set.
    bool UsesStyles() const { return !m_styles.IsEmpty() && m_styles.Enabled(); }
    // Regenerates the styled picture when it is dirty; false when that
    // failed (the layer then draws nothing).
    bool UpdateStyledPicture();
    const Painter::cPicture& StyledPicture() const { return m_styled; }
    Container::sPoint StyledOffset() const { return m_styledOffset; }
    // Pixel operations regenerating the styled picture costs, and the
    // pixels it holds.
    std::uint64_t EstimateStyleWork() const;
    std::uint64_t EstimateStyledPixels() const;

private:
    bool m_dirty = true;
    std::int32_t m_blendingMode = 0;
    Style::cStyle m_styles;
    bool m_styleCacheDirty = true;
    std::unique_ptr<cBVLayerMask> m_mask;
    std::uint8_t m_maskEnabled = 0;
    Container::sPoint m_styledOffset;
    Painter::cPicture m_styled;
};

} // namespace Brimvale
