#include "framework/document/BVBackground.h"

#include <new>

namespace Brimvale {

cBVBackground::~cBVBackground() = default;

std::unique_ptr<cBVObject> cBVBackground::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVBackground(*this));
}

} // namespace Brimvale
