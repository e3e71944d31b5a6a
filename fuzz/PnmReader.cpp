// Fuzz target: the Pnm reader of the codec layer on arbitrary bytes.

#include <cstddef>
#include <cstdint>

#include "framework/painter/Picture.h"
#include "framework/picturefile/CodecFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PictureFile::cCodecFile file(PictureFile::cCodecFile::TypePnm);
    Painter::cPicture picture;
    // A pixel bound that keeps each run within the fuzzer's memory limit.
    file.LoadFromMemory(picture, data, size, std::uint64_t(1) << 22);
    return 0;
}
