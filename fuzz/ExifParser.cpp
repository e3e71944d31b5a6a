// The Exif parser alone: parse, write, parse again; the second structure
// must give the same bytes when written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/picturefile/ExifInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PictureFile::cExifInfo info;
    if (!info.Parse(data, size))
        return 0;
    std::vector<std::uint8_t> first;
    if (!info.Serialize(first))
        return 0;
    PictureFile::cExifInfo again;
    if (!again.Parse(first.data(), first.size()))
        std::abort();
    std::vector<std::uint8_t> second;
    if (!again.Serialize(second) || second != first)
        std::abort();
    return 0;
}
