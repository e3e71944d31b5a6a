#include "framework/document/BVShape.h"

#include <cmath>
#include <new>

#include "framework/painter/PixelFormat.h"

namespace Brimvale {

namespace {

std::int32_t SizeOf(float value)
{
    if (!(value >= 0) || value > float(Painter::kMaxPictureSize))
        return 0;
    return static_cast<std::int32_t>(std::floor(value));
}

} // namespace

cBVShape::~cBVShape() = default;

std::unique_ptr<cBVObject> cBVShape::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVShape(*this));
}

Container::sRect cBVShape::GetLocalBounds() const
{
    const Container::sRect rect{0, 0, SizeOf(width), SizeOf(height)};
    return rect.IsEmpty() ? Container::sRect{} : rect;
}

void cBVShape::GetSize(std::int32_t& outWidth, std::int32_t& outHeight) const
{
    outWidth = SizeOf(width);
    outHeight = SizeOf(height);
}

} // namespace Brimvale
