#include "framework/window/skin/FlatSkin.h"

#include <algorithm>

#include "framework/painter/GradationFill.h"
#include "framework/window/skin/SkinDrawing.h"
#include "framework/window/skin/rules/ColourModel.h"
#include "framework/window/skin/rules/PainterGeometry.h"
#include "framework/window/skin/rules/ScrollBarLayout.h"

namespace Skin {

using Container::sRect;
using P = cPalette;

std::unique_ptr<cSkin> cFlatSkin::Clone() const { return std::make_unique<cFlatSkin>(*this); }

// Three stops: lighter by 10 at the start, the colour in the middle, darker
// by 10 at the end (the other way round when sunken).
void cFlatSkin::SetupShadedGradient(Painter::cGradationFill& fill, std::uint32_t colour, std::int32_t x0,
                                    std::int32_t y0, std::int32_t x1, std::int32_t y1, bool sunken) const
{
    const std::int32_t d = sunken ? -10 : 10;
    auto& gradient = fill.Gradient();
    gradient.ColourStops().clear();
    gradient.ColourStops().push_back({0, AddLightness(colour, d) & 0xFFFFFF, 0});
    gradient.ColourStops().push_back({127, colour & 0xFFFFFF, 0});
    gradient.ColourStops().push_back({255, AddLightness(colour, -d) & 0xFFFFFF, 0});
    gradient.AlphaStops().clear();
    gradient.AlphaStops().push_back(Painter::cGradient::AlphaStop(0, 255));
    gradient.AlphaStops().push_back(Painter::cGradient::AlphaStop(255, 255));
    fill.SetType(Painter::cGradationFill::Linear);
    fill.SetPoints(x0, y0, x1, y1);
}

void cFlatSkin::DrawSeparator(GDI::cPictureDC& dc, const sRect& rect, std::uint32_t colour)
{
    Drawing::Fill(dc.Picture(), {rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
}

void cFlatSkin::DrawButtonFrame(GDI::cPictureDC& dc, const sRect& rect, const sButtonState& state, std::uint32_t flags)
{
    FillButtonShape(dc, sShape{rect}, state, flags);
}

void cFlatSkin::FillButtonShape(GDI::cPictureDC& dc, const sShape& shape, const sButtonState& state, std::uint32_t flags)
{
    const sRect& r = shape.rect;
    if (r.IsEmpty())
        return;
    const bool toggle = (state.kind & 0xF) == sButtonState::KindToggle;
    const bool noFace = (state.kind & sButtonState::KindNoFace) != 0;
    const bool checked = toggle && state.checked;
    int colour = P::ButtonFace;
    bool shaded = true, sunken = false, face = true;
    switch (state.state)
    {
    case sButtonState::Hot: colour = checked ? P::Highlight : (!toggle && noFace) ? P::ButtonFace : P::Light; break;
    case sButtonState::Pressed:
        colour = checked ? P::Highlight : P::Outline;
        sunken = true;
        break;
    case sButtonState::Disabled:
        shaded = false;
        face = toggle || !noFace;
        break;
    default:
        colour = checked ? P::Highlight : P::ButtonFace;
        face = toggle || !noFace;
        break;
    }
    if (face)
    {
        if (shaded)
        {
            Painter::cGradationFill fill;
            SetupShadedGradient(fill, m_palette[colour], r.left, r.top, r.left, r.bottom, sunken);
            Drawing::FillWith(dc.Picture(), r, fill);
        }
        else
            Drawing::Fill(dc.Picture(), r, m_palette[colour]);
    }
    Drawing::Frame(dc.Picture(), r, m_palette[P::Outline], shape.open);
    if (state.focused)
        Drawing::Frame(dc.Picture(), r, m_palette[P::Focus], shape.open);
    (void)flags;
    DrawButtonGlyph(dc, r, state);
}

void cFlatSkin::DrawCheckMark(GDI::cPictureDC& dc, const sRect& rect, std::int32_t state, std::int32_t checkState)
{
    if (rect.IsEmpty())
        return;
    int fill = P::EditBackground, outline = P::Outline;
    switch (state)
    {
    case sButtonState::Hot:
        fill = P::HotFill;
        outline = P::Focus;
        break;
    case sButtonState::Pressed:
        fill = P::ButtonFace;
        outline = P::DarkOutline;
        break;
    case sButtonState::Disabled: fill = P::ButtonFace; break;
    default: break;
    }
    Drawing::Fill(dc.Picture(), rect, m_palette[fill]);
    Drawing::Frame(dc.Picture(), rect, m_palette[outline]);
    if (checkState != 0)
        DrawGlyph(dc, Inset(rect, 1), GlyphCheck, m_palette[state == sButtonState::Disabled ? P::Outline : P::Text]);
}

void cFlatSkin::DrawRadioMark(GDI::cPictureDC& dc, const sRect& rect, std::int32_t state, bool checked)
{
    if (rect.IsEmpty())
        return;
    int fill = P::EditBackground, outline = P::DarkOutline, dot = P::Highlight;
    switch (state)
    {
    case sButtonState::Hot:
        fill = P::Outline;
        outline = P::Highlight;
        break;
    case sButtonState::Pressed: dot = P::DarkOutline; break;
    case sButtonState::Disabled:
        fill = outline = dot = P::Outline;
        break;
    default: break;
    }
    Drawing::Ellipse(dc.Picture(), rect, m_palette[fill], m_palette[outline]);
    if (checked)
        Drawing::Ellipse(dc.Picture(), Inset(rect, 2), m_palette[dot], m_palette[P::DarkOutline]);
}

void cFlatSkin::DrawGroupBox(GDI::cPictureDC& dc, const sRect& rect, DWORD, std::u16string_view text, HFONT font)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
    if (text.empty())
        return;
    const Container::sPoint size = MeasureText(dc, text, rect, 0, font);
    Drawing::Frame(dc.Picture(), GroupBoxFrame(rect, size.y), m_palette[P::Outline]);
    const sRect textRect = GroupBoxTextRect(rect, size.x, size.y);
    Drawing::Fill(dc.Picture(), textRect, m_palette[P::DialogFace]);
    PaintText(dc, text, textRect, 0, m_palette[P::Text], font);
    Drawing::MakeOpaque(dc.Picture(), textRect);
}

void cFlatSkin::DrawScrollBar(GDI::cPictureDC& dc, const sRect& rect, const SCROLLINFO& info, bool vertical,
                              bool pressed, std::int32_t hotPart)
{
    const cScrollBarLayout layout(rect, {info.nMin, info.nMax, info.nPage, info.nPos, info.nTrackPos}, vertical,
                                  pressed, GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL),
                                  GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB));
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
    if (layout.CanScroll())
    {
        auto arrowColour = [&](std::int32_t code) {
            if (pressed && hotPart == code)
                return m_palette[P::Outline];
            if (!pressed && hotPart == code)
                return m_palette[P::HotFill];
            return m_palette[P::ButtonFace];
        };
        Drawing::Fill(dc.Picture(), layout.FirstArrowRect(), arrowColour(cScrollBarLayout::FirstArrow));
        Drawing::Fill(dc.Picture(), layout.SecondArrowRect(), arrowColour(cScrollBarLayout::SecondArrow));
        const sRect& thumb = layout.ThumbRect();
        if (thumb.Width() > 5 && thumb.Height() > 5)
        {
            std::int32_t lighten = 17;
            if (hotPart == cScrollBarLayout::None)
                lighten = 25;
            else if (hotPart == cScrollBarLayout::Thumb)
                lighten = pressed ? 0 : 10;
            Drawing::Fill(dc.Picture(), thumb, AddLightness(m_palette[P::HotFill], lighten));
        }
    }
    const std::uint32_t glyph = m_palette[layout.CanScroll() ? P::Text : P::DisabledText];
    DrawGlyph(dc, Inset(layout.FirstArrowRect(), 4), vertical ? GlyphArrowUp : GlyphArrowLeft, glyph);
    DrawGlyph(dc, Inset(layout.SecondArrowRect(), 4), vertical ? GlyphArrowDown : GlyphArrowRight, glyph);
}

