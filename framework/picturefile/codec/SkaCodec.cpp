#include "framework/picturefile/codec/SkaCodec.h"

#include "framework/picturefile/codec/ByteReader.h"

namespace PictureFile {

bool cSkaCodec::Encode(const sIndexedImage& image, cByteSink& sink)
{
    if (image.bits != 8 || image.width < 1 || image.height < 1 || image.width > MaxPictureSide ||
        image.height > MaxPictureSide || image.palette.size() != 256 ||
        image.indices.size() != std::size_t(image.width) * std::size_t(image.height) ||
        image.transparentIndex >= 256)
        return false;
    sink.PutU16LE(std::uint16_t(image.width));
    sink.PutU16LE(std::uint16_t(image.height));
    sink.PutU8(3);
    sink.PutU32LE(image.transparentIndex < 0 ? 0u : std::uint32_t(image.transparentIndex + 1));
    std::uint8_t palette[768];
    for (int i = 0; i < 256; ++i)
    {
        palette[3 * i] = RedOf(image.palette[i]);
        palette[3 * i + 1] = GreenOf(image.palette[i]);
        palette[3 * i + 2] = BlueOf(image.palette[i]);
    }
    sink.Write(palette, sizeof palette);
    sink.Write(image.indices.data(), image.indices.size());
    return !sink.Failed();
}

bool cSkaCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    cByteReader reader(data, size);
    std::uint16_t width, height;
    std::uint8_t exponent;
    std::uint32_t transparent;
    if (!reader.U16LE(width) || !reader.U16LE(height) || !reader.U8(exponent) || !reader.U32LE(transparent))
        return false;
    if (exponent != 3 || width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide)
        return false;
    if (transparent > 256)
        transparent = 0;
    std::uint8_t entries[768];
    if (!reader.Bytes(entries, sizeof entries))
        return false;
    const std::uint64_t count = std::uint64_t(width) * height;
    if (count > reader.Remaining())
        return false;
    std::uint32_t palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = MakeColour(entries[3 * i], entries[3 * i + 1], entries[3 * i + 2]);
    const int transparentIndex = int(transparent) - 1;
    if (transparentIndex >= 0)
        palette[transparentIndex] &= 0x00FFFFFFu;

    cCodecImage result;
    if (!result.Create(width, height, maxPixels))
        return false;
    const std::uint8_t* in = reader.Current();
    bool anyTransparent = false;
    for (int y = 0; y < height; ++y)
    {
        std::uint32_t* out = result.Row(y);
        for (int x = 0; x < width; ++x, ++in)
        {
            out[x] = palette[*in];
            anyTransparent |= *in == transparentIndex;
        }
    }
    result.SetHasAlpha(anyTransparent);
    image = std::move(result);
    return true;
}

} // namespace PictureFile
