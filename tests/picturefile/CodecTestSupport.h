#pragma once

// Test pictures and pixel access for the codec-layer tests.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>
#include <filesystem>
#include <string>

#include "framework/painter/Picture.h"
#include "tests/picturefile/PictureFileTestSupport.h"
#include "tests/support/TempFolder.h"

namespace CodecTest {

// A file in a temporary folder, as UTF-16.
inline std::u16string PathIn(const Testing::cTempFolder& temp, const std::u16string& name)
{
    return (temp.Path() / std::filesystem::path(name)).u16string();
}

// File bytes, the system's decoders and their netpbm output are shared
// with the other picture-file tests.
using PictureFileTest::HaveTool;
using PictureFileTest::ReadBytes;
using PictureFileTest::ReadNetpbm;
using PictureFileTest::RunCommand;
using PictureFileTest::sNetpbm;
using PictureFileTest::WriteBytes;

// Pixel (x, y) of a 24- or 32-bit picture as 0xAARRGGBB (24-bit: alpha 255).
inline std::uint32_t PixelOf(const Painter::cPicture& picture, int x, int y)
{
    if (picture.Format() == Painter::FORMAT_RGB24)
    {
        const std::uint8_t* p = picture.Row(y) + 3 * x;
        return 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
    }
    return picture.Pixel(x, y);
}

// A screen-like picture: flat panels, a gradient band, "text" strokes in a
// few colours. colours limits it to a handful of colours (no gradient).
inline Painter::cPicture MakeScreen(int width, int height, bool fewColours = false)
{
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            std::uint32_t c;
            if (y < height / 8)
                c = 0xFF2B579Au;                                        // title bar
            else if (!fewColours && y < height / 4)
                c = 0xFF000000u | std::uint32_t((x * 255 / width) << 16) | std::uint32_t((y * 7) & 0xFF) << 8 |
                    std::uint32_t(255 - x * 255 / width);               // gradient
            else if (((x / 3) * 7 + (y / 2) * 5) % 11 == 0)
                c = (x + y) % 3 == 0 ? 0xFF101010u : 0xFF0050C8u;       // strokes
            else
                c = x < width / 5 ? 0xFFF3F3F3u : 0xFFFFFFFFu;          // panels
            picture.SetPixel(x, y, c);
        }
    return picture;
}

// MakeScreen with a transparent band (alpha 0) at the top left and a
// translucent ramp at the bottom.
inline Painter::cPicture MakeTranslucent(int width, int height, bool fewColours = false)
{
    Painter::cPicture picture = MakeScreen(width, height, fewColours);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            std::uint32_t c = picture.Pixel(x, y);
            if (x < width / 3 && y < height / 3)
                c &= 0x00FFFFFFu;
            else if (!fewColours && y >= height - height / 4)
                c = (c & 0x00FFFFFFu) | (std::uint32_t(x * 255 / width) << 24);
            picture.SetPixel(x, y, c);
        }
    return picture;
}

inline std::uint8_t GreyOf(std::uint32_t c)
{
    return std::uint8_t((117u * (c & 255) + 601u * ((c >> 8) & 255) + 306u * ((c >> 16) & 255)) >> 10);
}

} // namespace CodecTest
