#include "framework/document/BVImage.h"

#include <new>

namespace Brimvale {

cBVImage::~cBVImage() = default;

std::unique_ptr<cBVObject> cBVImage::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVImage(*this));
}

} // namespace Brimvale
