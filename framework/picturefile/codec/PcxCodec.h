#pragma once

// PCX files (version 5, run-length encoded). Written: 8 bits per sample in
// 3 planes (red, green, blue) or, when some pixel is not opaque, 4 planes
// with alpha last. Read: 1 bit in 1 to 4 planes, 2, 4 and 8 bits in one
// plane (the 8-bit palette from the end of the file, else grey), and 8 bits
// in 3 or 4 planes.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cPcxCodec
{
public:
    static bool Encode(const sPixelView& view, cByteSink& sink);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
