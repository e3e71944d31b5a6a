#include "framework/painter/GradationFill.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/painter/AlphaComposite.h"
#include "framework/painter/Picture.h"

namespace Painter {

namespace {

std::int64_t ClampCoordinate(std::int64_t value)
{
    return std::clamp(value, -cGradationFill::CoordinateLimit, cGradationFill::CoordinateLimit);
}

// Truncates a finite double known to lie well inside the 64-bit range.
std::int64_t Truncate(double value)
{
    if (!(value > -9.0e18 && value < 9.0e18))
        return 0;
    return static_cast<std::int64_t>(value);
}

} // namespace

void cGradationFill::SetPoints(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
}

bool cGradationFill::Begin(cTarget target, std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom)
{
    m_table.clear();
    m_length = 0;
    cPicture* picture = target.Picture();
    if (!picture || picture->IsEmpty() || picture->BitsPerPixel() != 32 || m_type < Linear || m_type > Angle)
    {
        m_target = cTarget();
        return false;
    }
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;

    m_sx = ClampCoordinate(m_x1);
    m_sy = ClampCoordinate(m_y1);
    m_dx = ClampCoordinate(m_x2) - m_sx;
    m_dy = ClampCoordinate(m_y2) - m_sy;
    // Both differences are below 2^29, so the squares fit easily; a double
    // holds their sum closely enough for the integer part of the root.
    const double distance = std::sqrt(double(m_dx) * double(m_dx) + double(m_dy) * double(m_dy));
    std::int64_t length = Truncate(distance);
    // Guard the truncation against the root landing just below a whole
    // number that is in fact the exact answer.
    while ((length + 1) * (length + 1) <= m_dx * m_dx + m_dy * m_dy)
        ++length;
    while (length > 0 && length * length > m_dx * m_dx + m_dy * m_dy)
        --length;
    if (length == 0)
    {
        // Start and end coincide: no table, nothing to paint.
        m_target = cTarget();
        return false;
    }
    m_length = m_type == Angle ? 256 : length;
    if (!m_gradient.BuildTable(std::int32_t(std::min<std::int64_t>(m_length, MaxTableLength)), m_table))
    {
        m_length = 0;
        m_target = cTarget();
        return false;
    }
    const double theta = std::atan2(double(m_dx), double(m_dy));
    m_cos = std::cos(theta);
    m_sin = std::sin(theta);
    m_startAngle = std::trunc(double(m_length) * theta / (2 * std::numbers::pi));
    return cFill::Begin(target, left, top, right, bottom);
}

std::int64_t cGradationFill::IndexAt(std::int32_t x, std::int32_t y) const
{
    const std::int64_t u = x - m_sx, v = y - m_sy;
    const std::int64_t n = m_length;
    std::int64_t index = 0;
    switch (m_type)
    {
    case Linear:
        // |dx|, |dy| < 2^29 and |u|, |v| < 2^29 + 2^15: no overflow.
        index = (m_dx * u + m_dy * v) / n;
        break;
    case Radial:
        index = Truncate(std::sqrt(double(u) * double(u) + double(v) * double(v)));
        break;
    case Square:
        if (u != 0 || v != 0)
        {
            const double along = std::fabs(m_cos * double(v) + m_sin * double(u));
            const double across = std::fabs(m_cos * double(u) - m_sin * double(v));
            index = Truncate(std::max(along, across));
        }
        break;
    case Angle:
        index = Truncate(std::trunc(double(n) * std::atan2(double(u), double(v)) / (2 * std::numbers::pi)) -
                         m_startAngle);
        if (index < 0)
            index += n;
        break;
    default:
        break;
    }
    return std::clamp<std::int64_t>(index, 0, n - 1);
}

void cGradationFill::FillSpans(std::int32_t count, const sSpan* spans)
{
    cPicture* picture = m_target.Picture();
    if (!picture || !spans || m_table.empty() || m_length <= 0)
        return;
    const Container::sRect clip = picture->Clip();
    const std::int64_t tableLength = static_cast<std::int64_t>(m_table.size());
    for (std::int32_t i = 0; i < count; ++i)
    {
        const sSpan& span = spans[i];
        if (span.y < clip.top || span.y >= clip.bottom || span.coverage == 0)
            continue;
        const std::int32_t x1 = std::max<std::int32_t>(span.x, clip.left);
        const std::int32_t x2 = std::min<std::int32_t>(span.x + span.length, clip.right);
        std::uint32_t* row = picture->Row32(span.y);
        for (std::int32_t x = x1; x < x2; ++x)
        {
            std::int64_t index = IndexAt(x, span.y);
            if (tableLength != m_length)
                index = index * tableLength / m_length;
            const std::uint32_t colour = m_table[std::size_t(index)];
            row[x] = BlendNormal(row[x], colour, (colour >> 24) * span.coverage / 255);
        }
    }
}

void cGradationFill::End()
{
    m_table.clear();
    m_table.shrink_to_fit();
    cFill::End();
}

} // namespace Painter
