#include "app/capture/MagnifierLayout.h"

using Container::sRect;

bool cMagnifierLayout::Place(int corner, const sRect& frame, const sRect& screen, int size, sRect& placed)
{
    sRect wanted;
    bool offHorizontally = false, offVertically = false;
    switch (corner) {
    case topLeft:
        wanted = {frame.left - size, frame.top - size, frame.left, frame.top};
        break;
    case bottomLeft:
        wanted = {frame.left - size, frame.bottom, frame.left, frame.bottom + size};
        break;
    case topRight:
        wanted = {frame.right, frame.top - size, frame.right + size, frame.top};
        break;
    case bottomRight:
        wanted = {frame.right, frame.bottom, frame.right + size, frame.bottom + size};
        break;
    default:
        return false;
    }
    offHorizontally = wanted.left < screen.left || wanted.right > screen.right;
    offVertically = wanted.top < screen.top || wanted.bottom > screen.bottom;
    if (offHorizontally && offVertically)
        return false;
    Container::KeepInside(wanted, screen);
    placed = wanted;
    return true;
}

sRect cMagnifierLayout::SourceSquare(int corner, const sRect& inside)
{
    const int n = kSourceSize;
    switch (corner) {
    case topLeft: return {inside.left, inside.top, inside.left + n, inside.top + n};
    case bottomLeft: return {inside.left, inside.bottom - n, inside.left + n, inside.bottom};
    case topRight: return {inside.right - n, inside.top, inside.right, inside.top + n};
    case bottomRight: return {inside.right - n, inside.bottom - n, inside.right, inside.bottom};
    default: return {};
    }
}

void cMagnifierLayout::Render(const Painter::cPicture& square, Painter::cPicture& target)
{
    if (target.IsEmpty())
        return;
    target.ResetClip();
    target.Fill(kBorderColour);
    const sRect zoomed{kBorder, kBorder, target.Width() - kBorder, target.Height() - kBorder};
    if (zoomed.IsEmpty() || square.IsEmpty())
        return;
    // The square's pixels replace the target's: a grab is opaque, and any
    // alpha it carries is not blended into the border colour.
    target.StretchDraw(0, zoomed, square, square.Bounds());
    target.SetOpaque(zoomed);
}
