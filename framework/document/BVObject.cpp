#include "framework/document/BVObject.h"

#include <cmath>
#include <new>

#include "framework/painter/Canvas.h"

namespace Brimvale {

namespace {

// Layer coordinates beyond this draw nothing: far outside any picture, and
// well inside what 32-bit arithmetic on rectangles can hold.
constexpr double kCoordinateLimit = 1 << 29;

// Corners within this distance of a whole pixel count as on it, so that
// float rounding in a quarter turn does not widen the bounds by a pixel.
double Snap(double value)
{
    const double nearest = std::round(value);
    return std::fabs(value - nearest) < 1e-3 ? nearest : value;
}

} // namespace

cBVObject::cBVObject(const cBVObject& other)
    : m_name(other.m_name), m_visible(other.m_visible), m_parent(nullptr), m_position(other.m_position),
      m_rotation(other.m_rotation), m_scaleX(other.m_scaleX), m_scaleY(other.m_scaleY), m_skewX(other.m_skewX),
      m_skewY(other.m_skewY), m_pivotX(other.m_pivotX), m_pivotY(other.m_pivotY), m_matrix(other.m_matrix),
      m_state(other.m_state)
{
}

cBVObject::~cBVObject() = default;

std::unique_ptr<cBVObject> cBVObject::Clone() const
{
    return std::unique_ptr<cBVObject>(new (std::nothrow) cBVObject(*this));
}

void cBVObject::SetPosition(std::int32_t x, std::int32_t y)
{
    m_position = Container::sPoint{x, y};
    UpdateMatrix();
}

void cBVObject::SetRotation(float radians)
{
    m_rotation = radians;
    UpdateMatrix();
}

void cBVObject::SetSkew(float x, float y)
{
    m_skewX = x;
    m_skewY = y;
    UpdateMatrix();
}

void cBVObject::SetScale(float x, float y)
{
    m_scaleX = x;
    m_scaleY = y;
}

void cBVObject::SetTransformFields(Container::sPoint position, float rotation, float scaleX, float scaleY,
                                   float skewX, float skewY, float pivotX, float pivotY)
{
    m_position = position;
    m_rotation = rotation;
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_skewX = skewX;
    m_skewY = skewY;
    m_pivotX = pivotX;
    m_pivotY = pivotY;
}

void cBVObject::UpdateMatrix()
{
    using Painter::cMatrix;
    const cMatrix pivot = cMatrix::Translation(-m_pivotX, -m_pivotY);
    const cMatrix scale = cMatrix::Scale(m_scaleX, m_scaleY);
    const cMatrix skew(1, m_skewY, m_skewX, 1, 0, 0);
    cMatrix matrix = pivot * scale * skew;
    if (m_rotation != 0)
        matrix = matrix * cMatrix::Rotation(m_rotation);
    matrix.m[2][0] += static_cast<float>(m_position.x);
    matrix.m[2][1] += static_cast<float>(m_position.y);
    m_matrix = matrix;
}

Container::sRect cBVObject::TransformedBounds(const Container::sRect& rect, const Painter::cMatrix& matrix)
{
    if (rect.IsEmpty() || !matrix.IsFinite())
        return Container::sRect{};
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    const double xs[2] = {double(rect.left), double(rect.right)};
    const double ys[2] = {double(rect.top), double(rect.bottom)};
    for (int i = 0; i < 4; ++i)
    {
        double x = 0, y = 0;
        matrix.Transform(xs[i & 1], ys[i >> 1], x, y);
        if (i == 0 || x < minX) minX = x;
        if (i == 0 || x > maxX) maxX = x;
        if (i == 0 || y < minY) minY = y;
        if (i == 0 || y > maxY) maxY = y;
    }
    if (!(minX >= -kCoordinateLimit && maxX <= kCoordinateLimit && minY >= -kCoordinateLimit &&
          maxY <= kCoordinateLimit))
        return Container::sRect{};
    Container::sRect bounds{static_cast<std::int32_t>(std::floor(Snap(minX))),
                            static_cast<std::int32_t>(std::floor(Snap(minY))),
                            static_cast<std::int32_t>(std::ceil(Snap(maxX))),
                            static_cast<std::int32_t>(std::ceil(Snap(maxY)))};
    return bounds.IsEmpty() ? Container::sRect{} : bounds;
}

Container::sRect cBVObject::GetBounds(bool withStyles) const
{
    return TransformedBounds(GetLocalBounds(), m_matrix);
}

bool cBVObject::HitTest(std::int32_t x, std::int32_t y) const
{
    return Container::RectContains(GetBounds(true), Container::sPoint{x, y});
}

void cBVObject::Draw(Painter::cCanvas& canvas, const Painter::cMatrix& matrix)
{
    Render(canvas, matrix, 0, 255);
}

void cBVObject::GetSize(std::int32_t& width, std::int32_t& height) const
{
    width = 0;
    height = 0;
}

} // namespace Brimvale
