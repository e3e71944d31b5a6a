#pragma once

// SKA files: an 8-bit palette picture, in the layout other programs read.
//
//   offset  size         field
//   0       2            width, little-endian, 1..32767
//   2       2            height, little-endian, 1..32767
//   4       1            bits-per-pixel exponent: 3 (2^3 = 8 bits per pixel)
//   5       4            a field other readers ignore; we store the
//                        transparent entry + 1 there (0 = none)
//   9       768          palette: 256 entries of red, green, blue
//   777     w x h        palette indices, one byte per pixel, top row first,
//                        rows not padded
//
// The reader refuses other exponents and files shorter than the pixel
// block; bytes after it are ignored, and so is a transparent-entry field
// above 256 (a file from another program may hold anything there).

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"
#include "framework/picturefile/codec/PaletteTools.h"

namespace PictureFile {

class cSkaCodec
{
public:
    static constexpr std::size_t HeaderSize = 9 + 768;

    // image must be an 8-bit palette picture.
    static bool Encode(const sIndexedImage& image, cByteSink& sink);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
