#pragma once

// Painter::cPictureList: an ordered list that owns its pictures.

#include <memory>
#include <vector>

#include "framework/painter/Picture.h"

namespace Painter {

class cPictureList
{
public:
    // The number of pictures SplitStrip cuts a strip into.
    static constexpr int kStripCount = 14;

    cPictureList() = default;
    cPictureList(const cPictureList&) = delete;
    cPictureList& operator=(const cPictureList&) = delete;
    virtual ~cPictureList() = default;

    // Appends 14 FORMAT_ARGB32 pictures, each width / 14 wide and as high as
    // the strip, cut from x = i * (width / 14). False (list unchanged) for a
    // strip narrower than 14 pixels or when memory runs out.
    bool SplitStrip(const cPicture& strip);
    // Takes ownership; false (nothing added) for null or when memory runs out.
    bool Append(std::unique_ptr<cPicture> picture);
    void Clear() { m_pictures.clear(); }

    int Count() const { return static_cast<int>(m_pictures.size()); }
    // Null for an index out of range.
    cPicture* Get(int index) const;
    cPicture* operator[](int index) const { return Get(index); }

private:
    std::vector<std::unique_ptr<cPicture>> m_pictures;
};

} // namespace Painter
