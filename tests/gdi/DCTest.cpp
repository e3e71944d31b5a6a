#include <gtest/gtest.h>

#include <windows.h>

#include "framework/gdi/Bitmap.h"
#include "framework/gdi/Brush.h"
#include "framework/gdi/DIBPicture.h"
#include "framework/gdi/Font.h"
#include "framework/gdi/PictureDC.h"
#include "framework/painter/Picture.h"

using Container::sRect;

namespace {

// GDI leaves the alpha byte of a DIB section alone (or zero): compare colours only.
std::uint32_t Rgb(const GDI::cPictureDC& dc, int x, int y)
{
    GdiFlush();
    return dc.Picture().Pixel(x, y) & 0x00FFFFFFu;
}

// A buffer of the given size cleared to one colour through GDI.
void MakeBuffer(GDI::cPictureDC& dc, int width, int height, std::uint32_t colour)
{
    ASSERT_TRUE(dc.Create(width, height));
    dc.FillSolidRect(Container::sRect(0, 0, width, height), colour);
}

} // namespace

TEST(PictureDC, CreateDescribesTheSection)
{
    GDI::cPictureDC dc;
    ASSERT_TRUE(dc.Create(3, 2));
    EXPECT_NE(dc.Handle(), nullptr);
    const GDI::cDIBPicture& picture = dc.Picture();
    EXPECT_NE(picture.Section(), nullptr);
    EXPECT_EQ(picture.Format(), Painter::FORMAT_ARGB32);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.Stride(), 12);
    EXPECT_FALSE(picture.OwnsBits());
    EXPECT_EQ(picture.Clip(), Container::sRect(0, 0, 3, 2));
    // The section is what is selected into the DC.
    EXPECT_EQ(GetCurrentObject(dc.Handle(), OBJ_BITMAP), picture.Section());
}

TEST(PictureDC, ZeroSideFailsAndLeavesNothing)
{
    GDI::cPictureDC dc;
    EXPECT_FALSE(dc.Create(0, 10));
    EXPECT_EQ(dc.Handle(), nullptr);
    EXPECT_TRUE(dc.Picture().IsEmpty());
    ASSERT_TRUE(dc.Create(4, 4));
    EXPECT_FALSE(dc.Create(5, 0));
    EXPECT_EQ(dc.Handle(), nullptr);
    EXPECT_EQ(dc.Picture().Section(), nullptr);
    EXPECT_TRUE(dc.Picture().IsEmpty());
    EXPECT_FALSE(dc.Create(-3, 4));
    EXPECT_FALSE(dc.Create(40000, 1));
    EXPECT_EQ(dc.Handle(), nullptr);
}

TEST(PictureDC, PainterAndGdiShareThePixels)
{
    GDI::cPictureDC dc;
    MakeBuffer(dc, 4, 3, 0x102030);
    EXPECT_EQ(Rgb(dc, 3, 2), 0x102030u);
    dc.Picture().SetPixel(1, 1, 0xFFABCDEF);
    EXPECT_EQ(GetPixel(dc.Handle(), 1, 1), RGB(0xAB, 0xCD, 0xEF));
}

TEST(DC, FillSolidRectAndFrameRect)
{
    GDI::cPictureDC dc;
    MakeBuffer(dc, 8, 6, 0xFFFFFF);
    dc.FillSolidRect(Container::sRect(1, 1, 4, 3), 0x123456);
    dc.FrameRect(Container::sRect(4, 1, 8, 6), 0xFF0000);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
        {
            std::uint32_t expected = 0xFFFFFF;
            if (x >= 1 && x < 4 && y >= 1 && y < 3)
                expected = 0x123456;
            const bool inFrame = x >= 4 && x < 8 && y >= 1 && y < 6;
            if (inFrame && (x == 4 || x == 7 || y == 1 || y == 5))
                expected = 0xFF0000;
            EXPECT_EQ(Rgb(dc, x, y), expected) << x << "," << y;
        }
}

