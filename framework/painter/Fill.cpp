#include "framework/painter/Fill.h"

namespace Painter {

bool cFill::Begin(cTarget target, std::int32_t, std::int32_t, std::int32_t, std::int32_t)
{
    m_target = target;
    return !target.IsNull();
}

void cFill::End()
{
    m_target = cTarget();
}

} // namespace Painter
