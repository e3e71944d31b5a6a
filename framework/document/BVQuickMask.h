#pragma once

// Brimvale::cBVQuickMask: the scene's quick mask, a picture shown in a
// display colour.

#include "framework/document/BVPicture.h"

namespace Brimvale {

class cBVQuickMask : public cBVPicture
{
public:
    cBVQuickMask() = default;
    cBVQuickMask(const cBVQuickMask& other) = default;
    ~cBVQuickMask() override;

    std::unique_ptr<cBVObject> Clone() const override;
    std::uint32_t Colour() const { return m_colour; }
    void SetColour(std::uint32_t colour) { m_colour = colour; }

private:
    std::uint32_t m_colour = 0x800000FFu;
};

} // namespace Brimvale
