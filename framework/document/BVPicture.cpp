#include "framework/document/BVPicture.h"

#include <new>

#include "framework/painter/Canvas.h"

namespace Brimvale {

cBVPicture::~cBVPicture() = default;

std::unique_ptr<cBVObject> cBVPicture::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVPicture(*this));
}

std::size_t cBVPicture::GetMemorySize() const
{
    return cBVObject::GetMemorySize() +
           (m_picture.IsEmpty() ? 0 : std::size_t(m_picture.Stride()) * std::size_t(m_picture.Height()));
}

Container::sRect cBVPicture::GetLocalBounds() const
{
    if (m_picture.IsEmpty())
        return Container::sRect{};
    return Container::sRect{0, 0, m_picture.Width(), m_picture.Height()};
}

void cBVPicture::Render(Painter::cCanvas& canvas, const Painter::cMatrix& matrix, std::int32_t mode,
                        std::int32_t opacity)
{
    if (m_picture.IsEmpty() || GetBounds(false).IsEmpty())
        return;
    canvas.Composite(Matrix() * matrix, m_picture, m_picture.Bounds(), mode, opacity);
}

void cBVPicture::GetSize(std::int32_t& width, std::int32_t& height) const
{
    width = m_picture.IsEmpty() ? 0 : m_picture.Width();
    height = m_picture.IsEmpty() ? 0 : m_picture.Height();
}

} // namespace Brimvale
