#include "framework/window/skin/Skin.h"

#include <algorithm>
#include <cstdlib>

#include "framework/application/Module.h"
#include "framework/painter/Canvas.h"
#include "framework/painter/GradationFill.h"
#include "framework/painter/PictureList.h"
#include "framework/painter/SolidFill.h"
#include "framework/window/skin/SkinDrawing.h"
#include "framework/window/skin/rules/ColourModel.h"
#include "framework/window/skin/rules/PainterGeometry.h"
#include "framework/window/skin/rules/ScrollBarLayout.h"

namespace Skin {

using Container::sRect;
using P = cPalette;

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// BS_PUSHBOX: a push button without a frame of its own; painted as a push button.
constexpr DWORD PushBox = 10;

const wchar_t* W(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

sScrollState StateOf(const SCROLLINFO& info)
{
    return {info.nMin, info.nMax, info.nPage, info.nPos, info.nTrackPos};
}

// Text line height of a font on the screen: tmHeight + tmExternalLeading
// (with external leading) or tmHeight; the fallback when no screen DC is had.
std::int32_t FontHeight(HFONT font, const LOGFONTW& logFont, bool withLeading)
{
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return std::abs(logFont.lfHeight) * 12 / 10;
    HGDIOBJ old = SelectObject(screen, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    const bool measured = GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    if (!measured)
        return std::abs(logFont.lfHeight) * 12 / 10;
    return metrics.tmHeight + (withLeading ? metrics.tmExternalLeading : 0);
}

} // namespace

// ---- Construction and set-up ------------------------------------------------

cSkin::cSkin() = default;

cSkin::cSkin(const cSkin& other)
    : m_enabled(other.m_enabled), m_palette(other.m_palette), m_glyphPictureId(other.m_glyphPictureId),
      m_normalLogFont(other.m_normalLogFont), m_textFonts(other.m_textFonts), m_lineHeight(other.m_lineHeight),
      m_tallLineHeight(other.m_tallLineHeight), m_controlLogFont(other.m_controlLogFont),
      m_controlFontHeight(other.m_controlFontHeight), m_metrics(other.m_metrics), m_glyphPicture(other.m_glyphPicture)
{
    if (!other.m_fonts[FontNormal].IsNull())
        MakeFonts();
    if (!other.m_controlFont.IsNull())
        m_controlFont.Create(m_controlLogFont);
    if (!other.m_editBrush.IsNull())
        MakeBrushes();
}

cSkin::~cSkin() = default;

std::unique_ptr<cSkin> cSkin::Clone() const { return std::make_unique<cSkin>(*this); }

LOGFONTW cSkin::SystemMessageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return metrics.lfMessageFont;
    LOGFONTW fallback{};
    fallback.lfHeight = -12;
    lstrcpynW(fallback.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
    return fallback;
}

void cSkin::DerivePalette(std::uint32_t face, std::uint32_t caption, std::uint32_t highlight)
{
    m_palette = cPalette::Derive(face, caption, highlight, m_palette[P::Text]);
}

void cSkin::Initialize()
{
    m_editBrush.Reset();
    m_dialogBrush.Reset();
    m_buttonBrush.Reset();
    auto system = [](int index) {
        const COLORREF c = GetSysColor(index);
        return 0xFF000000u | std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    };
    DerivePalette(system(COLOR_BTNFACE), system(COLOR_ACTIVECAPTION), system(COLOR_HIGHLIGHT));
    if (m_fonts[FontNormal].IsNull())
    {
        m_normalLogFont = SystemMessageFont();
        MakeFonts();
    }
    if (m_controlFont.IsNull())
    {
        m_controlLogFont = m_normalLogFont;
        m_controlFont.Create(m_controlLogFont);
        m_controlFontHeight = FontHeight(m_controlFont.Handle(), m_controlLogFont, false);
    }
    MakeBrushes();
}

void cSkin::MakeFonts()
{
    auto make = [this](int which, auto change) {
        LOGFONTW logFont = m_normalLogFont;
        change(logFont);
        m_fonts[std::size_t(which)].Reset();
        m_fonts[std::size_t(which)].Create(logFont);
    };
    make(FontNormal, [](LOGFONTW&) {});
    make(FontLarge, [](LOGFONTW& f) { f.lfHeight = f.lfHeight * 6 / 5; });
    make(FontSmall, [](LOGFONTW& f) { f.lfHeight = f.lfHeight * 3 / 4; });
    make(FontBold, [](LOGFONTW& f) { f.lfWeight = FW_BOLD; });
    make(FontItalic, [](LOGFONTW& f) { f.lfItalic = 1; });
    make(FontBoldItalic, [](LOGFONTW& f) {
        f.lfItalic = 1;
        f.lfWeight = FW_BOLD;
    });
    make(FontVertical, [](LOGFONTW& f) { f.lfEscapement = -900; });
    m_lineHeight = FontHeight(m_fonts[FontNormal].Handle(), m_normalLogFont, true);
    m_tallLineHeight = m_lineHeight * 5 / 4;
    const Container::cWideString face(reinterpret_cast<const char16_t*>(m_normalLogFont.lfFaceName));
    for (GDI::cTextStyle& style : m_textFonts)
    {
        style.faceName = face;
        style.size = float(std::abs(m_normalLogFont.lfHeight));
        style.width = style.size;
    }
    m_textFonts[1].flags = GDI::cTextStyle::Bold;
    m_textFonts[2].angle = -1.5707964f;
}

void cSkin::MakeBrushes()
{
    m_editBrush.Reset();
    m_dialogBrush.Reset();
    m_buttonBrush.Reset();
    m_editBrush.CreateSolid(m_palette[P::EditBackground] & 0xFFFFFF);
    m_dialogBrush.CreateSolid(m_palette[P::DialogFace] & 0xFFFFFF);
    m_buttonBrush.CreateSolid(m_palette[P::ButtonFace] & 0xFFFFFF);
}

bool cSkin::LoadGlyphPicture(HINSTANCE module)
{
    if (module == nullptr || m_glyphPictureId == 0)
        return false;
    const Application::cModule source(module);
    return source.LoadBitmapResource(m_glyphPicture, m_glyphPictureId);
}

COLORREF cSkin::ColourRef(int entry) const { return GDI::ToColorRef(m_palette[entry]); }

HFONT cSkin::Font(int which) const
{
    if (which < 0 || which >= FontCount)
        which = FontNormal;
    return m_fonts[std::size_t(which)].Handle();
}

// ---- Helpers ----------------------------------------------------------------

// Images drawn in the colour of the text around them: below lightness 100
// the picture is darkened by (255 - L) / 255 (black leaves it unchanged);
// otherwise greys are inverted in lightness and every channel is scaled by
// L / 220, capped at 255, so grey glyphs turn light for light text.
void cSkin::AdaptPicture(Painter::cPicture& picture, std::uint32_t colour)
{
    if (picture.IsEmpty() || picture.BitsPerPixel() != 32)
        return;
    const std::int32_t L = Lightness(colour);
    for (std::int32_t y = 0; y < picture.Height(); ++y)
    {
        std::uint32_t* row = picture.Row32(y);
        for (std::int32_t x = 0; x < picture.Width(); ++x)
        {
            const std::uint32_t p = row[x];
            std::uint32_t alpha = p & 0xFF000000u;
            std::int32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (L < 100)
            {
                // Products before the division keep the scale exact.
                r = r * (255 - L) / 255;
                g = g * (255 - L) / 255;
                b = b * (255 - L) / 255;
            }
            else
            {
                sHSL hsl = RgbToHsl(p);
                if (hsl.s < 10)
                    hsl.l = 255 - hsl.l;
                const std::uint32_t q = HslToRgb(hsl);
                r = std::min(std::int32_t((q >> 16) & 0xFF) * L / 220, 255);
                g = std::min(std::int32_t((q >> 8) & 0xFF) * L / 220, 255);
                b = std::min(std::int32_t(q & 0xFF) * L / 220, 255);
            }
            row[x] = alpha | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
        }
    }
}

void cSkin::PaintText(GDI::cDC& dc, std::u16string_view text, const sRect& rect, UINT flags, std::uint32_t colour,
                      HFONT font) const
{
    if (text.empty() || dc.IsNull())
        return;
    HGDIOBJ old = SelectObject(dc.Handle(), font ? font : Font(FontNormal));
    const int oldMode = SetBkMode(dc.Handle(), TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc.Handle(), GDI::ToColorRef(colour));
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    DrawTextW(dc.Handle(), W(text), int(text.size()), &r, flags);
    SetTextColor(dc.Handle(), oldColour);
    SetBkMode(dc.Handle(), oldMode);
    SelectObject(dc.Handle(), old);
}

Container::sPoint cSkin::MeasureText(GDI::cDC& dc, std::u16string_view text, const sRect& rect, UINT flags,
                                     HFONT font) const
{
    if (text.empty() || dc.IsNull())
        return {};
    HGDIOBJ old = SelectObject(dc.Handle(), font ? font : Font(FontNormal));
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    DrawTextW(dc.Handle(), W(text), int(text.size()), &r, flags | DT_CALCRECT);
    SelectObject(dc.Handle(), old);
    return {r.right - r.left, r.bottom - r.top};
}

// ---- Gradients ------------------------------------------------------------------

void cSkin::SetupGradient(Painter::cGradationFill& fill, std::uint32_t colour0, std::uint32_t colour1,
                          std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) const
{
    auto& gradient = fill.Gradient();
    gradient.ColourStops().clear();
    gradient.ColourStops().push_back({0, colour0 & 0xFFFFFF, 0});
    gradient.ColourStops().push_back({255, colour1 & 0xFFFFFF, 0});
    gradient.AlphaStops().clear();
    gradient.AlphaStops().push_back(Painter::cGradient::AlphaStop(0, 255));
    gradient.AlphaStops().push_back(Painter::cGradient::AlphaStop(255, 255));
    fill.SetType(Painter::cGradationFill::Linear);
    fill.SetPoints(x0, y0, x1, y1);
}

// The glossy face: a lighter upper band over the colour itself.
void cSkin::SetupShadedGradient(Painter::cGradationFill& fill, std::uint32_t colour, std::int32_t x0,
                                std::int32_t y0, std::int32_t x1, std::int32_t y1, bool sunken) const
{
    auto& gradient = fill.Gradient();
    gradient.ColourStops().clear();
    const std::int32_t d = sunken ? -1 : 1;
    gradient.ColourStops().push_back({0, AddLightness(colour, 30 * d) & 0xFFFFFF, 0});
    gradient.ColourStops().push_back({127, AddLightness(colour, 12 * d) & 0xFFFFFF, 0});
    gradient.ColourStops().push_back({128, colour & 0xFFFFFF, 0});
    gradient.ColourStops().push_back({255, AddLightness(colour, -8 * d) & 0xFFFFFF, 0});
    gradient.AlphaStops().clear();
    gradient.AlphaStops().push_back(Painter::cGradient::AlphaStop(0, 255));
    gradient.AlphaStops().push_back(Painter::cGradient::AlphaStop(255, 255));
    fill.SetType(Painter::cGradationFill::Linear);
    fill.SetPoints(x0, y0, x1, y1);
}

// ---- Edges ------------------------------------------------------------------------

void cSkin::DrawClientEdge(GDI::cDC& dc, const sRect& rect, bool focused)
{
    dc.FrameRect(rect, m_palette[focused ? P::Focus : P::Outline]);
    const sRect inner = Inset(rect, 1);
    if (inner.IsEmpty())
        return;
    if (focused)
        dc.FrameRect(inner, m_palette[P::Focus]);
    else
        dc.Draw3dRect(inner, m_palette[P::EditBackground], m_palette[P::EdgeLight]);
}

void cSkin::DrawStaticEdge(GDI::cDC& dc, const sRect& rect, bool focused)
{
    dc.FrameRect(rect, m_palette[focused ? P::Focus : P::Outline]);
}

void cSkin::DrawBorder(GDI::cDC& dc, const sRect& rect, bool focused)
{
    dc.FrameRect(rect, m_palette[focused ? P::Focus : P::Outline]);
}

// ---- Glossy fills ------------------------------------------------------------------

void cSkin::FillGlossy(GDI::cPictureDC& dc, const sRect& rect, std::uint32_t colour, bool vertical)
{
    Painter::cGradationFill fill;
    if (vertical)
        SetupShadedGradient(fill, colour, rect.left, rect.top, rect.left, rect.bottom, false);
    else
        SetupShadedGradient(fill, colour, rect.left, rect.top, rect.right, rect.top, false);
    Drawing::FillWith(dc.Picture(), rect, fill);
}

void cSkin::FillGlossyBlend(GDI::cDC&, const sRect&, std::uint32_t, std::uint32_t, bool) {}
void cSkin::FillGlossyGdi(GDI::cDC&, const sRect&, std::uint32_t, bool) {}

void cSkin::DrawSeparator(GDI::cPictureDC& dc, const sRect& rect, std::uint32_t colour)
{
    const std::int32_t y = rect.top + rect.Height() / 2;
    Drawing::Fill(dc.Picture(), {rect.left, y, rect.right, y + 1}, colour);
}

void cSkin::DrawDots(GDI::cDC& dc, const sRect& rect, std::int32_t mode)
{
    // Mode 0: one dotted row through the middle; otherwise dots over the
    // whole rectangle on every second pixel of a checkerboard.
    const COLORREF colour = ColourRef(P::Outline);
    if (mode == 0)
    {
        const std::int32_t y = rect.top + rect.Height() / 2;
        for (std::int32_t x = rect.left; x < rect.right; x += 2)
            SetPixelV(dc.Handle(), x, y, colour);
        return;
    }
    for (std::int32_t y = rect.top; y < rect.bottom; ++y)
        for (std::int32_t x = rect.left + ((y - rect.top) & 1); x < rect.right; x += 2)
            SetPixelV(dc.Handle(), x, y, colour);
}

void cSkin::DrawEtchedLine(GDI::cDC&, const sRect&, bool) {}
void cSkin::DrawBeveledFrame(GDI::cDC&, const sRect&, std::int32_t, std::int32_t, std::uint32_t, std::uint32_t) {}

// ---- Buttons ----------------------------------------------------------------------------

void cSkin::DrawButton(GDI::cPictureDC& dc, const sRect& rect, DWORD style, bool enabled, bool focused,
                       std::u16string_view text, HFONT font, std::int32_t checkState, sButtonState state,
                       const Painter::cPicture* image, bool showTextWithImage, bool tintImage)
{
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX || type == BS_USERBUTTON || type == BS_OWNERDRAW)
        return;
    if (font == nullptr)
        font = Font(FontNormal);
    SetBkColor(dc.Handle(), ColourRef(P::DialogFace));
    if (!enabled)
        state.state = sButtonState::Disabled;
    const bool checkType = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                           type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    const bool pushLike = checkType && (style & BS_PUSHLIKE);
    const bool pushType = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == PushBox || pushLike;
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);

