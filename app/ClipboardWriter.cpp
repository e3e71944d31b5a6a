#include "app/ClipboardWriter.h"

#include "app/capture/ClipboardImage.h"

#include <cstdint>

namespace {

using tSize = std::uint64_t (*)(const Painter::cPicture&);
using tWrite = bool (*)(const Painter::cPicture&, std::uint8_t*, std::uint64_t);

// Lays the picture out straight into a movable, zero-initialised global
// block and places it as format; the clipboard owns the block once placed.
bool PlaceBlock(UINT format, const Painter::cPicture& picture, tSize size, tWrite write)
{
    const std::uint64_t bytes = size(picture);
    if (bytes == 0 || bytes > SIZE_MAX)
        return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes));
    if (block == nullptr)
        return false;
    void* memory = GlobalLock(block);
    if (memory == nullptr) {
        GlobalFree(block);
        return false;
    }
    const bool written = write(picture, static_cast<std::uint8_t*>(memory), bytes);
    GlobalUnlock(block);
    if (!written || SetClipboardData(format, block) == nullptr) {
        GlobalFree(block);
        return false;
    }
    return true;
}

} // namespace

int cClipboardWriter::Place(HWND owner, const Painter::cPicture& picture)
{
    if (picture.IsEmpty())
        return 0;
    if (!OpenClipboard(owner))
        return 0;
    EmptyClipboard();
    int placed = 0;
    if (PlaceBlock(CF_DIB, picture, cClipboardImage::DibSize, cClipboardImage::WriteDib))
        ++placed;
    if (PlaceBlock(CF_DIBV5, picture, cClipboardImage::DibV5Size, cClipboardImage::WriteDibV5))
        ++placed;
    CloseClipboard();
    return placed;
}
