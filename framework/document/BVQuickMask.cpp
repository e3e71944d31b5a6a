#include "framework/document/BVQuickMask.h"

#include <new>

namespace Brimvale {

cBVQuickMask::~cBVQuickMask() = default;

std::unique_ptr<cBVObject> cBVQuickMask::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVQuickMask(*this));
}

} // namespace Brimvale
