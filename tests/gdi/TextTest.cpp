#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include <windows.h>

#include "framework/gdi/Font.h"
#include "framework/gdi/PictureDC.h"
#include "framework/gdi/Text.h"
#include "framework/gdi/TextStyle.h"
#include "framework/painter/Path.h"
#include "framework/painter/Picture.h"

using Container::sRect;

TEST(TextStyle, LogFontConversion)
{
    GDI::cTextStyle style;
    style.size = 24;
    style.flags = GDI::cTextStyle::Bold | GDI::cTextStyle::Underline;
    style.angle = float(std::numbers::pi / 2);
    LOGFONTW logFont;
    style.ToLogFont(logFont);
    EXPECT_EQ(logFont.lfHeight, -24);
    EXPECT_EQ(logFont.lfWidth, 0);
    EXPECT_EQ(logFont.lfEscapement, 900);
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_EQ(logFont.lfItalic, 0);
    EXPECT_EQ(logFont.lfUnderline, 1);
    EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(logFont.lfFaceName, L"Arial");

    GDI::cTextStyle back;
    back.FromLogFont(logFont);
    EXPECT_EQ(back.size, 24);
    EXPECT_EQ(back.width, 0);
    EXPECT_EQ(back.flags, style.flags);
    EXPECT_NEAR(back.angle, style.angle, 1e-6);
    EXPECT_EQ(back.faceName, u"Arial");

    // Face names are cut to fit; sizes that are not numbers become 0.
    style.faceName = u"An extraordinarily long face name of forty chars";
    style.size = std::numeric_limits<float>::quiet_NaN();
    style.angle = std::numeric_limits<float>::infinity();
    style.ToLogFont(logFont);
    EXPECT_EQ(wcslen(logFont.lfFaceName), std::size_t(LF_FACESIZE - 1));
    EXPECT_EQ(logFont.lfHeight, 0);
    EXPECT_EQ(logFont.lfEscapement, 0);
}

TEST(TextStyle, EqualityComparesEveryField)
{
    GDI::cTextStyle a, b;
    EXPECT_TRUE(a == b);
    b.spacingAfter = 1;
    EXPECT_FALSE(a == b);
    b = a;
    b.faceName = u"Courier New";
    EXPECT_FALSE(a == b);
}

TEST(Text, MeasureStringFollowsTheMetrics)
{
    GDI::cTextStyle style;
    TEXTMETRICW tm{};
    ASSERT_TRUE(GDI::GetTextMetrics(style, tm));
    ASSERT_GT(tm.tmHeight, 0);

    style.baselineShift = 3;
    const Container::sRect empty = GDI::MeasureString(style, u"");
    EXPECT_EQ(empty, Container::sRect(0, -3 - tm.tmAscent, 0, tm.tmDescent));

    style.baselineShift = 0;
    const Container::sRect plain = GDI::MeasureString(style, u"AB");
    EXPECT_GT(plain.right, 0);
    EXPECT_EQ(plain.left, 0);
    EXPECT_EQ(plain.top, -tm.tmAscent);
    EXPECT_EQ(plain.bottom, tm.tmDescent);

    // Spacing is a percentage of the size (20): 10% after and 15% before
    // add 2 and 3 pixels per character.
    GDI::cTextStyle spaced = style;
    spaced.spacingAfter = 10;
    spaced.spacingBefore = 15;
    EXPECT_EQ(GDI::MeasureString(spaced, u"AB").right, plain.right + 10);

    // Width / size scales the advances.
    GDI::cTextStyle wide = style;
    wide.width = 40;
    EXPECT_NEAR(GDI::MeasureString(wide, u"AB").right, 2 * plain.right, 1);
}

