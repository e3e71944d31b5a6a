#include "framework/document/BVGraphic.h"

#include <new>

#include "framework/painter/Canvas.h"

namespace Brimvale {

cBVGraphic::cBVGraphic(const cBVGraphic& other)
    : cBVPicture(other), m_dirty(true), m_blendingMode(other.m_blendingMode), m_styles(other.m_styles),
      m_styleCacheDirty(true), m_maskEnabled(other.m_maskEnabled)
{
    if (other.m_mask)
        m_mask = std::make_unique<cBVLayerMask>(*other.m_mask);
}

cBVGraphic::~cBVGraphic() = default;

std::unique_ptr<cBVObject> cBVGraphic::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVGraphic(*this));
}

std::size_t cBVGraphic::GetMemorySize() const
{
    return cBVPicture::GetMemorySize() +
           (m_styled.IsEmpty() ? 0 : std::size_t(m_styled.Stride()) * std::size_t(m_styled.Height()));
}

void cBVGraphic::ReleaseCache()
{
    m_styled.Release();
    m_styleCacheDirty = true;
}

void cBVGraphic::Invalidate()
{
    ReleaseCache();
}

Container::sRect cBVGraphic::GetLocalBounds() const
{
    const Container::sRect layer = cBVPicture::GetLocalBounds();
    if (!UsesStyles())
        return layer;
    return m_styles.GetStyledBounds(layer);
}

Container::sRect cBVGraphic::GetBounds(bool withStyles) const
{
    return TransformedBounds(withStyles ? GetLocalBounds() : cBVPicture::GetLocalBounds(), Matrix());
}

std::uint64_t cBVGraphic::EstimateStyleWork() const
{
    if (!UsesStyles())
        return 0;
    return m_styles.EstimateWork(cBVPicture::GetLocalBounds());
}

std::uint64_t cBVGraphic::EstimateStyledPixels() const
{
    if (m_picture.IsEmpty() || (!UsesStyles() && !(m_mask && m_maskEnabled)))
        return 0;
    const Container::sRect bounds = GetLocalBounds();
    return std::uint64_t(std::int64_t(bounds.Width())) * std::uint64_t(std::int64_t(bounds.Height()));
}

bool cBVGraphic::UpdateStyledPicture()
{
    if (!m_styleCacheDirty)
        return !m_styled.IsEmpty();
    m_styled.Release();
    m_styledOffset = Container::sPoint{};
    m_dirty = false;
    m_styleCacheDirty = false;
    if (m_picture.IsEmpty())
        return false;
    const Painter::cPicture* source = &m_picture;
    Painter::cPicture masked;
    if (m_mask && m_maskEnabled)
    {
        if (!masked.CopyFrom(m_picture))
            return false;
        m_mask->ApplyTo(masked, Position());
        source = &masked;
    }
    if (!UsesStyles())
    {
        if (source == &masked)
            m_styled = std::move(masked);
        else if (!m_styled.CopyFrom(m_picture))
            return false;
        return true;
    }
    const Container::sRect bounds = GetLocalBounds();
    if (!m_styles.RenderStyles(m_styled, *source))
        return false;
    m_styledOffset = Container::sPoint{bounds.left, bounds.top};
    return !m_styled.IsEmpty();
}

void cBVGraphic::Draw(Painter::cCanvas& canvas, const Painter::cMatrix& matrix)
{
    Render(canvas, matrix, m_blendingMode, Opacity());
}

void cBVGraphic::Render(Painter::cCanvas& canvas, const Painter::cMatrix& matrix, std::int32_t mode,
                        std::int32_t opacity)
{
    if (m_picture.IsEmpty() || GetBounds(true).IsEmpty())
        return;
    if (!UsesStyles() && !(m_mask && m_maskEnabled))
    {
        cBVPicture::Render(canvas, matrix, mode, opacity);
        return;
    }
    if (!UpdateStyledPicture())
        return;
    const Painter::cMatrix offset = Painter::cMatrix::Translation(static_cast<float>(m_styledOffset.x),
                                                                  static_cast<float>(m_styledOffset.y));
    canvas.Composite(offset * Matrix() * matrix, m_styled, m_styled.Bounds(), mode, opacity);
}

} // namespace Brimvale
