// TGA files through the in-memory decoder (Load reads the file whole and
// hands it to the same code).
#include <cstddef>
#include <cstdint>

#include "framework/painter/Picture.h"
#include "framework/picturefile/TGAFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PictureFile::cTGAFile file;
    Painter::cPicture picture;
    file.LoadFromMemory(picture, data, size);
    return 0;
}
