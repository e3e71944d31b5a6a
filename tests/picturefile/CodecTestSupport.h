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
#include "tests/support/TempFolder.h"

namespace CodecTest {

// A file in a temporary folder, as UTF-16.
inline std::u16string PathIn(const Testing::cTempFolder& temp, const std::u16string& name)
{
    return (temp.Path() / std::filesystem::path(name)).u16string();
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Runs a shell command; its exit status.
inline int RunCommand(const std::string& command)
{
    const int status = std::system(command.c_str());
#ifdef _WIN32
    return status;
#else
    return status == -1 ? -1 : WEXITSTATUS(status);
#endif
}

// True when the named program is on the PATH (never on Windows builds:
// the decoders are Linux programs).
inline bool HaveTool(const std::string& name)
{
#ifdef _WIN32
    (void)name;
    return false;
#else
    return RunCommand("command -v " + name + " >/dev/null 2>&1") == 0;
#endif
}

// A decoded netpbm file (P5, P6 or P7 with maxval 255).
struct sNetpbm
{
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels;
    // channel c of pixel (x, y)
    std::uint8_t At(int x, int y, int c) const { return pixels[std::size_t((y * width + x) * channels + c)]; }
};

inline bool ReadNetpbm(const std::filesystem::path& path, sNetpbm& image)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::size_t at = 0;
    auto token = [&]() {
        std::string text;
        while (at < bytes.size())
        {
            const char c = char(bytes[at]);
            if (c == '#')
            {
                while (at < bytes.size() && bytes[at] != '\n')
                    ++at;
                continue;
            }
            if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            {
                ++at;
                if (!text.empty())
                    break;
                continue;
            }
            text += c;
            ++at;
        }
        return text;
    };
    const std::string magic = token();
    int maxval = 0;
    if (magic == "P5" || magic == "P6")
    {
        image.width = std::atoi(token().c_str());
        image.height = std::atoi(token().c_str());
        maxval = std::atoi(token().c_str());
        image.channels = magic == "P5" ? 1 : 3;
    }
    else if (magic == "P7")
    {
        for (std::string key = token(); !key.empty() && key != "ENDHDR"; key = token())
        {
            if (key == "WIDTH") image.width = std::atoi(token().c_str());
            else if (key == "HEIGHT") image.height = std::atoi(token().c_str());
            else if (key == "DEPTH") image.channels = std::atoi(token().c_str());
            else if (key == "MAXVAL") maxval = std::atoi(token().c_str());
            else if (key == "TUPLTYPE") token();
        }
    }
    else
    {
        return false;
    }
    const std::size_t size = std::size_t(image.width) * std::size_t(image.height) * std::size_t(image.channels);
    if (maxval != 255 || size == 0 || at + size > bytes.size())
        return false;
    image.pixels.assign(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + size));
    return true;
}

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