    if (!pushType)
    {
        // Check boxes and radio buttons.
        const sRect box = CheckMarkBox(rect, m_lineHeight);
        if (focused && !text.empty())
        {
            const sRect outline = CheckFocusRect(rect, box);
            Drawing::Frame(dc.Picture(), outline, m_palette[P::Focus]);
        }
        if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
            DrawRadioMark(dc, box, state.state, checkState != 0);
        else
            DrawCheckMark(dc, box, state.state, checkState);
        PaintText(dc, text, CheckTextRect(rect, box), DT_VCENTER | DT_SINGLELINE,
                  m_palette[enabled ? P::Text : P::DisabledText], font);
        return;
    }

    if (pushLike)
    {
        state.kind = (state.kind & ~0xF) | sButtonState::KindToggle;
        state.checked = checkState;
    }
    const sRect content = Inset(rect, 2);
    const bool drawText = image == nullptr || image->IsEmpty() || showTextWithImage;
    const bool hasImage = image != nullptr && !image->IsEmpty();
    const UINT textFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    sRect textRect = content;
    Container::sPoint imageAt{};
    if (hasImage)
    {
        const std::int32_t textWidth =
            showTextWithImage && !text.empty() ? MeasureText(dc, text, content, textFlags, font).x : -1;
        const sImageTextPlacement placed = PlaceImageAndText(content, image->Width(), image->Height(), textWidth);
        imageAt = placed.image;
        if (textWidth >= 0)
            textRect = placed.text;
    }
    if (!(state.state == sButtonState::Normal && (style & BS_FLAT)))
        DrawButtonFrame(dc, rect, state, 0);

