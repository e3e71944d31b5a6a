#include "framework/document/BVLayerMask.h"

#include <new>

#include "framework/painter/BlendModes.h"
#include "framework/painter/Canvas.h"

namespace Brimvale {

cBVLayerMask::~cBVLayerMask() = default;

std::unique_ptr<cBVObject> cBVLayerMask::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVLayerMask(*this));
}

void cBVLayerMask::ApplyTo(Painter::cPicture& picture, Container::sPoint layerOrigin) const
{
    if (picture.IsEmpty())
        return;
    const std::int64_t dx64 = std::int64_t(Position().x) - layerOrigin.x;
    const std::int64_t dy64 = std::int64_t(Position().y) - layerOrigin.y;
    Container::sRect inside{};
    if (!m_picture.IsEmpty() && dx64 > -65536 && dx64 < 65536 && dy64 > -65536 && dy64 < 65536)
    {
        const std::int32_t dx = static_cast<std::int32_t>(dx64);
        const std::int32_t dy = static_cast<std::int32_t>(dy64);
        Container::IntersectRect(inside, Container::sRect{dx, dy, dx + m_picture.Width(), dy + m_picture.Height()},
                                 Container::sRect{0, 0, picture.Width(), picture.Height()});
        Painter::cCanvas canvas(picture);
        canvas.CompositeAt(dx, dy, m_picture, m_picture.Bounds(), Painter::cBlendModes::MODE_APPLY_MASK, 255);
    }
    const std::uint32_t fill = FillValue();
    for (std::int32_t y = 0; y < picture.Height(); ++y)
    {
        std::uint32_t* row = picture.Row32(y);
        for (std::int32_t x = 0; x < picture.Width(); ++x)
        {
            if (Container::RectContains(inside, Container::sPoint{x, y}))
                continue;
            const std::uint32_t alpha = ((row[x] >> 24) * fill) / 255;
            row[x] = (row[x] & 0x00FFFFFFu) | (alpha << 24);
        }
    }
}

} // namespace Brimvale
