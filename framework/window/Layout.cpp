#include "framework/window/Layout.h"

#include <windows.h>

#include "framework/window/Window.h"

#include <new>

namespace Window {

cLayout::~cLayout()
{
    Clear();
}

cLayout* cLayout::Add(cLayout* child)
{
    if (!child)
        return nullptr;
    try
    {
        m_children.push_back(child);
    }
    catch (const std::bad_alloc&)
    {
        delete child;
        return nullptr;
    }
    return child;
}

void cLayout::Clear()
{
    for (cLayout* child : m_children)
        delete child;
    m_children.clear();
}

void cLayout::Arrange(int gap, int left, int top, int right, int bottom)
{
    if (gap == 0)
        gap = m_gap;
    if (m_window && m_children.empty())
    {
        if (m_window->Handle())
            MoveWindow(m_window->Handle(), left, top, right - left, bottom - top, TRUE);
        return;
    }

    std::vector<cLayout*> taking;
    for (cLayout* child : m_children)
        if (!child->m_window || (child->m_window->Handle() &&
                                 (GetWindowLongW(child->m_window->Handle(), GWL_STYLE) & WS_VISIBLE)))
            taking.push_back(child);

    const bool row = (m_flags & Row) != 0;
    int stretching = 0;
    int fixed = row ? 2 * gap : 0;
    for (const cLayout* child : taking)
    {
        if (child->m_flags & Stretch)
            ++stretching;
        else
            fixed += row ? child->m_width + gap : child->m_height;
    }
    const int free = (row ? right - left : bottom - top) - fixed;
    const int share = stretching > 0 ? free / stretching : 0;
    const int last = free - share * (stretching - 1);

    int cursor = row ? left + gap : top;
    int stretched = 0;
    for (cLayout* child : taking)
    {
        const int start = cursor + child->m_gap;
        if (child->m_flags & Stretch)
        {
            const int size = ++stretched == stretching ? last : share;
            if (row)
                child->Arrange(gap, start, top, start + size, bottom);
            else
                child->Arrange(gap, left, start, right, start + size);
            cursor = start + size;
        }
        else if (row)
        {
            child->Arrange(gap, start, top + gap, start + child->m_width, bottom - gap);
            cursor = start + child->m_width;
        }
        else
        {
            child->Arrange(gap, left, start, right, start + child->m_height);
            cursor = start + child->m_height;
        }
    }
}

} // namespace Window
