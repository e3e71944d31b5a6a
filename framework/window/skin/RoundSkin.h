#pragma once
// Skin::cRoundSkin: the base look with rounded button frames, round check
// and radio marks and rounded scroll-bar parts.
#include "framework/painter/GradationFill.h"
#include "framework/window/skin/Skin.h"

namespace Skin {

class cRoundSkin : public cSkin
{
public:
    cRoundSkin() = default;
    cRoundSkin(const cRoundSkin& other);
    ~cRoundSkin() override;
    std::unique_ptr<cSkin> Clone() const override;
    void DrawButtonFrame(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& state,
                         std::uint32_t flags) override;
    void DrawCheckMark(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t state,
                       std::int32_t checkState) override;
    void DrawRadioMark(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t state, bool checked) override;
    void DrawRadioMarkGdi(GDI::cDC& dc, const Container::sRect& rect, std::int32_t state, bool checked) override;
    void DrawScrollBar(GDI::cPictureDC& dc, const Container::sRect& rect, const SCROLLINFO& info, bool vertical,
                       bool pressed, std::int32_t hotPart) override;

protected:
    // The two gradients the round painters reuse.
    Painter::cGradationFill m_faceFill;
    Painter::cGradationFill m_markFill;
};

} // namespace Skin
