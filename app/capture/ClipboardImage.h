#pragma once

#include "framework/painter/Picture.h"

#include <cstdint>
#include <vector>

// The two clipboard blocks a captured picture is offered as, laid out in
// memory exactly as the clipboard formats CF_DIB and CF_DIBV5 want them.
// Portable: the bytes are built here and only placed by Windows code.
class cClipboardImage
{
public:
    static constexpr std::uint32_t kInfoHeaderSize = 40;
    static constexpr std::uint32_t kV5HeaderSize = 124;

    // CF_DIB: a BITMAPINFOHEADER (40 bytes: width, positive height, 1 plane,
    // 24 bits, BI_RGB, image size = height x row size) and the picture
    // composed over opaque white, rows bottom first, 3 bytes per pixel
    // (blue, green, red), each row padded to a multiple of 4 bytes.
    // False (bytes unchanged) for an empty picture, one that is not 32-bit
    // or when memory runs out.
    static bool MakeDib(const Painter::cPicture& picture, std::vector<std::uint8_t>& bytes);
    // CF_DIBV5: a BITMAPV5HEADER (124 bytes: width, positive height, 1 plane,
    // 32 bits, BI_RGB, image size = height x width x 4, every other field 0)
    // and the pixels as stored (blue, green, red, alpha), rows bottom first.
    static bool MakeDibV5(const Painter::cPicture& picture, std::vector<std::uint8_t>& bytes);

    // The same blocks written straight into memory of the caller's (the
    // clipboard's own block), without a copy in between: the size the block
    // needs (0 when the picture cannot be offered), and the writer, which
    // fails unless size is exactly that.
    static std::uint64_t DibSize(const Painter::cPicture& picture);
    static bool WriteDib(const Painter::cPicture& picture, std::uint8_t* block, std::uint64_t size);
    static std::uint64_t DibV5Size(const Painter::cPicture& picture);
    static bool WriteDibV5(const Painter::cPicture& picture, std::uint8_t* block, std::uint64_t size);
};
