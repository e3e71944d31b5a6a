#include "framework/painter/ChannelFill.h"

#include <algorithm>
#include <cstring>

#include "framework/painter/Channel.h"

namespace Painter {

bool cChannelFill::Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
                         std::int32_t bottom)
{
    cChannel* channel = target.Channel();
    if (!channel || channel->IsEmpty())
    {
        m_target = cTarget();
        return false;
    }
    return cFill::Begin(target, left, top, right, bottom);
}

void cChannelFill::FillSpans(std::int32_t count, const sSpan* spans)
{
    cChannel* channel = m_target.Channel();
    if (!channel || !spans)
        return;
    for (std::int32_t i = 0; i < count; ++i)
    {
        const sSpan& span = spans[i];
        if (span.y < 0 || span.y >= channel->Height())
            continue;
        const std::int32_t x1 = std::max<std::int32_t>(span.x, 0);
        const std::int32_t x2 = std::min<std::int32_t>(span.x + span.length, channel->Width());
        if (x1 < x2)
            std::memset(channel->Row(span.y) + x1, span.coverage, std::size_t(x2 - x1));
    }
}

} // namespace Painter