    if (hasImage)
    {
        Painter::cPicture copy(*image);
        if (tintImage)
            AdaptPicture(copy, m_palette[state.checked ? P::HighlightText
                                                       : state.state == sButtonState::Pressed ? P::PressedTint : P::Text]);
        Painter::cCanvas canvas(dc.Picture());
        const Container::sRect source = copy.Bounds();
        switch (state.state)
        {
        case sButtonState::Hot:
            canvas.CompositeAt(imageAt.x, imageAt.y, copy, source, 0, 255);
            canvas.CompositeAt(imageAt.x, imageAt.y, copy, source, 1, 85);
            break;
        case sButtonState::Pressed: canvas.CompositeAt(imageAt.x + 1, imageAt.y + 1, copy, source, 0, 255); break;
        case sButtonState::Disabled: canvas.CompositeAt(imageAt.x, imageAt.y, copy, source, 0, 128); break;
        default: canvas.CompositeAt(imageAt.x, imageAt.y, copy, source, 0, 255); break;
        }
    }
    if (drawText && !text.empty())
    {
        const bool centred = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == PushBox || pushLike;
        const UINT flags = centred ? textFlags : (DT_VCENTER | DT_SINGLELINE);
        if (state.state == sButtonState::Disabled)
        {
            const sRect shifted{textRect.left + 1, textRect.top + 1, textRect.right + 1, textRect.bottom + 1};
            PaintText(dc, text, shifted, flags, m_palette[P::EdgeLight], font);
            PaintText(dc, text, textRect, flags, m_palette[P::Outline], font);
        }
        else
            PaintText(dc, text, textRect, flags, m_palette[P::Text], font);
    }
}

