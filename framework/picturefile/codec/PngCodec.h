#pragma once

// PNG files. The writer is built for speed on screen pictures: rows are
// converted to RGB (when every pixel is opaque; lossless) or RGBA, given
// the Up filter and compressed by libdeflate in bands of rows (on two
// threads for large pictures), whose streams are joined into the one zlib
// stream of IDAT chunks of our own. Interlaced files (Adam7) are written
// through libpng. The reader is libpng, expanding every colour type and
// depth to 8-bit B, G, R, A.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cPngCodec
{
public:
    // The libdeflate level of the fast writer: on screen pictures level 7
    // makes files smaller than libpng's level 6 with adaptive filters
    // (level 6 does not), at about twice the time of level 6.
    static constexpr int DefaultLevel = 7;

    static bool Encode(const sPixelView& view, cByteSink& sink, bool interlace = false, int level = DefaultLevel);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);

    // True when data starts with the PNG signature.
    static bool HasSignature(const std::uint8_t* data, std::size_t size);

private:
    static bool EncodeFast(const sPixelView& view, cByteSink& sink, int level);
    static bool EncodeInterlaced(const sPixelView& view, cByteSink& sink);
};

} // namespace PictureFile
