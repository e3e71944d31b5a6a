#pragma once

#include <windows.h>

#include "framework/painter/Picture.h"

// Puts a picture on the clipboard as CF_DIB (composed on white) and
// CF_DIBV5 (with its alpha), laid out by cClipboardImage.
class cClipboardWriter
{
public:
    // Empties the clipboard (owned by owner) and places both formats.
    // Answers the number of formats placed: 0 when the picture is empty
    // (the clipboard is then not touched) or the clipboard cannot be
    // opened. A block the clipboard refuses is freed here.
    static int Place(HWND owner, const Painter::cPicture& picture);
};
