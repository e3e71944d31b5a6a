#include "framework/document/BVPath.h"

#include <new>

namespace Brimvale {

cBVPath::~cBVPath() = default;

std::unique_ptr<cBVObject> cBVPath::Clone() const
{
    try
    {
        return std::make_unique<cBVPath>(*this);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

} // namespace Brimvale
