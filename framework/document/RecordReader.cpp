#include "framework/document/RecordReader.h"

#include <cstring>
#include <string>
#include <vector>

#include "framework/painter/Picture.h"

namespace Brimvale {

namespace {

constexpr std::size_t kOldVersionBlock = 16;

} // namespace

cRecordReader::cRecordReader(const std::uint8_t* data, std::size_t size, bool oldForm, std::uint64_t pixelBudget)
    : m_bytes(data, size), m_oldForm(oldForm), m_pixelsLeft(pixelBudget)
{
}

bool cRecordReader::Version(std::int16_t& version, std::int16_t newest)
{
    std::int16_t value = 0;
    if (m_oldForm)
    {
        std::uint8_t block[kOldVersionBlock];
        if (!m_bytes.Bytes(block, sizeof block))
            return false;
        value = static_cast<std::int16_t>(block[8] | (block[9] << 8));
    }
    else if (!I16(value))
    {
        return false;
    }
    if (value < 0 || value > newest)
        return false;
    version = value;
    return true;
}

bool cRecordReader::PeekTag(char (&tag)[9]) const
{
    if (m_bytes.Remaining() < kOldVersionBlock)
        return false;
    std::memcpy(tag, m_bytes.Current(), 8);
    tag[8] = '\0';
    return true;
}

bool cRecordReader::I16(std::int16_t& value)
{
    std::uint16_t raw = 0;
    if (!m_bytes.U16LE(raw))
        return false;
    value = static_cast<std::int16_t>(raw);
    return true;
}

bool cRecordReader::I32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!m_bytes.U32LE(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool cRecordReader::F32(float& value)
{
    std::uint32_t raw = 0;
    if (!m_bytes.U32LE(raw))
        return false;
    std::memcpy(&value, &raw, sizeof value);
    return true;
}

bool cRecordReader::Count(std::int32_t& count, std::size_t minBytes)
{
    const std::size_t start = m_bytes.Position();
    std::int32_t value = 0;
    if (!I32(value))
        return false;
    if (value < 0 || (minBytes != 0 && static_cast<std::uint64_t>(value) > m_bytes.Remaining() / minBytes))
    {
        m_bytes.Seek(start);
        return false;
    }
    count = value;
    return true;
}

bool cRecordReader::WString(Container::cWideString& text)
{
    const std::size_t start = m_bytes.Position();
    std::int32_t count = 0;
    if (!Count(count, 2))
        return false;
    std::u16string units(static_cast<std::size_t>(count), u'\0');
    for (std::int32_t i = 0; i < count; ++i)
    {
        std::uint16_t unit = 0;
        m_bytes.U16LE(unit);
        units[static_cast<std::size_t>(i)] = static_cast<char16_t>(unit);
    }
    if (!text.Assign(std::u16string_view(units)))
    {
        m_bytes.Seek(start);
        return false;
    }
    return true;
}

bool cRecordReader::BString(Container::cByteString& text)
{
    const std::size_t start = m_bytes.Position();
    std::int32_t count = 0;
    if (!Count(count, 1))
        return false;
    Container::cByteString value(reinterpret_cast<const char*>(m_bytes.Current()), static_cast<std::size_t>(count));
    if (value.Length() != static_cast<std::size_t>(count))
    {
        m_bytes.Seek(start);
        return false;
    }
    m_bytes.Skip(static_cast<std::uint64_t>(count));
    text = std::move(value);
    return true;
}

bool cRecordReader::TakePixels(std::uint64_t pixels)
{
    if (pixels > m_pixelsLeft)
        return false;
    m_pixelsLeft -= pixels;
    return true;
}

bool cRecordReader::DecodePlane(const std::uint8_t* code, std::size_t codeSize, std::uint8_t* plane,
                                std::size_t size)
{
    std::size_t in = 0;
    std::size_t out = 0;
    while (out < size)
    {
        if (in >= codeSize)
            return false;
        const std::int8_t control = static_cast<std::int8_t>(code[in++]);
        if (control >= 0)
        {
            const std::size_t run = static_cast<std::size_t>(control) + 2;
            if (in >= codeSize || run > size - out)
                return false;
            std::memset(plane + out, code[in++], run);
            out += run;
        }
        else
        {
            const std::size_t literal = static_cast<std::size_t>(-static_cast<int>(control));
            if (literal > codeSize - in || literal > size - out)
                return false;
            std::memcpy(plane + out, code + in, literal);
            in += literal;
            out += literal;
        }
    }
    return true;
}

bool cRecordReader::PlaneInto(Painter::cPicture& picture, int shift, bool compressed)
{
    const std::size_t width = static_cast<std::size_t>(picture.Width());
    const std::size_t height = static_cast<std::size_t>(picture.Height());
    const std::size_t size = width * height;
    const std::uint8_t* bytes = nullptr;
    std::vector<std::uint8_t> decoded;
    if (compressed)
    {
        std::int32_t length = 0;
        if (!Count(length, 1))
            return false;
        decoded.resize(size);
        if (!DecodePlane(m_bytes.Current(), static_cast<std::size_t>(length), decoded.data(), size))
            return false;
        m_bytes.Skip(static_cast<std::uint64_t>(length));
        bytes = decoded.data();
    }
    else
    {
        if (size > m_bytes.Remaining())
            return false;
        bytes = m_bytes.Current();
        m_bytes.Skip(size);
    }
    for (std::size_t y = 0; y < height; ++y)
    {
        std::uint32_t* row = picture.Row32(static_cast<std::int32_t>(y));
        const std::uint8_t* source = bytes + y * width;
        for (std::size_t x = 0; x < width; ++x)
            row[x] |= std::uint32_t(source[x]) << shift;
    }
    return true;
}

bool cRecordReader::Picture(Painter::cPicture& picture)
{
    const std::size_t start = m_bytes.Position();
    const std::uint64_t pixelsBefore = m_pixelsLeft;
    auto fail = [&] {
        m_bytes.Seek(start);
        m_pixelsLeft = pixelsBefore;
        return false;
    };
    std::int16_t version = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = Painter::FORMAT_ARGB32;
    std::uint8_t compression = 0;
    if (!Version(version, 2) || !I32(width) || !I32(height))
        return fail();
    if (version >= 1 && !I32(format))
        return fail();
    if (version >= 2 && !U8(compression))
        return fail();
    if (width < 0 || height < 0 || width > Painter::kMaxPictureSize || height > Painter::kMaxPictureSize)
        return fail();
    if (format != Painter::FORMAT_ARGB32 && format != Painter::FORMAT_RGB32)
        return fail();
    if (version >= 2 && compression > 1)
        return fail();
    if (width == 0 || height == 0)
    {
        picture.Release();
        picture.Create(format, 1, 1); // keeps the format code for the writer
        picture.Release();
        return true;
    }
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    // What the pixels take in the file at the least: raw rows, or for
    // coded planes two bytes per run of at most 129 bytes.
    const std::uint64_t leastBytes =
        version < 2 ? pixels * 4 : (compression ? 4 * (4 + 2 * ((pixels + 128) / 129)) : pixels * 4);
    if (leastBytes > m_bytes.Remaining() || !TakePixels(pixels))
        return fail();
    Painter::cPicture result;
    if (!result.Create(format, width, height))
        return fail();
    if (version < 2)
    {
        for (std::int32_t y = 0; y < height; ++y)
            m_bytes.Bytes(result.Row(y), std::size_t(width) * 4);
    }
    else
    {
        result.Fill(0);
        for (int plane = 0; plane < 4; ++plane)
            if (!PlaneInto(result, plane * 8, compression == 1))
                return fail();
    }
    picture = std::move(result);
    return true;
}

} // namespace Brimvale
