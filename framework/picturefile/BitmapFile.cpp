#include "framework/picturefile/BitmapFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include "framework/core/File.h"
#include "framework/core/SafeSave.h"
#include "framework/painter/Picture.h"
#include "framework/picturefile/PixelBudget.h"

namespace PictureFile {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t CompressionRgb = 0;
constexpr std::uint32_t CompressionBitFields = 3;

std::uint16_t Get16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
void Put16(std::uint8_t* p, std::uint32_t v) { p[0] = std::uint8_t(v); p[1] = std::uint8_t(v >> 8); }
void Put32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v); p[1] = std::uint8_t(v >> 8); p[2] = std::uint8_t(v >> 16); p[3] = std::uint8_t(v >> 24);
}

std::int32_t FormatForBits(int bits)
{
    switch (bits)
    {
    case 1: return Painter::FORMAT_INDEX8;    // expanded, one index per byte
    case 4: return Painter::FORMAT_INDEX4;
    case 8: return Painter::FORMAT_INDEX8;
    case 16: return Painter::FORMAT_RGB16;
    case 24: return Painter::FORMAT_RGB24;
    case 32: return Painter::FORMAT_ARGB32;
    default: return 0;
    }
}

} // namespace

struct cBitmapFile::sHeader
{
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;      // as stored; negative = top row first
    int bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::uint64_t paletteOffset = 0;
    int paletteEntrySize = 4;
};

