#pragma once

#include <cstdint>
#include <string_view>

#include <windows.h>

#include "framework/core/Geometry.h"

namespace Painter {
class cPicture;
}

namespace GDI {

class cBitmap;

// A device context with scoped ownership: DeleteDC on destruction when the
// handle is owned. The drawing operations restore every object and colour
// they change. Colours are 0x00RRGGBB; rectangles have right and bottom
// exclusive.
class cDC
{
public:
    cDC() = default;
    explicit cDC(HDC dc, bool owns = true) : m_dc(dc), m_owns(owns) {}
    cDC(const cDC&) = delete;
    cDC& operator=(const cDC&) = delete;
    virtual ~cDC();

    HDC Handle() const { return m_dc; }
    bool IsNull() const { return m_dc == nullptr; }
    // Deletes an owned handle and takes `dc`.
    void Attach(HDC dc, bool owns = true);
    HDC Detach();

    // A one-pixel outline of rect.
    void FrameRect(const Container::sRect& rect, std::uint32_t colour) const;
    void FillSolidRect(const Container::sRect& rect, std::uint32_t colour) const;
    void FillEllipse(const Container::sRect& rect, std::uint32_t colour) const;
    // Top row and left column in the first colour, then the bottom row and
    // right column in the second.
    void Draw3dRect(const Container::sRect& rect, std::uint32_t topLeft, std::uint32_t bottomRight) const;
    // Band i of n (rows when vertical, else columns) coloured per channel
    // (from * (n - i) + to * i) / n.
    void GradientFill(bool vertical, std::uint32_t from, std::uint32_t to, const Container::sRect& rect) const;
    // Copies sourceRect of the bitmap to (x, y).
    bool DrawBitmap(std::int32_t x, std::int32_t y, const cBitmap& bitmap, const Container::sRect& sourceRect) const;
    // Copies sourceRect of a 24- or 32-bit picture to (x, y) straight from
    // its rows, upright. The rectangle is clipped to the picture first.
    bool DrawPicture(std::int32_t x, std::int32_t y, const Painter::cPicture& picture,
                     const Container::sRect& sourceRect) const;
    // One line of text, vertically centred in rect, no prefix processing,
    // on a transparent background.
    void DrawTextLine(std::u16string_view text, const Container::sRect& rect, std::uint32_t colour) const;
    // The size DrawTextW would need for the text with `flags`, placed in
    // rect: flag 1 centres it horizontally, else flag 2 aligns it right;
    // flag 4 centres it vertically, else flag 8 puts it on the bottom edge;
    // otherwise it sits at the top left. An empty rectangle on failure.
    Container::sRect MeasureText(std::u16string_view text, const Container::sRect& rect, std::uint32_t flags) const;

protected:
    HDC m_dc = nullptr;
    bool m_owns = true;
};

} // namespace GDI
