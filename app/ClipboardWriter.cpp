#include "app/ClipboardWriter.h"

#include "app/capture/ClipboardImage.h"

#include <cstdint>
#include <utility>

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

bool PlaceFormat(UINT format, const Painter::cPicture& picture)
{
    if (format == CF_DIB)
        return PlaceBlock(CF_DIB, picture, cClipboardImage::DibSize, cClipboardImage::WriteDib);
    if (format == CF_DIBV5)
        return PlaceBlock(CF_DIBV5, picture, cClipboardImage::DibV5Size, cClipboardImage::WriteDibV5);
    return false;
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
    for (UINT format : {CF_DIB, CF_DIBV5})
        if (PlaceFormat(format, picture))
            ++placed;
    CloseClipboard();
    return placed;
}

int cClipboardWriter::Offer(HWND owner, std::shared_ptr<const Painter::cPicture> picture)
{
    if (owner == nullptr || !picture || picture->IsEmpty() || cClipboardImage::DibSize(*picture) == 0)
        return 0;
    if (!OpenClipboard(owner))
        return 0;
    // Emptying tells the last owner (perhaps this one) to let go first.
    EmptyClipboard();
    m_owner = owner;
    m_picture = std::move(picture);
    m_dibPlaced = m_dibV5Placed = false;
    int offered = 0;
    for (UINT format : {CF_DIB, CF_DIBV5}) {
        // An announcement answers null on success too: the error tells.
        SetLastError(ERROR_SUCCESS);
        if (SetClipboardData(format, nullptr) != nullptr || GetLastError() == ERROR_SUCCESS)
            ++offered;
    }
    CloseClipboard();
    if (offered == 0)
        Release();
    return offered;
}

bool cClipboardWriter::RenderFormat(UINT format)
{
    if (!m_picture || (format != CF_DIB && format != CF_DIBV5))
        return false;
    bool& placed = format == CF_DIB ? m_dibPlaced : m_dibV5Placed;
    if (placed)
        return false;
    // The clipboard is open already, for whoever asked.
    placed = PlaceFormat(format, *m_picture);
    return placed;
}

int cClipboardWriter::RenderAll()
{
    if (!m_picture)
        return 0;
    int written = 0;
    if (OpenClipboard(m_owner)) {
        // Only while the clipboard still holds our offer.
        if (GetClipboardOwner() == m_owner)
            for (UINT format : {CF_DIB, CF_DIBV5})
                if (RenderFormat(format))
                    ++written;
        CloseClipboard();
    }
    Release();
    return written;
}

void cClipboardWriter::Release()
{
    m_picture.reset();
    m_owner = nullptr;
    m_dibPlaced = m_dibV5Placed = false;
}
