#pragma once

// PGX files, the one-component raw format of the JPEG 2000 tools:
// a text line "PG ML + 8 width height" and the samples. Written: 8-bit
// unsigned greyscale with the greyscale weights. Read: ML (big-endian) or
// LM (little-endian), signed or unsigned, 1 to 16 bits (one byte per sample
// up to 8 bits, two above), scaled to 8 bits.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cPgxCodec
{
public:
    static bool Encode(const sPixelView& view, cByteSink& sink);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
