#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "framework/document/StyleBorder.h"
#include "framework/document/StyleColorFill.h"
#include "framework/document/StyleDropShadow.h"
#include "framework/document/StyleGlassShadow.h"
#include "framework/document/StyleInnerGlow.h"
#include "framework/document/StyleInnerShadow.h"
#include "framework/document/StyleOuterGlow.h"
#include "framework/document/StyleOutline.h"
#include "framework/document/StyleRound.h"
#include "framework/painter/BlendModes.h"
#include "framework/document/BVScene.h"
#include "tests/document/DocumentTestSupport.h"

using namespace DocumentTest;
using Container::sRect;
using Style::cStyle;

namespace {

Painter::cPicture Pixels(std::int32_t width, std::int32_t height, std::initializer_list<std::uint32_t> pixels)
{
    Painter::cPicture picture = Solid(width, height, 0);
    std::int32_t i = 0;
    for (std::uint32_t pixel : pixels)
    {
        picture.SetPixel(i % width, i / width, pixel);
        ++i;
    }
    return picture;
}

struct sExpected
{
    std::int32_t x, y;
    std::uint32_t pixel;
};

} // namespace

TEST(LayerStyles, RenderedPixelsMatchHandComputedValues)
{
    struct sCase
    {
        const char* what;
        std::function<std::unique_ptr<cStyle::cItem>()> make;
        Painter::cPicture layer;
        std::int32_t width, height;  // of the output
        std::vector<sExpected> pixels;
    };
    const sCase cases[] = {
        {"drop shadow, distance 0 and size 0: the colour behind, by the layer's alpha",
         [] {
             auto s = std::make_unique<cStyle::cDropShadow>();
             s->SetGeometry(0, 45, 0);
             return s;
         },
         Pixels(2, 1, {0x80FF0000u, 0x00000000u}), 2, 1,
         // alpha 128 + 128 * 127 / 255 = 191; red 255 * 128 / 191 = 170.
         {{0, 0, 0xBFAA0000u}, {1, 0, 0x00000000u}}},
        {"drop shadow at 90 degrees, distance 5: five pixels down",
         [] {
             auto s = std::make_unique<cStyle::cDropShadow>();
             s->SetGeometry(5, 90, 0);
             s->SetColour(0xFF123456u);
             return s;
         },
         Solid(1, 1, 0xFFFFFFFFu), 1, 6,
         {{0, 0, 0xFFFFFFFFu}, {0, 1, 0}, {0, 4, 0}, {0, 5, 0xFF123456u}}},
        {"inner shadow, size 0, 2 px to the right: the left two columns in the colour",
         [] {
             auto s = std::make_unique<cStyle::cInnerShadow>();
             s->SetGeometry(2, 0, 0);
             return s;
         },
         Solid(4, 1, 0xFFFFFFFFu), 4, 1,
         {{0, 0, 0xFF000000u}, {1, 0, 0xFF000000u}, {2, 0, 0xFFFFFFFFu}, {3, 0, 0xFFFFFFFFu}}},
        {"inner glow, choke and blur 0: the colour where the layer is translucent",
         [] {
             auto s = std::make_unique<cStyle::cInnerGlow>();
             s->SetSizes(0, 0);
             s->SetColour(0xFFFF0000u);
             return s;
         },
         Pixels(2, 1, {0xFFFFFFFFu, 0x80FFFFFFu}), 2, 1,
         // strength 127: red ((128 * 255) + 255 * 255 * 127 / 255) / 255 = 255, blue 128 * 255 / 255 = 128.
         {{0, 0, 0xFFFFFFFFu}, {1, 0, 0x80FF8080u}}},
        {"outer glow, spread 1 and blur 0: the cross around a pixel",
         [] {
             auto s = std::make_unique<cStyle::cOuterGlow>();
             s->SetSizes(1, 0);
             s->SetColour(0xFFFFFF00u);
             return s;
         },
         Solid(1, 1, 0xFF0000FFu), 3, 3,
         {{1, 1, 0xFF0000FFu}, {0, 1, 0xFFFFFF00u}, {1, 0, 0xFFFFFF00u}, {2, 1, 0xFFFFFF00u}, {1, 2, 0xFFFFFF00u}}},
        {"outline of size 3 around a 10 x 10 square",
         [] {
             auto s = std::make_unique<cStyle::cOutline>();
             s->SetSize(3);
             s->ColourFill().SetColour(0xFF00FF00u);
             return s;
         },
         Solid(10, 10, 0xFFFF0000u), 16, 16,
         {{0, 8, 0xFF00FF00u}, {8, 0, 0xFF00FF00u}, {15, 8, 0xFF00FF00u}, {3, 3, 0xFFFF0000u},
          {12, 12, 0xFFFF0000u}, {0, 0, 0x0000FF00u}}},
        {"colour fill at half opacity keeps the layer's alpha",
         [] {
             auto s = std::make_unique<cStyle::cColorFill>();
             s->SetColour(0x80FF0000u);
             return s;
         },
         Pixels(1, 1, {0x400000FFu}), 1, 1,
         {{0, 0, (Painter::cBlendModes::BlendPixel(0, 0xFFFF0000u, 0xFF0000FFu, 128) & 0x00FFFFFFu) | 0x40000000u}}},
        {"border of widths 1, 2, 3, 4",
         [] {
             auto s = std::make_unique<cStyle::cBorder>();
             s->SetWidths(1, 2, 3, 4);
             s->SetColour(0xFF0000FFu);
             return s;
         },
         Solid(2, 2, 0xFFFF0000u), 6, 8,
         {{0, 0, 0xFF0000FFu}, {1, 2, 0xFFFF0000u}, {2, 3, 0xFFFF0000u}, {3, 2, 0xFF0000FFu}, {1, 4, 0xFF0000FFu},
          {5, 7, 0xFF0000FFu}}},
        {"round corners of radius 4",
         [] {
             auto s = std::make_unique<cStyle::cRound>();
             s->SetRadius(4);
             return s;
         },
         Solid(10, 10, 0xFFFFFFFFu), 10, 10,
         {{0, 0, 0}, {9, 9, 0}, {5, 5, 0xFFFFFFFFu}, {0, 5, 0xFFFFFFFFu}, {5, 9, 0xFFFFFFFFu}}},
    };
    for (const sCase& c : cases)
    {
        std::unique_ptr<cStyle::cItem> item = c.make();
        EXPECT_EQ(item->GetBounds(sRect{0, 0, c.layer.Width(), c.layer.Height()}).Width(), c.width) << c.what;
        Painter::cPicture output;
        ASSERT_TRUE(item->Render(output, c.layer)) << c.what;
        ASSERT_EQ(output.Format(), Painter::FORMAT_ARGB32) << c.what;
        ASSERT_EQ(output.Width(), c.width) << c.what;
        ASSERT_EQ(output.Height(), c.height) << c.what;
        for (const sExpected& e : c.pixels)
            EXPECT_EQ(output.Pixel(e.x, e.y), e.pixel) << c.what << " at " << e.x << "," << e.y;
    }
}

