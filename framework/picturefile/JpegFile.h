#pragma once

// JPEG files (.jpg, .jpe, .jpeg) with their Exif block and comment.

#include <cstddef>

#include "framework/picturefile/PictureFile.h"

namespace PictureFile {

class cJpegFile : public cPictureFile
{
public:
    // Width, height and FORMAT_RGB24 from the frame header.
    bool GetInfo(sPictureInfo& info, const Container::cWideString& path) override;
    // Decodes into a FORMAT_RGB24 picture (grey, RGB and CMYK/YCCK files).
    // The Exif block of the first Exif APP1 segment and the comment travel
    // with the picture as its cExifInfo.
    bool Load(Painter::cPicture& picture, const Container::cWideString& path) override;
    // Encodes a 24- or 32-bit picture (alpha is ignored) with save options
    // 3 (quality), 6 (coding) and 7 (chroma subsampling), writing the
    // picture's Exif block and comment back.
    bool Save(const Painter::cPicture& picture, const Container::cWideString& path) override;

    // The same decoding from a complete file image in memory; never reads
    // outside data.
    bool LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size);
};

} // namespace PictureFile
