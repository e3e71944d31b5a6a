#pragma once

// GIF files through giflib. Written: one 8-bit-or-fewer frame from a
// palette picture (GIF89a with a graphic control extension when it has a
// transparent entry, else GIF87a). Read: the first frame, as large as the
// frame itself; pixels of the transparent entry get alpha 0.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"
#include "framework/picturefile/codec/PaletteTools.h"

namespace PictureFile {

class cGifCodec
{
public:
    static bool Encode(const sIndexedImage& image, cByteSink& sink);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