TEST(LayerStyles, RoundCornerEdgesArePartlyCovered)
{
    cStyle::cRound round;
    round.SetRadius(4);
    Painter::cPicture output;
    ASSERT_TRUE(round.Render(output, Solid(10, 10, 0xFFFFFFFFu)));
    // The corner curve runs from (0, 4) to (4, 0) through (1, 1): it cuts
    // the pixels beside the corner.
    for (const auto& [x, y] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{9, 8}, std::pair{8, 9}})
    {
        const std::uint32_t alpha = output.Pixel(x, y) >> 24;
        EXPECT_GT(alpha, 0u) << x << "," << y;
        EXPECT_LT(alpha, 255u) << x << "," << y;
    }
}

TEST(LayerStyles, GlassShadowMirrorsAndFades)
{
    // Row y of the layer is opaque with blue 20 * y.
    Painter::cPicture layer = Solid(3, 10, 0);
    for (std::int32_t y = 0; y < 10; ++y)
        for (std::int32_t x = 0; x < 3; ++x)
            layer.SetPixel(x, y, 0xFF000000u | std::uint32_t(20 * y));
    cStyle::cGlassShadow glass;
    EXPECT_EQ(glass.GetBounds(sRect{0, 0, 10, 10}), (sRect{0, 0, 10, 20}));
    Painter::cPicture output;
    ASSERT_TRUE(glass.Render(output, layer));
    ASSERT_EQ(output.Width(), 3);
    ASSERT_EQ(output.Height(), 20);
    const std::uint32_t fades[10] = {255, 230, 204, 179, 153, 127, 102, 76, 51, 25};
    for (std::int32_t i = 0; i < 10; ++i)
    {
        EXPECT_EQ(glass.Fade(i, 10), std::int32_t(fades[i])) << i;
        EXPECT_EQ(output.Pixel(1, i), layer.Pixel(1, i)) << "layer row " << i;
        EXPECT_EQ(output.Pixel(1, 10 + i), (fades[i] << 24) | std::uint32_t(20 * (9 - i))) << "reflection row " << i;
    }

    // A tint halves the colours; a gap of 50 % leaves five empty rows; a
    // negative gap stays inside the output.
    glass.Set(0xFF808080u, 50, 100, 100);
    ASSERT_TRUE(glass.Render(output, layer));
    ASSERT_EQ(output.Height(), 25);
    EXPECT_EQ(output.Pixel(0, 12), 0u);
    EXPECT_EQ(output.Pixel(0, 15), 0xFF000000u | (180u * 128 / 255));
    glass.Set(0xFFFFFFFFu, -300, 100, 100);
    EXPECT_EQ(glass.GetBounds(sRect{0, 0, 3, 10}), (sRect{0, 0, 3, 10}));
    ASSERT_TRUE(glass.Render(output, layer));
    EXPECT_EQ(output.Height(), 10);
    EXPECT_EQ(output.Pixel(0, 0), layer.Pixel(0, 0));
}