// The glossy frame: a rectangle filled with the shaded face and outlined.
void cSkin::DrawButtonFrame(GDI::cPictureDC& dc, const sRect& rect, const sButtonState& state, std::uint32_t flags)
{
    FillButtonShape(dc, sShape{rect}, state, flags);
}

void cSkin::DrawButtonGlyph(GDI::cPictureDC& dc, const sRect& rect, const sButtonState& state)
{
    if (state.glyph < 0 || state.glyph > GlyphPin)
        return;
    int colour = state.state == sButtonState::Disabled ? P::DisabledText : P::Text;
    if ((state.kind & 0xF) == sButtonState::KindToggle && state.checked &&
        (state.state == sButtonState::Hot || state.state == sButtonState::Pressed))
        colour = P::HighlightText;
    DrawGlyph(dc, ButtonGlyphRect(rect), state.glyph, m_palette[colour]);
}

// The base shape painter: the glossy face of the state's colour, outlined in
// palette 8 (and palette 22 when focused), then the glyph.
void cSkin::FillButtonShape(GDI::cPictureDC& dc, const sShape& shape, const sButtonState& state, std::uint32_t)
{
    const sRect& r = shape.rect;
    if (r.IsEmpty())
        return;
    const bool noFace = (state.kind & sButtonState::KindNoFace) != 0;
    const bool toggle = (state.kind & 0xF) == sButtonState::KindToggle;
    Painter::cGradationFill fill;
    bool drawFace = true;
    bool solid = false;
    std::uint32_t colour = m_palette[P::ButtonFace];
    bool sunken = false;
    switch (state.state)
    {
    case sButtonState::Hot: colour = m_palette[toggle && state.checked ? P::Highlight : noFace ? P::ButtonFace : P::Light]; break;
    case sButtonState::Pressed:
        colour = m_palette[toggle && state.checked ? P::Highlight : P::Outline];
        sunken = true;
        break;
    case sButtonState::Disabled:
        solid = true;
        drawFace = !noFace || toggle;
        break;
    default:
        colour = m_palette[toggle && state.checked ? P::Highlight : P::ButtonFace];
        drawFace = !noFace || toggle;
        break;
    }
    if (drawFace)
    {
        if (solid)
            Drawing::Fill(dc.Picture(), r, colour);
        else
        {
            SetupShadedGradient(fill, colour, r.left, r.top, r.left, r.bottom, sunken);
            Drawing::FillWith(dc.Picture(), r, fill);
        }
    }
    Drawing::Frame(dc.Picture(), r, m_palette[P::Outline], shape.open);
    if (state.focused)
        Drawing::Frame(dc.Picture(), r, m_palette[P::Focus], shape.open);
    DrawButtonGlyph(dc, r, state);
}

// ---- Check and radio marks ------------------------------------------------------------

void cSkin::DrawCheckMark(GDI::cPictureDC& dc, const sRect& rect, std::int32_t state, std::int32_t checkState)
{
    if (rect.IsEmpty())
        return;
    FillGlossy(dc, rect, m_palette[state == sButtonState::Hot ? P::HotFill : P::EditBackground], true);
    Drawing::Frame(dc.Picture(), rect, m_palette[state == sButtonState::Pressed ? P::DarkOutline : P::Outline]);
    if (checkState != 0)
        DrawGlyph(dc, Inset(rect, 1), GlyphCheck, m_palette[state == sButtonState::Disabled ? P::Outline : P::Text]);
}

void cSkin::DrawCheckMarkGdi(GDI::cDC&, const sRect&, std::int32_t, std::int32_t) {}

void cSkin::DrawItemCheckMark(GDI::cDC& dc, const sRect& rect, std::int32_t state, std::int32_t checkState,
                              bool selected, bool hot)
{
    if (rect.IsEmpty())
        return;
    dc.FillSolidRect(rect, m_palette[hot ? P::HotFill : P::EditBackground]);
    dc.FrameRect(rect, m_palette[selected ? P::Highlight : P::Outline]);
    if (checkState != 0)
        DrawGlyphGdi(dc, Inset(rect, 2), GlyphCheck, m_palette[state == sButtonState::Disabled ? P::Outline : P::Text]);
}

