#pragma once

// Brimvale::cBVPicture: a layer that owns a picture, with an opacity byte
// (for masks: the mask fill value).

#include "framework/document/BVObject.h"
#include "framework/painter/Picture.h"

namespace Brimvale {

class cBVPicture : public cBVObject
{
public:
    cBVPicture() = default;
    cBVPicture(const cBVPicture& other) = default;
    ~cBVPicture() override;

    std::unique_ptr<cBVObject> Clone() const override;
    std::size_t GetMemorySize() const override;
    // (0, 0, width, height) of the picture.
    Container::sRect GetLocalBounds() const override;
    // Composites the picture through the layer matrix followed by matrix.
    void Render(Painter::cCanvas& canvas, const Painter::cMatrix& matrix, std::int32_t mode,
                std::int32_t opacity) override;
    void GetSize(std::int32_t& width, std::int32_t& height) const override;
    Painter::cPicture* GetPicture() override { return &m_picture; }
    const Painter::cPicture* GetPicture() const override { return &m_picture; }

    std::uint8_t Opacity() const { return m_opacity; }
    void SetOpacity(std::uint8_t opacity) { m_opacity = opacity; }

protected:
    Painter::cPicture m_picture;
    std::uint8_t m_opacity = 255;
};

} // namespace Brimvale
