#pragma once

// Sun raster files. Written: standard type, 24 bits B, G, R per pixel, or
// 32 bits A, B, G, R when some pixel is not opaque; rows padded to an even
// byte count; big-endian header. Read: depths 1, 8 (colour map or grey), 24
// and 32, types old, standard, byte-encoded and RGB. A 32-bit file whose
// first bytes are all 0 is opaque.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cRasCodec
{
public:
    static bool Encode(const sPixelView& view, cByteSink& sink);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
