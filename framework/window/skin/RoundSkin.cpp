#include "framework/window/skin/RoundSkin.h"

#include <algorithm>

#include "framework/painter/Canvas.h"
#include "framework/window/skin/SkinDrawing.h"
#include "framework/window/skin/rules/PainterGeometry.h"
#include "framework/window/skin/rules/ScrollBarLayout.h"

namespace Skin {

using Container::sRect;
using P = cPalette;

cRoundSkin::cRoundSkin(const cRoundSkin& other) : cSkin(other), m_faceFill(other.m_faceFill), m_markFill(other.m_markFill)
{
}

cRoundSkin::~cRoundSkin() = default;

std::unique_ptr<cSkin> cRoundSkin::Clone() const { return std::make_unique<cRoundSkin>(*this); }

// A rounded rectangle of radius 3 with the glossy face, outlined in palette
// 8 (palette 22 when focused).
void cRoundSkin::DrawButtonFrame(GDI::cPictureDC& dc, const sRect& rect, const sButtonState& state, std::uint32_t)
{
    if (rect.IsEmpty())
        return;
    const bool toggle = (state.kind & 0xF) == sButtonState::KindToggle;
    std::uint32_t face = m_palette[toggle && state.checked ? P::Highlight : P::ButtonFace];
    if (state.state == sButtonState::Hot)
        face = m_palette[toggle && state.checked ? P::Highlight : P::Light];
    else if (state.state == sButtonState::Pressed)
        face = m_palette[P::Outline];
    Painter::cCanvas canvas(dc.Picture());
    Painter::cCanvas::sStroke stroke{m_palette[state.focused ? P::Focus : P::Outline], 1.0f};
    SetupShadedGradient(m_faceFill, face, rect.left, rect.top, rect.left, rect.bottom,
                        state.state == sButtonState::Pressed);
    canvas.FillRoundRect(rect.left + 0.5f, rect.top + 0.5f, rect.right - 0.5f, rect.bottom - 0.5f, 3.0f, &m_faceFill,
                         stroke);
    DrawButtonGlyph(dc, rect, state);
}

void cRoundSkin::DrawCheckMark(GDI::cPictureDC& dc, const sRect& rect, std::int32_t state, std::int32_t checkState)
{
    if (rect.IsEmpty())
        return;
    Painter::cCanvas canvas(dc.Picture());
    SetupShadedGradient(m_markFill, m_palette[state == sButtonState::Hot ? P::HotFill : P::EditBackground], rect.left,
                        rect.top, rect.left, rect.bottom, state == sButtonState::Pressed);
    canvas.FillRoundRect(rect.left + 0.5f, rect.top + 0.5f, rect.right - 0.5f, rect.bottom - 0.5f, 2.0f, &m_markFill,
                         {m_palette[state == sButtonState::Pressed ? P::DarkOutline : P::Outline], 1.0f});
    if (checkState != 0)
        DrawGlyph(dc, Inset(rect, 2), GlyphCheck, m_palette[state == sButtonState::Disabled ? P::Outline : P::Text]);
}

void cRoundSkin::DrawRadioMark(GDI::cPictureDC& dc, const sRect& rect, std::int32_t state, bool checked)
{
    if (rect.IsEmpty())
        return;
    Painter::cCanvas canvas(dc.Picture());
    SetupShadedGradient(m_markFill, m_palette[state == sButtonState::Hot ? P::HotFill : P::EditBackground], rect.left,
                        rect.top, rect.left, rect.bottom, state == sButtonState::Pressed);
    canvas.FillEllipse(&m_markFill, {m_palette[P::DarkOutline], 1.0f}, rect);
    if (checked)
        Drawing::Ellipse(dc.Picture(), Inset(rect, 3), m_palette[P::Highlight], m_palette[P::Highlight]);
}

void cRoundSkin::DrawRadioMarkGdi(GDI::cDC& dc, const sRect& rect, std::int32_t state, bool checked)
{
    cSkin::DrawRadioMarkGdi(dc, rect, state, checked);
}

// Rounded arrows and thumb over the dialog face.
void cRoundSkin::DrawScrollBar(GDI::cPictureDC& dc, const sRect& rect, const SCROLLINFO& info, bool vertical,
                               bool pressed, std::int32_t hotPart)
{
    const cScrollBarLayout layout(rect, {info.nMin, info.nMax, info.nPage, info.nPos, info.nTrackPos}, vertical,
                                  pressed, GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL),
                                  GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB));
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
    struct sPart
    {
        const sRect* rect;
        std::int32_t code;
    };
    const sPart parts[] = {{&layout.FirstArrowRect(), cScrollBarLayout::FirstArrow},
                           {&layout.SecondArrowRect(), cScrollBarLayout::SecondArrow},
                           {&layout.ThumbRect(), cScrollBarLayout::Thumb}};
    for (const sPart& part : parts)
    {
        if (part.rect->IsEmpty())
            continue;
        sButtonState state;
        state.state = !layout.CanScroll()       ? sButtonState::Disabled
                      : part.code != hotPart     ? sButtonState::Normal
                      : pressed                  ? sButtonState::Pressed
                                                 : sButtonState::Hot;
        DrawButtonFrame(dc, *part.rect, state, 0);
    }
    const std::uint32_t glyph = m_palette[layout.CanScroll() ? P::Text : P::DisabledText];
    DrawGlyph(dc, Inset(layout.FirstArrowRect(), 4), vertical ? GlyphArrowUp : GlyphArrowLeft, glyph);
    DrawGlyph(dc, Inset(layout.SecondArrowRect(), 4), vertical ? GlyphArrowDown : GlyphArrowRight, glyph);
}

} // namespace Skin
