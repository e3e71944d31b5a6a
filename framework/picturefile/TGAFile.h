#pragma once

// Truevision TGA files (.tga).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/picturefile/PictureFile.h"

namespace PictureFile {

class cTGAFile : public cPictureFile
{
public:
    bool GetInfo(sPictureInfo& info, const Container::cWideString& path) override;
    // Image types 1, 2, 3 and their run-length forms 9, 10, 11; depths 8,
    // 15, 16, 24 and 32. Colour-mapped and grey files become FORMAT_INDEX8
    // with a palette of 256 entries.
    bool Load(Painter::cPicture& picture, const Container::cWideString& path) override;
    // Writes 8-, 16-, 24- and 32-bit pictures top row first, run-length
    // encoded when save option 3 is not 0. Other depths fail without
    // creating a file.
    bool Save(const Painter::cPicture& picture, const Container::cWideString& path) override;

    // Decodes a complete file image; never reads outside data.
    bool LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size);

    // Run-length encodes one row of pixelCount pixels of pixelBytes bytes
    // each, appending the packets to out.
    static void EncodeRow(const std::uint8_t* row, std::size_t pixelCount, std::size_t pixelBytes,
                          std::vector<std::uint8_t>& out);
};

} // namespace PictureFile
