#include "framework/gdi/TextStyle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

static_assert(sizeof(wchar_t) == 2, "UTF-16 text is passed to Windows as wchar_t");

namespace GDI {

namespace {

// A float to a whole number inside [low, high]; NaN gives 0.
LONG ToLong(double value, double low, double high)
{
    if (std::isnan(value))
        return 0;
    return LONG(std::clamp(value, low, high));
}

} // namespace

bool operator==(const cTextStyle& a, const cTextStyle& b)
{
    return a.text == b.text && a.faceName == b.faceName && a.size == b.size && a.width == b.width &&
           a.colour == b.colour && a.flags == b.flags && a.spacingBefore == b.spacingBefore &&
           a.spacingAfter == b.spacingAfter && a.baselineShift == b.baselineShift && a.angle == b.angle;
}

void cTextStyle::ToLogFont(LOGFONTW& logFont) const
{
    logFont = LOGFONTW{};
    logFont.lfHeight = -ToLong(size, 0, 32767);
    logFont.lfWidth = 0;
    const double tenths = double(angle) * 1800.0 / std::numbers::pi;
    logFont.lfEscapement = ToLong(std::fmod(std::isfinite(tenths) ? tenths : 0.0, 3600.0), -3600, 3600);
    logFont.lfOrientation = 0;
    logFont.lfWeight = (flags & Bold) ? 700 : 400;
    logFont.lfItalic = (flags & Italic) ? 1 : 0;
    logFont.lfUnderline = (flags & Underline) ? 1 : 0;
    logFont.lfStrikeOut = (flags & StrikeOut) ? 1 : 0;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const std::size_t count = std::min<std::size_t>(faceName.Length(), LF_FACESIZE - 1);
    for (std::size_t i = 0; i < count; ++i)
        logFont.lfFaceName[i] = wchar_t(faceName[i]);
    logFont.lfFaceName[count] = 0;
}

void cTextStyle::FromLogFont(const LOGFONTW& logFont)
{
    size = float(std::labs(logFont.lfHeight));
    width = float(std::labs(logFont.lfWidth));
    flags = (logFont.lfWeight >= 700 ? std::uint32_t(Bold) : 0u) | (logFont.lfItalic ? std::uint32_t(Italic) : 0u) |
            (logFont.lfUnderline ? std::uint32_t(Underline) : 0u) | (logFont.lfStrikeOut ? std::uint32_t(StrikeOut) : 0u);
    angle = float(logFont.lfEscapement / 10.0 * std::numbers::pi / 180.0);
    std::size_t length = 0;
    while (length < LF_FACESIZE && logFont.lfFaceName[length])
        ++length;
    faceName.Assign(reinterpret_cast<const char16_t*>(logFont.lfFaceName), length);
}

float cTextStyle::HorizontalScale() const
{
    const float scale = width / size;
    return std::isfinite(scale) && scale > 0 && scale < 1000 ? scale : 1.0f;
}

} // namespace GDI
