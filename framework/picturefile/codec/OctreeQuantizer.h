#pragma once

// Octree colour quantizer: colours are added one by one into a tree of
// up to colourBits levels (one bit of red, green and blue per level picks
// the child); whenever there are more leaves than the wanted colour count,
// the deepest reducible node folds its children into itself. The palette
// is the mean colour of each leaf.

#include <cstdint>
#include <vector>

#include "framework/picturefile/codec/CodecImage.h"

namespace PictureFile {

class cOctreeQuantizer
{
public:
    // maxColours 1..256; colourBits 1..8 (8 keeps colours that differ in
    // their lowest bit apart).
    cOctreeQuantizer(int maxColours, int colourBits);

    // Adds colour (alpha ignored) weight times.
    void AddColour(std::uint32_t colour, std::uint64_t weight = 1);
    // Adds every pixel of view; with skipTransparent, pixels whose alpha
    // is 0 are left out. False when memory ran out (the tree is then
    // unusable).
    bool AddPixels(const sPixelView& view, bool skipTransparent);

    // The leaf colours as 0x00RRGGBB, at most maxColours of them.
    std::vector<std::uint32_t> Palette() const;
    int LeafCount() const { return m_leafCount; }

private:
    struct sNode
    {
        std::uint64_t red = 0;
        std::uint64_t green = 0;
        std::uint64_t blue = 0;
        std::uint64_t pixels = 0;
        std::int32_t children[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        std::int32_t nextReducible = -1;
        bool leaf = false;
    };

    std::int32_t NewNode(int level);
    void Reduce();

    std::vector<sNode> m_nodes;
    std::int32_t m_reducible[9];
    int m_maxColours;
    int m_colourBits;
    int m_leafCount = 0;
};

} // namespace PictureFile