void cSkin::DrawRadioMark(GDI::cPictureDC& dc, const sRect& rect, std::int32_t state, bool checked)
{
    Drawing::Ellipse(dc.Picture(), rect, m_palette[state == sButtonState::Hot ? P::HotFill : P::EditBackground],
                     m_palette[P::DarkOutline]);
    if (checked)
        Drawing::Ellipse(dc.Picture(), Inset(rect, 3), m_palette[P::Highlight], m_palette[P::Highlight]);
}

void cSkin::DrawRadioMarkGdi(GDI::cDC& dc, const sRect& rect, std::int32_t state, bool checked)
{
    if (rect.IsEmpty())
        return;
    dc.FillEllipse(rect, m_palette[P::DarkOutline]);
    dc.FillEllipse(Inset(rect, 1), m_palette[state == sButtonState::Disabled ? P::ButtonFace : P::EditBackground]);
    if (checked)
        dc.FillEllipse(Inset(rect, 3), m_palette[state == sButtonState::Disabled ? P::Outline : P::Highlight]);
}

void cSkin::DrawPictureButton(GDI::cPictureDC& dc, const sRect& rect, const sButtonState& state,
                              const Painter::cPicture* image)
{
    if (state.state != sButtonState::Normal || state.checked)
        DrawButtonFrame(dc, rect, state, 0);
    if (image == nullptr || image->IsEmpty())
        return;
    const std::int32_t x = rect.left + (rect.Width() - image->Width()) / 2 + (state.state == sButtonState::Pressed);
    const std::int32_t y = rect.top + (rect.Height() - image->Height()) / 2 + (state.state == sButtonState::Pressed);
    Painter::cCanvas canvas(dc.Picture());
    canvas.CompositeAt(x, y, *image, image->Bounds(), 0, state.state == sButtonState::Disabled ? 128 : 255);
}

// ---- Glyphs ------------------------------------------------------------------------------

void cSkin::DrawGlyph(GDI::cPictureDC& dc, const sRect& rect, std::int32_t glyph, std::uint32_t colour)
{
    if (glyph == GlyphCross)
    {
        DrawGlyphGdi(dc, rect, glyph, colour);
        Drawing::MakeOpaque(dc.Picture(), rect);
        return;
    }
    Drawing::Polygons(dc.Picture(), GlyphPolygons(glyph, rect), colour);
}

