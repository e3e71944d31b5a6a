#pragma once
// Skin::cSkin: the one object that paints every toolkit control. Controls
// gather their state and call one painter with their off-screen buffer
// (a GDI::cPictureDC of the client size, copied to the window afterwards);
// the skin owns the palette, the fonts and the brushes.
//
// Painters take the target first: a GDI::cPictureDC when they draw through
// the picture (shapes, gradients, blending) and possibly GDI as well, a
// GDI::cDC when GDI calls are enough. Colours are 0xAARRGGBB (palette
// entries); rectangles have right and bottom exclusive.
//
// cSkin is the glossy base look; cRoundSkin replaces the button frame, the
// check and radio marks and the scroll bar; cFlatSkin, the look the program
// uses, replaces the painters of the common controls with flat ones.
// Painters that no control of this program calls are part of the interface
// and draw nothing unless a look below says otherwise.
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <windows.h>

#include "framework/core/Geometry.h"
#include "framework/gdi/Brush.h"
#include "framework/gdi/Font.h"
#include "framework/gdi/PictureDC.h"
#include "framework/gdi/TextStyle.h"
#include "framework/painter/Picture.h"
#include "framework/window/skin/rules/Palette.h"

namespace Painter {
class cGradationFill;
class cPictureList;
}

namespace Skin {

// What a button tells the frame, glyph and shape painters.
struct sButtonState
{
    enum : std::int32_t
    {
        KindPush = 0,
        KindToggle = 1,       // a toggle drawn as a push button
        KindNoFace = 0x10,    // no face in the normal and disabled states
    };
    enum : std::int32_t
    {
        Normal = 0,
        Hot = 1,
        Pressed = 2,
        Disabled = 3,
    };
    std::int32_t kind = KindPush;
    std::int32_t state = Normal;
    std::int32_t checked = 0;
    std::int32_t focused = 0;
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;
    std::int32_t glyph = -1;  // -1: none, else a glyph number (PainterGeometry.h)
    std::int32_t reserved3 = 0;
};

// A rectangular shape for the shape painters, optionally without its
// outline on one side (a combo field open towards its button).
struct sShape
{
    enum : std::int32_t
    {
        Closed = -1,
        OpenLeft = 0,
        OpenTop = 1,
        OpenRight = 2,
        OpenBottom = 3,
    };
    Container::sRect rect;
    std::int32_t open = Closed;
};

// A text label for the label painters.
struct sLabel
{
    Container::sRect rect;
    std::u16string_view text;
    HFONT font = nullptr;
    std::uint32_t colour = 0xFF000000u;
    UINT flags = 0;
};

class cSkin
{
public:
    enum eFont : int
    {
        FontNormal = 0,
        FontLarge = 1,
        FontSmall = 2,
        FontBold = 3,
        FontItalic = 4,
        FontBoldItalic = 5,
        FontVertical = 6,
        FontCount = 7,
    };
    static constexpr int GlyphPictureResource = 107;

    cSkin();
    // Copies every field; the fonts and brushes are made anew from the
    // stored descriptions.
    cSkin(const cSkin& other);
    cSkin& operator=(const cSkin&) = delete;

    // ---- Set-up ---------------------------------------------------------
    // Derives the palette from the system colours, makes the fonts (when
    // there are none yet) and the three brushes.
    void Initialize();
    // The palette from the three system colours (as Initialize does),
    // without touching fonts; for callers that test other colours.
    void DerivePalette(std::uint32_t face, std::uint32_t caption, std::uint32_t highlight);
    void SetGlyphPictureId(std::int32_t id) { m_glyphPictureId = id; }
    std::int32_t GlyphPictureId() const { return m_glyphPictureId; }
    // Loads the glyph bitmap (GlyphPictureId) from a module. False (the
    // picture unchanged) when the module has no such bitmap.
    bool LoadGlyphPicture(HINSTANCE module);
    const Painter::cPicture& GlyphPicture() const { return m_glyphPicture; }

