#pragma once

#include <cstdint>

#include "framework/painter/Fill.h"

namespace Painter {

// Writes each span's coverage into a channel (a plain store, no blending),
// clipped to the channel.
class cChannelFill : public cFill
{
public:
    cChannelFill() { m_fillRule = NonZero; }

    bool Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom) override;
    void FillSpans(std::int32_t count, const sSpan* spans) override;
};

} // namespace Painter
