#include "app/capture/ClipboardImage.h"

#include "framework/painter/AlphaComposite.h"
#include "framework/painter/PixelFormat.h"

#include <cstring>
#include <new>

namespace {

void Put16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The fields both headers begin with; the rest stays zero.
void PutHeader(std::uint8_t* header, std::uint32_t headerSize, const Painter::cPicture& picture,
               std::uint16_t bits, std::uint32_t imageSize)
{
    Put32(header + 0, headerSize);
    Put32(header + 4, static_cast<std::uint32_t>(picture.Width()));
    Put32(header + 8, static_cast<std::uint32_t>(picture.Height())); // positive: bottom-up rows
    Put16(header + 12, 1);
    Put16(header + 14, bits);
    Put32(header + 16, 0); // BI_RGB
    Put32(header + 20, imageSize);
}

bool IsUsable(const Painter::cPicture& picture)
{
    return !picture.IsEmpty() && picture.Format() == Painter::FORMAT_ARGB32 && picture.Width() > 0 &&
           picture.Height() > 0;
}

} // namespace

bool cClipboardImage::MakeDib(const Painter::cPicture& picture, std::vector<std::uint8_t>& bytes)
{
    if (!IsUsable(picture))
        return false;
    const std::uint64_t width = static_cast<std::uint64_t>(picture.Width());
    const std::uint64_t height = static_cast<std::uint64_t>(picture.Height());
    const std::uint64_t rowSize = (width * 3 + 3) / 4 * 4;
    const std::uint64_t imageSize = rowSize * height;
    std::vector<std::uint8_t> block;
    try {
        block.assign(kInfoHeaderSize + imageSize, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    PutHeader(block.data(), kInfoHeaderSize, picture, 24, static_cast<std::uint32_t>(imageSize));
    for (std::uint64_t row = 0; row < height; ++row) {
        const std::uint32_t* source = picture.Row32(static_cast<std::int32_t>(height - 1 - row));
        std::uint8_t* target = block.data() + kInfoHeaderSize + row * rowSize;
        for (std::uint64_t x = 0; x < width; ++x) {
            // The painter's normal composition over opaque white.
            const std::uint32_t pixel = Painter::BlendNormal(0xFFFFFFFFu, source[x]);
            target[3 * x + 0] = static_cast<std::uint8_t>(pixel);
            target[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            target[3 * x + 2] = static_cast<std::uint8_t>(pixel >> 16);
        }
    }
    bytes.swap(block);
    return true;
}

bool cClipboardImage::MakeDibV5(const Painter::cPicture& picture, std::vector<std::uint8_t>& bytes)
{
    if (!IsUsable(picture))
        return false;
    const std::uint64_t rowSize = static_cast<std::uint64_t>(picture.Width()) * 4;
    const std::uint64_t height = static_cast<std::uint64_t>(picture.Height());
    const std::uint64_t imageSize = rowSize * height;
    std::vector<std::uint8_t> block;
    try {
        block.assign(kV5HeaderSize + imageSize, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    PutHeader(block.data(), kV5HeaderSize, picture, 32, static_cast<std::uint32_t>(imageSize));
    for (std::uint64_t row = 0; row < height; ++row)
        std::memcpy(block.data() + kV5HeaderSize + row * rowSize,
                    picture.Row(static_cast<std::int32_t>(height - 1 - row)), rowSize);
    bytes.swap(block);
    return true;
}
