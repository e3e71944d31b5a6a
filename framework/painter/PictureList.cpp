#include "framework/painter/PictureList.h"

#include <new>

namespace Painter {

bool cPictureList::SplitStrip(const cPicture& strip)
{
    if (strip.IsEmpty())
        return false;
    const std::int32_t width = strip.Width() / kStripCount;
    if (width < 1)
        return false;

    // Strips in another format are converted once, then cut.
    cPicture converted;
    const cPicture* source = &strip;
    if (strip.Format() != FORMAT_ARGB32)
    {
        if (!converted.CopyFrom(strip))
            return false;
        source = &converted;
    }

    std::vector<std::unique_ptr<cPicture>> pieces;
    try
    {
        pieces.reserve(kStripCount);
        for (int i = 0; i < kStripCount; ++i)
        {
            auto piece = std::make_unique<cPicture>();
            if (!piece->Create(FORMAT_ARGB32, width, strip.Height()))
                return false;
            piece->CopyRect(0, 0, *source, Container::sRect(i * width, 0, (i + 1) * width, strip.Height()));
            pieces.push_back(std::move(piece));
        }
        m_pictures.reserve(m_pictures.size() + pieces.size());
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    for (auto& piece : pieces)
        m_pictures.push_back(std::move(piece));
    return true;
}

bool cPictureList::Append(std::unique_ptr<cPicture> picture)
{
    if (!picture)
        return false;
    try
    {
        m_pictures.push_back(std::move(picture));
    }
    catch (const std::bad_alloc&)
    {
        return false;  // the picture dies with the argument
    }
    return true;
}

cPicture* cPictureList::Get(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_pictures[static_cast<std::size_t>(index)].get();
}

} // namespace Painter
