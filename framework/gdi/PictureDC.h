#pragma once

#include <cstdint>

#include "framework/gdi/DC.h"
#include "framework/gdi/DIBPicture.h"

namespace GDI {

// An off-screen buffer: a memory device context with a DIB section
// selected in, whose pixels are also a Painter picture. Draw into it with
// Painter operations (Picture()) or GDI calls (Handle()), then copy it to a
// window.
class cPictureDC : public cDC
{
public:
    cPictureDC() = default;
    ~cPictureDC() override;

    // Replaces any previous buffer. False, with no DC and no section left,
    // for a side of 0 or when the section or the DC cannot be made.
    bool Create(std::int32_t width, std::int32_t height);
    // Selects the original object back, deletes the DC, then the section.
    void Destroy();

    cDIBPicture& Picture() { return m_picture; }
    const cDIBPicture& Picture() const { return m_picture; }

    // Composites sourceRect of `source` at the logical point (x, y): the
    // destination area is made opaque first, then AlphaDraw.
    void DrawPicture(std::int32_t x, std::int32_t y, const Painter::cPicture& source, const Container::sRect& sourceRect);

private:
    cDIBPicture m_picture;
    HGDIOBJ m_oldObject = nullptr;
};

} // namespace GDI
