#include "framework/picturefile/codec/RasCodec.h"

#include <new>
#include <vector>

#include "framework/picturefile/codec/ByteReader.h"

namespace PictureFile {

namespace {

constexpr std::uint32_t Magic = 0x59A66A95u;
enum : std::uint32_t { TypeOld = 0, TypeStandard = 1, TypeByteEncoded = 2, TypeRgb = 3 };
enum : std::uint32_t { MapNone = 0, MapEqualRgb = 1, MapRaw = 2 };

} // namespace

bool cRasCodec::Encode(const sPixelView& view, cByteSink& sink)
{
    if (!view.IsValid())
        return false;
    const bool alpha = !view.IsOpaque();
    const std::uint32_t depth = alpha ? 32 : 24;
    const std::size_t rowBytes = ((std::size_t(view.width) * (depth / 8)) + 1) & ~std::size_t(1);
    const std::uint64_t length = std::uint64_t(rowBytes) * std::uint64_t(view.height);
    sink.PutU32BE(Magic);
    sink.PutU32BE(std::uint32_t(view.width));
    sink.PutU32BE(std::uint32_t(view.height));
    sink.PutU32BE(depth);
    sink.PutU32BE(length > 0xFFFFFFFFu ? 0u : std::uint32_t(length));
    sink.PutU32BE(TypeStandard);
    sink.PutU32BE(MapNone);
    if (!sink.PutU32BE(0))
        return false;
    try
    {
        std::vector<std::uint8_t> line(rowBytes, 0);
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            std::uint8_t* out = line.data();
            for (int x = 0; x < view.width; ++x)
            {
                if (alpha)
                    *out++ = AlphaOf(row[x]);
                *out++ = BlueOf(row[x]);
                *out++ = GreenOf(row[x]);
                *out++ = RedOf(row[x]);
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

bool cRasCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    cByteReader reader(data, size);
    std::uint32_t magic, width, height, depth, length, type, mapType, mapLength;
    if (!reader.U32BE(magic) || magic != Magic || !reader.U32BE(width) || !reader.U32BE(height) ||
        !reader.U32BE(depth) || !reader.U32BE(length) || !reader.U32BE(type) || !reader.U32BE(mapType) ||
        !reader.U32BE(mapLength))
        return false;
    if (width < 1 || height < 1 || width > std::uint32_t(MaxPictureSide) || height > std::uint32_t(MaxPictureSide))
        return false;
    if (depth != 1 && depth != 8 && depth != 24 && depth != 32)
        return false;
    if (type != TypeOld && type != TypeStandard && type != TypeByteEncoded && type != TypeRgb)
        return false;
    if (mapType > MapRaw || mapLength > reader.Remaining())
        return false;

    std::uint32_t palette[256];
    const std::uint32_t entries = mapType == MapEqualRgb ? mapLength / 3 : 0;
    if (entries > 256)
        return false;
    for (int i = 0; i < 256; ++i)
        palette[i] = depth == 1 ? (i == 0 ? MakeColour(255, 255, 255) : MakeColour(0, 0, 0)) : MakeColour(i, i, i);
    if (entries)
    {
        const std::uint8_t* map = reader.Current();
        for (std::uint32_t i = 0; i < entries; ++i)
            palette[i] = MakeColour(map[i], map[entries + i], map[2 * entries + i]);
    }
    if (!reader.Skip(mapLength))
        return false;

    const std::uint64_t rowBytes = ((std::uint64_t(width) * depth + 15) / 16) * 2;
    const std::uint64_t total = rowBytes * height;
    const std::uint64_t available = reader.Remaining();
    // A byte-encoded run of three bytes gives at most 256 bytes.
    if (total > (type == TypeByteEncoded ? available * 86 : available))
        return false;

    cCodecImage result;
    if (!result.Create(int(width), int(height), maxPixels))
        return false;
    try
    {
        std::vector<std::uint8_t> pixels;
        if (type == TypeByteEncoded)
        {
            pixels.resize(static_cast<std::size_t>(total));
            std::size_t filled = 0;
            const std::uint8_t* in = reader.Current();
            const std::size_t inSize = reader.Remaining();
            std::size_t i = 0;
            while (filled < pixels.size())
            {
                if (i >= inSize)
                    return false;
                const std::uint8_t byte = in[i++];
                if (byte != 0x80)
                {
                    pixels[filled++] = byte;
                    continue;
                }
                if (i >= inSize)
                    return false;
                const std::uint8_t count = in[i++];
                if (count == 0)
                {
                    pixels[filled++] = 0x80;
                    continue;
                }
                if (i >= inSize)
                    return false;
                const std::uint8_t value = in[i++];
                for (unsigned n = 0; n <= count && filled < pixels.size(); ++n)
                    pixels[filled++] = value;
            }
        }
        const std::uint8_t* source = type == TypeByteEncoded ? pixels.data() : reader.Current();

        bool anyAlpha = false;
        for (std::uint32_t y = 0; y < height; ++y)
        {
            const std::uint8_t* row = source + y * rowBytes;
            std::uint32_t* out = result.Row(int(y));
            for (std::uint32_t x = 0; x < width; ++x)
            {
                switch (depth)
                {
                case 1:
                    out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1];
                    break;
                case 8:
                    out[x] = palette[row[x]];
                    break;
                case 24:
                {
                    const std::uint8_t* p = row + 3 * std::size_t(x);
                    out[x] = type == TypeRgb ? MakeColour(p[0], p[1], p[2]) : MakeColour(p[2], p[1], p[0]);
                    break;
                }
                default:
                {
                    const std::uint8_t* p = row + 4 * std::size_t(x);
                    out[x] = type == TypeRgb ? MakeColour(p[1], p[2], p[3], p[0]) : MakeColour(p[3], p[2], p[1], p[0]);
                    anyAlpha |= p[0] != 0;
                    break;
                }
                }
            }
        }
        if (depth == 32)
        {
            // A pad byte that is 0 everywhere is no alpha channel.
            bool translucent = false;
            for (std::uint32_t y = 0; y < height; ++y)
            {
                std::uint32_t* out = result.Row(int(y));
                for (std::uint32_t x = 0; x < width; ++x)
                {
                    if (!anyAlpha)
                        out[x] |= 0xFF000000u;
                    translucent |= (out[x] >> 24) != 255;
                }
            }
            result.SetHasAlpha(translucent);
        }
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    image = std::move(result);
    return true;
}

} // namespace PictureFile
