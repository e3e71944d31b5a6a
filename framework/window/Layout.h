#pragma once

#include <cstdint>
#include <vector>

namespace Window {

class cWindow;

// One node of a box layout: a leaf places a window, an inner node lays its
// children out in a row (left to right) or a column (top to bottom).
// Children either keep a fixed width (in a row) or height (in a column) or
// stretch to share the free space.
class cLayout
{
public:
    enum : std::uint32_t
    {
        Row = 1u << 0,      // children left to right; clear: top to bottom
        Stretch = 1u << 1,  // this node shares its parent's free space
    };

    cLayout() = default;
    cLayout(cWindow* window, std::uint32_t flags, int width, int height, int gap = 0)
        : m_gap(gap), m_window(window), m_flags(flags), m_width(width), m_height(height)
    {
    }
    virtual ~cLayout();
    cLayout(const cLayout&) = delete;
    cLayout& operator=(const cLayout&) = delete;

    // Takes ownership of child (allocated with new); answers it, or null
    // (child deleted) when it cannot be stored.
    cLayout* Add(cLayout* child);
    // Deletes every child.
    void Clear();

    // Places the tree in the rectangle. A gap of 0 takes the node's own.
    void Arrange(int gap, int left, int top, int right, int bottom);

    int m_gap = 0;
    cWindow* m_window = nullptr;
    std::uint32_t m_flags = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<cLayout*> m_children;
};

} // namespace Window
