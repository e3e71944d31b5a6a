// make_desktop_bmp WIDTH HEIGHT OUTPUT.bmp
//
// Writes the benchmarks' desktop picture (bench/support/DesktopPicture.h)
// as a 32-bit BMP, as the program saves a capture.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/support/DesktopPicture.h"
#include "framework/picturefile/BitmapFile.h"
#include "platform/Platform.h"

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: make_desktop_bmp WIDTH HEIGHT OUTPUT.bmp\n");
        return 2;
    }
    const Painter::cPicture picture = Bench::MakeDesktop(std::atoi(argv[1]), std::atoi(argv[2]));
    std::u16string path;
    Platform::Utf8ToUtf16(argv[3], std::char_traits<char>::length(argv[3]), path);
    PictureFile::cBitmapFile file;
    if (picture.IsEmpty() || !file.Save(picture, Container::cWideString(path)))
    {
        std::fprintf(stderr, "make_desktop_bmp: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
