#pragma once

// Brimvale::cBVShape: the common part of the vector layers: a size, a fill
// record and stroke values, stored as documents hold them. This program
// reads and writes shapes unchanged and never creates them; they draw
// nothing (a document stores no pixels for them).

#include "framework/document/BVGraphic.h"

namespace Brimvale {

class cBVShape : public cBVGraphic
{
public:
    struct sStroke
    {
        std::uint8_t a = 0;
        std::int32_t b = 0;
        std::uint8_t c = 0;
    };
    struct sFillRecord
    {
        std::int32_t values[7] = {};
        std::uint8_t block[8] = {};
        std::int32_t tail[2] = {};
    };

    cBVShape() = default;
    cBVShape(const cBVShape& other) = default;
    ~cBVShape() override;

    std::unique_ptr<cBVObject> Clone() const override;
    // (0, 0, the size rounded down); empty for a size that is not a
    // picture's.
    Container::sRect GetLocalBounds() const override;
    void GetSize(std::int32_t& width, std::int32_t& height) const override;

    float width = 0;
    float height = 0;
    std::uint8_t shapeFlag = 0;
    sStroke stroke;
    sFillRecord fill;
};

} // namespace Brimvale
