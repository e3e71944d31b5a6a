#pragma once

#include <cstdint>

#include "framework/gdi/GdiObject.h"

namespace GDI {

// An owned bitmap handle.
class cBitmap : public cGdiObject
{
public:
    cBitmap() = default;
    explicit cBitmap(HBITMAP bitmap) : cGdiObject(bitmap) {}

    // A bitmap compatible with `dc`. False (unchanged) for a side below 1 or
    // when it cannot be created.
    bool CreateCompatible(HDC dc, std::int32_t width, std::int32_t height);
    // The bitmap's size from GetObjectW; false for a null or foreign handle.
    bool GetSize(std::int32_t& width, std::int32_t& height) const;
    HBITMAP Handle() const { return static_cast<HBITMAP>(Object()); }
};

} // namespace GDI