// Reads the file header and the information header (12-byte core header
// or 40/52/56/108/124-byte information headers) and checks what the
// decoder relies on: the magic, the compression and its masks.
bool cBitmapFile::ParseHeader(const std::uint8_t* data, std::size_t size, sHeader& header)
{
    if (size < FileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    header.pixelOffset = Get32(data + 10);
    header.headerSize = Get32(data + 14);
    const std::uint8_t* info = data + FileHeaderSize;
    if (header.headerSize == 12)
    {
        header.width = Get16(info + 4);
        header.height = Get16(info + 6);
        header.bits = Get16(info + 10);
        header.compression = CompressionRgb;
        header.paletteEntrySize = 3;
        header.paletteOffset = FileHeaderSize + 12;
        return true;
    }
    if (header.headerSize < 40 || header.headerSize > 1024 || size < FileHeaderSize + 40)
        return false;
    header.width = std::int32_t(Get32(info + 4));
    header.height = std::int32_t(Get32(info + 8));
    header.bits = Get16(info + 14);
    header.compression = Get32(info + 16);
    header.coloursUsed = Get32(info + 32);
    header.paletteOffset = FileHeaderSize + std::uint64_t(header.headerSize);

    if (header.compression == CompressionBitFields)
    {
        // The masks lie inside the longer headers, or right after a
        // 40-byte one. Only the layouts the picture formats hold are read.
        const std::uint64_t masksAt = FileHeaderSize + 40;
        if (masksAt + 12 > size)
            return false;
        const std::uint32_t red = Get32(data + masksAt);
        const std::uint32_t green = Get32(data + masksAt + 4);
        const std::uint32_t blue = Get32(data + masksAt + 8);
        const bool standard = (header.bits == 16 && red == 0x7C00 && green == 0x03E0 && blue == 0x001F)
                              || (header.bits == 32 && red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF);
        if (!standard)
            return false;
        if (header.headerSize == 40)
            header.paletteOffset += 12;
    }
    else if (header.compression != CompressionRgb)
    {
        return false;
    }
    return true;
}

bool cBitmapFile::Decode(Painter::cPicture& picture, const std::uint8_t* data, std::size_t size, bool fromMemory,
                         Storage::cFile* rowFile, std::uint64_t fileSize)
{
    if (!rowFile)
        fileSize = size;
    sHeader header;
    if (!ParseHeader(data, size, header))
        return false;
    if (header.height == INT_MIN || header.width <= 0 || header.height == 0)
        return false;
    const int bits = header.bits;
    if (fromMemory ? (bits != 8 && bits != 16 && bits != 24 && bits != 32) : FormatForBits(bits) == 0)
        return false;

    const std::int32_t width = header.width;
    const std::int32_t height = header.height < 0 ? -header.height : header.height;
    const bool topDown = header.height < 0;
    if (width > Painter::kMaxPictureSize || height > Painter::kMaxPictureSize)
        return false;

    // Every row must lie inside the data (the last one may lack its padding).
    const std::uint64_t rowBytes = (std::uint64_t(width) * std::uint64_t(bits) + 7) / 8;
    const std::uint64_t fileStride = (rowBytes + 3) & ~std::uint64_t(3);
    const std::uint64_t pixelsEnd = std::uint64_t(header.pixelOffset) + fileStride * std::uint64_t(height - 1) + rowBytes;
    if (pixelsEnd > fileSize)
        return false;

    Painter::cPicture result;
    if (!FitsPixelBudget(width, height) || !result.Create(FormatForBits(bits), width, height))
        return false;

    if (bits <= 8)
    {
        const int entries = 1 << bits;
        const int pictureEntries = bits == 1 ? 256 : entries;
        std::uint32_t used = header.coloursUsed == 0 ? std::uint32_t(entries) : header.coloursUsed;
        if (used > std::uint32_t(entries))
            used = std::uint32_t(entries);
        if (header.paletteOffset + std::uint64_t(used) * header.paletteEntrySize > size)
            return false;
        if (!result.ResizePalette(pictureEntries))
            return false;
        std::uint32_t* palette = result.Palette();
        std::memset(palette, 0, sizeof(std::uint32_t) * std::size_t(pictureEntries));
        const std::uint8_t* source = data + header.paletteOffset;
        for (std::uint32_t i = 0; i < used; ++i, source += header.paletteEntrySize)
        {
            if (header.paletteEntrySize == 3)
                palette[i] = 0xFF000000u | (std::uint32_t(source[2]) << 16) | (std::uint32_t(source[1]) << 8) | source[0];
            else
                palette[i] = Get32(source);
        }
    }

    if (rowFile)
    {
        // The rows are read in file order straight into their picture rows;
        // 1-bit rows go through a buffer to be expanded.
        std::vector<std::uint8_t> packed(bits == 1 ? std::size_t(rowBytes) : 0);
        std::uint8_t padding[4];
        if (!rowFile->Seek(std::int64_t(header.pixelOffset), SEEK_SET))
            return false;
        for (std::int32_t r = 0; r < height; ++r)
        {
            std::uint8_t* target = result.Row(topDown ? r : height - 1 - r);
            std::uint8_t* read = bits == 1 ? packed.data() : target;
            if (rowFile->Read(read, 1, std::size_t(rowBytes)) != std::size_t(rowBytes))
                return false;
            const std::size_t pad = std::size_t(fileStride - rowBytes);
            if (r + 1 < height && pad && rowFile->Read(padding, 1, pad) != pad)
                return false;
            if (bits == 1)
                for (std::int32_t x = 0; x < width; ++x)
                    target[x] = (read[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
    else
    {
        for (std::int32_t y = 0; y < height; ++y)
        {
            const std::uint8_t* source =
                data + header.pixelOffset + fileStride * std::uint64_t(topDown ? y : height - 1 - y);
            std::uint8_t* target = result.Row(y);
            if (bits == 1)
            {
                for (std::int32_t x = 0; x < width; ++x)
                    target[x] = (source[x >> 3] >> (7 - (x & 7))) & 1;
            }
            else
            {
                std::memcpy(target, source, std::size_t(rowBytes));
            }
        }
    }

    if (bits == 32 && !fromMemory)
    {
        bool anyAlpha = false;
        for (std::int32_t y = 0; y < height && !anyAlpha; ++y)
        {
            const std::uint8_t* row = result.Row(y);
            for (std::int32_t x = 0; x < width; ++x)
                if (row[4 * x + 3] != 0)
                {
                    anyAlpha = true;
                    break;
                }
        }
        if (!anyAlpha)
            result.SetOpaque();
    }

    picture = std::move(result);
    return true;
}

bool cBitmapFile::GetInfo(sPictureInfo& info, const Container::cWideString& path)
{
    Storage::cFile file;
    if (!file.Open(path, "rb"))
        return false;
    std::uint8_t data[FileHeaderSize + 40 + 12] = {};
    const std::size_t got = file.Read(data, 1, sizeof(data));
    sHeader header;
    if (!ParseHeader(data, got, header))
        return false;
    info.width = header.width;
    info.height = header.height;
    if (const std::int32_t format = FormatForBits(header.bits); format != 0)
        info.format = format;
    return true;
}

bool cBitmapFile::Load(Painter::cPicture& picture, const Container::cWideString& path)
{
    try
    {
        // The headers and the colour table are read first; the rows then go
        // from the file straight into the picture, so that no buffer holds
        // the whole file.
        Storage::cFile file;
        if (!file.Open(path, "rb"))
            return false;
        const std::int64_t length = file.Length();
        if (length < std::int64_t(FileHeaderSize + 12))
            return false;
        std::uint8_t start[FileHeaderSize] = {};
        if (file.Read(start, 1, FileHeaderSize) != FileHeaderSize)
            return false;
        // Everything before the rows, at least the largest header with its
        // masks (a short file is checked by the decoder).
        const std::uint64_t pixelOffset = Get32(start + 10);
        const std::uint64_t prefix = std::min<std::uint64_t>(std::uint64_t(length),
                                                             std::max<std::uint64_t>(pixelOffset, FileHeaderSize + 124 + 12));
        std::vector<std::uint8_t> headers(static_cast<std::size_t>(prefix));
        std::memcpy(headers.data(), start, FileHeaderSize);
        const std::size_t rest = headers.size() - FileHeaderSize;
        if (file.Read(headers.data() + FileHeaderSize, 1, rest) != rest)
            return false;
        return Decode(picture, headers.data(), headers.size(), false, &file, std::uint64_t(length));
    }
    catch (const std::exception&)
    {
        return false;
    }
}

bool cBitmapFile::LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size)
{
    if (!data || size < FileHeaderSize + 40)
        return false;
    try
    {
        return Decode(picture, static_cast<const std::uint8_t*>(data), size, true);
    }
    catch (const std::exception&)
    {
        return false;
    }
}

bool cBitmapFile::Save(const Painter::cPicture& picture, const Container::cWideString& path)
{
    if (picture.IsEmpty())
        return false;
    const int bits = picture.BitsPerPixel();
    if (bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;

    const std::int32_t width = picture.Width();
    const std::int32_t height = picture.Height();
    const std::uint64_t rowBytes = (std::uint64_t(width) * std::uint64_t(bits) + 7) / 8;
    const std::uint64_t fileStride = (rowBytes + 3) & ~std::uint64_t(3);
    const std::uint32_t paletteEntries = bits <= 8 ? (1u << bits) : 0;
    const std::uint64_t pixelOffset = FileHeaderSize + 40 + 4 * std::uint64_t(paletteEntries);
    const std::uint64_t imageSize = fileStride * std::uint64_t(height);
    const std::uint64_t fileSize = pixelOffset + imageSize;
    if (fileSize > 0xFFFFFFFFu)
        return false;

    try
    {
        std::vector<std::uint8_t> headers(std::size_t(pixelOffset), 0);
        std::uint8_t* h = headers.data();
        h[0] = 'B';
        h[1] = 'M';
        Put32(h + 2, std::uint32_t(fileSize));
        Put32(h + 10, std::uint32_t(pixelOffset));
        Put32(h + 14, 40);
        Put32(h + 18, std::uint32_t(width));
        Put32(h + 22, std::uint32_t(height));
        Put16(h + 26, 1);
        Put16(h + 28, std::uint32_t(bits));
        Put32(h + 30, CompressionRgb);
        Put32(h + 34, std::uint32_t(imageSize));
        // Resolutions, colours used and important colours stay 0; a
        // colour table always holds 2^bits entries, missing ones black.
        for (std::uint32_t i = 0; i < paletteEntries && i < std::uint32_t(picture.PaletteCount()); ++i)
            Put32(h + 54 + 4 * i, picture.Palette()[i] & 0x00FFFFFFu);

        std::vector<std::uint8_t> row(std::size_t(fileStride), 0);
        return WriteFileSafely(path, [&](Storage::cFile& file) {
            if (file.Write(headers.data(), 1, headers.size()) != headers.size())
                return false;
            for (std::int32_t y = height - 1; y >= 0; --y)
            {
                std::memcpy(row.data(), picture.Row(y), std::size_t(rowBytes));
                if (file.Write(row.data(), 1, row.size()) != row.size())
                    return false;
            }
            return true;
        });
    }
    catch (const std::exception&)
    {
        return false;
    }
}

} // namespace PictureFile
