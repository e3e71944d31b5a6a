#pragma once

// The picture file for every extension the program does not encode with
// a format class of its own: PNG, GIF, ICO, JPEG 2000 (JP2 and bare code
// streams), PCX, PGX, PNM/PGM/PPM, Sun raster and SKA, each through a codec
// in codec/. The codec is chosen by the extension of the path when the
// codec layer knows it, else by the type the object was created with.
//
// Saving applies the palette options to GIF and SKA (see Save). Every
// write goes through WriteFileSafely: a failed save leaves no file behind
// and an existing file untouched. Types nobody can write (TIFF, WBMP,
// WMF/EMF, PSD) fail before any file is created.

#include <cstddef>
#include <cstdint>

#include "framework/picturefile/PictureFile.h"
#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cCodecFile : public cPictureFile
{
public:
    // Codec type numbers by extension.
    enum : int
    {
        TypeNone = 0,
        TypeBmp = 1,
        TypeGif = 2,
        TypePng = 4,
        TypeIco = 5,
        TypeTif = 6,
        TypeTga = 7,
        TypePcx = 8,
        TypeWbmp = 9,
        TypeWmf = 10,    // wmf, emf
        TypeJp2 = 11,    // jp2, j2k
        TypeJpc = 12,    // jpc, j2c
        TypePgx = 13,
        TypePnm = 14,    // pnm, pgm, ppm
        TypeRas = 15,
        TypeSka = 18,
        TypePsd = 20,
    };

    explicit cCodecFile(int codecType);

    // The codec type of an extension ("png") or of a path's extension (the
    // text after its last "."), ASCII case folded; TypeNone when unknown.
    static int CodecTypeOf(const char16_t* extensionOrPath);
    // True for the types Save can write.
    static bool CanWrite(int codecType);

    int CodecType() const { return m_codecType; }

    // Decodes the file; the format is FORMAT_ARGB32 when it has alpha or a
    // transparent colour, else FORMAT_RGB24.
    bool GetInfo(sPictureInfo& info, const Container::cWideString& path) override;
    bool Load(Painter::cPicture& picture, const Container::cWideString& path) override;
    // Writes the picture (any pixel format; indexed pictures through their
    // palette). GIF and SKA become one palette picture: with o4 pixels of
    // alpha 0 get a transparent entry whose colour (o5; 0 means (2, 2, 2))
    // is unique in the palette and other pixels are blended with that
    // colour by their alpha; GIF with o0 above 8 uses 256 octree colours
    // without diffusion, else o0 bits, o1 colours and o2 diffusion; SKA
    // always uses 8 bits, 256 colours and diffusion; o8 = 0 uses a uniform
    // palette instead of the octree. PNG o9 = 1 writes an interlaced file.
    bool Save(const Painter::cPicture& picture, const Container::cWideString& path) override;

    // Decodes a complete file image of this object's type held in memory,
    // refusing pictures of more than maxPixels pixels, more than the
    // shared pixel budget (PixelBudget.h), or larger than the file's data
    // can encode.
    bool LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size,
                        std::uint64_t maxPixels = MaxPicturePixels);

private:
    int TypeFor(const Container::cWideString& path) const;
    static bool Decode(int type, const std::uint8_t* data, std::size_t size, cCodecImage& image,
                       std::uint64_t maxPixels);
    static bool ToPicture(const cCodecImage& image, Painter::cPicture& picture);
    bool LoadFile(int type, const Container::cWideString& path, cCodecImage& image);

    int m_codecType;
};

} // namespace PictureFile
