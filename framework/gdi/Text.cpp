#include "framework/gdi/Text.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/gdi/Font.h"
#include "framework/painter/Path.h"
#include "framework/painter/Picture.h"
#include "framework/painter/ScanConverter.h"
#include "framework/painter/SolidFill.h"

namespace GDI {

namespace {

// Glyph outlines larger than this are not asked for.
constexpr DWORD MaxOutlineBytes = 1u << 20;

const MAT2 Identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

// A finite value, NaN and infinities replaced by 0 and the magnitude
// limited, for layout arithmetic on untrusted styles.
double Finite(double value, double limit = 1.0e6)
{
    return std::isfinite(value) ? std::clamp(value, -limit, limit) : 0.0;
}

// The style's font selected into an information context for the display.
class cStyleContext
{
public:
    explicit cStyleContext(const cTextStyle& style)
    {
        LOGFONTW logFont;
        style.ToLogFont(logFont);
        if (!m_font.Create(logFont))
            return;
        m_dc = CreateICW(L"DISPLAY", nullptr, nullptr, nullptr);
        if (m_dc)
            m_old = SelectObject(m_dc, m_font.Handle());
    }
    ~cStyleContext()
    {
        if (m_dc)
        {
            if (m_old)
                SelectObject(m_dc, m_old);
            DeleteDC(m_dc);
        }
    }
    cStyleContext(const cStyleContext&) = delete;
    cStyleContext& operator=(const cStyleContext&) = delete;

    bool IsValid() const { return m_dc && m_old && m_old != HGDI_ERROR; }
    HDC Handle() const { return m_dc; }

private:
    cFont m_font;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

// The layout of a run of text, shared by measuring and drawing.
struct sLayout
{
    double size, scale, before, after, shift;