void cSkin::DrawGlyphGdi(GDI::cDC& dc, const sRect& rect, std::int32_t glyph, std::uint32_t colour)
{
    if (rect.IsEmpty() || dc.IsNull())
        return;
    if (glyph == GlyphCross)
    {
        LOGFONTW logFont{};
        logFont.lfHeight = rect.Height();
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = SYMBOL_CHARSET;
        lstrcpynW(logFont.lfFaceName, L"Webdings", LF_FACESIZE);
        GDI::cFont font;
        if (!font.Create(logFont))
            return;
        const sRect raised{rect.left, rect.top - rect.Height() / 8, rect.right, rect.bottom - rect.Height() / 8};
        PaintText(dc, u"r", raised, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, colour, font.Handle());
        return;
    }
    const std::vector<cGlyphPolygon> polygons = GlyphPolygons(glyph, rect);
    if (polygons.empty())
        return;
    HPEN pen = CreatePen(PS_SOLID, 1, GDI::ToColorRef(colour));
    HBRUSH brush = CreateSolidBrush(GDI::ToColorRef(colour));
    HGDIOBJ oldPen = SelectObject(dc.Handle(), pen);
    HGDIOBJ oldBrush = SelectObject(dc.Handle(), brush);
    for (const cGlyphPolygon& polygon : polygons)
    {
        std::vector<POINT> points;
        for (const Container::sPoint& p : polygon)
            points.push_back({p.x, p.y});
        Polygon(dc.Handle(), points.data(), int(points.size()));
    }
    SelectObject(dc.Handle(), oldBrush);
    SelectObject(dc.Handle(), oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void cSkin::FillShapeGdi(GDI::cDC&, const sRect&, std::uint32_t, std::uint32_t) {}
void cSkin::DrawLabelGdi(GDI::cDC&, const sLabel&) {}

// ---- Statics ------------------------------------------------------------------------------

void cSkin::DrawStatic(GDI::cPictureDC& dc, const sRect& rect, DWORD style, bool enabled, bool, std::u16string_view text,
                       UINT textFlags, HFONT font, std::int32_t, const Painter::cPicture* image)
{
    const DWORD type = style & SS_TYPEMASK;
    switch (type)
    {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
        Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
        PaintText(dc, text, rect, textFlags, m_palette[enabled ? P::Text : P::DisabledText], font);
        break;
    case SS_BITMAP:
    {
        if (image == nullptr || image->IsEmpty())
            break;
        Painter::cPicture copy(*image);
        AdaptPicture(copy, m_palette[P::Text]);
        Painter::cPicture composed;
        if (!composed.Create(Painter::FORMAT_ARGB32, image->Width(), image->Height()))
            break;
        Drawing::Fill(composed, {0, 0, composed.Width(), composed.Height()}, m_palette[P::DialogFace]);
        Painter::cCanvas(composed).CompositeAt(0, 0, copy, copy.Bounds(), 0, 255);
        Painter::cCanvas(dc.Picture()).CompositeAt(rect.left, rect.top, composed, composed.Bounds(), 0, 255);
        break;
    }
    case SS_ETCHEDHORZ:
        Drawing::Frame3d(dc.Picture(), {rect.left, rect.top, rect.right, rect.top + 1}, m_palette[P::Outline],
                         m_palette[P::EdgeLight]);
        break;
    case SS_ETCHEDVERT:
        Drawing::Frame3d(dc.Picture(), {rect.left, rect.top, rect.left + 1, rect.bottom}, m_palette[P::Outline],
                         m_palette[P::EdgeLight]);
        break;
    case SS_ETCHEDFRAME:
        Drawing::Frame3d(dc.Picture(), rect, m_palette[P::Outline], m_palette[P::EdgeLight]);
        Drawing::Frame3d(dc.Picture(), Inset(rect, 1), m_palette[P::EdgeLight], m_palette[P::Outline]);
        break;
    default: break;
    }
}

void cSkin::DrawHeading(GDI::cPictureDC&, const sRect&, std::u16string_view, HFONT) {}

void cSkin::DrawLink(GDI::cPictureDC& dc, const sRect& rect, DWORD style, bool enabled, bool focused,
                     std::u16string_view text, UINT textFlags)
{
    const DWORD type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT)
        return;
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
    LOGFONTW underlined = m_normalLogFont;
    underlined.lfUnderline = 1;
    GDI::cFont font;
    font.Create(underlined);
    PaintText(dc, text, rect, textFlags, m_palette[enabled ? P::LinkText : P::DisabledText],
              font.IsNull() ? Font(FontNormal) : font.Handle());
    if (focused)
    {
        HPEN pen = CreatePen(PS_SOLID, 1, ColourRef(P::Focus));
        HGDIOBJ oldPen = SelectObject(dc.Handle(), pen);
        HGDIOBJ oldBrush = SelectObject(dc.Handle(), GetStockObject(NULL_BRUSH));
        RoundRect(dc.Handle(), rect.left, rect.top, rect.right, rect.bottom, 3, 3);
        SelectObject(dc.Handle(), oldBrush);
        SelectObject(dc.Handle(), oldPen);
        DeleteObject(pen);
    }
    Drawing::MakeOpaque(dc.Picture(), rect);
}

void cSkin::DrawTintedPicture(GDI::cPictureDC&, const sRect&, const Painter::cPicture&) {}
void cSkin::DrawPictureArea(GDI::cPictureDC&, const sRect&, const Painter::cPicture*) {}

void cSkin::DrawGroupBox(GDI::cPictureDC& dc, const sRect& rect, DWORD, std::u16string_view text, HFONT font)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
    if (text.empty())
        return;
    const Container::sPoint size = MeasureText(dc, text, rect, 0, font);
    Drawing::Frame3d(dc.Picture(), GroupBoxFrame(rect, size.y), m_palette[P::Outline], m_palette[P::EdgeLight]);
    const sRect textRect = GroupBoxTextRect(rect, size.x, size.y);
    Drawing::Fill(dc.Picture(), textRect, m_palette[P::DialogFace]);
    PaintText(dc, text, textRect, 0, m_palette[P::Text], font);
}

// ---- Scroll bars ------------------------------------------------------------------------

void cSkin::DrawScrollBar(GDI::cPictureDC& dc, const sRect& rect, const SCROLLINFO& info, bool vertical, bool pressed,
                          std::int32_t hotPart)
{
    const cScrollBarLayout layout(rect, StateOf(info), vertical, pressed,
                                  GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL),
                                  GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB));
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
    const sButtonState normal{};
    for (const sRect* part : {&layout.FirstArrowRect(), &layout.SecondArrowRect(), &layout.ThumbRect()})
        if (!part->IsEmpty())
        {
            sButtonState s = normal;
            const std::int32_t code = part == &layout.ThumbRect()       ? cScrollBarLayout::Thumb
                                      : part == &layout.FirstArrowRect() ? cScrollBarLayout::FirstArrow
                                                                         : cScrollBarLayout::SecondArrow;
            if (code == hotPart)
                s.state = pressed ? sButtonState::Pressed : sButtonState::Hot;
            if (!layout.CanScroll())
                s.state = sButtonState::Disabled;
            FillGlossy(dc, *part, m_palette[s.state == sButtonState::Pressed ? P::Outline : P::ButtonFace], !vertical);
            Drawing::Frame(dc.Picture(), *part, m_palette[P::Outline]);
        }
    const std::uint32_t glyphColour = m_palette[layout.CanScroll() ? P::Text : P::DisabledText];
    DrawGlyph(dc, Inset(layout.FirstArrowRect(), 4), vertical ? GlyphArrowUp : GlyphArrowLeft, glyphColour);
    DrawGlyph(dc, Inset(layout.SecondArrowRect(), 4), vertical ? GlyphArrowDown : GlyphArrowRight, glyphColour);
}

void cSkin::DrawScrollBarControl(GDI::cPictureDC& dc, const sRect& rect, DWORD style, const SCROLLINFO& info,
                                 bool pressed, std::int32_t hotPart)
{
    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP))
    {
        Drawing::Fill(dc.Picture(), rect, m_palette[P::ButtonFace]);
        return;
    }
    DrawScrollBar(dc, rect, info, (style & SBS_VERT) != 0, pressed, hotPart);
}

void cSkin::DrawFieldBackground(GDI::cPictureDC&, const sRect&, bool) {}
void cSkin::DrawFocusFrame(GDI::cDC&, const sRect&) {}

void cSkin::FillLight(GDI::cPictureDC& dc, const sRect& rect) { Drawing::Fill(dc.Picture(), rect, m_palette[P::EdgeLight]); }

