#include "framework/picturefile/codec/CodecImage.h"

#include <new>

namespace PictureFile {

bool sPixelView::IsOpaque() const
{
    for (int y = 0; y < height; ++y)
    {
        const std::uint32_t* row = Row(y);
        std::uint32_t all = 0xFF000000u;
        for (int x = 0; x < width; ++x)
            all &= row[x];
        if ((all >> 24) != 0xFF)
            return false;
    }
    return true;
}

bool sPixelView::HasTransparentPixel() const
{
    for (int y = 0; y < height; ++y)
    {
        const std::uint32_t* row = Row(y);
        for (int x = 0; x < width; ++x)
            if ((row[x] >> 24) == 0)
                return true;
    }
    return false;
}

bool cCodecImage::Create(int width, int height, std::uint64_t maxPixels)
{
    if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide)
        return false;
    const std::uint64_t count = std::uint64_t(width) * std::uint64_t(height);
    if (!FitsPixelBudget(width, height, maxPixels) || count > SIZE_MAX / 4)
        return false;
    std::unique_ptr<std::uint32_t[]> pixels(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(count)]);
    if (!pixels)
        return false;
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
    m_hasAlpha = false;
    return true;
}

sPixelView cCodecImage::View() const
{
    sPixelView view;
    view.bits = reinterpret_cast<const std::uint8_t*>(m_pixels.get());
    view.width = m_width;
    view.height = m_height;
    view.stride = std::ptrdiff_t(m_width) * 4;
    return view;
}

} // namespace PictureFile