    explicit sLayout(const cTextStyle& style)
        : size(Finite(style.size)), scale(style.HorizontalScale()),
          before(std::trunc(Finite(style.spacingBefore) * size / 100)),
          after(Finite(style.spacingAfter) * size / 100), shift(Finite(style.baselineShift))
    {
    }
};

std::int32_t ToInt(double value)
{
    return std::int32_t(Finite(value, 1.0e9));
}

} // namespace

bool GetTextMetrics(const cTextStyle& style, TEXTMETRICW& metrics)
{
    cStyleContext context(style);
    TEXTMETRICW result{};
    if (!context.IsValid() || !::GetTextMetricsW(context.Handle(), &result))
        return false;
    metrics = result;
    return true;
}

Container::sRect MeasureString(const cTextStyle& style, std::u16string_view text)
{
    cStyleContext context(style);
    TEXTMETRICW tm{};
    if (!context.IsValid() || !::GetTextMetricsW(context.Handle(), &tm))
        return {};
    const sLayout layout(style);
    double penX = 0, penY = 0;
    double top = -layout.shift - tm.tmAscent, bottom = tm.tmDescent;
    bool first = true;
    for (char16_t character : text)
    {
        GLYPHMETRICS gm{};
        if (GetGlyphOutlineW(context.Handle(), character, GGO_METRICS, &gm, 0, nullptr, &Identity) == GDI_ERROR)
            continue;
        penX += layout.before;
        const double glyphTop = penY - layout.shift - tm.tmAscent, glyphBottom = penY + tm.tmDescent;
        top = first ? glyphTop : std::min(top, glyphTop);
        bottom = first ? glyphBottom : std::max(bottom, glyphBottom);
        first = false;
        penX += gm.gmCellIncX * layout.scale + layout.after;
        penY += gm.gmCellIncY;
    }
    return Container::sRect(0, ToInt(top), ToInt(penX), ToInt(bottom));
}

bool GetGlyphPath(HDC dc, std::uint32_t character, Outline::cPath& outline, bool byIndex, float scaleX, float scaleY,
                  sGlyphMetrics* metrics)
{
    if (!dc)
        return false;
    const UINT format = GGO_NATIVE | (byIndex ? GGO_GLYPH_INDEX : 0);
    GLYPHMETRICS gm{};
    const DWORD size = GetGlyphOutlineW(dc, character, format, &gm, 0, nullptr, &Identity);
    if (size == GDI_ERROR || size > MaxOutlineBytes)
        return false;
    bool ok = true;
    if (size > 0)
    {
        std::vector<std::uint8_t> buffer(size);
        const DWORD got = GetGlyphOutlineW(dc, character, format, &gm, size, buffer.data(), &Identity);
        if (got == GDI_ERROR)
            return false;
        ok = outline.AddNativeGlyph(buffer.data(), std::min<std::size_t>(got, size), 0, 0, scaleX, scaleY);
    }
    if (metrics)
    {
        metrics->left = gm.gmptGlyphOrigin.x * scaleX;
        metrics->top = -gm.gmptGlyphOrigin.y * scaleY;
        metrics->right = metrics->left + gm.gmBlackBoxX * scaleX;
        metrics->bottom = metrics->top + gm.gmBlackBoxY * scaleY;
        metrics->advanceX = gm.gmCellIncX * scaleX;
        metrics->advanceY = gm.gmCellIncY * scaleY;
    }
    return ok;
}

bool DrawString(Painter::cPicture& picture, std::u16string_view text, const Container::sRect& rect,
                const cTextStyle& style, std::uint32_t colour, std::uint32_t flags)
{
    if (picture.IsEmpty() || picture.BitsPerPixel() != 32)
        return false;
    cStyleContext context(style);
    TEXTMETRICW tm{};
    if (!context.IsValid() || !::GetTextMetricsW(context.Handle(), &tm))
        return false;

    // First pass: the run's size places it in rect.
    const Container::sRect run = MeasureString(style, text);
    const double runWidth = double(run.right) - run.left, runHeight = double(run.bottom) - run.top;
    double left = rect.left;
    if (flags & 1)
        left = (double(rect.left) + rect.right) / 2 - std::trunc(runWidth / 2);
    double baseline = double(rect.top) + tm.tmAscent;
    if (flags & 4)
        baseline = std::trunc((double(rect.top) + rect.bottom) / 2) - std::trunc(runHeight / 2) + tm.tmAscent;

    // Second pass: every glyph's outline into one converter over the
    // picture's clip rectangle, painted once with the colour.
    const Container::sRect clip = picture.Clip();
    Painter::cScanConverter converter;
    if (!converter.SetBox(clip.left, clip.top, clip.right, clip.bottom))
        return true;
    const sLayout layout(style);
    double penX = left, penY = 0;
    std::vector<std::uint8_t> buffer;
    for (char16_t character : text)
    {
        GLYPHMETRICS gm{};
        if (GetGlyphOutlineW(context.Handle(), character, GGO_METRICS, &gm, 0, nullptr, &Identity) == GDI_ERROR)
            continue;
        penX += layout.before;
        const DWORD size = GetGlyphOutlineW(context.Handle(), character, GGO_NATIVE, &gm, 0, nullptr, &Identity);
        if (size != GDI_ERROR && size > 0 && size <= MaxOutlineBytes)
        {
            buffer.assign(size, 0);
            const DWORD got =
                GetGlyphOutlineW(context.Handle(), character, GGO_NATIVE, &gm, size, buffer.data(), &Identity);
            if (got != GDI_ERROR)
                converter.AddGlyphOutline(buffer.data(), std::min<std::size_t>(got, size), penX,
                                          baseline + penY - layout.shift, layout.scale, 1);
        }
        penX += gm.gmCellIncX * layout.scale + layout.after;
        penY += gm.gmCellIncY;
    }
    Painter::cSolidFill fill(colour);
    fill.SetFillRule(Painter::cFill::NonZero);
    converter.Render(&picture, fill, 0, 0);
    return true;
}

} // namespace GDI
