#pragma once

// SKA files: an 8-bit palette picture with a small header of our own.
//
//   offset  size         field
//   0       2            width, little-endian, 1..32767
//   2       2            height, little-endian, 1..32767
//   4       1            bits-per-pixel exponent: 3 (2^3 = 8 bits per pixel)
//   5       4            transparent entry + 1, little-endian; 0 = none
//   9       1024         palette: 256 entries of blue, green, red, 0
//   1033    w x h        palette indices, one byte per pixel, top row first,
//                        rows not padded
//
// Readers refuse other exponents, a transparent entry above 256, and files
// shorter than the pixel block; bytes after it are ignored.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"
#include "framework/picturefile/codec/PaletteTools.h"

namespace PictureFile {

class cSkaCodec
{
public:
    static constexpr std::size_t HeaderSize = 9 + 1024;

    // image must be an 8-bit palette picture.
    static bool Encode(const sIndexedImage& image, cByteSink& sink);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
