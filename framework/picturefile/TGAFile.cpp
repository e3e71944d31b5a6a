#include "framework/picturefile/TGAFile.h"

#include <cstring>
#include <exception>

#include "framework/core/File.h"
#include "framework/core/SafeSave.h"
#include "framework/painter/Picture.h"
#include "framework/picturefile/PixelBudget.h"

namespace PictureFile {

namespace {

constexpr std::size_t HeaderSize = 18;
const char Identification[12] = {'B', 'r', 'i', 'm', 'v', 'a', 'l', 'e', '-', 'T', 'G', 'A'};

std::uint16_t Get16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
void Put16(std::uint8_t* p, std::uint32_t v) { p[0] = std::uint8_t(v); p[1] = std::uint8_t(v >> 8); }

struct sHeader
{
    std::uint8_t idLength = 0;
    std::uint8_t mapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 0;
    std::uint8_t descriptor = 0;
};

void ReadHeader(const std::uint8_t* p, sHeader& header)
{
    header.idLength = p[0];
    header.mapType = p[1];
    header.imageType = p[2];
    header.mapFirst = Get16(p + 3);
    header.mapLength = Get16(p + 5);
    header.mapEntryBits = p[7];
    header.width = Get16(p + 12);
    header.height = Get16(p + 14);
    header.depth = p[16];
    header.descriptor = p[17];
}

bool SupportedType(std::uint8_t type)
{
    return type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
}

bool SupportedDepth(std::uint8_t depth)
{
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

std::int32_t FormatOf(const sHeader& header)
{
    switch (header.depth)
    {
    case 8: return Painter::FORMAT_INDEX8;
    case 15: return Painter::FORMAT_RGB15;
    case 16: return Painter::FORMAT_RGB16;
    case 24: return Painter::FORMAT_RGB24;
    case 32: return (header.descriptor & 0x0F) == 8 ? Painter::FORMAT_ARGB32 : Painter::FORMAT_RGB32;
    default: return 0;
    }
}

} // namespace

bool cTGAFile::GetInfo(sPictureInfo& info, const Container::cWideString& path)
{
    Storage::cFile file;
    if (!file.Open(path, "rb"))
        return false;
    std::uint8_t bytes[HeaderSize];
    if (file.Read(bytes, 1, HeaderSize) != HeaderSize)
        return false;
    sHeader header;
    ReadHeader(bytes, header);
    if (!SupportedType(header.imageType) || !SupportedDepth(header.depth))
        return false;
    info.width = header.width;
    info.height = header.height;
    info.format = FormatOf(header);
    return true;
}

bool cTGAFile::Load(Painter::cPicture& picture, const Container::cWideString& path)
{
    try
    {
        std::vector<std::uint8_t> bytes;
        if (!ReadFileBytes(path, bytes) || bytes.size() <= HeaderSize)
            return false;
        return LoadFromMemory(picture, bytes.data(), bytes.size());
    }
    catch (const std::exception&)
    {
        return false;
    }
}

bool cTGAFile::LoadFromMemory(Painter::cPicture& picture, const void* data, std::size_t size)
{
    if (!data || size <= HeaderSize)
        return false;
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(data);
    sHeader header;
    ReadHeader(bytes, header);
    if (!SupportedType(header.imageType) || !SupportedDepth(header.depth))
        return false;
    const std::uint8_t baseType = header.imageType & 7;
    // Colour-mapped and grey pixels are 8-bit indices here.
    if ((baseType == 1 || baseType == 3) && header.depth != 8)
        return false;
    if (header.mapType > 1)
        return false;

    try
    {
        std::uint64_t position = HeaderSize + std::uint64_t(header.idLength);
        if (position > size)
            return false;

        // The colour map: always skipped over when present, used for
        // 8-bit pictures.
        std::vector<std::uint32_t> palette(256, 0);
        bool havePalette = false;
        if (header.mapType == 1)
        {
            const std::uint32_t entryBits = header.mapEntryBits;
            if (entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32)
                return false;
            const std::uint32_t entryBytes = (entryBits + 7) / 8;
            const std::uint64_t mapBytes = std::uint64_t(header.mapLength) * entryBytes;
            if (mapBytes > size - position)
                return false;
            if (header.depth == 8)
            {
                if (std::uint32_t(header.mapFirst) + header.mapLength > 256)
                    return false;
                const std::uint8_t* entry = bytes + position;
                for (std::uint32_t i = 0; i < header.mapLength; ++i, entry += entryBytes)
                {
                    std::uint32_t colour;
                    if (entryBytes == 2)
                    {
                        const std::uint32_t v = Get16(entry);
                        colour = 0xFF000000u | (((v >> 10) & 31) << 19) | (((v >> 5) & 31) << 11) | ((v & 31) << 3);
                    }
                    else if (entryBytes == 3)
                    {
                        colour = 0xFF000000u | (std::uint32_t(entry[2]) << 16) | (std::uint32_t(entry[1]) << 8) | entry[0];
                    }
                    else
                    {
                        colour = (std::uint32_t(entry[3]) << 24) | (std::uint32_t(entry[2]) << 16)
                                 | (std::uint32_t(entry[1]) << 8) | entry[0];
                    }
                    palette[header.mapFirst + i] = colour;
                }
                havePalette = true;
            }
            position += mapBytes;
        }
        if (header.depth == 8 && !havePalette)
        {
            if (baseType == 1)
                return false;    // indices without a colour map
            for (std::uint32_t i = 0; i < 256; ++i)
                palette[i] = 0xFF000000u | (i << 16) | (i << 8) | i;
        }

        const std::int32_t width = header.width;
        const std::int32_t height = header.height;
        if (width < 1 || height < 1 || width > Painter::kMaxPictureSize || height > Painter::kMaxPictureSize)
            return false;
        const std::size_t pixelBytes = header.depth == 15 ? 2 : header.depth / 8;
        const std::uint64_t rowBytes = std::uint64_t(width) * pixelBytes;
        const bool topFirst = (header.descriptor & 0x20) != 0;
        const bool rightToLeft = (header.descriptor & 0x10) != 0;

        // Raw data must be complete before anything is allocated; run-length
        // data holds at most 128 pixels per packet of 1 + pixelBytes bytes.
        const std::uint64_t remaining = size - position;
        if (header.imageType < 9 && rowBytes * std::uint64_t(height) > remaining)
            return false;
        if (header.imageType >= 9
            && std::uint64_t(width) * std::uint64_t(height) > 128 * (remaining / (1 + pixelBytes)))
            return false;

        Painter::cPicture result;
        if (!FitsPixelBudget(width, height) || !result.Create(FormatOf(header), width, height))
            return false;
        if (header.depth == 8 && !result.SetPalette(palette.data(), 256))
            return false;

        const std::uint8_t* input = bytes + position;
        const std::uint8_t* end = bytes + size;
        if (header.imageType < 9)
        {
            for (std::int32_t row = 0; row < height; ++row, input += rowBytes)
                std::memcpy(result.Row(topFirst ? row : height - 1 - row), input, std::size_t(rowBytes));
        }
        else
        {
            // Packets may run on into the next row; the pixels are placed
            // in file order and never beyond the last one.
            const std::uint64_t total = std::uint64_t(width) * std::uint64_t(height);
            std::uint64_t done = 0;
            while (done < total)
            {
                if (input >= end)
                    return false;
                const std::uint8_t packet = *input++;
                const std::uint64_t count = (packet & 127u) + 1;
                const bool run = (packet & 0x80) != 0;
                const std::uint64_t inputNeeded = run ? pixelBytes : count * pixelBytes;
                if (inputNeeded > std::uint64_t(end - input))
                    return false;
                for (std::uint64_t i = 0; i < count && done < total; ++i, ++done)
                {
                    const std::int32_t row = std::int32_t(done / std::uint64_t(width));
                    const std::int32_t column = std::int32_t(done % std::uint64_t(width));
                    std::uint8_t* target = result.Row(topFirst ? row : height - 1 - row) + std::size_t(column) * pixelBytes;
                    std::memcpy(target, run ? input : input + i * pixelBytes, pixelBytes);
                }
                input += inputNeeded;
            }
        }
        if (rightToLeft)
            result.Flip(true, false);

        picture = std::move(result);
        return true;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

void cTGAFile::EncodeRow(const std::uint8_t* row, std::size_t pixelCount, std::size_t pixelBytes,
                         std::vector<std::uint8_t>& out)
{
    if (pixelCount == 0)
        return;
    auto same = [&](std::size_t a, std::size_t b) {
        return std::memcmp(row + a * pixelBytes, row + b * pixelBytes, pixelBytes) == 0;
    };
    auto emitRun = [&](std::size_t start, std::size_t count) {
        out.push_back(std::uint8_t(0x80 | (count - 1)));
        out.insert(out.end(), row + start * pixelBytes, row + (start + 1) * pixelBytes);
    };
    auto emitRaw = [&](std::size_t start, std::size_t count) {
        out.push_back(std::uint8_t(count - 1));
        out.insert(out.end(), row + start * pixelBytes, row + (start + count) * pixelBytes);
    };

    enum { One, Run, Raw } state = One;
    std::size_t start = 0;    // first pixel of the pending packet
    std::size_t count = 1;
    std::size_t reference = 0;
    for (std::size_t x = 1; x < pixelCount; ++x)
    {
        switch (state)
        {
        case One:
            // Entering a raw packet keeps the first pixel as the reference,
            // so A, B, A ends the packet at the second A.
            count = 2;
            state = same(x, reference) ? Run : Raw;
            break;
        case Run:
            if (same(x, reference) && count < 128)
            {
                ++count;
            }
            else
            {
                emitRun(start, count);
                start = reference = x;
                count = 1;
                state = One;
            }
            break;
        case Raw:
            if (!same(x, reference) && count < 128)
            {
                ++count;
                reference = x;
            }
            else
            {
                emitRaw(start, count);
                start = reference = x;
                count = 1;
                state = One;
            }
            break;
        }
    }
    if (state == Run)
        emitRun(start, count);
    else
        emitRaw(start, count);
}

bool cTGAFile::Save(const Painter::cPicture& picture, const Container::cWideString& path)
{
    if (picture.IsEmpty())
        return false;
    const int bits = picture.BitsPerPixel();
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    const bool rle = m_saveOptions.o3 != 0;
    const std::size_t pixelBytes = std::size_t(bits) / 8;
    const std::int32_t width = picture.Width();
    const std::int32_t height = picture.Height();

    std::uint8_t header[HeaderSize + sizeof(Identification)] = {};
    header[0] = sizeof(Identification);
    header[1] = bits == 8 ? 1 : 0;
    header[2] = rle ? (bits == 8 ? 9 : 10) : (bits == 8 ? 1 : 2);
    Put16(header + 3, 0);
    Put16(header + 5, 256);
    header[7] = 24;
    Put16(header + 12, std::uint32_t(width));
    Put16(header + 14, std::uint32_t(height));
    header[16] = std::uint8_t(bits);
    header[17] = 0x20;
    std::memcpy(header + HeaderSize, Identification, sizeof(Identification));

    try
    {
        // An 8-bit file announces a colour map of 256 24-bit entries, so
        // it gets one, missing palette entries black.
        std::vector<std::uint8_t> map;
        if (bits == 8)
        {
            map.assign(256 * 3, 0);
            for (int i = 0; i < 256 && i < picture.PaletteCount(); ++i)
            {
                const std::uint32_t colour = picture.Palette()[i];
                map[3 * i] = std::uint8_t(colour);
                map[3 * i + 1] = std::uint8_t(colour >> 8);
                map[3 * i + 2] = std::uint8_t(colour >> 16);
            }
        }

        std::vector<std::uint8_t> packets;
        if (rle)
            packets.reserve(std::size_t(width) * pixelBytes * 3);
        return WriteFileSafely(path, [&](Storage::cFile& file) {
            if (file.Write(header, 1, sizeof(header)) != sizeof(header))
                return false;
            if (!map.empty() && file.Write(map.data(), 1, map.size()) != map.size())
                return false;
            const std::size_t rowBytes = std::size_t(width) * pixelBytes;
            for (std::int32_t y = 0; y < height; ++y)
            {
                if (rle)
                {
                    packets.clear();
                    EncodeRow(picture.Row(y), std::size_t(width), pixelBytes, packets);
                    if (file.Write(packets.data(), 1, packets.size()) != packets.size())
                        return false;
                }
                else if (file.Write(picture.Row(y), 1, rowBytes) != rowBytes)
                {
                    return false;
                }
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