TEST(DC, Draw3dRectBands)
{
    GDI::cPictureDC dc;
    MakeBuffer(dc, 7, 6, 0x000000);
    dc.Draw3dRect(Container::sRect(1, 1, 6, 5), 0xEEEEEE, 0x444444);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
        {
            std::uint32_t expected = 0;
            const bool inside = x >= 1 && x < 6 && y >= 1 && y < 5;
            if (inside && (y == 1 || x == 1))
                expected = 0xEEEEEE;
            if (inside && ((y == 4 && x >= 2) || (x == 5 && y >= 2)))
                expected = 0x444444;
            EXPECT_EQ(Rgb(dc, x, y), expected) << x << "," << y;
        }
}

TEST(DC, GradientFillBands)
{
    GDI::cPictureDC dc;
    MakeBuffer(dc, 5, 5, 0xFFFFFF);
    dc.GradientFill(true, 0x000000, 0xFF0080, Container::sRect(0, 0, 5, 4));
    const std::uint32_t rows[4] = {0x000000, 0x3F0020, 0x7F0040, 0xBF0060};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(Rgb(dc, x, y), rows[y]) << x << "," << y;
    EXPECT_EQ(Rgb(dc, 0, 4), 0xFFFFFFu);
    dc.GradientFill(false, 0xFFFFFF, 0x000000, Container::sRect(0, 4, 2, 5));
    EXPECT_EQ(Rgb(dc, 0, 4), 0xFFFFFFu);
    EXPECT_EQ(Rgb(dc, 1, 4), 0x7F7F7Fu);
}

TEST(DC, FillEllipseCoversItsCentreOnly)
{
    GDI::cPictureDC dc;
    MakeBuffer(dc, 20, 20, 0x000000);
    dc.FillEllipse(Container::sRect(2, 2, 18, 18), 0x00FF00);
    EXPECT_EQ(Rgb(dc, 10, 10), 0x00FF00u);
    EXPECT_EQ(Rgb(dc, 2, 2), 0u);
    EXPECT_EQ(Rgb(dc, 17, 17), 0u);
    EXPECT_EQ(Rgb(dc, 0, 10), 0u);
}

