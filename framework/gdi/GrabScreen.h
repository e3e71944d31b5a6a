#pragma once

#include "framework/painter/Picture.h"
#include "framework/core/Geometry.h"

namespace GDI {

// Copies a rectangle of the screen (virtual-screen coordinates) into
// `picture` as FORMAT_ARGB32 with every alpha 255. Parts outside the screen
// come out as BitBlt leaves them (black). False, with the picture
// unchanged, for a rectangle without area or too large for a picture, or
// when a GDI step fails (only a failed allocation of the picture itself,
// after every GDI step, leaves it empty); every temporary object is
// released either way.
bool GrabScreen(const Container::sRect& rect, Painter::cPicture& picture);

} // namespace GDI
