#include "framework/picturefile/codec/PaletteTools.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>

#include "framework/picturefile/codec/OctreeQuantizer.h"

namespace PictureFile {

namespace {

// Remembers the nearest entry of recently mapped colours: screen pictures
// repeat a few colours many times.
class cNearestCache
{
public:
    cNearestCache(const std::uint32_t* palette, int count, int skip)
        : m_palette(palette), m_count(count), m_skip(skip), m_keys(Size, 0), m_values(Size, 0)
    {
    }

    int Find(std::uint32_t colour)
    {
        colour &= 0xFFFFFFu;
        const std::uint32_t slot = ((colour * 2654435761u) >> 16) & (Size - 1);
        // Keys carry a marker bit so that an empty slot never matches.
        const std::uint32_t key = colour | 0x1000000u;
        if (m_keys[slot] == key)
            return m_values[slot];
        const int index = cPaletteTools::NearestIndex(m_palette, m_count, colour, m_skip);
        m_keys[slot] = key;
        m_values[slot] = std::uint8_t(index);
        return index;
    }

private:
    static constexpr std::uint32_t Size = 65536;
    const std::uint32_t* m_palette;
    int m_count;
    int m_skip;
    std::vector<std::uint32_t> m_keys;
    std::vector<std::uint8_t> m_values;
};

int Clamp255(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

} // namespace

std::uint32_t cPaletteTools::StripAlpha(std::uint32_t colour, std::uint32_t key)
{
    const unsigned a = AlphaOf(colour);
    if (a == 255)
        return colour;
    if (a == 0)
        return key | 0xFF000000u;
    const auto blend = [a](unsigned c, unsigned k) { return (c * a + k * (255 - a) + 127) / 255; };
    return MakeColour(blend(RedOf(colour), RedOf(key)), blend(GreenOf(colour), GreenOf(key)),
                      blend(BlueOf(colour), BlueOf(key)));
}

int cPaletteTools::NearestIndex(const std::uint32_t* palette, int count, std::uint32_t colour, int skip)
{
    const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < count; ++i)
    {
        if (i == skip)
            continue;
        const int dr = r - RedOf(palette[i]), dg = g - GreenOf(palette[i]), db = b - BlueOf(palette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < bestDistance)
        {
            best = i;
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return best < 0 ? 0 : best;
}

std::vector<std::uint32_t> cPaletteTools::UniformPalette(int count)
{
    std::vector<std::uint32_t> palette;
    if (count < 1)
        return palette;
    int levels = 1;
    while ((levels + 1) * (levels + 1) * (levels + 1) <= count)
        ++levels;
    if (levels >= 2)
    {
        for (int r = 0; r < levels; ++r)
            for (int g = 0; g < levels; ++g)
                for (int b = 0; b < levels; ++b)
                    palette.push_back(MakeColour(r * 255 / (levels - 1), g * 255 / (levels - 1),
                                                 b * 255 / (levels - 1), 0));
    }
    // Greys fill the rest, spread over the range and never repeating an
    // entry of the cube.
    const int greys = count - int(palette.size());
    for (int i = 0; i < greys; ++i)
    {
        int v = greys == 1 ? (levels >= 2 ? 128 : 0) : i * 255 / (greys - 1);
        if (levels >= 2)
            v = (i + 1) * 255 / (greys + 1);
        for (;;)
        {
            const std::uint32_t grey = MakeColour(v, v, v, 0);
            if (std::find(palette.begin(), palette.end(), grey) == palette.end())
                break;
            v = (v + 1) & 255;
        }
        palette.push_back(MakeColour(v, v, v, 0));
    }
    return palette;
}

bool cPaletteTools::CollectColours(const sPixelView& view, int max, bool skipTransparent,
                                   std::vector<std::uint32_t>& colours)
{
    try
    {
        std::unordered_set<std::uint32_t> seen;
        std::uint32_t last = 0;
        bool haveLast = false;
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            for (int x = 0; x < view.width; ++x)
            {
                if (skipTransparent && (row[x] >> 24) == 0)
                    continue;
                const std::uint32_t colour = row[x] & 0xFFFFFFu;
                if (haveLast && colour == last)
                    continue;
                last = colour;
                haveLast = true;
                if (seen.insert(colour).second && int(seen.size()) > max)
                    return false;
            }
        }
        std::vector<std::uint32_t> result(seen.begin(), seen.end());
        std::sort(result.begin(), result.end());
        colours.swap(result);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

bool cPaletteTools::MapToPalette(const sPixelView& view, const std::vector<std::uint32_t>& palette, int bits,
                                 bool errorDiffusion, int transparentIndex, sIndexedImage& image)
{
    bits = std::clamp(bits, 1, 8);
    const int entries = 1 << bits;
    const int count = int(palette.size());
    if (!view.IsValid() || count < 1 || count > entries || transparentIndex >= count)
        return false;
    try
    {
        sIndexedImage result;
        result.width = view.width;
        result.height = view.height;
        result.bits = bits;
        result.colourCount = count;
        result.transparentIndex = transparentIndex;
        result.palette.assign(std::size_t(entries), 0u);
        for (int i = 0; i < count; ++i)
            result.palette[i] = palette[i] & 0xFFFFFFu;
        result.indices.resize(std::size_t(view.width) * std::size_t(view.height));

        // A palette of only the transparent entry: every visible pixel must
        // still get some index; it gets that entry's neighbour 0 when there
        // is one, which MapToPalette's callers always provide.
        cNearestCache cache(result.palette.data(), count, transparentIndex);
        const bool transparentOnly = transparentIndex >= 0 && count == 1;

        // Two rows of accumulated error (x 16) per channel, with a guard
        // pixel on each side.
        std::vector<int> errors;
        if (errorDiffusion)
            errors.assign(std::size_t(view.width + 2) * 6, 0);
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            std::uint8_t* out = result.indices.data() + std::size_t(y) * std::size_t(view.width);
            int* current = errorDiffusion ? errors.data() + ((y & 1) ? 3 * (view.width + 2) : 0) : nullptr;
            int* next = errorDiffusion ? errors.data() + ((y & 1) ? 0 : 3 * (view.width + 2)) : nullptr;
            if (errorDiffusion)
                std::fill(next, next + 3 * (view.width + 2), 0);
            for (int x = 0; x < view.width; ++x)
            {
                const std::uint32_t pixel = row[x];
                if (transparentIndex >= 0 && (pixel >> 24) == 0)
                {
                    out[x] = std::uint8_t(transparentIndex);
                    continue;
                }
                if (transparentOnly)
                {
                    out[x] = 0;
                    continue;
                }
                if (!errorDiffusion)
                {
                    out[x] = std::uint8_t(cache.Find(pixel));
                    continue;
                }
                int* e = current + 3 * (x + 1);
                const int r = Clamp255(RedOf(pixel) + (e[0] >= 0 ? (e[0] + 8) / 16 : -((8 - e[0]) / 16)));
                const int g = Clamp255(GreenOf(pixel) + (e[1] >= 0 ? (e[1] + 8) / 16 : -((8 - e[1]) / 16)));
                const int b = Clamp255(BlueOf(pixel) + (e[2] >= 0 ? (e[2] + 8) / 16 : -((8 - e[2]) / 16)));
                const int index = cache.Find(MakeColour(r, g, b));
                out[x] = std::uint8_t(index);
                const std::uint32_t chosen = result.palette[index];
                const int error[3] = {r - RedOf(chosen), g - GreenOf(chosen), b - BlueOf(chosen)};
                int* n = next + 3 * (x + 1);
                for (int c = 0; c < 3; ++c)
                {
                    e[3 + c] += error[c] * 7;
                    n[-3 + c] += error[c] * 3;
                    n[c] += error[c] * 5;
                    n[3 + c] += error[c];
                }
            }
        }
        image = std::move(result);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

bool cPaletteTools::Reduce(const sPixelView& view, const sPaletteOptions& options, sIndexedImage& image)
{
    if (!view.IsValid())
        return false;
    const int bits = std::clamp(options.bits, 1, 8);
    const int entries = 1 << bits;
    int wanted = options.colours < 1 ? entries : std::min(options.colours, entries);
    const std::uint32_t key = options.keyColour & 0xFFFFFFu;

    try
    {
        // The working copy: opaque colours, with alpha 0 kept only as the
        // mark of the pixels that become transparent.
        cCodecImage work;
        if (!work.Create(view.width, view.height))
            return false;
        bool hasTransparent = false;
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* in = view.Row(y);
            std::uint32_t* out = work.Row(y);
            for (int x = 0; x < view.width; ++x)
            {
                if (!options.keepTransparency)
                    out[x] = in[x] | 0xFF000000u;
                else if ((in[x] >> 24) == 0)
                {
                    out[x] = key;
                    hasTransparent = true;
                }
                else
                    out[x] = StripAlpha(in[x], key);
            }
        }
        const sPixelView workView = work.View();

        int available = wanted - (hasTransparent ? 1 : 0);
        if (available < 1)
            available = 1;    // bits >= 1 leaves room for one colour and the key

        std::vector<std::uint32_t> palette;
        if (!CollectColours(workView, available, hasTransparent, palette))
        {
            if (options.quantize)
            {
                cOctreeQuantizer quantizer(available, 8);
                if (!quantizer.AddPixels(workView, hasTransparent))
                    return false;
                palette = quantizer.Palette();
            }
            else
                palette = UniformPalette(available);
        }
        if (palette.empty() && !hasTransparent)
            palette.push_back(0);

        int transparentIndex = -1;
        if (hasTransparent)
        {
            // The key entry must not share its colour with a visible entry,
            // or a decoder matching colours would make those pixels
            // transparent too.
            std::uint32_t unique = key;
            for (std::uint32_t step = 0; std::find(palette.begin(), palette.end(), unique) != palette.end(); ++step)
                unique = (key ^ (step + 1)) & 0xFFFFFFu;
            transparentIndex = int(palette.size());
            palette.push_back(unique);
        }
        return MapToPalette(workView, palette, bits, options.errorDiffusion, transparentIndex, image);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}

} // namespace PictureFile
