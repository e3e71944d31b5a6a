#pragma once

// Brimvale::cBVImage: a pixel layer.

#include "framework/document/BVGraphic.h"

namespace Brimvale {

class cBVImage : public cBVGraphic
{
public:
    cBVImage() = default;
    cBVImage(const cBVImage& other) = default;
    ~cBVImage() override;

    std::int32_t Kind() const override { return KindImage; }
    std::unique_ptr<cBVObject> Clone() const override;
};

} // namespace Brimvale
