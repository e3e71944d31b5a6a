#include "framework/document/BVStockShape.h"

#include <new>

namespace Brimvale {

cBVStockShape::~cBVStockShape() = default;

std::unique_ptr<cBVObject> cBVStockShape::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVStockShape(*this));
}

} // namespace Brimvale