TEST(Text, GlyphPathLiesInsideItsBox)
{
    GDI::cTextStyle style;
    style.size = 40;
    LOGFONTW logFont;
    style.ToLogFont(logFont);
    GDI::cFont font;
    ASSERT_TRUE(font.Create(logFont));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    Outline::cPath path;
    GDI::sGlyphMetrics metrics;
    ASSERT_TRUE(GDI::GetGlyphPath(dc, u'O', path, false, 1, 1, &metrics));
    SelectObject(dc, old);
    DeleteDC(dc);
    ASSERT_GE(path.Contours().size(), 2u);  // outer and inner ring
    const auto& bounds = path.Bounds();
    EXPECT_GE(bounds.left, metrics.left - 1);
    EXPECT_LE(bounds.right, metrics.right + 1);
    EXPECT_GE(bounds.top, metrics.top - 1);
    EXPECT_LE(bounds.bottom, metrics.bottom + 1);
    EXPECT_LT(bounds.bottom, 1);  // glyphs stand on the baseline, y growing down
    EXPECT_GT(metrics.advanceX, 0);
}

TEST(Text, DrawStringPaintsCentredText)
{
    Painter::cPicture picture;
    ASSERT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 200, 60));
    picture.Fill(0xFFFFFFFF);
    GDI::cTextStyle style;
    const Container::sRect rect(0, 0, 200, 60);
    ASSERT_TRUE(GDI::DrawString(picture, u"Hello", rect, style, 0xFF000000, 1 | 4));
    int left = 200, right = -1, top = 60, bottom = -1, dark = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if ((picture.Pixel(x, y) & 0xFF) < 128)
            {
                ++dark;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GT(dark, 50);
    const Container::sRect run = GDI::MeasureString(style, u"Hello");
    EXPECT_LE(right - left + 1, run.right + 2);
    EXPECT_NEAR((left + right + 1) / 2.0, 100, 4);
    EXPECT_GE(top, (60 - (run.bottom - run.top)) / 2 - 1);
    EXPECT_LE(bottom, (60 + (run.bottom - run.top)) / 2 + 1);

    Painter::cPicture empty;
    EXPECT_FALSE(GDI::DrawString(empty, u"x", rect, style, 0xFF000000, 0));
}

TEST(DC, MeasureTextCentresAndRestsOnTheBottom)
{
    GDI::cPictureDC dc;
    ASSERT_TRUE(dc.Create(300, 200));
    GDI::cFont font;
    LOGFONTW logFont{};
    logFont.lfHeight = -16;
    wcscpy(logFont.lfFaceName, L"Arial");
    ASSERT_TRUE(font.Create(logFont));
    SelectObject(dc.Handle(), font.Handle());
    RECT system{0, 0, 200, 100};
    DrawTextW(dc.Handle(), L"Hello there", -1, &system, DT_CALCRECT | DT_CENTER | DT_BOTTOM);
    const int width = system.right - system.left, height = system.bottom - system.top;
    ASSERT_GT(width, 0);

    const Container::sRect rect(10, 10, 210, 110);
    EXPECT_EQ(dc.MeasureText(u"Hello there", rect, DT_CENTER | DT_BOTTOM),
              Container::sRect(110 - width / 2, 110 - height, 110 - width / 2 + width, 110));
    EXPECT_EQ(dc.MeasureText(u"Hello there", rect, DT_RIGHT | DT_VCENTER),
              Container::sRect(210 - width, 60 - height / 2, 210, 60 - height / 2 + height));
    EXPECT_EQ(dc.MeasureText(u"Hello there", rect, 0), Container::sRect(10, 10, 10 + width, 10 + height));
    SelectObject(dc.Handle(), GetStockObject(SYSTEM_FONT));
}

TEST(DC, DrawTextLineStaysInItsRectangle)
{
    GDI::cPictureDC dc;
    ASSERT_TRUE(dc.Create(120, 40));
    dc.FillSolidRect(Container::sRect(0, 0, 120, 40), 0xFFFFFF);
    dc.DrawTextLine(u"Hg&x", Container::sRect(10, 5, 110, 35), 0x000000);
    GdiFlush();
    int changed = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if ((dc.Picture().Pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
            {
                ++changed;
                outside += !(x >= 10 && x < 110 && y >= 5 && y < 35);
            }
    EXPECT_GT(changed, 10);
    EXPECT_EQ(outside, 0);
    // Background mode and text colour are restored.
    EXPECT_EQ(GetBkMode(dc.Handle()), OPAQUE);
    EXPECT_EQ(GetTextColor(dc.Handle()), RGB(0, 0, 0));
}
