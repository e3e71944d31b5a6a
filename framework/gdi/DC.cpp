#include "framework/gdi/DC.h"

#include <algorithm>
#include <climits>

#include "framework/gdi/Bitmap.h"
#include "framework/gdi/GdiObject.h"
#include "framework/painter/Picture.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 text is passed to Windows as wchar_t");

namespace GDI {

namespace {

RECT ToRECT(const Container::sRect& rect)
{
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

const wchar_t* Wide(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

int TextCount(std::u16string_view text)
{
    return int(std::min<std::size_t>(text.size(), INT_MAX));
}

} // namespace

cDC::~cDC()
{
    if (m_dc && m_owns)
        DeleteDC(m_dc);
}

void cDC::Attach(HDC dc, bool owns)
{
    if (m_dc && m_owns && m_dc != dc)
        DeleteDC(m_dc);
    m_dc = dc;
    m_owns = owns;
}

HDC cDC::Detach()
{
    HDC dc = m_dc;
    m_dc = nullptr;
    return dc;
}

void cDC::FrameRect(const Container::sRect& rect, std::uint32_t colour) const
{
    if (!m_dc)
        return;
    HPEN pen = CreatePen(PS_SOLID, 0, ToColorRef(colour));
    if (!pen)
        return;
    HGDIOBJ oldPen = SelectObject(m_dc, pen);
    HGDIOBJ oldBrush = SelectObject(m_dc, GetStockObject(NULL_BRUSH));
    Rectangle(m_dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(m_dc, oldBrush);
    SelectObject(m_dc, oldPen);
    DeleteObject(pen);
}

void cDC::FillSolidRect(const Container::sRect& rect, std::uint32_t colour) const
{
    if (!m_dc)
        return;
    const COLORREF old = SetBkColor(m_dc, ToColorRef(colour));
    const RECT r = ToRECT(rect);
    ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(m_dc, old);
}

void cDC::FillEllipse(const Container::sRect& rect, std::uint32_t colour) const
{
    if (!m_dc)
        return;
    HPEN pen = CreatePen(PS_SOLID, 0, ToColorRef(colour));
    HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
    if (pen && brush)
    {
        HGDIOBJ oldPen = SelectObject(m_dc, pen);
        HGDIOBJ oldBrush = SelectObject(m_dc, brush);
        Ellipse(m_dc, rect.left, rect.top, rect.right, rect.bottom);
        SelectObject(m_dc, oldBrush);
        SelectObject(m_dc, oldPen);
    }
    if (pen)
        DeleteObject(pen);
    if (brush)
        DeleteObject(brush);
}

void cDC::Draw3dRect(const Container::sRect& rect, std::uint32_t topLeft, std::uint32_t bottomRight) const
{
    const std::int32_t l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    FillSolidRect(Container::sRect(l, t, r, t + 1), topLeft);
    FillSolidRect(Container::sRect(l, t, l + 1, b), topLeft);
    FillSolidRect(Container::sRect(l + 1, b - 1, r, b), bottomRight);
    FillSolidRect(Container::sRect(r - 1, t + 1, r, b), bottomRight);
}

void cDC::GradientFill(bool vertical, std::uint32_t from, std::uint32_t to, const Container::sRect& rect) const
{
    const std::int64_t n = vertical ? rect.Height() : rect.Width();
    for (std::int64_t i = 0; i < n; ++i)
    {
        std::uint32_t colour = 0;
        for (int shift = 0; shift < 24; shift += 8)
        {
            const std::int64_t a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
            colour |= std::uint32_t((a * (n - i) + b * i) / n) << shift;
        }
        const std::int32_t at = std::int32_t((vertical ? rect.top : rect.left) + i);
        FillSolidRect(vertical ? Container::sRect(rect.left, at, rect.right, at + 1)
                               : Container::sRect(at, rect.top, at + 1, rect.bottom),
                      colour);
    }
}

bool cDC::DrawBitmap(std::int32_t x, std::int32_t y, const cBitmap& bitmap, const Container::sRect& sourceRect) const
{
    if (!m_dc || bitmap.IsNull() || sourceRect.IsEmpty())
        return false;
    HDC memory = CreateCompatibleDC(m_dc);
    if (!memory)
        return false;
    HGDIOBJ old = SelectObject(memory, bitmap.Object());
    const bool ok = old && BitBlt(m_dc, x, y, sourceRect.Width(), sourceRect.Height(), memory, sourceRect.left,
                                  sourceRect.top, SRCCOPY);
    if (old)
        SelectObject(memory, old);
    DeleteDC(memory);
    return ok;
}

bool cDC::DrawPicture(std::int32_t x, std::int32_t y, const Painter::cPicture& picture,
                      const Container::sRect& sourceRect) const
{
    const int bits = picture.BitsPerPixel();
    if (!m_dc || picture.IsEmpty() || (bits != 32 && bits != 24))
        return false;
    const Container::sRect source = Container::Intersection(sourceRect, picture.Bounds());
    if (source.IsEmpty())
        return false;
    // Only the rows of the source rectangle are described to GDI, top-down,
    // starting at its first row: GDI never reads outside the picture.
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = picture.Stride() / (bits / 8);
    header.biHeight = -source.Height();
    header.biPlanes = 1;
    header.biBitCount = WORD(bits);
    header.biCompression = BI_RGB;
    const int lines = SetDIBitsToDevice(m_dc, x + (source.left - sourceRect.left), y + (source.top - sourceRect.top),
                                        DWORD(source.Width()), DWORD(source.Height()), source.left, 0, 0,
                                        UINT(source.Height()), picture.Row(source.top),
                                        reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS);
    return lines > 0;
}

void cDC::DrawTextLine(std::u16string_view text, const Container::sRect& rect, std::uint32_t colour) const
{
    if (!m_dc)
        return;
    const int oldMode = SetBkMode(m_dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(m_dc, ToColorRef(colour));
    RECT r = ToRECT(rect);
    DrawTextW(m_dc, Wide(text), TextCount(text), &r, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    SetTextColor(m_dc, oldColour);
    SetBkMode(m_dc, oldMode);
}

Container::sRect cDC::MeasureText(std::u16string_view text, const Container::sRect& rect, std::uint32_t flags) const
{
    if (!m_dc)
        return {};
    RECT measured = ToRECT(rect);
    if (DrawTextW(m_dc, Wide(text), TextCount(text), &measured, flags | DT_CALCRECT) == 0 && !text.empty())
        return {};
    const std::int32_t width = measured.right - measured.left, height = measured.bottom - measured.top;
    std::int32_t left = rect.left, top = rect.top;
    if (flags & DT_CENTER)
        left = (rect.left + rect.right) / 2 - width / 2;
    else if (flags & DT_RIGHT)
        left = rect.right - width;
    if (flags & DT_VCENTER)
        top = (rect.top + rect.bottom) / 2 - height / 2;
    else if (flags & DT_BOTTOM)
        top = rect.bottom - height;
    return Container::sRect(left, top, left + width, top + height);
}

} // namespace GDI
