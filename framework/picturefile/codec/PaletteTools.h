#pragma once

// Palette tools of the codec layer: reduction of a 32-bit picture to a
// palette picture (octree or uniform palette, nearest colour, plain
// Floyd-Steinberg error diffusion, a transparent entry for fully
// transparent pixels), alpha stripping against a key colour and the
// greyscale weights used by the grey formats.

#include <cstdint>
#include <vector>

#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

// A palette picture: one index byte per pixel, rows top first.
struct sIndexedImage
{
    int width = 0;
    int height = 0;
    int bits = 8;                          // 1..8
    std::vector<std::uint8_t> indices;     // width x height
    std::vector<std::uint32_t> palette;    // 2^bits entries 0x00RRGGBB, unused ones 0
    int colourCount = 0;                   // entries in use, at the front
    int transparentIndex = -1;             // -1: none
};

// How a 32-bit picture becomes a palette picture.
struct sPaletteOptions
{
    int bits = 8;                  // 1..8: index depth
    int colours = 256;             // colours wanted (clamped to 2^bits)
    bool errorDiffusion = false;   // Floyd-Steinberg
    bool quantize = true;          // octree palette; else a uniform one
    bool keepTransparency = true;  // pixels with alpha 0 get a transparent entry
    std::uint32_t keyColour = 0xFFFFFF;   // 0x00RRGGBB for that entry and for stripping
};

class cPaletteTools
{
public:
    // (117 B + 601 G + 306 R) >> 10.
    static std::uint8_t Grey(std::uint32_t colour)
    {
        return std::uint8_t((117u * BlueOf(colour) + 601u * GreenOf(colour) + 306u * RedOf(colour)) >> 10);
    }

    // Blends a pixel with key by its alpha: c' = (c a + k (255 - a)) / 255,
    // rounded; alpha 0 gives exactly the key, alpha 255 the colour. The
    // result is opaque.
    static std::uint32_t StripAlpha(std::uint32_t colour, std::uint32_t key);

    // Index of the palette entry nearest to colour (squared RGB distance,
    // the first of equals), skipping the entry skip (-1: none).
    static int NearestIndex(const std::uint32_t* palette, int count, std::uint32_t colour, int skip = -1);

    // count entries spread evenly over the colour cube (black and white
    // first), then greys.
    static std::vector<std::uint32_t> UniformPalette(int count);

    // The distinct colours of view (alpha ignored; with skipTransparent
    // pixels of alpha 0 are left out) when there are at most max of them.
    static bool CollectColours(const sPixelView& view, int max, bool skipTransparent,
                               std::vector<std::uint32_t>& colours);

    // Maps view onto palette (count entries; transparentIndex, when >= 0,
    // is given to pixels of alpha 0 and to no other). Pixels are taken as
    // they are: strip the alpha first if it should count. The image's
    // palette is widened to 2^bits entries.
    static bool MapToPalette(const sPixelView& view, const std::vector<std::uint32_t>& palette, int bits,
                             bool errorDiffusion, int transparentIndex, sIndexedImage& image);

    // The whole reduction: alpha stripped against the key (when keeping
    // transparency), palette built (the exact colours when they fit, else
    // octree or uniform), one entry reserved for transparent pixels when
    // some pixel has alpha 0 and transparency is kept, its colour made
    // unique in the palette, and the pixels mapped.
    static bool Reduce(const sPixelView& view, const sPaletteOptions& options, sIndexedImage& image);
};

} // namespace PictureFile
