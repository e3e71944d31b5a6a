#include "framework/document/StyleShadow.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/document/DocumentLimits.h"
#include "framework/document/RecordReader.h"
#include "framework/document/RecordWriter.h"

namespace Style {

using Brimvale::sDocumentLimits;

Container::sPoint cStyle::cShadow::Offset() const
{
    const double radians = double(m_angle) * std::numbers::pi / 180.0;
    return Container::sPoint{static_cast<std::int32_t>(std::floor(std::cos(radians) * m_distance + 0.5)),
                             static_cast<std::int32_t>(std::floor(std::sin(radians) * m_distance + 0.5))};
}

void cStyle::cShadow::Resize(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    if (c == 0 || d == 0)
        return;
    const Container::sPoint offset = Offset();
    const std::int64_t x = std::int64_t(offset.x) * a / c;
    const std::int64_t y = std::int64_t(offset.y) * b / d;
    const std::int64_t limit = sDocumentLimits::kMaxStyleExtent;
    const Container::sPoint scaled{static_cast<std::int32_t>(std::clamp(x, -limit, limit)),
                                   static_cast<std::int32_t>(std::clamp(y, -limit, limit))};
    m_size = static_cast<std::int32_t>(std::clamp(std::int64_t(m_size) * b / d, std::int64_t(0), limit));
    m_distance = Container::PointLength(scaled);
    m_angle = Container::PointAngle(scaled);
}

bool cStyle::cShadow::ReadShadowFields(Brimvale::cRecordReader& reader)
{
    std::int16_t fillVersion = 0;
    std::uint8_t fillFlag = 0;
    std::uint32_t colour = 0;
    std::int32_t distance = 0, angle = 0, size = 0;
    if (!reader.Version(fillVersion, 1) || !reader.U8(fillFlag) || !reader.U32(colour) || !reader.I32(distance) ||
        !reader.I32(angle) || !reader.I32(size))
        return false;
    const std::int32_t limit = sDocumentLimits::kMaxStyleExtent;
    if (distance < -limit || distance > limit || size < 0 || size > limit)
        return false;
    m_fill.SetFillRule(fillFlag);
    m_fill.SetColour(colour);
    m_distance = distance;
    m_angle = angle;
    m_size = size;
    return true;
}

void cStyle::cShadow::WriteShadowFields(Brimvale::cRecordWriter& writer) const
{
    writer.Version(1);
    writer.U8(static_cast<std::uint8_t>(m_fill.FillRule()));
    writer.U32(m_fill.Colour());
    writer.I32(m_distance);
    writer.I32(m_angle);
    writer.I32(m_size);
}

} // namespace Style