// ---- Combo boxes ------------------------------------------------------------------------

void cSkin::DrawComboBox(GDI::cPictureDC& dc, const sRect& rect, DWORD, bool enabled, const sRect& buttonRect,
                         const sButtonState& state)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
    // The field reaches to the button and has no outline on that side.
    const bool buttonOnRight = buttonRect.left >= rect.left + rect.Width() / 2;
    const sRect field = buttonOnRight ? sRect{rect.left, rect.top, buttonRect.left, rect.bottom}
                                      : sRect{buttonRect.right, rect.top, rect.right, rect.bottom};
    Drawing::Fill(dc.Picture(), field, m_palette[enabled ? P::EditBackground : P::ButtonFace]);
    Drawing::Frame(dc.Picture(), field, m_palette[P::Outline], buttonOnRight ? sShape::OpenRight : sShape::OpenLeft);
    sButtonState button = state;
    button.glyph = GlyphArrowDown;
    FillButtonShape(dc, sShape{buttonRect}, button, 0);
}

void cSkin::DrawComboButton(GDI::cPictureDC& dc, DWORD, const sRect& buttonRect, const sRect& glyphRect,
                            const sButtonState& state)
{
    sButtonState frame = state;
    frame.glyph = GlyphNone;
    DrawButtonFrame(dc, buttonRect, frame, 0);
    DrawGlyphGdi(dc, Inset(glyphRect, 3), GlyphArrowDown,
                 m_palette[state.state == sButtonState::Disabled ? P::DisabledText : P::Text]);
    Drawing::MakeOpaque(dc.Picture(), glyphRect);
}

void cSkin::DrawComboItem(GDI::cDC& dc, DWORD, std::int32_t index, const sRect& rect,
                          const Painter::cPictureList* images, std::u16string_view text, bool enabled)
{
    std::int32_t x = rect.left + 2;
    if (const Painter::cPicture* item = images && index >= 0 ? images->Get(index) : nullptr)
    {
        const Painter::cPicture& picture = *item;
        if (!picture.IsEmpty())
        {
            dc.DrawPicture(x, rect.top + (rect.Height() - picture.Height()) / 2, picture, picture.Bounds());
            x += picture.Width() + 2;
        }
    }
    PaintText(dc, text, {x, rect.top, rect.right, rect.bottom}, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
              m_palette[enabled ? P::Text : P::DisabledText], nullptr);
}

void cSkin::DrawLabelText(GDI::cDC&, const sLabel&) {}

void cSkin::DrawEditFrame(GDI::cPictureDC& dc, const sRect& rect, DWORD style, DWORD exStyle, bool shaped, bool focused)
{
    const std::uint32_t background = m_palette[(style & (WS_DISABLED | ES_READONLY)) ? P::ButtonFace : P::EditBackground];
    Drawing::Fill(dc.Picture(), rect, background);
    const std::int32_t open = shaped ? sShape::OpenRight : sShape::Closed;
    if (exStyle & WS_EX_CLIENTEDGE)
    {
        Drawing::Frame(dc.Picture(), rect, m_palette[P::Outline], open);
        if (focused)
            Drawing::Frame(dc.Picture(), rect, m_palette[P::Focus], open);
    }
    else if (style & WS_BORDER)
        Drawing::Frame(dc.Picture(), rect, m_palette[focused ? P::Focus : P::Outline], open);
}

void cSkin::DrawProgress(GDI::cPictureDC&, const sRect&, std::int32_t, std::int32_t, std::int32_t) {}

void cSkin::FillRect(GDI::cPictureDC& dc, const sRect& rect, std::uint32_t colour)
{
    Drawing::Fill(dc.Picture(), rect, colour);
}

void cSkin::DrawPanelBackground(GDI::cPictureDC&, const sRect&) {}
void cSkin::DrawButtonPair(GDI::cPictureDC&, const sRect&, const sButtonState&, const sButtonState&) {}
void cSkin::DrawToolButton(GDI::cPictureDC&, const sRect&, const sButtonState&, const Painter::cPicture*) {}
void cSkin::DrawMarker(GDI::cPictureDC&, const sRect&, std::int32_t, std::uint32_t) {}

// ---- Header, items, tool window, tree, list, property tree --------------------------------

void cSkin::DrawHeaderBackground(GDI::cPictureDC& dc, const sRect& rect) { FillGlossy(dc, rect, m_palette[P::ButtonFace], true); }

void cSkin::DrawHeaderItem(GDI::cPictureDC& dc, const sRect& rect, std::u16string_view text, HFONT font,
                           std::int32_t state, std::int32_t sort)
{
    FillGlossy(dc, rect, m_palette[state == sButtonState::Hot ? P::Light : P::ButtonFace], true);
    DrawHeaderDivider(dc, {rect.right - 1, rect.top, rect.right, rect.bottom});
    DrawHeaderLabel(dc, rect, text, font, state, sort);
}

sRect cSkin::DrawHeaderLabel(GDI::cPictureDC& dc, const sRect& rect, std::u16string_view text, HFONT font,
                             std::int32_t state, std::int32_t sort)
{
    sRect textRect{rect.left + 4, rect.top, rect.right - 4, rect.bottom};
    if (sort != 0)
    {
        const std::int32_t side = std::min(rect.Height() / 2, 8);
        const sRect mark{textRect.right - side, rect.top + (rect.Height() - side) / 2, textRect.right,
                         rect.top + (rect.Height() - side) / 2 + side};
        DrawGlyph(dc, mark, sort > 0 ? GlyphArrowUp : GlyphArrowDown, m_palette[P::Text]);
        textRect.right = mark.left - 2;
    }
    PaintText(dc, text, textRect, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX,
              m_palette[state == sButtonState::Disabled ? P::DisabledText : P::Text], font);
    return textRect;
}

