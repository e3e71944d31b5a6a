// Fuzz target: the Jpeg2000 reader of the codec layer on arbitrary bytes.

#include <cstddef>
#include <cstdint>

#include "framework/painter/Picture.h"
#include "framework/picturefile/CodecFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PictureFile::cCodecFile file(PictureFile::cCodecFile::TypeJp2);
    Painter::cPicture picture;
    file.LoadFromMemory(picture, data, size);
    return 0;
}