    // ---- Colours, fonts, brushes ----------------------------------------
    bool Enabled() const { return m_enabled; }
    const cPalette& Palette() const { return m_palette; }
    std::uint32_t Colour(int entry) const { return m_palette[entry]; }
    // The entry as a Windows colour value.
    COLORREF ColourRef(int entry) const;
    HFONT Font(int which = FontNormal) const;
    HFONT ControlFont() const { return m_controlFont.Handle(); }
    const LOGFONTW& NormalLogFont() const { return m_normalLogFont; }
    const LOGFONTW& ControlLogFont() const { return m_controlLogFont; }
    // regular, bold, vertical
    const GDI::cTextStyle& TextFont(int which) const { return m_textFonts[std::size_t(which)]; }
    std::int32_t LineHeight() const { return m_lineHeight; }
    std::int32_t TallLineHeight() const { return m_tallLineHeight; }
    std::int32_t ControlFontHeight() const { return m_controlFontHeight; }
    const std::array<std::int32_t, 6>& Metrics() const { return m_metrics; }
    HBRUSH EditBrush() const { return m_editBrush.Handle(); }
    HBRUSH DialogBrush() const { return m_dialogBrush.Handle(); }
    HBRUSH ButtonBrush() const { return m_buttonBrush.Handle(); }

    // ---- Helpers of the painters -----------------------------------------
    // A picture recoloured for drawing in the colour of the surrounding text
    // (see the implementation for the rule).
    static void AdaptPicture(Painter::cPicture& picture, std::uint32_t colour);
    // The system's message font, or (-12, "MS Shell Dlg") when it cannot be had.
    static LOGFONTW SystemMessageFont();

