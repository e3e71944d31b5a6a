#pragma once

// The picture the PNG benchmarks save: a deterministic screen of a
// wallpaper gradient, windows with title bars, panels, lines of "text"
// (short dark strokes in glyph-sized cells), a toolbar of icons and a task
// bar, every pixel opaque.

#include <algorithm>
#include <cstdint>

#include "framework/painter/Picture.h"

namespace Bench {

inline Painter::cPicture MakeDesktop(int width, int height)
{
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, width, height);
    std::uint32_t seed = 12345;
    const auto random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int y = 0; y < height; ++y)
    {
        std::uint32_t* row = picture.Row32(y);
        for (int x = 0; x < width; ++x)
        {
            const unsigned r = 20 + 60 * y / height, g = 60 + 90 * x / width, b = 140 + 100 * (x + y) / (width + height);
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    const auto fill = [&](int left, int top, int right, int bottom, std::uint32_t colour) {
        for (int y = std::max(0, top); y < std::min(height, bottom); ++y)
            for (int x = std::max(0, left); x < std::min(width, right); ++x)
                picture.SetPixel(x, y, colour);
    };
    const int windows[][4] = {{80, 60, 2200, 1500}, {1500, 300, 3700, 1900}, {300, 1200, 1700, 2050}};
    for (const auto& w : windows)
    {
        fill(w[0] + 6, w[1] + 6, w[2] + 6, w[3] + 6, 0xFF303030u);    // shadow
        fill(w[0], w[1], w[2], w[3], 0xFFFFFFFFu);
        fill(w[0], w[1], w[2], w[1] + 32, 0xFF2B579Au);               // title bar
        fill(w[0], w[1] + 32, w[0] + 260, w[3], 0xFFF3F3F3u);         // side panel
        fill(w[0], w[1] + 32, w[2], w[1] + 80, 0xFFE8E8E8u);          // toolbar
        for (int i = 0; i < 20; ++i)                                   // toolbar icons
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x)
                {
                    const int px = w[0] + 10 + i * 34 + x, py = w[1] + 44 + y;
                    if (px < w[2] && px < width && py < height && (x - 12) * (x - 12) + (y - 12) * (y - 12) < 120)
                        picture.SetPixel(px, py, 0xFF000000u | ((i * 40) & 255) << 16 | ((i * 90) & 255) << 8 | 200);
                }
        // Lines of text: glyph cells of 9 x 16 with a few dark strokes.
        for (int line = w[1] + 100; line + 16 < w[3]; line += 22)
        {
            int x = w[0] + 280;
            while (x + 9 < w[2] - 20)
            {
                const int word = 2 + int(random() % 9);
                for (int c = 0; c < word && x + 9 < w[2] - 20; ++c, x += 9)
                {
                    const unsigned glyph = random();
                    for (int s = 0; s < 4; ++s)
                    {
                        const int gx = x + 1 + int((glyph >> (s * 3)) % 7), gy = line + 2 + int((glyph >> s) % 12);
                        const bool vertical = (glyph >> (s + 8)) & 1;
                        for (int k = 0; k < (vertical ? 9 : 5); ++k)
                        {
                            const int px = vertical ? gx : gx + k - 2, py = vertical ? gy + k - 4 : gy;
                            if (px >= 0 && px < width && py >= 0 && py < height)
                                picture.SetPixel(px, py, k == 0 ? 0xFF8A8A8Au : 0xFF1E1E1Eu);
                        }
                    }
                }
                x += 9;
            }
        }
    }
    fill(0, height - 48, width, height, 0xFF202020u);    // task bar
    return picture;
}

} // namespace Bench
