#include "framework/gdi/DIBPicture.h"

namespace GDI {

cDIBPicture::~cDIBPicture()
{
    ReleaseDIB();
}

void cDIBPicture::ReleaseDIB()
{
    // The picture does not own the pixels: releasing it frees nothing.
    Release();
    if (m_section)
        DeleteObject(m_section);
    m_section = nullptr;
}

bool cDIBPicture::CreateDIB(std::int32_t width, std::int32_t height)
{
    ReleaseDIB();
    if (width < 1 || height < 1 || width > 32767 || height > 32767)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(std::int64_t(width) * height * 4);
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!section || !bits)
    {
        if (section)
            DeleteObject(section);
        return false;
    }
    if (!AttachBits(static_cast<std::uint8_t*>(bits), Painter::FORMAT_ARGB32, width, height, width * 4))
    {
        DeleteObject(section);
        return false;
    }
    m_section = section;
    return true;
}

} // namespace GDI