TEST(LayerStyles, TheListRunsEnabledItemsInOrder)
{
    const Painter::cPicture layer = Solid(10, 10, 0xFFFF0000u);
    cStyle styles;
    auto disabled = std::make_unique<cStyle::cOutline>();
    disabled->SetEnabled(0);
    styles.Add(std::move(disabled));
    Painter::cPicture output;
    ASSERT_TRUE(styles.RenderStyles(output, layer));
    ASSERT_EQ(output.Width(), 10);
    for (std::int32_t y = 0; y < 10; ++y)
        for (std::int32_t x = 0; x < 10; ++x)
            ASSERT_EQ(output.Pixel(x, y), layer.Pixel(x, y));
    EXPECT_EQ(styles.GetStyledBounds(sRect{0, 0, 10, 10}), (sRect{0, 0, 10, 10}));

    // Border then outline: each reads the previous output.
    auto border = std::make_unique<cStyle::cBorder>();
    border->SetWidths(1, 1, 1, 1);
    styles.Add(std::move(border));
    auto outline = std::make_unique<cStyle::cOutline>();
    outline->SetSize(3);
    styles.Add(std::move(outline));
    EXPECT_EQ(styles.GetStyledBounds(sRect{0, 0, 10, 10}), (sRect{-4, -4, 14, 14}));
    ASSERT_TRUE(styles.RenderStyles(output, layer));
    EXPECT_EQ(output.Width(), 18);
    EXPECT_EQ(output.Height(), 18);
    EXPECT_EQ(output.Pixel(3, 3), 0xFFFFFFFFu) << "the border inside the outline";
    EXPECT_EQ(output.Pixel(4, 4), 0xFFFF0000u);
    EXPECT_EQ(output.Pixel(0, 9), 0xFFFF0000u) << "the outline in its default colour";
    EXPECT_EQ(output.Pixel(9, 9), 0xFFFF0000u);

    // An empty rectangle keeps its bounds; an empty layer renders nothing.
    EXPECT_EQ(styles.GetStyledBounds(sRect{}), sRect{});
    EXPECT_FALSE(styles.RenderStyles(output, Painter::cPicture()));
    EXPECT_TRUE(output.IsEmpty());
}

TEST(LayerStyles, ShadowResizeScalesTheOffset)
{
    cStyle::cDropShadow shadow;
    shadow.SetGeometry(10, 0, 4);
    shadow.Resize(1, 1, 2, 2);
    EXPECT_EQ(shadow.Distance(), 5);
    EXPECT_EQ(shadow.Angle(), 0);
    EXPECT_EQ(shadow.Size(), 2);
    shadow.SetGeometry(10, 90, 4);
    shadow.Resize(1, 3, 1, 1);
    EXPECT_EQ(shadow.Distance(), 30);
    EXPECT_EQ(shadow.Angle(), 90);
    EXPECT_EQ(shadow.Size(), 12);
}

TEST(LayerStyles, GraphicLayersDrawTheirStyledPicture)
{
    Brimvale::cBVScene scene;
    ASSERT_TRUE(scene.SetCanvasSize(8, 8));
    auto image = ImageLayer(Solid(2, 2, 0xFFFF0000u), 3, 3);
    auto border = std::make_unique<cStyle::cBorder>();
    border->SetWidths(1, 1, 1, 1);
    border->SetColour(0xFF00FF00u);
    image->Styles().Add(std::move(border));
    EXPECT_EQ(image->GetBounds(true), (sRect{2, 2, 6, 6}));
    EXPECT_EQ(image->GetBounds(false), (sRect{3, 3, 5, 5}));
    scene.Root().AddChild(std::move(image));
    ASSERT_TRUE(scene.Render());
    EXPECT_EQ(scene.Canvas().Pixel(2, 2), 0xFF00FF00u);
    EXPECT_EQ(scene.Canvas().Pixel(3, 3), 0xFFFF0000u);
    EXPECT_EQ(scene.Canvas().Pixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(scene.Canvas().Pixel(1, 1), 0u);
    EXPECT_EQ(scene.Canvas().Pixel(6, 6), 0u);
}
