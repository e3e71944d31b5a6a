#pragma once

// Brimvale::cBVBackground: the background layer, a pixel layer stored under its own kind.

#include "framework/document/BVImage.h"

namespace Brimvale {

class cBVBackground : public cBVImage
{
public:
    cBVBackground() = default;
    cBVBackground(const cBVBackground& other) = default;
    ~cBVBackground() override;

    std::int32_t Kind() const override { return KindBackground; }
    std::unique_ptr<cBVObject> Clone() const override;
};

} // namespace Brimvale
