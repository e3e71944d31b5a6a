#pragma once
// Skin::cFlatSkin: the program's look. Flat faces with a slight shading,
// one-pixel outlines, the focus colour for focused frames. The layout of
// whole controls (push buttons, check boxes, statics, links, edit frames,
// combo parts) is the base skin's, drawn here through the flat frame, mark
// and shape painters.
#include "framework/window/skin/RoundSkin.h"

namespace Skin {

class cFlatSkin : public cRoundSkin
{
public:
    cFlatSkin() = default;
    cFlatSkin(const cFlatSkin& other) = default;
    std::unique_ptr<cSkin> Clone() const override;
    void SetupShadedGradient(Painter::cGradationFill& fill, std::uint32_t colour, std::int32_t x0, std::int32_t y0,
                             std::int32_t x1, std::int32_t y1, bool sunken) const override;
    void DrawSeparator(GDI::cPictureDC& dc, const Container::sRect& rect, std::uint32_t colour) override;
    void DrawButtonFrame(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& state,
                         std::uint32_t flags) override;
    void FillButtonShape(GDI::cPictureDC& dc, const sShape& shape, const sButtonState& state,
                         std::uint32_t flags) override;
    void DrawCheckMark(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t state,
                       std::int32_t checkState) override;
    void DrawRadioMark(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t state, bool checked) override;
    void DrawGroupBox(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style, std::u16string_view text,
                      HFONT font = nullptr) override;
    void DrawScrollBar(GDI::cPictureDC& dc, const Container::sRect& rect, const SCROLLINFO& info, bool vertical,
                       bool pressed, std::int32_t hotPart) override;
    void DrawProgress(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t position, std::int32_t minimum,
                      std::int32_t maximum) override;
    void DrawHeaderBackground(GDI::cPictureDC& dc, const Container::sRect& rect) override;
    void DrawHeaderItem(GDI::cPictureDC& dc, const Container::sRect& rect, std::u16string_view text, HFONT font,
                        std::int32_t state, std::int32_t sort) override;
    void DrawHeaderDivider(GDI::cPictureDC& dc, const Container::sRect& rect) override;
    void DrawTreeButton(GDI::cPictureDC& dc, const Container::sRect& rect, bool expanded) override;
    void DrawListItemBackground(GDI::cPictureDC& dc, const Container::sRect& rect, bool selected, bool hot,
                                bool caret) override;
};

} // namespace Skin
