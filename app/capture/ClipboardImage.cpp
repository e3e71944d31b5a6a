#include "app/capture/ClipboardImage.h"

#include "framework/painter/AlphaComposite.h"
#include "framework/painter/PixelFormat.h"

#include <cstring>
#include <new>
#include <stdexcept>

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

std::uint64_t DibRowSize(const Painter::cPicture& picture)
{
    return (static_cast<std::uint64_t>(picture.Width()) * 3 + 3) / 4 * 4;
}

// Both blocks hold the header and the rows in one vector made here.
template <typename tSize, typename tWrite>
bool MakeBlock(const Painter::cPicture& picture, std::vector<std::uint8_t>& bytes, tSize size, tWrite write)
{
    const std::uint64_t needed = size(picture);
    if (needed == 0)
        return false;
    std::vector<std::uint8_t> block;
    try {
        block.resize(needed);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    if (!write(picture, block.data(), needed))
        return false;
    bytes.swap(block);
    return true;
}

} // namespace

std::uint64_t cClipboardImage::DibSize(const Painter::cPicture& picture)
{
    if (!IsUsable(picture))
        return 0;
    return kInfoHeaderSize + DibRowSize(picture) * static_cast<std::uint64_t>(picture.Height());
}

bool cClipboardImage::WriteDib(const Painter::cPicture& picture, std::uint8_t* block, std::uint64_t size)
{
    if (block == nullptr || size == 0 || size != DibSize(picture))
        return false;
    const std::uint64_t width = static_cast<std::uint64_t>(picture.Width());
    const std::uint64_t height = static_cast<std::uint64_t>(picture.Height());
    const std::uint64_t rowSize = DibRowSize(picture);
    std::memset(block, 0, kInfoHeaderSize);
    PutHeader(block, kInfoHeaderSize, picture, 24, static_cast<std::uint32_t>(rowSize * height));
    for (std::uint64_t row = 0; row < height; ++row) {
        const std::uint32_t* source = picture.Row32(static_cast<std::int32_t>(height - 1 - row));
        std::uint8_t* target = block + kInfoHeaderSize + row * rowSize;
        for (std::uint64_t x = 0; x < width; ++x) {
            // The painter's normal composition over opaque white; an opaque
            // pixel (every pixel of a screen grab) stays as it is.
            const std::uint32_t pixel =
                (source[x] >> 24) == 0xFF ? source[x] : Painter::BlendNormal(0xFFFFFFFFu, source[x]);
            target[3 * x + 0] = static_cast<std::uint8_t>(pixel);
            target[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            target[3 * x + 2] = static_cast<std::uint8_t>(pixel >> 16);
        }
        // The row's padding is zero.
        std::memset(target + 3 * width, 0, rowSize - 3 * width);
    }
    return true;
}

std::uint64_t cClipboardImage::DibV5Size(const Painter::cPicture& picture)
{
    if (!IsUsable(picture))
        return 0;
    return kV5HeaderSize + static_cast<std::uint64_t>(picture.Width()) * 4 * static_cast<std::uint64_t>(picture.Height());
}

bool cClipboardImage::WriteDibV5(const Painter::cPicture& picture, std::uint8_t* block, std::uint64_t size)
{
    if (block == nullptr || size == 0 || size != DibV5Size(picture))
        return false;
    const std::uint64_t rowSize = static_cast<std::uint64_t>(picture.Width()) * 4;
    const std::uint64_t height = static_cast<std::uint64_t>(picture.Height());
    std::memset(block, 0, kV5HeaderSize);
    PutHeader(block, kV5HeaderSize, picture, 32, static_cast<std::uint32_t>(rowSize * height));
    for (std::uint64_t row = 0; row < height; ++row)
        std::memcpy(block + kV5HeaderSize + row * rowSize, picture.Row(static_cast<std::int32_t>(height - 1 - row)),
                    rowSize);
    return true;
}

bool cClipboardImage::MakeDib(const Painter::cPicture& picture, std::vector<std::uint8_t>& bytes)
{
    return MakeBlock(picture, bytes, DibSize, WriteDib);
}

bool cClipboardImage::MakeDibV5(const Painter::cPicture& picture, std::vector<std::uint8_t>& bytes)
{
    return MakeBlock(picture, bytes, DibV5Size, WriteDibV5);
}