    // ---- Painters, in slot order ----------------------------------------
    virtual ~cSkin();
    virtual std::unique_ptr<cSkin> Clone() const;
    virtual void SetupGradient(Painter::cGradationFill& fill, std::uint32_t colour0, std::uint32_t colour1,
                               std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) const;
    virtual void SetupShadedGradient(Painter::cGradationFill& fill, std::uint32_t colour, std::int32_t x0,
                                     std::int32_t y0, std::int32_t x1, std::int32_t y1, bool sunken) const;
    virtual void DrawClientEdge(GDI::cDC& dc, const Container::sRect& rect, bool focused);
    virtual void DrawStaticEdge(GDI::cDC& dc, const Container::sRect& rect, bool focused);
    virtual void DrawBorder(GDI::cDC& dc, const Container::sRect& rect, bool focused);
    virtual void FillGlossy(GDI::cPictureDC& dc, const Container::sRect& rect, std::uint32_t colour, bool vertical);
    virtual void FillGlossyBlend(GDI::cDC& dc, const Container::sRect& rect, std::uint32_t colour0,
                                 std::uint32_t colour1, bool vertical);
    virtual void FillGlossyGdi(GDI::cDC& dc, const Container::sRect& rect, std::uint32_t colour, bool vertical);
    virtual void DrawSeparator(GDI::cPictureDC& dc, const Container::sRect& rect, std::uint32_t colour);
    virtual void DrawDots(GDI::cDC& dc, const Container::sRect& rect, std::int32_t mode);
    virtual void DrawEtchedLine(GDI::cDC& dc, const Container::sRect& rect, bool vertical);
    virtual void DrawBeveledFrame(GDI::cDC& dc, const Container::sRect& rect, std::int32_t insetX,
                                  std::int32_t insetY, std::uint32_t light, std::uint32_t dark);
    // A whole button of any BS_ type: push buttons, check boxes, radio
    // buttons, push-like ones and image buttons. font null: the normal font.
    virtual void DrawButton(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style, bool enabled,
                            bool focused, std::u16string_view text, HFONT font, std::int32_t checkState,
                            sButtonState state, const Painter::cPicture* image, bool showTextWithImage,
                            bool tintImage);
    virtual void DrawButtonFrame(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& state,
                                 std::uint32_t flags);
    virtual void DrawButtonGlyph(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& state);
    virtual void FillButtonShape(GDI::cPictureDC& dc, const sShape& shape, const sButtonState& state,
                                 std::uint32_t flags);
    // state: the sButtonState visual state; checkState 0, 1 or 2.
    virtual void DrawCheckMark(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t state,
                               std::int32_t checkState);
    virtual void DrawCheckMarkGdi(GDI::cDC& dc, const Container::sRect& rect, std::int32_t state,
                                  std::int32_t checkState);
    virtual void DrawItemCheckMark(GDI::cDC& dc, const Container::sRect& rect, std::int32_t state,
                                   std::int32_t checkState, bool selected, bool hot);
    virtual void DrawRadioMark(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t state, bool checked);
    virtual void DrawRadioMarkGdi(GDI::cDC& dc, const Container::sRect& rect, std::int32_t state, bool checked);
    virtual void DrawPictureButton(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& state,
                                   const Painter::cPicture* image);
    virtual void DrawGlyph(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t glyph,
                           std::uint32_t colour);
    virtual void DrawGlyphGdi(GDI::cDC& dc, const Container::sRect& rect, std::int32_t glyph, std::uint32_t colour);
    virtual void FillShapeGdi(GDI::cDC& dc, const Container::sRect& rect, std::uint32_t fill, std::uint32_t stroke);
    virtual void DrawLabelGdi(GDI::cDC& dc, const sLabel& label);
    // Statics of types 0..2 (text), SS_BITMAP with an image, and the etched
    // types; reserved is 0. font null: the normal font.
    virtual void DrawStatic(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style, bool enabled,
                            bool focused, std::u16string_view text, UINT textFlags, HFONT font,
                            std::int32_t reserved, const Painter::cPicture* image);
    virtual void DrawHeading(GDI::cPictureDC& dc, const Container::sRect& rect, std::u16string_view text,
                             HFONT font);
    virtual void DrawLink(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style, bool enabled,
                          bool focused, std::u16string_view text, UINT textFlags);
    virtual void DrawTintedPicture(GDI::cPictureDC& dc, const Container::sRect& rect,
                                   const Painter::cPicture& picture);
    virtual void DrawPictureArea(GDI::cPictureDC& dc, const Container::sRect& rect,
                                 const Painter::cPicture* picture);
    // font null: the normal font.
    virtual void DrawGroupBox(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style,
                              std::u16string_view text, HFONT font = nullptr);
    // hotPart: a cScrollBarLayout part code (pressed part when pressed).
    virtual void DrawScrollBar(GDI::cPictureDC& dc, const Container::sRect& rect, const SCROLLINFO& info,
                               bool vertical, bool pressed, std::int32_t hotPart);
    virtual void DrawScrollBarControl(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style,
                                      const SCROLLINFO& info, bool pressed, std::int32_t hotPart);
    virtual void DrawFieldBackground(GDI::cPictureDC& dc, const Container::sRect& rect, bool enabled);
    virtual void DrawFocusFrame(GDI::cDC& dc, const Container::sRect& rect);
    virtual void FillLight(GDI::cPictureDC& dc, const Container::sRect& rect);
    // An editable combo: field and drop button (buttonRect inside rect).
    virtual void DrawComboBox(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style, bool enabled,
                              const Container::sRect& buttonRect, const sButtonState& state);
    virtual void DrawComboButton(GDI::cPictureDC& dc, DWORD style, const Container::sRect& buttonRect,
                                 const Container::sRect& glyphRect, const sButtonState& state);
    // images may be null; the item's picture is images[index].
    virtual void DrawComboItem(GDI::cDC& dc, DWORD style, std::int32_t index, const Container::sRect& rect,
                               const Painter::cPictureList* images, std::u16string_view text, bool enabled);
    virtual void DrawLabelText(GDI::cDC& dc, const sLabel& label);
    virtual void DrawEditFrame(GDI::cPictureDC& dc, const Container::sRect& rect, DWORD style, DWORD exStyle,
                               bool shaped, bool focused);
    virtual void DrawProgress(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t position,
                              std::int32_t minimum, std::int32_t maximum);
    // Opaque fill of the rectangle (clipped to the picture).
    virtual void FillRect(GDI::cPictureDC& dc, const Container::sRect& rect, std::uint32_t colour);
    virtual void DrawPanelBackground(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawButtonPair(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& first,
                                const sButtonState& second);
    virtual void DrawToolButton(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& state,
                                const Painter::cPicture* image);
    virtual void DrawMarker(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t kind,
                            std::uint32_t colour);
    virtual void DrawHeaderBackground(GDI::cPictureDC& dc, const Container::sRect& rect);
    // state: sButtonState visual state; sort: 0 none, 1 up, -1 down.
    virtual void DrawHeaderItem(GDI::cPictureDC& dc, const Container::sRect& rect, std::u16string_view text,
                                HFONT font, std::int32_t state, std::int32_t sort);
    virtual void DrawHeaderDivider(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawItemFrame(GDI::cPictureDC& dc, const Container::sRect& rect, bool selected, bool hot);
    virtual void DrawImageItem(GDI::cPictureDC& dc, const Container::sRect& rect, const Painter::cPicture* image,
                               bool selected, bool hot);
    virtual void DrawItemGlyphs(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t glyph,
                                std::uint32_t colour);
    virtual void DrawToolWindowBackground(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawToolWindowItem(GDI::cPictureDC& dc, const Container::sRect& rect, const sButtonState& state,
                                    const Painter::cPicture* image);
    virtual void DrawToolWindowExtra(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawTreeBackground(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawTreeButton(GDI::cPictureDC& dc, const Container::sRect& rect, bool expanded);
    // parts: bit 0 up, bit 1 down, bit 2 right (towards the item).
    virtual void DrawTreeConnector(GDI::cPictureDC& dc, const Container::sRect& rect, std::uint32_t parts);
    virtual void DrawTreeItem(GDI::cPictureDC& dc, const Container::sRect& rect, std::u16string_view text,
                              HFONT font, bool selected, bool hot, bool focused);
    virtual void DrawTreeDropMark(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawListBackground(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawListGridLine(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawListFocus(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawListItemBackground(GDI::cPictureDC& dc, const Container::sRect& rect, bool selected, bool hot,
                                        bool caret);
    virtual void DrawListDropMark(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawSplitter(GDI::cPictureDC& dc, const Container::sRect& rect, bool vertical);
    virtual void DrawPictureButtonFrame(GDI::cPictureDC& dc, const Container::sRect& rect,
                                        const sButtonState& state);
    virtual void DrawTopLeftEdge(GDI::cDC& dc, const Container::sRect& rect);
    virtual void DrawPropertyTreeBackground(GDI::cPictureDC& dc, const Container::sRect& rect);
    virtual void DrawPropertyItem(GDI::cPictureDC& dc, const Container::sRect& rect, std::u16string_view text,
                                  HFONT font, bool selected);
    virtual void DrawPropertyValue(GDI::cPictureDC& dc, const Container::sRect& rect, std::u16string_view text,
                                   HFONT font, bool enabled);
    virtual void DrawControlBarPart(GDI::cPictureDC& dc, const Container::sRect& rect, std::int32_t part);

protected:
    // Draws one line or block of text with DrawTextW, transparently.
    void PaintText(GDI::cDC& dc, std::u16string_view text, const Container::sRect& rect, UINT flags,
                  std::uint32_t colour, HFONT font) const;
    // The size DrawTextW measures (DT_CALCRECT) for the text in a font.
    Container::sPoint MeasureText(GDI::cDC& dc, std::u16string_view text, const Container::sRect& rect, UINT flags,
                                  HFONT font) const;
    // A header item's text inset in rect, with its sort mark (sort as for
    // DrawHeaderItem) at the right; returns the rectangle the text took.
    Container::sRect DrawHeaderLabel(GDI::cPictureDC& dc, const Container::sRect& rect, std::u16string_view text,
                                     HFONT font, std::int32_t state, std::int32_t sort);
    void MakeFonts();
    void MakeBrushes();

    bool m_enabled = true;
    cPalette m_palette;
    std::int32_t m_glyphPictureId = 0;
    LOGFONTW m_normalLogFont{};
    std::array<GDI::cFont, FontCount> m_fonts;
    std::array<GDI::cTextStyle, 3> m_textFonts;
    std::int32_t m_lineHeight = 0;
    std::int32_t m_tallLineHeight = 0;
    LOGFONTW m_controlLogFont{};
    GDI::cFont m_controlFont;
    std::int32_t m_controlFontHeight = 0;
    std::array<std::int32_t, 6> m_metrics{6, 6, 7, 7, 4, 4};
    GDI::cBrush m_editBrush;
    GDI::cBrush m_dialogBrush;
    GDI::cBrush m_buttonBrush;
    Painter::cPicture m_glyphPicture;
};

} // namespace Skin
