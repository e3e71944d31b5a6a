#pragma once

// Portable anymap files. Written: binary PPM (P6) or, for grey output,
// binary PGM (P5) with the greyscale weights, maxval 255; alpha is not
// stored. Read: P1 to P6 (plain and binary, maxval up to 65535, comments)
// and P7 (PAM with the tuple types BLACKANDWHITE, GRAYSCALE, RGB and their
// _ALPHA forms).

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cPnmCodec
{
public:
    static bool Encode(const sPixelView& view, cByteSink& sink, bool grey);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
