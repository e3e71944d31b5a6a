#pragma once

// JPEG 2000 through OpenJPEG: JP2 files and bare code streams (J2K/JPC).
// Written losslessly (reversible 5/3 wavelet, reversible colour transform,
// one quality layer) with R, G, B and, when some pixel is not opaque, an
// alpha component; the number of resolutions follows the picture size so
// that even a 1 x 1 picture can be coded. Read: either container (told by
// its signature), 1 to 4 components of any precision up to 16 bits,
// subsampled components stretched to the image grid.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cJpeg2000Codec
{
public:
    // Resolution levels for a picture of this size: as many as fit (at
    // most 6, OpenJPEG's default), at least 1.
    static int ResolutionsFor(int width, int height);

    // jp2: a JP2 file; otherwise a bare code stream.
    static bool Encode(const sPixelView& view, cByteSink& sink, bool jp2);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);
};

} // namespace PictureFile
