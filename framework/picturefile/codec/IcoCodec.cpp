#include "framework/picturefile/codec/IcoCodec.h"

#include <algorithm>
#include <new>
#include <vector>

#include "framework/picturefile/codec/ByteReader.h"
#include "framework/picturefile/codec/PngCodec.h"

namespace PictureFile {

namespace {

constexpr std::size_t DirectorySize = 6;
constexpr std::size_t EntrySize = 16;

} // namespace

bool cIcoCodec::Encode(const sPixelView& view, cByteSink& sink)
{
    if (!view.IsValid())
        return false;
    try
    {
        cMemorySink entry;
        const bool dib = view.width <= MaxDibSide && view.height <= MaxDibSide;
        if (dib)
        {
            const std::size_t maskRow = ((std::size_t(view.width) + 31) / 32) * 4;
            const std::size_t pixelBytes = std::size_t(view.width) * 4 * std::size_t(view.height);
            const std::size_t maskBytes = maskRow * std::size_t(view.height);
            entry.PutU32LE(40);
            entry.PutU32LE(std::uint32_t(view.width));
            entry.PutU32LE(std::uint32_t(view.height) * 2);    // colour rows and mask rows
            entry.PutU16LE(1);
            entry.PutU16LE(32);
            entry.PutU32LE(0);
            entry.PutU32LE(std::uint32_t(pixelBytes + maskBytes));
            entry.PutU32LE(0);
            entry.PutU32LE(0);
            entry.PutU32LE(0);
            entry.PutU32LE(0);
            for (int y = view.height - 1; y >= 0; --y)
                entry.Write(view.Row(y), std::size_t(view.width) * 4);
            std::vector<std::uint8_t> mask(maskRow);
            for (int y = view.height - 1; y >= 0; --y)
            {
                std::fill(mask.begin(), mask.end(), 0);
                const std::uint32_t* row = view.Row(y);
                for (int x = 0; x < view.width; ++x)
                    if ((row[x] >> 24) == 0)
                        mask[x / 8] |= std::uint8_t(0x80 >> (x % 8));
                entry.Write(mask.data(), mask.size());
            }
        }
        else if (!cPngCodec::Encode(view, entry))
            return false;
        if (entry.Failed() || entry.Bytes().size() > 0xFFFFFFFFu - DirectorySize - EntrySize)
            return false;

        sink.PutU16LE(0);    // reserved
        sink.PutU16LE(1);    // icon
        sink.PutU16LE(1);    // one entry
        sink.PutU8(view.width >= 256 ? 0 : std::uint8_t(view.width));
        sink.PutU8(view.height >= 256 ? 0 : std::uint8_t(view.height));
        sink.PutU8(0);       // colours: no palette
        sink.PutU8(0);
        sink.PutU16LE(1);    // planes
        sink.PutU16LE(32);   // bits per pixel
        sink.PutU32LE(std::uint32_t(entry.Bytes().size()));
        sink.PutU32LE(std::uint32_t(DirectorySize + EntrySize));
        sink.Write(entry.Bytes().data(), entry.Bytes().size());
        return !sink.Failed();
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

bool cIcoCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    cByteReader reader(data, size);
    std::uint16_t reserved, type, count;
    if (!reader.U16LE(reserved) || !reader.U16LE(type) || !reader.U16LE(count))
        return false;
    if (reserved != 0 || (type != 1 && type != 2) || count == 0 || std::uint64_t(count) * EntrySize > reader.Remaining())
        return false;

    // The entry with the most pixels, then the most bits.
    int best = -1;
    std::uint64_t bestScore = 0;
    std::uint32_t bestSize = 0, bestOffset = 0;
    for (int i = 0; i < count; ++i)
    {
        std::uint8_t width = 0, height = 0, colours = 0, reservedByte = 0;
        std::uint16_t planes = 0, bits = 0;
        std::uint32_t bytes = 0, offset = 0;
        reader.U8(width);
        reader.U8(height);
        reader.U8(colours);
        reader.U8(reservedByte);
        reader.U16LE(planes);
        reader.U16LE(bits);
        reader.U32LE(bytes);
        reader.U32LE(offset);
        if (offset > size || bytes > size - offset || bytes == 0)
            continue;
        const std::uint64_t w = width ? width : 256;
        const std::uint64_t h = height ? height : 256;
        const std::uint64_t score = ((w * h) << 8) | std::min<unsigned>(bits, 255);
        if (best < 0 || score > bestScore)
        {
            best = i;
            bestScore = score;
            bestSize = bytes;
            bestOffset = offset;
        }
    }
    if (best < 0)
        return false;
    const std::uint8_t* entry = data + bestOffset;
    if (cPngCodec::HasSignature(entry, bestSize))
        return cPngCodec::Decode(entry, bestSize, image, maxPixels);
    return DecodeDib(entry, bestSize, image, maxPixels);
}

bool cIcoCodec::DecodeDib(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    cByteReader reader(data, size);
    std::uint32_t headerSize, compression, imageSize, xRes, yRes, coloursUsed, important;
    std::uint32_t rawWidth, rawHeight;
    std::uint16_t planes, bits;
    if (!reader.U32LE(headerSize) || headerSize < 40 || headerSize > size || !reader.U32LE(rawWidth) ||
        !reader.U32LE(rawHeight) || !reader.U16LE(planes) || !reader.U16LE(bits) || !reader.U32LE(compression) ||
        !reader.U32LE(imageSize) || !reader.U32LE(xRes) || !reader.U32LE(yRes) || !reader.U32LE(coloursUsed) ||
        !reader.U32LE(important))
        return false;
    const auto width = std::int32_t(rawWidth);
    const auto doubleHeight = std::int32_t(rawHeight);
    if (compression != 0 || width < 1 || doubleHeight < 2 || width > MaxPictureSide)
        return false;
    const std::int32_t height = doubleHeight / 2;
    if (height > MaxPictureSide)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return false;
    if (!reader.Seek(headerSize))
        return false;

    std::uint32_t palette[256] = {};
    if (bits <= 8)
    {
        const std::uint32_t entries = coloursUsed == 0 || coloursUsed > (1u << bits) ? (1u << bits) : coloursUsed;
        if (std::uint64_t(entries) * 4 > reader.Remaining())
            return false;
        for (std::uint32_t i = 0; i < entries; ++i)
        {
            const std::uint8_t* p = reader.Current() + 4 * i;
            palette[i] = MakeColour(p[2], p[1], p[0]);
        }
        reader.Skip(std::uint64_t(entries) * 4);
    }

    const std::uint64_t rowBytes = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    const std::uint64_t maskRow = ((std::uint64_t(width) + 31) / 32) * 4;
    if (rowBytes * std::uint64_t(height) > reader.Remaining())
        return false;
    const std::uint8_t* pixels = reader.Current();
    reader.Skip(rowBytes * std::uint64_t(height));
    // Some icons leave the mask out; it then masks nothing.
    const bool haveMask = maskRow * std::uint64_t(height) <= reader.Remaining();
    const std::uint8_t* mask = reader.Current();

    cCodecImage result;
    if (!result.Create(width, height, maxPixels))
        return false;
    bool anyAlpha = false;
    for (std::int32_t y = 0; y < height; ++y)
    {
        const std::uint8_t* row = pixels + std::uint64_t(height - 1 - y) * rowBytes;
        std::uint32_t* out = result.Row(y);
        for (std::int32_t x = 0; x < width; ++x)
        {
            switch (bits)
            {
            case 1: out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15]; break;
            case 8: out[x] = palette[row[x]]; break;
            case 24: out[x] = MakeColour(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
            default:
                out[x] = MakeColour(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
                anyAlpha |= row[4 * x + 3] != 0;
                break;
            }
        }
    }
    // Without a real alpha channel, the mask decides.
    const bool useMask = haveMask && (bits != 32 || !anyAlpha);
    bool translucent = false;
    for (std::int32_t y = 0; y < height; ++y)
    {
        const std::uint8_t* maskLine = mask + std::uint64_t(height - 1 - y) * maskRow;
        std::uint32_t* out = result.Row(y);
        for (std::int32_t x = 0; x < width; ++x)
        {
            if (bits == 32 && !anyAlpha)
                out[x] |= 0xFF000000u;
            if (useMask && ((maskLine[x / 8] >> (7 - x % 8)) & 1))
                out[x] &= 0x00FFFFFFu;
            translucent |= (out[x] >> 24) != 255;
        }
    }
    result.SetHasAlpha(translucent);
    image = std::move(result);
    return true;
}

} // namespace PictureFile
