#pragma once

#include <cstdint>

#include "framework/painter/Span.h"

namespace Painter {

class cPicture;
class cChannel;

// Paints the spans of the scan converter into a target. The converter
// calls Begin with the target and the box it renders, FillSpans with the
// spans in batches, and End when the outline is done.
class cFill
{
public:
    // Fill rules, read by the scan converter.
    enum : std::int32_t
    {
        EvenOdd = 0,
        NonZero = 1,
    };

    // What a fill paints into: a picture or a channel. A fill only accepts
    // the kind it is made for (Begin answers false otherwise).
    class cTarget
    {
    public:
        cTarget() = default;
        cTarget(cPicture* picture) : m_picture(picture) {}
        cTarget(cChannel* channel) : m_channel(channel) {}
        cTarget(cPicture& picture) : m_picture(&picture) {}
        cTarget(cChannel& channel) : m_channel(&channel) {}

        cPicture* Picture() const { return m_picture; }
        cChannel* Channel() const { return m_channel; }
        bool IsNull() const { return m_picture == nullptr && m_channel == nullptr; }

    private:
        cPicture* m_picture = nullptr;
        cChannel* m_channel = nullptr;
    };

    cFill() = default;
    cFill(const cFill&) = default;
    cFill& operator=(const cFill&) = default;
    virtual ~cFill() = default;

    // Stores the target. (left, top, right, bottom) is the rendered box in
    // target coordinates. False means there is nothing to paint (wrong
    // kind of target, nothing to paint with); the caller then sends no
    // spans but still calls End.
    virtual bool Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom);
    virtual void FillSpans(std::int32_t count, const sSpan* spans) = 0;
    // Clears the target.
    virtual void End();

    std::int32_t FillRule() const { return m_fillRule; }
    void SetFillRule(std::int32_t rule) { m_fillRule = rule; }
    const cTarget& Target() const { return m_target; }

protected:
    std::int32_t m_fillRule = NonZero;
    cTarget m_target;
};

} // namespace Painter
