#include "framework/document/BVText.h"

#include <new>

namespace Brimvale {

cBVText::~cBVText() = default;

std::unique_ptr<cBVObject> cBVText::Clone() const
{
    try
    {
        return std::make_unique<cBVText>(*this);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

} // namespace Brimvale
