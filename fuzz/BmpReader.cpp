// BMP files: the in-memory decoder and, for the 1/4-bit and alpha-repair
// paths, the file decoder over the same bytes.
#include <cstddef>
#include <cstdint>

#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PictureFile::cBitmapFile file;
    Painter::cPicture picture;
    file.LoadFromMemory(picture, data, size);
    if (Fuzz::WriteScratch(data, size))
    {
        Painter::cPicture fromFile;
        const Container::cWideString path{std::u16string_view(Fuzz::ScratchPath())};
        file.Load(fromFile, path);
        PictureFile::sPictureInfo info;
        file.GetInfo(info, path);
    }
    return 0;
}
