#pragma once

#include <cstdint>

#include "framework/gdi/GdiObject.h"

namespace GDI {

// An owned brush handle.
class cBrush : public cGdiObject
{
public:
    cBrush() = default;
    explicit cBrush(HBRUSH brush) : cGdiObject(brush) {}

    // A solid brush of a 0x00RRGGBB colour. False (unchanged) on failure.
    bool CreateSolid(std::uint32_t colour);
    HBRUSH Handle() const { return static_cast<HBRUSH>(Object()); }
};

} // namespace GDI
