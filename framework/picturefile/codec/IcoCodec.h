#pragma once

// Icon files with one picture. Written: a 32-bit DIB entry (B, G, R, A
// rows bottom-up, then the 1-bit mask set where alpha is 0) for pictures
// up to 255 pixels on each side, a PNG entry for larger ones. Read: the
// largest entry (then the deepest), DIB entries of 1, 4, 8, 24 or 32 bits
// with their mask, or PNG entries.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cIcoCodec
{
public:
    // Largest side written as a DIB entry.
    static constexpr int MaxDibSide = 255;

    static bool Encode(const sPixelView& view, cByteSink& sink);
    static bool Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels = MaxPicturePixels);

private:
    static bool DecodeDib(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels);
};

} // namespace PictureFile
