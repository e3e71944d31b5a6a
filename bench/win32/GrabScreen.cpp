// GrabScreen of the whole screen (3840 x 2160 when the screen is that
// large), beside a memcpy of the same number of bytes. A plain timing
// program rather than a Google Benchmark one, so that it can be built for
// Windows and run under Wine: under Wine the figures are for trend only.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/gdi/GrabScreen.h"
#include "framework/painter/Picture.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

template <typename Work>
double Median(int runs, Work work)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
    {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end, frequency));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int width = std::min(3840, screenWidth), height = std::min(2160, screenHeight);
    std::printf("GrabScreen benchmark (under Wine, for trend only)\n");
    std::printf("screen %d x %d; grabbing %d x %d%s\n", screenWidth, screenHeight, width, height,
                width == 3840 && height == 2160 ? "" : " (the screen is smaller than 3840 x 2160)");

    Painter::cPicture picture;
    bool ok = true;
    const double grab = Median(runs, [&] { ok = GDI::GrabScreen(Container::sRect(0, 0, width, height), picture) && ok; });
    if (!ok)
    {
        std::printf("GrabScreen failed\n");
        return 1;
    }
    // The system's own part: one BitBlt of the screen into a 32-bit section.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, section);
    const double blit = Median(runs, [&] {
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
    });
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    const std::size_t bytes = std::size_t(width) * height * 4;
    std::vector<std::uint8_t> source(bytes, 0x5A), target(bytes);
    const double copy = Median(runs, [&] {
        std::memcpy(target.data(), source.data(), bytes);
        source[target[bytes / 2] % bytes] ^= 1;  // keep the copy observable
    });
    std::printf("median of %d: GrabScreen %.2f ms; one BitBlt of the screen into a section %.2f ms; "
                "memcpy of the same %zu bytes %.2f ms\n",
                runs, grab, blit, bytes, copy);
    return 0;
}
