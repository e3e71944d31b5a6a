#include "framework/gdi/Brush.h"

namespace GDI {

bool cBrush::CreateSolid(std::uint32_t colour)
{
    HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
    if (!brush)
        return false;
    Reset(brush);
    return true;
}

} // namespace GDI
