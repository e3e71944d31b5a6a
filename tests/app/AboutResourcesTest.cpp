// The About dialog's art as it is compiled into Quillsnapper.exe.

#include <gtest/gtest.h>

#include <windows.h>

#include "framework/application/Module.h"
#include "framework/painter/Picture.h"
#include "resources/AboutResources.h"

#include <string>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

std::u16string ProgramPath()
{
    const std::string unixPath = QS_QUILLSNAPPER_EXE;
    std::u16string path = unixPath.front() == '/' ? u"Z:" : u"";
    for (char c : unixPath)
        path += c == '/' ? u'\\' : static_cast<char16_t>(static_cast<unsigned char>(c));
    return path;
}

// Blue, green and red of a working-format pixel.
int Blue(std::uint32_t pixel) { return pixel & 0xFF; }
int Green(std::uint32_t pixel) { return pixel >> 8 & 0xFF; }
int Red(std::uint32_t pixel) { return pixel >> 16 & 0xFF; }

} // namespace

TEST(AboutResources, TheProgramCarriesTheAboutPicture)
{
    Application::cModule program;
    ASSERT_TRUE(program.Load(ProgramPath().c_str(), true));
    Painter::cPicture picture;
    ASSERT_TRUE(program.LoadBitmapResource(picture, IDB_ABOUT_PICTURE));
    EXPECT_EQ(picture.Width(), 320);
    EXPECT_EQ(picture.Height(), 96);

    // Rows come out top first: the gradient is dark blue at the top and
    // lighter teal at the bottom, left of the emblem.
    const std::uint32_t top = picture.Pixel(2, 1);
    const std::uint32_t bottom = picture.Pixel(2, 94);
    EXPECT_LT(Red(top) + Green(top) + Blue(top), Red(bottom) + Green(bottom) + Blue(bottom));
    EXPECT_GT(Blue(top), Red(top));
    // The capture frame's top left handle: white inside a dark border.
    const std::uint32_t handle = picture.Pixel(150, 18);
    EXPECT_EQ(Red(handle), 255);
    EXPECT_EQ(Green(handle), 255);
    EXPECT_EQ(Blue(handle), 255);
    const std::uint32_t border = picture.Pixel(147, 18);
    EXPECT_LT(Red(border) + Green(border) + Blue(border), 150);
    // The emblem's dark opening, beside the quill that crosses its centre.
    const std::uint32_t opening = picture.Pixel(14 + 36 + 6, 12 + 36 + 6);
    EXPECT_LT(Red(opening) + Green(opening) + Blue(opening), 200);
}
