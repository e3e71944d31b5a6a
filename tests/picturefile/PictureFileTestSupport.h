#pragma once

// Helpers shared by the picture-file tests: test pictures, file bytes,
// and running the independent decoders and encoders of the system.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/WideString.h"
#include "framework/painter/Picture.h"
#include "tests/support/TempFolder.h"

namespace PictureFileTest {

// A file in a test folder, usable both as a framework path and as a
// std::filesystem path.
struct sPath
{
    std::u16string text;
    operator Container::cWideString() const { return Container::cWideString(std::u16string_view(text)); }
    operator std::filesystem::path() const { return std::filesystem::path(text); }
};

inline sPath FileIn(const Testing::cTempFolder& folder, const char16_t* name)
{
    return sPath{folder.File(name)};
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

// A picture whose every byte depends on its position, so that swapped
// rows, channels or columns show.
inline Painter::cPicture MakePattern(std::int32_t format, std::int32_t width, std::int32_t height, unsigned seed = 1)
{
    Painter::cPicture picture;
    picture.Create(format, width, height);
    const int bytes = (width * Painter::FormatBits(format) + 7) / 8;
    for (std::int32_t y = 0; y < height; ++y)
    {
        std::uint8_t* row = picture.Row(y);
        for (int i = 0; i < bytes; ++i)
            row[i] = std::uint8_t((i * 7 + y * 31 + seed * 13 + (i * y) / 5) & 0xFF);
    }
    return picture;
}

// A smooth 32-bit opaque picture: gradients, the kind of content JPEG
// reproduces closely.
inline Painter::cPicture MakeSmooth(std::int32_t width, std::int32_t height)
{
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
        {
            const std::uint32_t r = std::uint32_t(40 + 160 * x / width);
            const std::uint32_t g = std::uint32_t(30 + 180 * y / height);
            const std::uint32_t b = std::uint32_t(200 - 120 * (x + y) / (width + height));
            picture.SetPixel(x, y, 0xFF000000u | (r << 16) | (g << 8) | b);
        }
    return picture;
}

// B, G, R of pixel (x, y) of a 24- or 32-bit picture.
inline std::uint32_t Bgr(const Painter::cPicture& picture, std::int32_t x, std::int32_t y)
{
    const std::uint8_t* p = picture.Row(y) + x * (picture.BitsPerPixel() / 8);
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

inline std::string Narrow(const std::u16string& path)
{
    return std::filesystem::path(path).string();
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

// True when missing decoders must fail the tests that need them instead of
// skipping them: in CI (CI=true), where a skip would hide a missing install
// step. Windows builds never have them (they run Linux programs), so there
// they are always skipped.
inline bool ToolsRequired()
{
#ifdef _WIN32
    return false;
#else
    const char* ci = std::getenv("CI");
    if (ci == nullptr)
        return false;
    const std::string value(ci);
    return value == "true" || value == "TRUE" || value == "True" || value == "1";
#endif
}

// Ends a test that needs the named decoder when it is not installed:
// skipped on a developer's machine, failed when ToolsRequired().
#define QS_REQUIRE_TOOL(name)                                                                        \
    do                                                                                               \
    {                                                                                                \
        const std::string qsTool = (name);                                                           \
        if (!PictureFileTest::HaveTool(qsTool))                                                      \
        {                                                                                            \
            if (PictureFileTest::ToolsRequired())                                                    \
                GTEST_FAIL() << qsTool << " is not installed, and CI=true requires every decoder";   \
            GTEST_SKIP() << qsTool << " is not installed";                                           \
        }                                                                                            \
    } while (false)

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

// Writes a binary PPM of the B, G, R bytes of a 24- or 32-bit picture.
inline void WritePpm(const std::filesystem::path& path, const Painter::cPicture& picture)
{
    std::vector<std::uint8_t> bytes;
    const std::string header = "P6\n" + std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + "\n255\n";
    bytes.assign(header.begin(), header.end());
    for (std::int32_t y = 0; y < picture.Height(); ++y)
        for (std::int32_t x = 0; x < picture.Width(); ++x)
        {
            const std::uint32_t v = Bgr(picture, x, y);
            bytes.push_back(std::uint8_t(v >> 16));
            bytes.push_back(std::uint8_t(v >> 8));
            bytes.push_back(std::uint8_t(v));
        }
    WriteBytes(path, bytes);
}

} // namespace PictureFileTest
