#include "framework/document/BVGroup.h"

#include <new>

namespace Brimvale {

cBVGroup::cBVGroup(const cBVGroup& other) : cBVObject(other), m_rect(other.m_rect), m_expanded(other.m_expanded)
{
    m_children.reserve(other.m_children.size());
    for (const auto& child : other.m_children)
    {
        std::unique_ptr<cBVObject> copy = child->Clone();
        if (!copy)
            throw std::bad_alloc();
        copy->SetParent(this);
        m_children.push_back(std::move(copy));
    }
}

cBVGroup::~cBVGroup() = default;

std::unique_ptr<cBVObject> cBVGroup::Clone() const
{
    try
    {
        return std::make_unique<cBVGroup>(*this);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

std::size_t cBVGroup::GetMemorySize() const
{
    std::size_t size = cBVObject::GetMemorySize();
    for (const auto& child : m_children)
        size += child->GetMemorySize();
    return size;
}

void cBVGroup::ReleaseCache()
{
    for (const auto& child : m_children)
        child->ReleaseCache();
}

Container::sRect cBVGroup::GetBounds(bool withStyles) const
{
    Container::sRect bounds;
    for (const auto& child : m_children)
        bounds = Container::UnionRect(bounds, child->GetBounds(withStyles));
    return bounds;
}

void cBVGroup::Draw(Painter::cCanvas& canvas, const Painter::cMatrix& matrix)
{
    for (const auto& child : m_children)
        if (child->Visible())
            child->Draw(canvas, matrix);
}

void cBVGroup::Render(Painter::cCanvas& canvas, const Painter::cMatrix& matrix, std::int32_t mode,
                      std::int32_t opacity)
{
    Draw(canvas, matrix);
}

void cBVGroup::GetSize(std::int32_t& width, std::int32_t& height) const
{
    width = m_rect.Width();
    height = m_rect.Height();
}

void cBVGroup::AddChild(std::unique_ptr<cBVObject> child)
{
    child->SetParent(this);
    m_children.push_back(std::move(child));
}

void cBVGroup::RecomputeBounds()
{
    for (const auto& child : m_children)
        if (child->Kind() == KindGroup)
            static_cast<cBVGroup&>(*child).RecomputeBounds();
    if (m_children.empty())
    {
        m_rect = Container::sRect{};
        return;
    }
    const Container::sRect bounds = GetBounds(true);
    m_rect = Container::sRect{0, 0, bounds.Width(), bounds.Height()};
    SetPosition(bounds.left, bounds.top);
}

} // namespace Brimvale
