// JPEG files with their Exif and comment segments, decoded from memory
// with the reader's own limits; a decoded picture's metadata is written
// out again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/painter/Picture.h"
#include "framework/picturefile/ExifInfo.h"
#include "framework/picturefile/JpegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PictureFile::cJpegFile file;
    Painter::cPicture picture;
    if (file.LoadFromMemory(picture, data, size) && picture.Exif())
    {
        std::vector<std::uint8_t> structure;
        picture.Exif()->Serialize(structure);
    }
    return 0;
}
