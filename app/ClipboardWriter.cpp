#include "app/ClipboardWriter.h"

#include "app/capture/ClipboardImage.h"

#include <cstring>
#include <vector>

namespace {

// Places bytes as format; the clipboard owns the block once placed.
bool PlaceBlock(UINT format, const std::vector<std::uint8_t>& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
    if (block == nullptr)
        return false;
    void* memory = GlobalLock(block);
    if (memory == nullptr) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(memory, bytes.data(), bytes.size());
    GlobalUnlock(block);
    if (SetClipboardData(format, block) == nullptr) {
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
    std::vector<std::uint8_t> bytes;
    if (cClipboardImage::MakeDib(picture, bytes) && PlaceBlock(CF_DIB, bytes))
        ++placed;
    if (cClipboardImage::MakeDibV5(picture, bytes) && PlaceBlock(CF_DIBV5, bytes))
        ++placed;
    CloseClipboard();
    return placed;
}
