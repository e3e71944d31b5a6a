#include "framework/window/skin/SkinDrawing.h"

#include <algorithm>

#include "framework/painter/Canvas.h"
#include "framework/painter/SolidFill.h"

namespace Skin::Drawing {

namespace {

bool Clip(const Painter::cPicture& picture, Container::sRect& rect)
{
    if (picture.IsEmpty() || picture.BitsPerPixel() != 32)
        return false;
    rect = {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, picture.Width()),
            std::min(rect.bottom, picture.Height())};
    return !rect.IsEmpty();
}

} // namespace

void Fill(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t colour)
{
    Container::sRect r = rect;
    if (!Clip(picture, r))
        return;
    for (std::int32_t y = r.top; y < r.bottom; ++y)
        std::fill(picture.Row32(y) + r.left, picture.Row32(y) + r.right, colour);
}

void Frame(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t colour, std::int32_t open)
{
    if (rect.IsEmpty())
        return;
    if (open != 1)
        Fill(picture, {rect.left, rect.top, rect.right, rect.top + 1}, colour);
    if (open != 3)
        Fill(picture, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    if (open != 0)
        Fill(picture, {rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    if (open != 2)
        Fill(picture, {rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void Frame3d(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t topLeft,
             std::uint32_t bottomRight)
{
    if (rect.IsEmpty())
        return;
    Fill(picture, {rect.left, rect.top, rect.right, rect.top + 1}, topLeft);
    Fill(picture, {rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
    Fill(picture, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    Fill(picture, {rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
}

void FillWith(Painter::cPicture& picture, const Container::sRect& rect, Painter::cFill& fill)
{
    if (rect.IsEmpty() || picture.IsEmpty())
        return;
    Painter::cCanvas canvas(picture);
    canvas.FillRect(float(rect.left), float(rect.top), float(rect.right), float(rect.bottom), &fill, {});
}

void Ellipse(Painter::cPicture& picture, const Container::sRect& rect, std::uint32_t fill, std::uint32_t stroke)
{
    if (rect.IsEmpty() || picture.IsEmpty())
        return;
    Painter::cCanvas canvas(picture);
    Painter::cSolidFill outer(stroke);
    canvas.FillEllipse(&outer, {}, rect);
    const Container::sRect inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    if (!inner.IsEmpty())
    {
        Painter::cSolidFill body(fill);
        canvas.FillEllipse(&body, {}, inner);
    }
}

void Polygons(Painter::cPicture& picture, const std::vector<cGlyphPolygon>& polygons, std::uint32_t colour)
{
    if (polygons.empty() || picture.IsEmpty())
        return;
    std::vector<Painter::cCanvas::cPolygon> shapes;
    for (const cGlyphPolygon& polygon : polygons)
    {
        Painter::cCanvas::cPolygon shape;
        for (const Container::sPoint& p : polygon)
            shape.push_back({float(p.x), float(p.y)});
        shapes.push_back(std::move(shape));
    }
    Painter::cCanvas canvas(picture);
    Painter::cSolidFill fill(colour);
    fill.SetFillRule(Painter::cFill::NonZero);
    canvas.FillPolygons(shapes, &fill, {});
}

void MakeOpaque(Painter::cPicture& picture, const Container::sRect& rect)
{
    Container::sRect r = rect;
    if (!Clip(picture, r))
        return;
    for (std::int32_t y = r.top; y < r.bottom; ++y)
        for (std::uint32_t* p = picture.Row32(y) + r.left; p != picture.Row32(y) + r.right; ++p)
            *p |= 0xFF000000u;
}

} // namespace Skin::Drawing
