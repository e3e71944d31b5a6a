#include "framework/gdi/GrabScreen.h"

#include <algorithm>
#include <cstdint>

#include <windows.h>

#include "framework/gdi/Bitmap.h"
#include "framework/gdi/DIBPicture.h"

namespace GDI {

namespace {

// Releases the screen DC and deletes the memory DCs however the grab ends.
struct sGrabResources
{
    HDC screen = nullptr;
    HDC memory = nullptr;
    HDC target = nullptr;

    ~sGrabResources()
    {
        if (target)
            DeleteDC(target);
        if (memory)
            DeleteDC(memory);
        if (screen)
            ReleaseDC(nullptr, screen);
    }
};

} // namespace

bool GrabScreen(const Container::sRect& rect, Painter::cPicture& picture)
{
    const std::int64_t width = std::int64_t(rect.right) - rect.left;
    const std::int64_t height = std::int64_t(rect.bottom) - rect.top;
    if (width < 1 || height < 1 || width > 32767 || height > 32767)
        return false;

    sGrabResources resources;
    resources.screen = GetDC(nullptr);
    if (!resources.screen)
        return false;
    resources.memory = CreateCompatibleDC(resources.screen);
    if (!resources.memory)
        return false;

    // 1-2: the screen into a compatible bitmap.
    cBitmap bitmap;
    if (!bitmap.CreateCompatible(resources.screen, std::int32_t(width), std::int32_t(height)))
        return false;
    HGDIOBJ old = SelectObject(resources.memory, bitmap.Object());
    if (!old || old == HGDI_ERROR)
        return false;
    // Only the part on the virtual screen is copied; the rest is made black
    // explicitly (some systems copy nothing at all when the source reaches
    // past the screen).
    const std::int64_t screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const std::int64_t screenTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const std::int64_t screenRight = screenLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const std::int64_t screenBottom = screenTop + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const std::int64_t left = std::max<std::int64_t>(rect.left, screenLeft);
    const std::int64_t top = std::max<std::int64_t>(rect.top, screenTop);
    const std::int64_t right = std::min<std::int64_t>(rect.right, screenRight);
    const std::int64_t bottom = std::min<std::int64_t>(rect.bottom, screenBottom);
    BOOL copied = TRUE;
    if (left != rect.left || top != rect.top || right != rect.right || bottom != rect.bottom)
        copied = PatBlt(resources.memory, 0, 0, std::int32_t(width), std::int32_t(height), BLACKNESS);
    if (copied && left < right && top < bottom)
        copied = BitBlt(resources.memory, std::int32_t(left - rect.left), std::int32_t(top - rect.top),
                        std::int32_t(right - left), std::int32_t(bottom - top), resources.screen, std::int32_t(left),
                        std::int32_t(top), SRCCOPY);
    SelectObject(resources.memory, old);
    if (!copied)
        return false;

    // 3: the bitmap's true size.
    std::int32_t bitmapWidth = 0, bitmapHeight = 0;
    if (!bitmap.GetSize(bitmapWidth, bitmapHeight) || bitmapWidth < 1 || bitmapHeight < 1)
        return false;

    // 4: into a 32-bit section, whatever the screen's format.
    cDIBPicture dib;
    if (!dib.CreateDIB(bitmapWidth, bitmapHeight))
        return false;
    resources.target = CreateCompatibleDC(resources.screen);
    if (!resources.target)
        return false;
    HGDIOBJ oldSource = SelectObject(resources.memory, bitmap.Object());
    HGDIOBJ oldTarget = SelectObject(resources.target, dib.Section());
    bool ok = oldSource && oldSource != HGDI_ERROR && oldTarget && oldTarget != HGDI_ERROR &&
              BitBlt(resources.target, 0, 0, bitmapWidth, bitmapHeight, resources.memory, 0, 0, SRCCOPY);
    if (oldTarget && oldTarget != HGDI_ERROR)
        SelectObject(resources.target, oldTarget);
    if (oldSource && oldSource != HGDI_ERROR)
        SelectObject(resources.memory, oldSource);
    if (!ok)
        return false;
    GdiFlush();

    // 5: every GDI step has succeeded; only now is the target touched.
    if (!picture.Create(Painter::FORMAT_ARGB32, bitmapWidth, bitmapHeight) || !picture.CopyPixels(dib))
        return false;
    picture.SetOpaque();
    return true;
}

} // namespace GDI
