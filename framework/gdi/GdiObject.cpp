#include "framework/gdi/GdiObject.h"

namespace GDI {

cGdiObject& cGdiObject::operator=(cGdiObject&& other) noexcept
{
    if (this != &other)
        Reset(other.Detach());
    return *this;
}

cGdiObject::~cGdiObject()
{
    Reset();
}

void cGdiObject::Reset(HGDIOBJ handle)
{
    if (m_handle && m_handle != handle)
        DeleteObject(m_handle);
    m_handle = handle;
}

HGDIOBJ cGdiObject::Detach()
{
    HGDIOBJ handle = m_handle;
    m_handle = nullptr;
    return handle;
}

} // namespace GDI
