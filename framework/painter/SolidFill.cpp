#include "framework/painter/SolidFill.h"

#include <algorithm>

#include "framework/painter/AlphaComposite.h"
#include "framework/painter/Picture.h"

namespace Painter {

bool cSolidFill::Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom)
{
    cPicture* picture = target.Picture();
    if (!picture || picture->IsEmpty() || picture->BitsPerPixel() != 32)
    {
        m_target = cTarget();
        return false;
    }
    return cFill::Begin(target, left, top, right, bottom);
}

void cSolidFill::FillSpans(std::int32_t count, const sSpan* spans)
{
    cPicture* picture = m_target.Picture();
    if (!picture || !spans)
        return;
    const Container::sRect clip = picture->Clip();
    const std::uint32_t colourAlpha = m_colour >> 24;
    for (std::int32_t i = 0; i < count; ++i)
    {
        const sSpan& span = spans[i];
        if (span.y < clip.top || span.y >= clip.bottom)
            continue;
        const std::int32_t x1 = std::max<std::int32_t>(span.x, clip.left);
        const std::int32_t x2 = std::min<std::int32_t>(span.x + span.length, clip.right);
        const std::uint32_t alpha = colourAlpha * span.coverage / 255;
        if (x1 >= x2 || alpha == 0)
            continue;
        std::uint32_t* row = picture->Row32(span.y);
        if (alpha == 255)
        {
            std::fill(row + x1, row + x2, m_colour | 0xFF000000u);
            continue;
        }
        for (std::int32_t x = x1; x < x2; ++x)
            row[x] = BlendNormal(row[x], m_colour, alpha);
    }
}

} // namespace Painter
