#include "framework/picturefile/codec/OctreeQuantizer.h"

#include <algorithm>
#include <new>

namespace PictureFile {

cOctreeQuantizer::cOctreeQuantizer(int maxColours, int colourBits)
    : m_maxColours(std::clamp(maxColours, 1, 256)), m_colourBits(std::clamp(colourBits, 1, 8))
{
    std::fill(std::begin(m_reducible), std::end(m_reducible), -1);
    m_nodes.reserve(1024);
    NewNode(0);
}

std::int32_t cOctreeQuantizer::NewNode(int level)
{
    const auto index = static_cast<std::int32_t>(m_nodes.size());
    m_nodes.emplace_back();
    sNode& node = m_nodes.back();
    if (level == m_colourBits)
    {
        node.leaf = true;
        ++m_leafCount;
    }
    else
    {
        node.nextReducible = m_reducible[level];
        m_reducible[level] = index;
    }
    return index;
}

void cOctreeQuantizer::AddColour(std::uint32_t colour, std::uint64_t weight)
{
    const unsigned r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    std::int32_t current = 0;
    for (int level = 0;; ++level)
    {
        if (m_nodes[current].leaf)
        {
            sNode& node = m_nodes[current];
            node.red += r * weight;
            node.green += g * weight;
            node.blue += b * weight;
            node.pixels += weight;
            break;
        }
        const int shift = 7 - level;
        const int child = (((r >> shift) & 1) << 2) | (((g >> shift) & 1) << 1) | ((b >> shift) & 1);
        if (m_nodes[current].children[child] < 0)
        {
            const std::int32_t created = NewNode(level + 1);
            m_nodes[current].children[child] = created;
        }
        current = m_nodes[current].children[child];
    }
    while (m_leafCount > m_maxColours)
        Reduce();
}

void cOctreeQuantizer::Reduce()
{
    int level = m_colourBits - 1;
    while (level > 0 && m_reducible[level] < 0)
        --level;
    const std::int32_t index = m_reducible[level];
    if (index < 0)
        return;
    sNode& node = m_nodes[index];
    m_reducible[level] = node.nextReducible;
    int merged = 0;
    for (std::int32_t& child : node.children)
    {
        if (child < 0)
            continue;
        const sNode& leaf = m_nodes[child];
        node.red += leaf.red;
        node.green += leaf.green;
        node.blue += leaf.blue;
        node.pixels += leaf.pixels;
        child = -1;
        ++merged;
    }
    // The folded children stay in the pool, unreachable.
    node.leaf = true;
    m_leafCount -= merged - 1;
}

bool cOctreeQuantizer::AddPixels(const sPixelView& view, bool skipTransparent)
{
    try
    {
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            // Runs of one colour weigh like the pixels they cover, but the
            // tree is walked once per run.
            std::uint32_t runColour = 0;
            std::uint64_t runLength = 0;
            for (int x = 0; x < view.width; ++x)
            {
                const std::uint32_t pixel = row[x];
                if (skipTransparent && (pixel >> 24) == 0)
                    continue;
                if (runLength && ((pixel ^ runColour) & 0xFFFFFFu) == 0)
                {
                    ++runLength;
                    continue;
                }
                if (runLength)
                    AddColour(runColour, runLength);
                runColour = pixel;
                runLength = 1;
            }
            if (runLength)
                AddColour(runColour, runLength);
        }
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

std::vector<std::uint32_t> cOctreeQuantizer::Palette() const
{
    std::vector<std::uint32_t> palette;
    // Depth-first from the root, children in index order.
    std::vector<std::int32_t> stack{0};
    while (!stack.empty())
    {
        const std::int32_t index = stack.back();
        stack.pop_back();
        const sNode& node = m_nodes[index];
        if (node.leaf)
        {
            if (node.pixels)
            {
                const std::uint64_t half = node.pixels / 2;
                palette.push_back(MakeColour(unsigned((node.red + half) / node.pixels),
                                             unsigned((node.green + half) / node.pixels),
                                             unsigned((node.blue + half) / node.pixels), 0));
            }
            continue;
        }
        for (int child = 7; child >= 0; --child)
            if (node.children[child] >= 0)
                stack.push_back(node.children[child]);
    }
    return palette;
}

} // namespace PictureFile
