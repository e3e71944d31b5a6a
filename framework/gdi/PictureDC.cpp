#include "framework/gdi/PictureDC.h"

namespace GDI {

cPictureDC::~cPictureDC()
{
    Destroy();
}

void cPictureDC::Destroy()
{
    if (m_dc)
    {
        if (m_oldObject)
            SelectObject(m_dc, m_oldObject);
        DeleteDC(m_dc);
    }
    m_dc = nullptr;
    m_oldObject = nullptr;
    m_picture.ReleaseDIB();
}

bool cPictureDC::Create(std::int32_t width, std::int32_t height)
{
    Destroy();
    if (width <= 0 || height <= 0)
        return false;
    if (!m_picture.CreateDIB(width, height))
        return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
    {
        m_picture.ReleaseDIB();
        return false;
    }
    HGDIOBJ old = SelectObject(dc, m_picture.Section());
    if (!old || old == HGDI_ERROR)
    {
        DeleteDC(dc);
        m_picture.ReleaseDIB();
        return false;
    }
    m_dc = dc;
    m_owns = true;
    m_oldObject = old;
    return true;
}

void cPictureDC::DrawPicture(std::int32_t x, std::int32_t y, const Painter::cPicture& source,
                             const Container::sRect& sourceRect)
{
    if (!m_dc || m_picture.IsEmpty())
        return;
    POINT point{x, y};
    LPtoDP(m_dc, &point, 1);
    const Container::sRect clipped = Container::Intersection(sourceRect, source.Bounds());
    if (clipped.IsEmpty())
        return;
    // The part of the buffer that receives the source, in buffer pixels.
    const std::int32_t destX = point.x + (clipped.left - sourceRect.left);
    const std::int32_t destY = point.y + (clipped.top - sourceRect.top);
    GdiFlush();
    m_picture.SetOpaque(Container::sRect(destX, destY, destX + clipped.Width(), destY + clipped.Height()));
    m_picture.AlphaDraw(destX, destY, source, clipped);
}

} // namespace GDI
