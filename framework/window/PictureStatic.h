#pragma once

#include "framework/painter/Picture.h"
#include "framework/window/Static.h"

namespace Window {

// A label that shows a 32-bit picture its owner draws: the canvas always
// has the client size, its width rounded up to a multiple of 4. The owner
// draws into GetCanvas() and invalidates.
class cPictureStatic : public cStatic
{
public:
    cPictureStatic() = default;

    Painter::cPicture& GetCanvas() { return m_canvas; }
    const Painter::cPicture& GetCanvas() const { return m_canvas; }

    void OnAttach(DWORD style) override;
    void OnSize(std::int32_t type, std::int32_t cx, std::int32_t cy) override;
    bool OnPaint() override;

private:
    // A cleared (transparent black) canvas for the size; none when a side is 0.
    void MakeCanvas(std::int32_t width, std::int32_t height);

    Painter::cPicture m_canvas;
};

} // namespace Window
