// The skin's painters drawn into off-screen buffers, and its fonts,
// brushes and glyph picture.
#include <gtest/gtest.h>

#include "WindowTestResources.h"
#include "WindowTestSupport.h"
#include "framework/window/skin/FlatSkin.h"
#include "framework/window/skin/rules/ColourModel.h"
#include "framework/window/skin/rules/PainterGeometry.h"
#include "framework/window/skin/rules/ScrollBarLayout.h"

using namespace WindowTests;
using P = Skin::cPalette;
using Skin::sButtonState;

namespace {

constexpr std::uint32_t Untouched = 0xFFFF00FFu;

std::string Hex(std::uint32_t c)
{
    char text[16];
    snprintf(text, sizeof text, "%06X", c & 0xFFFFFF);
    return text;
}

// Within `tolerance` per channel (gradients through the middle stop).
bool Near(std::uint32_t a, std::uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

class SkinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureToolkit();
        skin = &Window::cToolkit::FlatSkin();
    }
    // A fresh buffer filled with a colour no painter uses.
    GDI::cPictureDC& Buffer(int width, int height)
    {
        EXPECT_TRUE(buffer.Create(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                buffer.Picture().SetPixel(x, y, Untouched);
        return buffer;
    }
    std::string At(int x, int y) const { return Hex(buffer.Picture().Pixel(x, y)); }
    std::string Entry(int entry) const { return Hex(skin->Colour(entry)); }
    int CountColour(std::uint32_t colour) const
    {
        int n = 0;
        for (int y = 0; y < buffer.Picture().Height(); ++y)
            for (int x = 0; x < buffer.Picture().Width(); ++x)
                n += (buffer.Picture().Pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    }
    Skin::cFlatSkin* skin = nullptr;
    GDI::cPictureDC buffer;
};

} // namespace

TEST_F(SkinTest, InitialisedPaletteFontsAndBrushes)
{
    auto system = [](int index) {
        const COLORREF c = GetSysColor(index);
        return 0xFF000000u | std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
    };
    const P expected =
        P::Derive(system(COLOR_BTNFACE), system(COLOR_ACTIVECAPTION), system(COLOR_HIGHLIGHT), 0xFF000000);
    for (int i = 0; i < P::Count; ++i)
    {
        // Entry 3 is made from the palette before, which depends on how
        // often the skin was initialised.
        if (i != P::Shade)
        {
            EXPECT_EQ(Hex(skin->Colour(i)), Hex(expected[i])) << "entry " << i;
        }
    }
    for (int i = 0; i < Skin::cSkin::FontCount; ++i)
        EXPECT_NE(skin->Font(i), nullptr) << "font " << i;
    LOGFONTW bold{};
    ASSERT_TRUE(GetObjectW(skin->Font(Skin::cSkin::FontBold), sizeof(bold), &bold));
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    LOGFONTW vertical{};
    ASSERT_TRUE(GetObjectW(skin->Font(Skin::cSkin::FontVertical), sizeof(vertical), &vertical));
    EXPECT_EQ(vertical.lfEscapement, -900);
    EXPECT_GT(skin->LineHeight(), 0);
    EXPECT_EQ(skin->TallLineHeight(), skin->LineHeight() * 5 / 4);
    EXPECT_GT(skin->ControlFontHeight(), 0);
    EXPECT_NE(skin->ControlFont(), nullptr);
}

TEST_F(SkinTest, GlyphPictureComesFromBitmap107)
{
    EXPECT_EQ(skin->GlyphPictureId(), 107);
    const Painter::cPicture& glyph = skin->GlyphPicture();
    ASSERT_FALSE(glyph.IsEmpty());
    EXPECT_EQ(glyph.Width(), 10);
    EXPECT_EQ(glyph.Height(), 10);
    // A ring: opaque pixels on it, transparent ones in its middle and corners.
    int opaque = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            opaque += (glyph.Pixel(x, y) >> 24) > 200;
    EXPECT_GT(opaque, 12);
    EXPECT_EQ(glyph.Pixel(5, 5) >> 24, 0u);
    EXPECT_EQ(glyph.Pixel(0, 9) >> 24, 0u);
    Skin::cFlatSkin other;
    other.SetGlyphPictureId(9999);
    EXPECT_FALSE(other.LoadGlyphPicture(GetModuleHandleW(nullptr)));
    EXPECT_TRUE(other.GlyphPicture().IsEmpty());
}

TEST_F(SkinTest, CloneIsAnIndependentCopyOfTheSameLook)
{
    const std::unique_ptr<Skin::cSkin> copy = skin->Clone();
    ASSERT_NE(dynamic_cast<Skin::cFlatSkin*>(copy.get()), nullptr);
    EXPECT_EQ(copy->Palette(), skin->Palette());
    EXPECT_EQ(copy->LineHeight(), skin->LineHeight());
    EXPECT_NE(copy->Font(), skin->Font());
    EXPECT_NE(copy->Font(), nullptr);
    EXPECT_NE(copy->EditBrush(), skin->EditBrush());
    EXPECT_EQ(copy->GlyphPicture().Width(), skin->GlyphPicture().Width());
}

TEST_F(SkinTest, CheckMarkStates)
{
    struct sCase
    {
        int state;
        int fill, outline;
    };
    const sCase cases[] = {
        {sButtonState::Normal, P::EditBackground, P::Outline},
        {sButtonState::Hot, P::HotFill, P::Focus},
        {sButtonState::Pressed, P::ButtonFace, P::DarkOutline},
        {sButtonState::Disabled, P::ButtonFace, P::Outline},
    };
    for (const sCase& c : cases)
    {
        skin->DrawCheckMark(Buffer(13, 13), {0, 0, 13, 13}, c.state, 0);
        EXPECT_EQ(At(0, 0), Entry(c.outline)) << "state " << c.state;
        EXPECT_EQ(At(12, 6), Entry(c.outline)) << "state " << c.state;
        EXPECT_EQ(At(6, 6), Entry(c.fill)) << "state " << c.state;
    }
    // Checked: the mark in the text colour, in the outline colour when disabled.
    skin->DrawCheckMark(Buffer(13, 13), {0, 0, 13, 13}, sButtonState::Normal, 1);
    EXPECT_GT(CountColour(skin->Colour(P::Text)), 8);
    skin->DrawCheckMark(Buffer(13, 13), {0, 0, 13, 13}, sButtonState::Disabled, 1);
    EXPECT_EQ(CountColour(skin->Colour(P::Text)), 0);
}

TEST_F(SkinTest, RadioMarkDotColours)
{
    struct sCase
    {
        int state;
        int fill, dot;
    };
    const sCase cases[] = {
        {sButtonState::Normal, P::EditBackground, P::Highlight},
        {sButtonState::Hot, P::Outline, P::Highlight},
        {sButtonState::Pressed, P::EditBackground, P::DarkOutline},
        {sButtonState::Disabled, P::Outline, P::Outline},
    };
    for (const sCase& c : cases)
    {
        skin->DrawRadioMark(Buffer(15, 15), {0, 0, 15, 15}, c.state, true);
        EXPECT_EQ(At(7, 7), Entry(c.dot)) << "state " << c.state;
        skin->DrawRadioMark(Buffer(15, 15), {0, 0, 15, 15}, c.state, false);
        EXPECT_EQ(At(7, 7), Entry(c.fill)) << "state " << c.state;
        EXPECT_EQ(At(0, 0), Hex(Untouched)) << "outside the circle";
    }
}

TEST_F(SkinTest, FlatButtonFramesByKindAndState)
{
    struct sCase
    {
        std::int32_t kind, state, checked;
        int face;        // -1: no face drawn
        bool solid;
    };
    const sCase cases[] = {
        {sButtonState::KindPush, sButtonState::Normal, 0, P::ButtonFace, false},
        {sButtonState::KindPush, sButtonState::Hot, 0, P::Light, false},
        {sButtonState::KindPush, sButtonState::Pressed, 0, P::Outline, false},
        {sButtonState::KindPush, sButtonState::Disabled, 0, P::ButtonFace, true},
        {sButtonState::KindPush | sButtonState::KindNoFace, sButtonState::Normal, 0, -1, false},
        {sButtonState::KindPush | sButtonState::KindNoFace, sButtonState::Disabled, 0, -1, false},
        {sButtonState::KindToggle, sButtonState::Normal, 1, P::Highlight, false},
        {sButtonState::KindToggle, sButtonState::Hot, 0, P::Light, false},
        {sButtonState::KindToggle, sButtonState::Pressed, 1, P::Highlight, false},
    };
    for (const sCase& c : cases)
    {
        sButtonState state;
        state.kind = c.kind;
        state.state = c.state;
        state.checked = c.checked;
        skin->DrawButtonFrame(Buffer(40, 21), {0, 0, 40, 21}, state, 0);
        EXPECT_EQ(At(0, 0), Entry(P::Outline));
        EXPECT_EQ(At(39, 20), Entry(P::Outline));
        const std::uint32_t middle = buffer.Picture().Pixel(20, 10);
        if (c.face < 0)
        {
            EXPECT_EQ(Hex(middle), Hex(Untouched)) << "kind " << c.kind << " state " << c.state;
        }
        else
        {
            EXPECT_TRUE(Near(middle, skin->Colour(c.face), c.solid ? 0 : 3))
                << "kind " << c.kind << " state " << c.state << ": " << Hex(middle) << " vs " << Entry(c.face);
        }
        if (c.face >= 0 && !c.solid)
        {
            // Shaded along the height: lighter above than below, or the other
            // way round when pressed.
            const int top = Skin::Lightness(buffer.Picture().Pixel(20, 1));
            const int bottom = Skin::Lightness(buffer.Picture().Pixel(20, 19));
            if (c.state == sButtonState::Pressed)
            {
                EXPECT_LT(top, bottom);
            }
            else if (Skin::Lightness(skin->Colour(c.face)) < 245)
            {
                EXPECT_GT(top, bottom);
            }
        }
    }
    // Focused: the outline drawn a second time, in the focus colour.
    sButtonState focused;
    focused.focused = 1;
    skin->DrawButtonFrame(Buffer(40, 21), {0, 0, 40, 21}, focused, 0);
    EXPECT_EQ(At(0, 0), Entry(P::Focus));
    EXPECT_EQ(At(39, 10), Entry(P::Focus));
    EXPECT_TRUE(Near(buffer.Picture().Pixel(20, 10), skin->Colour(P::ButtonFace), 3));
}

TEST_F(SkinTest, ButtonGlyphsAreCentredAndColoured)
{
    sButtonState state;
    state.glyph = Skin::GlyphArrowDown;
    skin->DrawButtonFrame(Buffer(30, 30), {0, 0, 30, 30}, state, 0);
    EXPECT_EQ(At(15, 15), Entry(P::Text));
    state.state = sButtonState::Disabled;
    skin->DrawButtonFrame(Buffer(30, 30), {0, 0, 30, 30}, state, 0);
    EXPECT_EQ(At(15, 15), Entry(P::DisabledText));
    state.glyph = 9;  // outside 0..8: nothing
    skin->DrawButtonFrame(Buffer(30, 30), {0, 0, 30, 30}, state, 0);
    EXPECT_EQ(At(15, 15), Entry(P::ButtonFace));
}

TEST_F(SkinTest, CheckBoxMarkFollowsTheLineHeightAndTheControlHeight)
{
    // A control lower than the line height gets a mark as high as itself.
    const int height = std::max(4, skin->LineHeight() - 8);
    skin->DrawButton(Buffer(80, height), {0, 0, 80, height}, BS_AUTOCHECKBOX, true, false, u"", nullptr, 0,
                     sButtonState{}, nullptr, false, false);
    EXPECT_EQ(At(0, 0), Entry(P::Outline));
    EXPECT_EQ(At(height - 1, height - 1), Entry(P::Outline));
    EXPECT_EQ(At(height, height / 2), Entry(P::DialogFace));
    // A tall control: the side is line height - 3, centred vertically.
    const int side = skin->LineHeight() - 3;
    skin->DrawButton(Buffer(80, 40), {0, 0, 80, 40}, BS_AUTOCHECKBOX, true, false, u"", nullptr, 0, sButtonState{},
                     nullptr, false, false);
    const int top = (40 - side) / 2;
    EXPECT_EQ(At(0, top), Entry(P::Outline));
    EXPECT_EQ(At(0, top - 1), Entry(P::DialogFace));
    EXPECT_EQ(At(side - 1, top + side - 1), Entry(P::Outline));
    EXPECT_EQ(At(side, top + 1), Entry(P::DialogFace));
}

TEST_F(SkinTest, PushButtonTextAndImage)
{
    // With text: text pixels in the text colour.
    skin->DrawButton(Buffer(80, 24), {0, 0, 80, 24}, BS_PUSHBUTTON, true, false, u"Save", nullptr, 0, sButtonState{},
                     nullptr, false, false);
    EXPECT_GT(CountColour(skin->Colour(P::Text)), 5);
    EXPECT_EQ(At(0, 0), Entry(P::Outline));
    // An image without "show text with image": no text, even with a caption.
    Painter::cPicture image;
    ASSERT_TRUE(image.Create(Painter::FORMAT_ARGB32, 6, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            image.SetPixel(x, y, 0xFF2040E0);
    skin->DrawButton(Buffer(80, 24), {0, 0, 80, 24}, BS_PUSHBUTTON, true, false, u"Save", nullptr, 0, sButtonState{},
                     &image, false, false);
    EXPECT_EQ(CountColour(skin->Colour(P::Text)), 0);
    EXPECT_EQ(At(40, 12), Hex(0xFF2040E0));  // centred
    // Pressed: one pixel right and down.
    sButtonState pressed;
    pressed.state = sButtonState::Pressed;
    skin->DrawButton(Buffer(80, 24), {0, 0, 80, 24}, BS_PUSHBUTTON, true, false, u"", nullptr, 0, pressed, &image,
                     false, false);
    EXPECT_EQ(At(37 + 6, 9 + 6), Hex(0xFF2040E0));
    EXPECT_NE(At(37, 9), Hex(0xFF2040E0));
    // Disabled text: drawn twice (raised light copy, then the outline colour).
    skin->DrawButton(Buffer(80, 24), {0, 0, 80, 24}, BS_PUSHBUTTON, false, false, u"Save", nullptr, 0, sButtonState{},
                     nullptr, false, false);
    EXPECT_EQ(CountColour(skin->Colour(P::Text)), 0);
    EXPECT_GT(CountColour(skin->Colour(P::Outline)), 2 * 80);  // the frame plus text
}

TEST_F(SkinTest, StaticsByType)
{
    // SS_SIMPLE (and any type not listed) draws nothing.
    skin->DrawStatic(Buffer(30, 10), {0, 0, 30, 10}, SS_SIMPLE, true, false, u"text", 0, nullptr, 0, nullptr);
    EXPECT_EQ(CountColour(Untouched), 300);
    // Text types fill with the face colour.
    skin->DrawStatic(Buffer(30, 10), {0, 0, 30, 10}, SS_LEFT, true, false, u"", 0, nullptr, 0, nullptr);
    EXPECT_EQ(CountColour(skin->Colour(P::DialogFace)), 300);
    // The etched frame: dark outside top-left, light inside; the reverse at
    // the bottom right.
    skin->DrawStatic(Buffer(30, 10), {0, 0, 30, 10}, SS_ETCHEDFRAME, true, false, u"", 0, nullptr, 0, nullptr);
    EXPECT_EQ(At(0, 0), Entry(P::Outline));
    EXPECT_EQ(At(1, 1), Entry(P::EdgeLight));
    EXPECT_EQ(At(29, 9), Entry(P::EdgeLight));
    EXPECT_EQ(At(28, 8), Entry(P::Outline));
    EXPECT_EQ(At(10, 5), Hex(Untouched));
    skin->DrawStatic(Buffer(30, 10), {0, 0, 30, 10}, SS_ETCHEDVERT, true, false, u"", 0, nullptr, 0, nullptr);
    EXPECT_NE(At(0, 5), Hex(Untouched));
    EXPECT_EQ(At(1, 5), Hex(Untouched));
    // Disabled text in the disabled colour.
    skin->DrawStatic(Buffer(60, 20), {0, 0, 60, 20}, SS_LEFT, false, false, u"Name", DT_SINGLELINE, nullptr, 0,
                     nullptr);
    EXPECT_GT(CountColour(skin->Colour(P::DisabledText)), 5);
    EXPECT_EQ(CountColour(skin->Colour(P::Text)), 0);
}

TEST_F(SkinTest, GroupBoxWithoutCaptionHasNoFrame)
{
    skin->DrawGroupBox(Buffer(60, 40), {0, 0, 60, 40}, 0, u"");
    EXPECT_EQ(CountColour(skin->Colour(P::DialogFace)), 60 * 40);
    skin->DrawGroupBox(Buffer(60, 40), {0, 0, 60, 40}, 0, u"Box");
    EXPECT_EQ(At(0, 39), Entry(P::Outline));
    EXPECT_EQ(At(59, 20), Entry(P::Outline));
}

TEST_F(SkinTest, LinksAreLinkTextWithAFocusFrame)
{
    skin->DrawLink(Buffer(80, 20), {0, 0, 80, 20}, SS_LEFT, true, true, u"web", DT_SINGLELINE | DT_VCENTER);
    EXPECT_GT(CountColour(skin->Colour(P::LinkText)), 5);
    EXPECT_EQ(At(40, 0), Entry(P::Focus));
    EXPECT_EQ(At(40, 19), Entry(P::Focus));
    skin->DrawLink(Buffer(80, 20), {0, 0, 80, 20}, SS_LEFT, false, false, u"web", DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(CountColour(skin->Colour(P::LinkText)), 0);
    EXPECT_GT(CountColour(skin->Colour(P::DisabledText)), 5);
    EXPECT_EQ(At(40, 0), Entry(P::DialogFace));
    // The underline: a row of link-coloured pixels under the text.
    skin->DrawLink(Buffer(80, 20), {0, 0, 80, 20}, SS_LEFT, true, false, u"wwwwww", DT_SINGLELINE | DT_VCENTER);
    int longestRow = 0;
    for (int y = 0; y < 20; ++y)
    {
        int run = 0;
        for (int x = 0; x < 80; ++x)
            if ((buffer.Picture().Pixel(x, y) & 0xFFFFFF) == (skin->Colour(P::LinkText) & 0xFFFFFF))
                longestRow = std::max(longestRow, ++run);
            else
                run = 0;
    }
    EXPECT_GT(longestRow, 15);
}

TEST_F(SkinTest, EditFramesByStyle)
{
    struct sCase
    {
        DWORD style, exStyle;
        bool focused;
        int outline;     // -1: none
        int background;
    };
    const sCase cases[] = {
        {0, WS_EX_CLIENTEDGE, false, P::Outline, P::EditBackground},
        {0, WS_EX_CLIENTEDGE, true, P::Focus, P::EditBackground},
        {ES_READONLY, WS_EX_CLIENTEDGE, false, P::Outline, P::ButtonFace},
        {WS_DISABLED, 0, false, -1, P::ButtonFace},
        {WS_BORDER, 0, false, P::Outline, P::EditBackground},
        {WS_BORDER, 0, true, P::Focus, P::EditBackground},
        {0, 0, true, -1, P::EditBackground},
    };
    for (const sCase& c : cases)
    {
        skin->DrawEditFrame(Buffer(40, 20), {0, 0, 40, 20}, c.style, c.exStyle, false, c.focused);
        EXPECT_EQ(At(0, 0), Entry(c.outline < 0 ? c.background : c.outline)) << std::hex << c.style << " " << c.exStyle;
        EXPECT_EQ(At(39, 19), Entry(c.outline < 0 ? c.background : c.outline));
        EXPECT_EQ(At(20, 10), Entry(c.background));
    }
}

TEST_F(SkinTest, FlatScrollBarPartsAndStates)
{
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const int width = GetSystemMetrics(SM_CXVSCROLL), height = 4 * arrow + 40;
    const SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 20, 40, 10};
    const Skin::cScrollBarLayout layout({0, 0, width, height}, {0, 99, 20, 40, 10}, true, false, arrow,
                                        GetSystemMetrics(SM_CYVTHUMB));
    const Skin::cScrollBarLayout dragged({0, 0, width, height}, {0, 99, 20, 40, 10}, true, true, arrow,
                                         GetSystemMetrics(SM_CYVTHUMB));
    ASSERT_GT(layout.ThumbRect().top, dragged.ThumbRect().top);
    struct sCase
    {
        bool pressed;
        int hot;
        int firstArrow;
        std::int32_t thumbLighten;
    };
    const sCase cases[] = {
        {false, Skin::cScrollBarLayout::None, P::ButtonFace, 25},
        {false, Skin::cScrollBarLayout::FirstArrow, P::HotFill, 17},
        {true, Skin::cScrollBarLayout::FirstArrow, P::Outline, 17},
        {false, Skin::cScrollBarLayout::Thumb, P::ButtonFace, 10},
    };
    for (const sCase& c : cases)
    {
        skin->DrawScrollBar(Buffer(width, height), {0, 0, width, height}, info, true, c.pressed, c.hot);
        EXPECT_EQ(At(0, 0), Entry(c.firstArrow)) << "hot " << c.hot;
        EXPECT_EQ(At(0, height - 1), Entry(P::ButtonFace));
        const Container::sRect& thumb = (c.pressed ? dragged : layout).ThumbRect();
        EXPECT_EQ(At(1, thumb.top + 1), Hex(Skin::AddLightness(skin->Colour(P::HotFill), c.thumbLighten)))
            << "hot " << c.hot;
        EXPECT_EQ(At(1, (c.pressed ? dragged : layout).SecondPageRect().top + 1), Entry(P::DialogFace));
    }
    // Pressed thumb: palette 23 itself, at the dragged position.
    skin->DrawScrollBar(Buffer(width, height), {0, 0, width, height}, info, true, true, Skin::cScrollBarLayout::Thumb);
    EXPECT_EQ(At(1, dragged.ThumbRect().top + 1), Entry(P::HotFill));
    // Size boxes of scroll-bar controls are filled with the button face.
    skin->DrawScrollBarControl(Buffer(20, 20), {0, 0, 20, 20}, SBS_SIZEBOX, info, false, 0);
    EXPECT_EQ(CountColour(skin->Colour(P::ButtonFace)), 400);
}

TEST_F(SkinTest, ListItemBackgrounds)
{
    skin->DrawListItemBackground(Buffer(50, 16), {0, 0, 50, 16}, true, false, false);
    EXPECT_EQ(CountColour(skin->Colour(P::Highlight)), 50 * 16);
    skin->DrawListItemBackground(Buffer(50, 16), {0, 0, 50, 16}, false, true, true);
    EXPECT_EQ(At(0, 0), Entry(P::Highlight));
    EXPECT_EQ(At(25, 8), Entry(P::HotFill));
    skin->DrawListItemBackground(Buffer(50, 16), {0, 0, 50, 16}, false, false, false);
    EXPECT_EQ(CountColour(Untouched), 50 * 16);
    skin->DrawListBackground(Buffer(10, 10), {0, 0, 10, 10});
    EXPECT_EQ(CountColour(skin->Colour(P::EditBackground)), 100);
}

TEST_F(SkinTest, ComboPartsUseTheFieldAndButtonColours)
{
    sButtonState state;
    skin->DrawComboBox(Buffer(100, 22), {0, 0, 100, 22}, 0, true, {82, 0, 100, 22}, state);
    EXPECT_EQ(At(40, 11), Entry(P::EditBackground));
    EXPECT_EQ(At(40, 0), Entry(P::Outline));
    EXPECT_NE(At(81, 11), Entry(P::Outline));  // the field is open towards the button
    EXPECT_EQ(At(91, 11), Entry(P::Text));      // the down arrow
    skin->DrawComboBox(Buffer(100, 22), {0, 0, 100, 22}, 0, false, {82, 0, 100, 22}, state);
    EXPECT_EQ(At(40, 11), Entry(P::ButtonFace));
    state.state = sButtonState::Disabled;
    skin->DrawComboButton(Buffer(100, 22), 0, {0, 0, 100, 22}, {82, 0, 100, 22}, state);
    EXPECT_EQ(At(0, 0), Entry(P::Outline));
    EXPECT_GT(CountColour(skin->Colour(P::DisabledText)), 3);
}

// Adapting a picture to a text colour: black leaves it unchanged; a light
// colour inverts greys and scales by L / 220.
TEST_F(SkinTest, AdaptPictureToTextColour)
{
    Painter::cPicture picture;
    ASSERT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 3, 1));
    picture.SetPixel(0, 0, 0x80404040);
    picture.SetPixel(1, 0, 0xFFFF0000);
    picture.SetPixel(2, 0, 0x00FFFFFF);
    Painter::cPicture black(picture);
    Skin::cSkin::AdaptPicture(black, 0xFF000000);
    EXPECT_EQ(black.Pixel(0, 0), 0x80404040u);
    EXPECT_EQ(black.Pixel(1, 0), 0xFFFF0000u);
    Painter::cPicture dark(picture);
    Skin::cSkin::AdaptPicture(dark, 0xFF323232);  // lightness 50: channels * 205 / 255
    EXPECT_EQ(dark.Pixel(0, 0), 0x80333333u);
    EXPECT_EQ(dark.Pixel(1, 0), 0xFFCD0000u);
    Painter::cPicture light(picture);
    Skin::cSkin::AdaptPicture(light, 0xFFFFFFFF);  // lightness 255
    // Grey 64 becomes 191, times 255 / 220 = 221; red keeps its hue and caps at 255.
    EXPECT_EQ(light.Pixel(0, 0), 0x80DDDDDDu);
    EXPECT_EQ(light.Pixel(1, 0) & 0xFF00FFFFu, 0xFF000000u);
    EXPECT_EQ((light.Pixel(1, 0) >> 16) & 0xFF, 255u);
    EXPECT_EQ(light.Pixel(2, 0), 0x00000000u);  // white inverted to black, alpha kept
}