TEST(DC, DrawPictureIsUpright)
{
    Painter::cPicture source;
    ASSERT_TRUE(source.Create(Painter::FORMAT_ARGB32, 5, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            source.SetPixel(x, y, 0xFF000000u | std::uint32_t(y * 0x40 << 16) | std::uint32_t(x * 0x30));
    GDI::cPictureDC buffer;
    MakeBuffer(buffer, 10, 10, 0xFFFFFF);
    // The plain device-context copy, not the buffer's compositing one.
    const GDI::cDC& dc = buffer;
    ASSERT_TRUE(dc.DrawPicture(2, 3, source, Container::sRect(1, 1, 4, 3)));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
        {
            const bool inside = x >= 2 && x < 5 && y >= 3 && y < 5;
            const std::uint32_t expected = inside ? source.Pixel(x - 1, y - 2) & 0xFFFFFF : 0xFFFFFF;
            EXPECT_EQ(Rgb(buffer, x, y), expected) << x << "," << y;
        }
    // A source rectangle reaching past the picture is clipped to it.
    MakeBuffer(buffer, 10, 10, 0xFFFFFF);
    ASSERT_TRUE(dc.DrawPicture(0, 0, source, Container::sRect(-2, 2, 9, 40)));
    EXPECT_EQ(Rgb(buffer, 2, 0), source.Pixel(0, 2) & 0xFFFFFF);
    EXPECT_EQ(Rgb(buffer, 6, 1), source.Pixel(4, 3) & 0xFFFFFF);
    EXPECT_EQ(Rgb(buffer, 7, 1), 0xFFFFFFu);
    EXPECT_EQ(Rgb(buffer, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(Rgb(buffer, 1, 0), 0xFFFFFFu);
    EXPECT_FALSE(dc.DrawPicture(0, 0, source, Container::sRect(6, 0, 9, 3)));
    Painter::cPicture empty;
    EXPECT_FALSE(dc.DrawPicture(0, 0, empty, Container::sRect(0, 0, 3, 3)));
}

TEST(DC, DrawBitmapCopiesTheSourceRectangle)
{
    GDI::cPictureDC dc;
    MakeBuffer(dc, 6, 6, 0xFFFFFF);
    GDI::cBitmap bitmap;
    EXPECT_FALSE(bitmap.CreateCompatible(dc.Handle(), 0, 4));
    ASSERT_TRUE(bitmap.CreateCompatible(dc.Handle(), 4, 4));
    std::int32_t width = 0, height = 0;
    ASSERT_TRUE(bitmap.GetSize(width, height));
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 4);
    {
        GDI::cDC memory(CreateCompatibleDC(dc.Handle()));
        HGDIOBJ old = SelectObject(memory.Handle(), bitmap.Object());
        memory.FillSolidRect(Container::sRect(0, 0, 4, 4), 0x0000FF);
        memory.FillSolidRect(Container::sRect(2, 2, 4, 4), 0x00FF00);
        SelectObject(memory.Handle(), old);
    }
    ASSERT_TRUE(dc.DrawBitmap(1, 1, bitmap, Container::sRect(1, 1, 4, 4)));
    EXPECT_EQ(Rgb(dc, 1, 1), 0x0000FFu);
    EXPECT_EQ(Rgb(dc, 2, 2), 0x00FF00u);
    EXPECT_EQ(Rgb(dc, 3, 3), 0x00FF00u);
    EXPECT_EQ(Rgb(dc, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Rgb(dc, 4, 4), 0xFFFFFFu);
}

TEST(PictureDC, DrawPictureCompositesOntoAnOpaqueArea)
{
    Painter::cPicture source;
    ASSERT_TRUE(source.Create(Painter::FORMAT_ARGB32, 2, 2));
    source.Fill(0x80FF0000);
    GDI::cPictureDC dc;
    MakeBuffer(dc, 10, 10, 0xFFFFFF);  // GDI leaves alpha 0 here
    SetViewportOrgEx(dc.Handle(), 5, 5, nullptr);
    dc.DrawPicture(1, 1, source, Container::sRect(0, 0, 2, 2));
    GdiFlush();
    EXPECT_EQ(dc.Picture().Pixel(6, 6), 0xFFFF7F7Fu);
    EXPECT_EQ(dc.Picture().Pixel(7, 7), 0xFFFF7F7Fu);
    EXPECT_EQ(dc.Picture().Pixel(5, 5) >> 24, 0u);  // untouched
    EXPECT_EQ(dc.Picture().Pixel(8, 8) >> 24, 0u);
}

TEST(GdiObject, HandlesAreDeletedWithTheirOwners)
{
    HGDIOBJ brushHandle, fontHandle;
    {
        GDI::cBrush brush;
        ASSERT_TRUE(brush.CreateSolid(0x112233));
        brushHandle = brush.Object();
        EXPECT_EQ(GetObjectType(brushHandle), DWORD(OBJ_BRUSH));
        LOGBRUSH info{};
        ASSERT_EQ(GetObjectW(brushHandle, sizeof info, &info), int(sizeof info));
        EXPECT_EQ(info.lbColor, RGB(0x11, 0x22, 0x33));

        GDI::cFont font;
        LOGFONTW logFont{};
        logFont.lfHeight = -12;
        ASSERT_TRUE(font.Create(logFont));
        fontHandle = font.Object();
        EXPECT_EQ(GetObjectType(fontHandle), DWORD(OBJ_FONT));
    }
    EXPECT_EQ(GetObjectType(brushHandle), 0u);
    EXPECT_EQ(GetObjectType(fontHandle), 0u);

    GDI::cBrush kept;
    ASSERT_TRUE(kept.CreateSolid(0));
    HGDIOBJ handle = kept.Detach();
    EXPECT_TRUE(kept.IsNull());
    EXPECT_EQ(GetObjectType(handle), DWORD(OBJ_BRUSH));
    DeleteObject(handle);
}

TEST(DIBPicture, ReleaseNeverFreesTheSectionMemoryThroughThePicture)
{
    GDI::cDIBPicture picture;
    ASSERT_TRUE(picture.CreateDIB(16, 8));
    HBITMAP section = picture.Section();
    picture.Fill(0xFF00FF00);
    DIBSECTION info{};
    ASSERT_EQ(GetObjectW(section, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.dsBm.bmBits, picture.Bits());
    ASSERT_TRUE(picture.CreateDIB(4, 4));  // the first section is deleted
    EXPECT_EQ(GetObjectType(section), 0u);
    EXPECT_FALSE(picture.CreateDIB(0, 4));
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(picture.Section(), nullptr);
}