void cFlatSkin::DrawProgress(GDI::cPictureDC& dc, const sRect& rect, std::int32_t position, std::int32_t minimum,
                             std::int32_t maximum)
{
    if (rect.IsEmpty())
        return;
    Drawing::Fill(dc.Picture(), rect, m_palette[P::ButtonFace]);
    const sRect inner = Inset(rect, 1);
    if (maximum > minimum && !inner.IsEmpty())
    {
        const std::int64_t done = std::clamp<std::int64_t>(std::int64_t(position) - minimum, 0,
                                                           std::int64_t(maximum) - minimum);
        const std::int32_t width = std::int32_t(done * inner.Width() / (std::int64_t(maximum) - minimum));
        Drawing::Fill(dc.Picture(), {inner.left, inner.top, inner.left + width, inner.bottom}, m_palette[P::Highlight]);
    }
    Drawing::Frame(dc.Picture(), rect, m_palette[P::Outline]);
}

void cFlatSkin::DrawHeaderBackground(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::ButtonFace]);
    Drawing::Fill(dc.Picture(), {rect.left, rect.bottom - 1, rect.right, rect.bottom}, m_palette[P::Outline]);
}

void cFlatSkin::DrawHeaderItem(GDI::cPictureDC& dc, const sRect& rect, std::u16string_view text, HFONT font,
                               std::int32_t state, std::int32_t sort)
{
    Drawing::Fill(dc.Picture(), rect,
                  m_palette[state == sButtonState::Hot       ? P::Light
                            : state == sButtonState::Pressed ? P::HotFill
                                                             : P::ButtonFace]);
    Drawing::Fill(dc.Picture(), {rect.left, rect.bottom - 1, rect.right, rect.bottom}, m_palette[P::Outline]);
    DrawHeaderDivider(dc, {rect.right - 1, rect.top + 2, rect.right, rect.bottom - 2});
    const sRect textRect = DrawHeaderLabel(dc, rect, text, font, state, sort);
    Drawing::MakeOpaque(dc.Picture(), textRect);
}

void cFlatSkin::DrawHeaderDivider(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::Outline]);
}

void cFlatSkin::DrawTreeButton(GDI::cPictureDC& dc, const sRect& rect, bool expanded)
{
    const sRect box = ButtonGlyphRect(rect);
    Drawing::Fill(dc.Picture(), box, m_palette[P::EditBackground]);
    Drawing::Frame(dc.Picture(), box, m_palette[P::Outline]);
    DrawGlyph(dc, Inset(box, 2), expanded ? GlyphArrowDown : GlyphArrowRight, m_palette[P::Text]);
}

// The row filled with palette 21 (selected) or 23 (hot or caret), outlined
// one pixel in palette 21 for the caret item and in the fill otherwise.
void cFlatSkin::DrawListItemBackground(GDI::cPictureDC& dc, const sRect& rect, bool selected, bool hot, bool caret)
{
    if (!selected && !hot && !caret)
        return;
    const std::uint32_t fill = m_palette[selected ? P::Highlight : P::HotFill];
    Drawing::Fill(dc.Picture(), rect, fill);
    Drawing::Frame(dc.Picture(), rect, caret ? m_palette[P::Highlight] : fill);
}

} // namespace Skin
