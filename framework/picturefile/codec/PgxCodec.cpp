#include "framework/picturefile/codec/PgxCodec.h"

#include <cstdio>
#include <new>
#include <vector>

#include "framework/picturefile/codec/PaletteTools.h"

namespace PictureFile {

bool cPgxCodec::Encode(const sPixelView& view, cByteSink& sink)
{
    if (!view.IsValid())
        return false;
    char header[64];
    std::snprintf(header, sizeof header, "PG ML + 8 %d %d\n", view.width, view.height);
    if (!sink.PutText(header))
        return false;
    try
    {
        std::vector<std::uint8_t> line(static_cast<std::size_t>(view.width));
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            for (int x = 0; x < view.width; ++x)
                line[x] = cPaletteTools::Grey(row[x]);
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

bool cPgxCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    if (!data || size < 8 || data[0] != 'P' || data[1] != 'G')
        return false;
    std::size_t position = 2;
    const auto skipSpaces = [&] {
        while (position < size && (data[position] == ' ' || data[position] == '\t'))
            ++position;
    };
    const auto number = [&](std::uint32_t& value, std::uint32_t limit) {
        skipSpaces();
        const std::size_t start = position;
        std::uint64_t result = 0;
        while (position < size && data[position] >= '0' && data[position] <= '9')
        {
            result = result * 10 + (data[position++] - '0');
            if (result > limit)
                return false;
        }
        value = std::uint32_t(result);
        return position > start;
    };

    skipSpaces();
    if (position + 2 > size)
        return false;
    bool bigEndian;
    if (data[position] == 'M' && data[position + 1] == 'L')
        bigEndian = true;
    else if (data[position] == 'L' && data[position + 1] == 'M')
        bigEndian = false;
    else
        return false;
    position += 2;
    skipSpaces();
    bool isSigned = false;
    if (position < size && (data[position] == '+' || data[position] == '-'))
        isSigned = data[position++] == '-';
    std::uint32_t depth, width, height;
    if (!number(depth, 32) || !number(width, 0xFFFFFFFFu) || !number(height, 0xFFFFFFFFu))
        return false;
    skipSpaces();
    if (position < size && data[position] == '\r')
        ++position;
    if (position >= size || data[position] != '\n')
        return false;
    ++position;
    if (depth < 1 || depth > 16)
        return false;
    if (width < 1 || height < 1 || width > std::uint32_t(MaxPictureSide) || height > std::uint32_t(MaxPictureSide))
        return false;
    const std::uint64_t sampleBytes = depth > 8 ? 2 : 1;
    if (std::uint64_t(width) * height * sampleBytes > size - position)
        return false;

    cCodecImage result;
    if (!result.Create(int(width), int(height), maxPixels))
        return false;
    const std::uint32_t top = (1u << depth) - 1;
    const std::uint8_t* in = data + position;
    for (std::uint32_t y = 0; y < height; ++y)
    {
        std::uint32_t* out = result.Row(int(y));
        for (std::uint32_t x = 0; x < width; ++x)
        {
            std::uint32_t raw;
            if (sampleBytes == 2)
            {
                raw = bigEndian ? (std::uint32_t(in[0]) << 8) | in[1] : (std::uint32_t(in[1]) << 8) | in[0];
                in += 2;
            }
            else
                raw = *in++;
            raw &= top;
            // Signed samples are moved up by half the range.
            const std::uint32_t value = isSigned ? (raw ^ (1u << (depth - 1))) : raw;
            const unsigned grey = unsigned((std::uint64_t(value) * 255 + top / 2) / top);
            out[x] = MakeColour(grey, grey, grey);
        }
    }
    image = std::move(result);
    return true;
}

} // namespace PictureFile
