// JPEG files with their Exif and comment segments, decoded from memory;
// a decoded picture's metadata is written out again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/painter/Picture.h"
#include "framework/picturefile/ExifInfo.h"
#include "framework/picturefile/JpegFile.h"

namespace {

// A frame header may declare up to 32767 x 32767 pixels in a few bytes, and
// progressive scans can cover such a frame with little more; decoding it
// is legitimate but needs gigabytes. The harness skips inputs with any
// start-of-frame marker that declares more than this, so that the fuzzer's
// memory limit measures leaks and runaway allocations, not legal frames.
constexpr std::uint64_t MaxFuzzPixels = 1u << 24;

bool DeclaresHugeFrame(const std::uint8_t* data, std::size_t size)
{
    for (std::size_t i = 0; i + 9 <= size; ++i)
    {
        if (data[i] != 0xFF)
            continue;
        const std::uint8_t marker = data[i + 1];
        const bool isFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!isFrame)
            continue;
        const std::uint64_t height = (std::uint64_t(data[i + 5]) << 8) | data[i + 6];
        const std::uint64_t width = (std::uint64_t(data[i + 7]) << 8) | data[i + 8];
        if (width * height > MaxFuzzPixels)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (DeclaresHugeFrame(data, size))
        return 0;
    PictureFile::cJpegFile file;
    Painter::cPicture picture;
    if (file.LoadFromMemory(picture, data, size) && picture.Exif())
    {
        std::vector<std::uint8_t> structure;
        picture.Exif()->Serialize(structure);
    }
    return 0;
}
