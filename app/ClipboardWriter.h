#pragma once

#include <windows.h>

#include "framework/painter/Picture.h"

#include <memory>

// Puts a picture on the clipboard as CF_DIB (composed on white) and
// CF_DIBV5 (with its alpha), laid out by cClipboardImage.
//
// Place writes both blocks at once. Offer only announces the two formats
// and writes a block when a program asks for it (the owner window hears
// WM_RENDERFORMAT), or writes whatever is left before the owner goes
// (WM_RENDERALLFORMATS, or RenderAll by the owner itself): a capture is on
// the clipboard at once, and the many megabytes of a screen are copied only
// if somebody pastes them.
class cClipboardWriter
{
public:
    // Empties the clipboard (owned by owner) and places both formats.
    // Answers the number of formats placed: 0 when the picture is empty
    // (the clipboard is then not touched) or the clipboard cannot be
    // opened. A block the clipboard refuses is freed here.
    static int Place(HWND owner, const Painter::cPicture& picture);

    // Empties the clipboard (owned by owner, which must pass the three
    // messages below to this object) and announces both formats, keeping
    // a share of picture until the clipboard moves on. Answers the number
    // of formats announced, as Place does.
    int Offer(HWND owner, std::shared_ptr<const Painter::cPicture> picture);
    // WM_RENDERFORMAT: writes and places the block for format. False for
    // a format not offered (or no longer), or when memory runs out.
    bool RenderFormat(UINT format);
    // WM_RENDERALLFORMATS, and before the owner window is destroyed: every
    // offered format not yet written is written, while the owner still
    // owns the clipboard. Answers the number of formats written.
    int RenderAll();
    // WM_DESTROYCLIPBOARD: somebody else has emptied the clipboard; the
    // picture is let go.
    void Release();

    bool HasOffer() const { return m_picture != nullptr; }

private:
    HWND m_owner = nullptr;
    std::shared_ptr<const Painter::cPicture> m_picture;
    bool m_dibPlaced = false;
    bool m_dibV5Placed = false;
};
