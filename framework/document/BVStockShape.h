#pragma once

// Brimvale::cBVStockShape: a vector layer of one of the stock shapes,
// named by its type number, with its parameters.

#include "framework/document/BVShape.h"

namespace Brimvale {

class cBVStockShape : public cBVShape
{
public:
    cBVStockShape() = default;
    cBVStockShape(const cBVStockShape& other) = default;
    ~cBVStockShape() override;

    std::int32_t Kind() const override { return KindStockShape; }
    std::unique_ptr<cBVObject> Clone() const override;

    std::int32_t shapeType = 0;
    std::int32_t parameters[2] = {};
    std::uint8_t block[8] = {};
    std::uint8_t flag = 0;
};

} // namespace Brimvale
