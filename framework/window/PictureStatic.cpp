#include "framework/window/PictureStatic.h"

#include <algorithm>
#include <cstring>

#include "framework/gdi/PaintDC.h"

namespace Window {

void cPictureStatic::MakeCanvas(std::int32_t width, std::int32_t height)
{
    m_canvas.Release();
    if (width <= 0 || height <= 0)
        return;
    const std::int32_t rounded = (width + 3) / 4 * 4;
    if (!m_canvas.Create(Painter::FORMAT_ARGB32, rounded, height))
        return;
    for (std::int32_t y = 0; y < height; ++y)
        std::memset(m_canvas.Row32(y), 0, static_cast<std::size_t>(rounded) * 4);
}

void cPictureStatic::OnAttach(DWORD style)
{
    cStatic::OnAttach(style);
    const Container::sRect client = GetClientRect();
    MakeCanvas(client.Width(), client.Height());
    Invalidate(false);
}

void cPictureStatic::OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy)
{
    cStatic::OnSize(type, cx, cy);
    MakeCanvas(cx, cy);
}

bool cPictureStatic::OnPaint()
{
    GDI::cPaintDC paint(Handle());
    if (m_canvas.IsEmpty())
        return true;
    const Container::sRect client = GetClientRect();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_canvas.Width();
    info.bmiHeader.biHeight = -m_canvas.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int width = std::min<int>(client.Width(), m_canvas.Width());
    const int height = std::min<int>(client.Height(), m_canvas.Height());
    SetDIBitsToDevice(paint.Handle(), 0, 0, width, height, 0, 0, 0, static_cast<UINT>(m_canvas.Height()),
                      m_canvas.Bits(), &info, DIB_RGB_COLORS);
    return true;
}

} // namespace Window
