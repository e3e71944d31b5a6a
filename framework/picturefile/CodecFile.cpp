#include "framework/picturefile/CodecFile.h"

#include <algorithm>
#include <new>
#include <vector>

#include "framework/core/File.h"
#include "framework/core/PathHelpers.h"
#include "framework/painter/Picture.h"
#include "framework/picturefile/BitmapFile.h"
#include "framework/core/SafeSave.h"
#include "framework/picturefile/TGAFile.h"
#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/GifCodec.h"
#include "framework/picturefile/codec/IcoCodec.h"
#include "framework/picturefile/codec/Jpeg2000Codec.h"
#include "framework/picturefile/codec/PaletteTools.h"
#include "framework/picturefile/codec/PcxCodec.h"
#include "framework/picturefile/codec/PgxCodec.h"
#include "framework/picturefile/codec/PngCodec.h"
#include "framework/picturefile/codec/PnmCodec.h"
#include "framework/picturefile/codec/RasCodec.h"
#include "framework/picturefile/codec/SkaCodec.h"

namespace PictureFile {

namespace {

struct sExtensionType
{
    const char16_t* extension;
    int type;
};

constexpr sExtensionType ExtensionTypes[] = {
    {u"bmp", cCodecFile::TypeBmp},  {u"gif", cCodecFile::TypeGif},  {u"png", cCodecFile::TypePng},
    {u"ico", cCodecFile::TypeIco},  {u"tif", cCodecFile::TypeTif},  {u"tga", cCodecFile::TypeTga},
    {u"pcx", cCodecFile::TypePcx},  {u"wbmp", cCodecFile::TypeWbmp}, {u"wmf", cCodecFile::TypeWmf},
    {u"emf", cCodecFile::TypeWmf},  {u"jp2", cCodecFile::TypeJp2},  {u"j2k", cCodecFile::TypeJp2},
    {u"jpc", cCodecFile::TypeJpc},  {u"j2c", cCodecFile::TypeJpc},  {u"pgx", cCodecFile::TypePgx},
    {u"pnm", cCodecFile::TypePnm},  {u"pgm", cCodecFile::TypePnm},  {u"ppm", cCodecFile::TypePnm},
    {u"ras", cCodecFile::TypeRas},  {u"ska", cCodecFile::TypeSka},  {u"psd", cCodecFile::TypePsd},
};

bool EqualsFolded(const char16_t* text, std::size_t length, const char16_t* lower)
{
    std::size_t i = 0;
    for (; i < length && lower[i]; ++i)
    {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
        if (c != lower[i])
            return false;
    }
    return i == length && lower[i] == 0;
}

bool HasExtension(const Container::cWideString& path, const char16_t* lower)
{
    const Container::cWideString extension = Storage::ExtensionOf(path);
    return EqualsFolded(extension.Text(), extension.Length(), lower);
}

// A 32-bit view of any picture: FORMAT_ARGB32 pictures are viewed in
// place, other formats converted into storage first by the picture's own
// conversion (indexed pixels take their palette entry, opaque; without a
// palette they are grey).
bool ViewOf(const Painter::cPicture& picture, Painter::cPicture& storage, sPixelView& view)
{
    if (picture.IsEmpty() || picture.Width() < 1 || picture.Height() < 1)
        return false;
    const Painter::cPicture* source = &picture;
    if (picture.Format() != Painter::FORMAT_ARGB32)
    {
        if (!storage.CopyFrom(picture))
            return false;
        source = &storage;
    }
    view.bits = source->Bits();
    view.width = source->Width();
    view.height = source->Height();
    view.stride = source->Stride();
    return view.IsValid();
}

sPaletteOptions PaletteOptionsFor(int type, const sSaveOptions& options)
{
    sPaletteOptions palette;
    if (type == cCodecFile::TypeSka)
    {
        palette.bits = 8;
        palette.colours = 256;
        palette.errorDiffusion = true;
        palette.quantize = true;
    }
    else if (options.o0 > 8)
    {
        // A GIF frame holds at most 8 bits per pixel.
        palette.bits = 8;
        palette.colours = 256;
        palette.errorDiffusion = false;
        palette.quantize = options.o8 == 1;
    }
    else
    {
        palette.bits = std::max(1, options.o0);
        palette.colours = options.o1;
        palette.errorDiffusion = options.o2 != 0;
        palette.quantize = options.o8 == 1;
    }
    palette.keepTransparency = options.o4 != 0;
    palette.keyColour = options.o5 == 0 ? 0x020202u : (options.o5 & 0xFFFFFFu);
    return palette;
}

} // namespace

cCodecFile::cCodecFile(int codecType) : m_codecType(codecType) {}

int cCodecFile::CodecTypeOf(const char16_t* extensionOrPath)
{
    if (!extensionOrPath)
        return TypeNone;
    const Container::cWideString text(extensionOrPath);
    Container::cWideString extension = text.Find(u'.') < text.Length() ? Storage::ExtensionOf(text) : text;
    for (const auto& entry : ExtensionTypes)
        if (EqualsFolded(extension.Text(), extension.Length(), entry.extension))
            return entry.type;
    return TypeNone;
}

bool cCodecFile::CanWrite(int codecType)
{
    switch (codecType)
    {
    case TypeBmp:
    case TypeGif:
    case TypePng:
    case TypeIco:
    case TypeTga:
    case TypePcx:
    case TypeJp2:
    case TypeJpc:
    case TypePgx:
    case TypePnm:
    case TypeRas:
    case TypeSka:
        return true;
    default:
        return false;
    }
}

int cCodecFile::TypeFor(const Container::cWideString& path) const
{
    const int type = CodecTypeOf(Storage::ExtensionOf(path).Text());
    return type != TypeNone ? type : m_codecType;
}

bool cCodecFile::Decode(int type, const std::uint8_t* data, std::size_t size, cCodecImage& image,
                        std::uint64_t maxPixels)
{
    switch (type)
    {
    case TypePng: return cPngCodec::Decode(data, size, image, maxPixels);
    case TypeGif: return cGifCodec::Decode(data, size, image, maxPixels);
    case TypeIco: return cIcoCodec::Decode(data, size, image, maxPixels);
    case TypePcx: return cPcxCodec::Decode(data, size, image, maxPixels);
    case TypeJp2:
    case TypeJpc: return cJpeg2000Codec::Decode(data, size, image, maxPixels);
    case TypePgx: return cPgxCodec::Decode(data, size, image, maxPixels);
    case TypePnm: return cPnmCodec::Decode(data, size, image, maxPixels);
    case TypeRas: return cRasCodec::Decode(data, size, image, maxPixels);
    case TypeSka: return cSkaCodec::Decode(data, size, image, maxPixels);
    default: return false;
    }
}

bool cCodecFile::ToPicture(const cCodecImage& image, Painter::cPicture& picture)
{
    const int width = image.Width(), height = image.Height();
    if (image.HasAlpha())
    {
        Painter::cPicture result;
        if (!result.Create(Painter::FORMAT_ARGB32, width, height))
            return false;
        for (int y = 0; y < height; ++y)
            std::copy(image.Row(y), image.Row(y) + width, result.Row32(y));
        picture = std::move(result);
        return true;
    }
    Painter::cPicture result;
    if (!result.Create(Painter::FORMAT_RGB24, width, height))
        return false;
    for (int y = 0; y < height; ++y)
    {
        const std::uint32_t* in = image.Row(y);
        std::uint8_t* out = result.Row(y);
        for (int x = 0; x < width; ++x, out += 3)
        {
            out[0] = BlueOf(in[x]);
            out[1] = GreenOf(in[x]);
            out[2] = RedOf(in[x]);
        }
    }
    picture = std::move(result);
    return true;
}

bool cCodecFile::LoadFile(int type, const Container::cWideString& path, cCodecImage& image)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    return Decode(type, bytes.data(), bytes.size(), image, MaxPicturePixels);
}

