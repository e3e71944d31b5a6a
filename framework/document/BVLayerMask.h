#pragma once

// Brimvale::cBVLayerMask: the mask of a graphic layer, a picture whose red
// byte scales the layer's alpha; the opacity byte is the value of the area
// outside the mask picture.

#include "framework/document/BVPicture.h"

namespace Brimvale {

class cBVLayerMask : public cBVPicture
{
public:
    cBVLayerMask() = default;
    cBVLayerMask(const cBVLayerMask& other) = default;
    ~cBVLayerMask() override;

    std::unique_ptr<cBVObject> Clone() const override;
    std::uint8_t FillValue() const { return Opacity(); }
    void SetFillValue(std::uint8_t value) { SetOpacity(value); }
    // Scales the alpha of picture (a layer picture whose top left lies at
    // layerOrigin on the canvas) by the mask: inside the mask picture by its
    // red byte, outside it by the fill value.
    void ApplyTo(Painter::cPicture& picture, Container::sPoint layerOrigin) const;
};

} // namespace Brimvale
