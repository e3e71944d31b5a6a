#include "framework/gdi/Bitmap.h"

namespace GDI {

bool cBitmap::CreateCompatible(HDC dc, std::int32_t width, std::int32_t height)
{
    if (!dc || width < 1 || height < 1)
        return false;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    if (!bitmap)
        return false;
    Reset(bitmap);
    return true;
}

bool cBitmap::GetSize(std::int32_t& width, std::int32_t& height) const
{
    BITMAP info{};
    if (IsNull() || GetObjectW(Object(), sizeof info, &info) != sizeof info)
        return false;
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return true;
}

} // namespace GDI
