#include "framework/gdi/GrabScreen.h"

#include <algorithm>
#include <cstdint>

#include <windows.h>

#include "framework/gdi/DIBPicture.h"

namespace GDI {

namespace {

// Releases the screen DC and deletes the memory DC however the grab ends.
struct sGrabResources
{
    HDC screen = nullptr;
    HDC target = nullptr;

    ~sGrabResources()
    {
        if (target)
            DeleteDC(target);
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
    resources.target = CreateCompatibleDC(resources.screen);
    if (!resources.target)
        return false;

    // The screen straight into a 32-bit section, whatever the screen's
    // format: one copy of the pixels fewer than going through a bitmap of
    // the screen's own format, which counts for a whole-screen grab.
    cDIBPicture dib;
    if (!dib.CreateDIB(std::int32_t(width), std::int32_t(height)))
        return false;
    HGDIOBJ old = SelectObject(resources.target, dib.Section());
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
        copied = PatBlt(resources.target, 0, 0, std::int32_t(width), std::int32_t(height), BLACKNESS);
    if (copied && left < right && top < bottom)
        copied = BitBlt(resources.target, std::int32_t(left - rect.left), std::int32_t(top - rect.top),
                        std::int32_t(right - left), std::int32_t(bottom - top), resources.screen, std::int32_t(left),
                        std::int32_t(top), SRCCOPY);
    SelectObject(resources.target, old);
    if (!copied)
        return false;
    GdiFlush();

    // Every GDI step has succeeded; only now is the picture touched.
    if (!picture.Create(Painter::FORMAT_ARGB32, std::int32_t(width), std::int32_t(height)) || !picture.CopyPixels(dib))
        return false;
    picture.SetOpaque();
    return true;
}

} // namespace GDI