bool cCodecFile::GetInfo(sPictureInfo& info, const Container::cWideString& path)
{
    try
    {
        const int type = TypeFor(path);
        if (type == TypeBmp)
            return cBitmapFile().GetInfo(info, path);
        if (type == TypeTga)
            return cTGAFile().GetInfo(info, path);
        cCodecImage image;
        if (!LoadFile(type, path, image))
            return false;
        info.width = image.Width();
        info.height = image.Height();
        info.format = image.HasAlpha() ? Painter::FORMAT_ARGB32 : Painter::FORMAT_RGB24;
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool cCodecFile::Load(Painter::cPicture& picture, const Container::cWideString& path)
{
    try
    {
        const int type = TypeFor(path);
        if (type == TypeBmp)
            return cBitmapFile().Load(picture, path);
        if (type == TypeTga)
            return cTGAFile().Load(picture, path);
        cCodecImage image;
        return LoadFile(type, path, image) && ToPicture(image, picture);
    }
    catch (...)
    {
        return false;
    }
}

bool cCodecFile::LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size,
                                std::uint64_t maxPixels)
{
    try
    {
        if (m_codecType == TypeBmp)
            return cBitmapFile().LoadFromMemory(picture, data, size);
        if (m_codecType == TypeTga)
            return cTGAFile().LoadFromMemory(picture, data, size);
        cCodecImage image;
        return Decode(m_codecType, static_cast<const std::uint8_t*>(data), size, image, maxPixels) &&
               ToPicture(image, picture);
    }
    catch (...)
    {
        return false;
    }
}

bool cCodecFile::Save(const Painter::cPicture& picture, const Container::cWideString& path)
{
    try
    {
        const int type = TypeFor(path);
        if (!CanWrite(type) || picture.IsEmpty())
            return false;

        if (type == TypeTga)
        {
            cTGAFile tga;
            tga.SetSaveOptions(m_saveOptions);
            return tga.Save(picture, path);
        }
        if (type == TypeBmp)
        {
            cBitmapFile bitmap;
            bitmap.SetSaveOptions(m_saveOptions);
            if (m_saveOptions.o4 != 0)
                return bitmap.Save(picture, path);    // alpha bytes kept
            // Without transparency the picture is put on white first and
            // written as 24 bits.
            Painter::cPicture flat, source, opaque;
            if (!flat.Create(Painter::FORMAT_ARGB32, picture.Width(), picture.Height()) ||
                !source.CopyFrom(picture))
                return false;
            flat.Fill(0xFFFFFFFFu);
            flat.AlphaDraw(0, 0, source, source.Bounds());
            if (!opaque.Create(Painter::FORMAT_RGB24, picture.Width(), picture.Height()))
                return false;
            for (int y = 0; y < picture.Height(); ++y)
            {
                const std::uint32_t* in = flat.Row32(y);
                std::uint8_t* out = opaque.Row(y);
                for (int x = 0; x < picture.Width(); ++x, out += 3)
                {
                    out[0] = BlueOf(in[x]);
                    out[1] = GreenOf(in[x]);
                    out[2] = RedOf(in[x]);
                }
            }
            return bitmap.Save(opaque, path);
        }

        Painter::cPicture converted;
        sPixelView view;
        if (!ViewOf(picture, converted, view))
            return false;

        // Everything that can fail without touching the disk runs first.
        sIndexedImage indexed;
        if (type == TypeGif || type == TypeSka)
            if (!cPaletteTools::Reduce(view, PaletteOptionsFor(type, m_saveOptions), indexed))
                return false;
        const bool grey = type == TypePnm && HasExtension(path, u"pgm");
        const bool interlace = m_saveOptions.o9 == 1;

        return WriteFileSafely(path, [&](Storage::cFile& file) {
            cFileSink sink(file);
            switch (type)
            {
            case TypePng: return cPngCodec::Encode(view, sink, interlace);
            case TypeGif: return cGifCodec::Encode(indexed, sink);
            case TypeSka: return cSkaCodec::Encode(indexed, sink);
            case TypeIco: return cIcoCodec::Encode(view, sink);
            case TypePcx: return cPcxCodec::Encode(view, sink);
            case TypeJp2: return cJpeg2000Codec::Encode(view, sink, true);
            case TypeJpc: return cJpeg2000Codec::Encode(view, sink, false);
            case TypePgx: return cPgxCodec::Encode(view, sink);
            case TypePnm: return cPnmCodec::Encode(view, sink, grey);
            case TypeRas: return cRasCodec::Encode(view, sink);
            default: return false;
            }
        });
    }
    catch (...)
    {
        return false;
    }
}

} // namespace PictureFile
