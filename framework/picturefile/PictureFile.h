#pragma once

// The interface every picture file format implements, and the save options
// the writers share.

#include <cstdint>
#include <vector>

#include "framework/core/SafeSave.h"
#include "framework/core/WideString.h"

namespace Painter {
class cPicture;
}

namespace PictureFile {

// The picture writers save through the core's one safe-save helper.
using Storage::WriteFileSafely;

// The ten save options. Every format object starts with these defaults;
// the caller copies its own record over them before Save. Each format
// reads only the fields it cares about.
struct sSaveOptions
{
    // o0: palette bits per pixel, the target depth of the palette
    //     reduction (GIF, SKA).
    std::int32_t o0 = 24;
    // o1: palette colours, the colour count of the quantizer and of the
    //     important-colour mark (GIF, SKA).
    std::int32_t o1 = 26;
    // o2: error diffusion during the palette reduction, 0 or 1 (GIF, SKA).
    std::int32_t o2 = 0;
    // o3: quality / compression. JPEG: quality 0..100. TGA: run-length
    //     encoding when not 0.
    std::int32_t o3 = 100;
    // o4: keep transparency, 0 or 1 (GIF/SKA key colour; BMP keeps its
    //     alpha bytes instead of being flattened onto white).
    std::int32_t o4 = 1;
    // o5: key colour 0x00RRGGBB that stands for transparent pixels
    //     (GIF, SKA); 0 means (2, 2, 2).
    std::uint32_t o5 = 0xFFFFFFFFu;
    // o6: JPEG coding: 0 baseline, 1 optimised Huffman tables,
    //     2 progressive with optimised tables.
    std::int32_t o6 = 2;
    // o7: JPEG chroma subsampling: 0 = 2x2, 1 = 2x1, 2 = none.
    std::int32_t o7 = 0;
    // o8: quantize: 1 runs the colour quantizer before the palette
    //     reduction (GIF, SKA).
    std::int32_t o8 = 1;
    // o9: PNG codec option (1 or 0).
    std::int32_t o9 = 0;

    sSaveOptions() = default;

    // Field by index 0..9, for callers that address the options by
    // number (the command-line converter). Null for any other index.
    std::int32_t* Field(int index);
};

// What GetInfo reports about a file.
struct sPictureInfo
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = 0;    // pixel-format code of Painter::cPicture
};

// One file format. Objects come from a factory, belong to the caller and
// serve one thread. Every operation reports failure as false and never
// throws; on failure the outputs are left unchanged as far as the format
// can manage (a picture may be left empty by a failed Load).
//
// Writers never leave a partial file behind and never destroy an existing
// file of the same name when they fail: they write through the core's
// WriteFileSafely (framework/core/SafeSave.h).
class cPictureFile
{
public:
    cPictureFile() = default;
    virtual ~cPictureFile();

    cPictureFile(const cPictureFile&) = delete;
    cPictureFile& operator=(const cPictureFile&) = delete;

    // Width, height and pixel format of the file at path.
    virtual bool GetInfo(sPictureInfo& info, const Container::cWideString& path) = 0;
    // Reads the file at path into picture.
    virtual bool Load(Painter::cPicture& picture, const Container::cWideString& path) = 0;
    // Writes picture to path with the current save options; the picture is
    // not modified.
    virtual bool Save(const Painter::cPicture& picture, const Container::cWideString& path) = 0;

    sSaveOptions& SaveOptions() { return m_saveOptions; }
    const sSaveOptions& SaveOptions() const { return m_saveOptions; }
    void SetSaveOptions(const sSaveOptions& options) { m_saveOptions = options; }

protected:
    sSaveOptions m_saveOptions;
};

// Reads the whole file at path into bytes. False (bytes unchanged) when
// the file cannot be opened or read, or is longer than maxBytes.
bool ReadFileBytes(const Container::cWideString& path, std::vector<std::uint8_t>& bytes,
                   std::uint64_t maxBytes = std::uint64_t(1) << 33);

} // namespace PictureFile
