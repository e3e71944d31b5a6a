#pragma once

#include "framework/core/Geometry.h"
#include "framework/painter/Picture.h"

// The four corner magnifiers of the capture frame, free of any window:
// where each one sits diagonally off its corner (pushed beside the frame
// where the virtual screen ends), which 25 x 25 square just inside the
// border it shows, and how it paints that square enlarged to 74 x 74 with
// hard pixel edges inside a 3-pixel red border.
class cMagnifierLayout
{
public:
    // Corners in the frame's order.
    enum eCorner : int
    {
        topLeft = 0,
        bottomLeft = 1,
        topRight = 2,
        bottomRight = 3,
    };
    static constexpr int kCornerCount = 4;
    static constexpr int kSourceSize = 25;
    static constexpr int kWindowSize = 80;
    static constexpr int kBorder = 3;
    // Opaque red, 0xAARRGGBB.
    static constexpr std::uint32_t kBorderColour = 0xFFFF0000u;

    // The magnifier of `corner` for a frame at frameRect (window
    // rectangle): false when it would leave the virtual screen on both axes
    // (it would cover the very corner it magnifies if pushed on both);
    // otherwise placed is its wanted rectangle moved inside the virtual
    // screen.
    static bool Place(int corner, const Container::sRect& frameRect, const Container::sRect& virtualScreen, int size,
                      Container::sRect& placed);
    // The square it shows, given the frame's inside (client rectangle
    // shrunk by the edge width, screen coordinates).
    static Container::sRect SourceSquare(int corner, const Container::sRect& inside);
    // Paints a magnifier of target's size: red everywhere, the square
    // (when it has pixels) stretched by nearest neighbour over the area
    // inside the border. target must be a 32-bit picture.
    static void Render(const Painter::cPicture& square, Painter::cPicture& target);
};
