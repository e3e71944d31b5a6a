#pragma once

// Brimvale::cTBVFile: the layered document as a picture file. Saving
// stores a picture as a document with one image layer; loading reads the
// whole document, renders it and returns the flattened canvas.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/PictureFile.h"

namespace Brimvale {

class cBVScene;

class cTBVFile : public PictureFile::cPictureFile
{
public:
    // The canvas size; the format is always FORMAT_ARGB32.
    bool GetInfo(PictureFile::sPictureInfo& info, const Container::cWideString& path) override;
    bool Load(Painter::cPicture& picture, const Container::cWideString& path) override;
    bool Save(const Painter::cPicture& picture, const Container::cWideString& path) override;

    // Load from a file image in memory.
    bool LoadFromMemory(Painter::cPicture& picture, const std::uint8_t* data, std::size_t size);
    // The scene Save writes for picture: a canvas of its size and one image
    // layer with its pixels (and its camera metadata, when it carries any).
    // False when memory runs out or the picture is empty.
    static bool BuildScene(const Painter::cPicture& picture, cBVScene& scene);
    // Renders scene into picture (FORMAT_ARGB32, the canvas size), within
    // the rendering work a document of fileBytes may ask for.
    static bool Flatten(cBVScene& scene, Painter::cPicture& picture, std::uint64_t fileBytes);

    // The cBVFile error state of the last operation.
    int Error() const { return m_error; }

private:
    int m_error = 0;
};

} // namespace Brimvale
