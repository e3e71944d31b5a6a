#pragma once

// Windows bitmap files (.bmp).

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/PictureFile.h"

namespace Storage {
class cFile;
}

namespace PictureFile {

class cBitmapFile : public cPictureFile
{
public:
    bool GetInfo(sPictureInfo& info, const Container::cWideString& path) override;
    // Reads 1-, 4-, 8-, 16-, 24- and 32-bit files, uncompressed or with
    // the standard bit-field masks. 1-bit files become FORMAT_INDEX8. A
    // 32-bit file whose fourth bytes are all 0 reads back opaque.
    bool Load(Painter::cPicture& picture, const Container::cWideString& path) override;
    // Writes the picture's own bits per pixel (4, 8, 16, 24 or 32), rows
    // bottom-up, pixel bytes as they are; indexed pictures get a colour
    // table of 2^bits entries.
    bool Save(const Painter::cPicture& picture, const Container::cWideString& path) override;

    // Decodes a complete file image of size bytes: 8, 16, 24 and 32 bits,
    // the fourth bytes of 32-bit pixels kept as they are. Never reads
    // outside data.
    bool LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size);

private:
    struct sHeader;
    static bool ParseHeader(const std::uint8_t* data, std::size_t size, sHeader& header);
    // Decodes from data, size bytes holding at least the headers and the
    // colour table. The pixel rows come from data too, or, when rowFile is
    // given, straight from that file (of fileSize bytes) into the picture.
    static bool Decode(Painter::cPicture& picture, const std::uint8_t* data, std::size_t size, bool fromMemory,
                       Storage::cFile* rowFile = nullptr, std::uint64_t fileSize = 0);
};

} // namespace PictureFile
