#pragma once

// Brimvale::cBVGroup: a layer that holds child layers, bottom first. Its
// rectangle is the union of its children's, kept by RecomputeBounds.

#include <memory>
#include <vector>

#include "framework/document/BVObject.h"

namespace Brimvale {

class cBVGroup : public cBVObject
{
public:
    cBVGroup() = default;
    cBVGroup(const cBVGroup& other);
    ~cBVGroup() override;

    std::int32_t Kind() const override { return KindGroup; }
    std::unique_ptr<cBVObject> Clone() const override;
    std::size_t GetMemorySize() const override;
    void ReleaseCache() override;
    Container::sRect GetLocalBounds() const override { return m_rect; }
    // The union of the children's rectangles; (0, 0, 0, 0) without children.
    Container::sRect GetBounds(bool withStyles) const override;
    // Draws the visible children in order, bottom first.
    void Draw(Painter::cCanvas& canvas, const Painter::cMatrix& matrix) override;
    void Render(Painter::cCanvas& canvas, const Painter::cMatrix& matrix, std::int32_t mode,
                std::int32_t opacity) override;
    void GetSize(std::int32_t& width, std::int32_t& height) const override;

    // Appends child as the new top layer and makes this group its parent.
    void AddChild(std::unique_ptr<cBVObject> child);
    std::size_t ChildCount() const { return m_children.size(); }
    cBVObject& Child(std::size_t index) { return *m_children[index]; }
    const cBVObject& Child(std::size_t index) const { return *m_children[index]; }

    // Child groups first, then this group: the union of the children's
    // bounds with styles becomes the group's rectangle, its top left the
    // group's position, and the matrix is recomputed. Without children the
    // rectangle is (0, 0, 0, 0).
    void RecomputeBounds();

    std::uint8_t Expanded() const { return m_expanded; }
    void SetExpanded(std::uint8_t expanded) { m_expanded = expanded; }

private:
    std::vector<std::unique_ptr<cBVObject>> m_children;
    Container::sRect m_rect;
    std::uint8_t m_expanded = 1;
};

} // namespace Brimvale