void cSkin::DrawHeaderDivider(GDI::cPictureDC& dc, const sRect& rect) { Drawing::Fill(dc.Picture(), rect, m_palette[P::Outline]); }

void cSkin::DrawItemFrame(GDI::cPictureDC&, const sRect&, bool, bool) {}
void cSkin::DrawImageItem(GDI::cPictureDC&, const sRect&, const Painter::cPicture*, bool, bool) {}
void cSkin::DrawItemGlyphs(GDI::cPictureDC&, const sRect&, std::int32_t, std::uint32_t) {}

void cSkin::DrawToolWindowBackground(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
}

void cSkin::DrawToolWindowItem(GDI::cPictureDC& dc, const sRect& rect, const sButtonState& state,
                               const Painter::cPicture* image)
{
    DrawPictureButton(dc, rect, state, image);
}

void cSkin::DrawToolWindowExtra(GDI::cPictureDC&, const sRect&) {}

void cSkin::DrawTreeBackground(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::EditBackground]);
}

void cSkin::DrawTreeButton(GDI::cPictureDC& dc, const sRect& rect, bool expanded)
{
    const sRect box = ButtonGlyphRect(rect);
    FillGlossy(dc, box, m_palette[P::EditBackground], true);
    Drawing::Frame(dc.Picture(), box, m_palette[P::Outline]);
    DrawGlyph(dc, Inset(box, 2), expanded ? GlyphArrowDown : GlyphArrowRight, m_palette[P::Text]);
}

void cSkin::DrawTreeConnector(GDI::cPictureDC& dc, const sRect& rect, std::uint32_t parts)
{
    const std::int32_t cx = rect.left + rect.Width() / 2, cy = rect.top + rect.Height() / 2;
    const std::uint32_t colour = m_palette[P::Outline];
    for (std::int32_t y = (parts & 1) ? rect.top : cy; y < ((parts & 2) ? rect.bottom : cy + 1); y += 2)
        Drawing::Fill(dc.Picture(), {cx, y, cx + 1, y + 1}, colour);
    if (parts & 4)
        for (std::int32_t x = cx; x < rect.right; x += 2)
            Drawing::Fill(dc.Picture(), {x, cy, x + 1, cy + 1}, colour);
}

void cSkin::DrawTreeItem(GDI::cPictureDC& dc, const sRect& rect, std::u16string_view text, HFONT font, bool selected,
                         bool hot, bool focused)
{
    if (selected || hot)
        Drawing::Fill(dc.Picture(), rect, m_palette[selected ? P::Highlight : P::HotFill]);
    if (focused)
        Drawing::Frame(dc.Picture(), rect, m_palette[P::Focus]);
    PaintText(dc, text, {rect.left + 2, rect.top, rect.right - 2, rect.bottom},
              DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
              m_palette[selected ? P::HighlightText : P::EditText], font);
}

void cSkin::DrawTreeDropMark(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), {rect.left, rect.bottom - 2, rect.right, rect.bottom}, m_palette[P::Focus]);
}

void cSkin::DrawListBackground(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::EditBackground]);
}

void cSkin::DrawListGridLine(GDI::cPictureDC& dc, const sRect& rect) { Drawing::Fill(dc.Picture(), rect, m_palette[P::EditAlternate]); }

void cSkin::DrawListFocus(GDI::cPictureDC& dc, const sRect& rect) { Drawing::Frame(dc.Picture(), rect, m_palette[P::Focus]); }

void cSkin::DrawListItemBackground(GDI::cPictureDC& dc, const sRect& rect, bool selected, bool hot, bool caret)
{
    if (selected)
        FillGlossy(dc, rect, m_palette[P::Highlight], true);
    else if (hot)
        FillGlossy(dc, rect, m_palette[P::HotFill], true);
    if (caret)
        Drawing::Frame(dc.Picture(), rect, m_palette[P::Highlight]);
}

void cSkin::DrawListDropMark(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), {rect.left, rect.top, rect.right, rect.top + 2}, m_palette[P::Focus]);
}

void cSkin::DrawSplitter(GDI::cPictureDC&, const sRect&, bool) {}
void cSkin::DrawPictureButtonFrame(GDI::cPictureDC&, const sRect&, const sButtonState&) {}
void cSkin::DrawTopLeftEdge(GDI::cDC&, const sRect&) {}

void cSkin::DrawPropertyTreeBackground(GDI::cPictureDC& dc, const sRect& rect)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::DialogFace]);
}

void cSkin::DrawPropertyItem(GDI::cPictureDC& dc, const sRect& rect, std::u16string_view text, HFONT font, bool selected)
{
    if (selected)
        Drawing::Fill(dc.Picture(), rect, m_palette[P::Highlight]);
    PaintText(dc, text, {rect.left + 2, rect.top, rect.right, rect.bottom}, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
              m_palette[selected ? P::HighlightText : P::Text], font);
}

void cSkin::DrawPropertyValue(GDI::cPictureDC& dc, const sRect& rect, std::u16string_view text, HFONT font, bool enabled)
{
    Drawing::Fill(dc.Picture(), rect, m_palette[P::EditBackground]);
    PaintText(dc, text, {rect.left + 2, rect.top, rect.right, rect.bottom}, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
              m_palette[enabled ? P::EditText : P::DisabledText], font);
}

void cSkin::DrawControlBarPart(GDI::cPictureDC&, const sRect&, std::int32_t) {}

} // namespace Skin
