#include "framework/picturefile/codec/PcxCodec.h"

#include <cstring>
#include <new>
#include <vector>

#include "framework/picturefile/codec/ByteReader.h"

namespace PictureFile {

namespace {

constexpr std::size_t HeaderSize = 128;

// Run-length encodes one plane of a scan line; runs stop at its end.
void EncodePlane(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint8_t>& out)
{
    std::size_t i = 0;
    while (i < count)
    {
        const std::uint8_t value = bytes[i];
        std::size_t run = 1;
        while (i + run < count && run < 63 && bytes[i + run] == value)
            ++run;
        if (run > 1 || value >= 0xC0)
            out.push_back(std::uint8_t(0xC0 | run));
        out.push_back(value);
        i += run;
    }
}

} // namespace

bool cPcxCodec::Encode(const sPixelView& view, cByteSink& sink)
{
    if (!view.IsValid())
        return false;
    const bool alpha = !view.IsOpaque();
    const int planes = alpha ? 4 : 3;
    const std::size_t bytesPerLine = (std::size_t(view.width) + 1) & ~std::size_t(1);

    std::uint8_t header[HeaderSize] = {};
    header[0] = 0x0A;    // manufacturer
    header[1] = 5;       // version 3.0 with 24-bit support
    header[2] = 1;       // run-length encoding
    header[3] = 8;       // bits per sample
    const auto put16 = [&header](std::size_t offset, unsigned value) {
        header[offset] = std::uint8_t(value);
        header[offset + 1] = std::uint8_t(value >> 8);
    };
    put16(8, unsigned(view.width - 1));
    put16(10, unsigned(view.height - 1));
    put16(12, 96);
    put16(14, 96);
    header[65] = std::uint8_t(planes);
    put16(66, unsigned(bytesPerLine));
    put16(68, 1);    // colour palette information
    if (!sink.Write(header, sizeof header))
        return false;

    try
    {
        std::vector<std::uint8_t> plane(bytesPerLine, 0);
        std::vector<std::uint8_t> line;
        line.reserve(bytesPerLine * planes * 2);
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            line.clear();
            for (int p = 0; p < planes; ++p)
            {
                const int shift = p == 0 ? 16 : p == 1 ? 8 : p == 2 ? 0 : 24;
                for (int x = 0; x < view.width; ++x)
                    plane[x] = std::uint8_t(row[x] >> shift);
                EncodePlane(plane.data(), bytesPerLine, line);
            }
            if (!sink.Write(line.data(), line.size()))
                return false;
        }
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return !sink.Failed();
}

bool cPcxCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    if (!data || size < HeaderSize || data[0] != 0x0A)
        return false;
    const auto get16 = [data](std::size_t offset) { return unsigned(data[offset] | (data[offset + 1] << 8)); };
    const unsigned encoding = data[2];
    const unsigned bits = data[3];
    const unsigned xMin = get16(4), yMin = get16(6), xMax = get16(8), yMax = get16(10);
    const unsigned planes = data[65];
    const unsigned bytesPerLine = get16(66);
    if (encoding > 1 || xMax < xMin || yMax < yMin)
        return false;
    const std::uint64_t width = std::uint64_t(xMax) - xMin + 1;
    const std::uint64_t height = std::uint64_t(yMax) - yMin + 1;
    if (width > std::uint64_t(MaxPictureSide) || height > std::uint64_t(MaxPictureSide))
        return false;

    const bool supported = (bits == 1 && planes >= 1 && planes <= 4) || ((bits == 2 || bits == 4) && planes == 1) ||
                           (bits == 8 && (planes == 1 || planes == 3 || planes == 4));
    if (!supported || bytesPerLine == 0 || std::uint64_t(bytesPerLine) * 8 < width * bits)
        return false;

    // Every scan line must be paid for by input: raw lines byte for byte,
    // encoded ones by at least one byte pair per 63 bytes.
    const std::uint64_t lineBytes = std::uint64_t(bytesPerLine) * planes;
    const std::uint64_t available = size - HeaderSize;
    const std::uint64_t maxOutput = encoding ? available * 32 : available;
    if (lineBytes * height > maxOutput)
        return false;

    // The palette: EGA entries in the header; 256 entries at the end of
    // the file for 8 bits in one plane.
    std::uint32_t palette[256] = {};
    for (int i = 0; i < 16; ++i)
        palette[i] = MakeColour(data[16 + 3 * i], data[17 + 3 * i], data[18 + 3 * i]);
    if (bits == 1 && planes == 1)
    {
        palette[0] = MakeColour(0, 0, 0);
        palette[1] = MakeColour(255, 255, 255);
    }
    if (bits == 8 && planes == 1)
    {
        if (size >= HeaderSize + 769 && data[size - 769] == 0x0C)
        {
            const std::uint8_t* entries = data + size - 768;
            for (int i = 0; i < 256; ++i)
                palette[i] = MakeColour(entries[3 * i], entries[3 * i + 1], entries[3 * i + 2]);
        }
        else
        {
            for (int i = 0; i < 256; ++i)
                palette[i] = MakeColour(i, i, i);
        }
    }

    cCodecImage result;
    if (!result.Create(int(width), int(height), maxPixels))
        return false;
    try
    {
        std::vector<std::uint8_t> line(static_cast<std::size_t>(lineBytes));
        std::size_t position = HeaderSize;
        unsigned pendingCount = 0;
        std::uint8_t pendingValue = 0;
        bool anyAlpha = false;
        for (std::uint64_t y = 0; y < height; ++y)
        {
            // Decode one scan line; a run may carry over into the next.
            std::size_t filled = 0;
            while (filled < line.size())
            {
                if (pendingCount)
                {
                    line[filled++] = pendingValue;
                    --pendingCount;
                    continue;
                }
                if (position >= size)
                    return false;
                const std::uint8_t byte = data[position++];
                if (encoding && byte >= 0xC0)
                {
                    if (position >= size)
                        return false;
                    pendingCount = byte & 0x3F;
                    pendingValue = data[position++];
                }
                else
                    line[filled++] = byte;
            }

            std::uint32_t* out = result.Row(int(y));
            for (std::uint64_t x = 0; x < width; ++x)
            {
                if (bits == 8 && planes >= 3)
                {
                    const unsigned r = line[x], g = line[bytesPerLine + x], b = line[2 * bytesPerLine + x];
                    const unsigned a = planes == 4 ? line[3 * bytesPerLine + x] : 255;
                    anyAlpha |= a != 255;
                    out[x] = MakeColour(r, g, b, a);
                }
                else if (bits == 8)
                    out[x] = palette[line[x]];
                else if (bits == 1)
                {
                    unsigned index = 0;
                    for (unsigned p = 0; p < planes; ++p)
                        index |= ((line[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1u) << p;
                    out[x] = palette[index];
                }
                else
                {
                    const unsigned perByte = 8 / bits;
                    const unsigned shift = 8 - bits * (1 + unsigned(x % perByte));
                    out[x] = palette[(line[x / perByte] >> shift) & ((1u << bits) - 1)];
                }
            }
        }
        result.SetHasAlpha(anyAlpha);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    image = std::move(result);
    return true;
}

} // namespace PictureFile
