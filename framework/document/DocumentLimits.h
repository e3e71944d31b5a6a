#pragma once

// The limits a document read from a file must stay within, so that a small
// hostile file can ask neither for unbounded memory nor for hours of
// rendering. The pixels of every picture a document holds together (canvas,
// layers, masks, style pictures, and when rendering its styled layers) are
// charged to the readers' shared pixel budget (PictureFile::PixelBudget). Documents the program writes (one layer the size of a
// capture) stay far below them.

#include <cstdint>

namespace Brimvale {

struct sDocumentLimits
{
    // Pixel operations one rendering of the scene may cost (each layer's
    // styles and its compositing onto the canvas, estimated before any of
    // it runs): a base every document gets, well above what a capture of
    // several monitors needs, plus an allowance for every byte of the file,
    // so that only a document that really holds much content may ask for
    // much work.
    static constexpr std::uint64_t kBaseRenderWork = std::uint64_t(1) << 28;
    static constexpr std::uint64_t kRenderWorkPerFileByte = 256;
    static constexpr std::uint64_t RenderWorkFor(std::uint64_t fileBytes)
    {
        return fileBytes > (UINT64_MAX - kBaseRenderWork) / kRenderWorkPerFileByte
                   ? UINT64_MAX
                   : kBaseRenderWork + fileBytes * kRenderWorkPerFileByte;
    }
    // Groups inside groups.
    static constexpr int kMaxGroupDepth = 64;
    // Sizes, distances, widths and radii of layer styles, in pixels; the
    // percentages of the glass shadow.
    static constexpr std::int32_t kMaxStyleExtent = 4096;
    static constexpr std::int32_t kMaxStylePercent = 10000;
};

} // namespace Brimvale
