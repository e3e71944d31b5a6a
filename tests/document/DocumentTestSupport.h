#pragma once

// Helpers shared by the document tests: a little-endian byte builder for
// hand-made document fixtures, and small test layers.

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/document/BVImage.h"
#include "framework/painter/Picture.h"

namespace DocumentTest {

class cBytes
{
public:
    cBytes& U8(std::uint8_t v) { m_bytes.push_back(v); return *this; }
    cBytes& I16(std::int16_t v) { return U8(std::uint8_t(v)).U8(std::uint8_t(std::uint16_t(v) >> 8)); }
    cBytes& I32(std::int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            U8(std::uint8_t(std::uint32_t(v) >> (8 * i)));
        return *this;
    }
    cBytes& F32(float v)
    {
        std::uint32_t raw;
        std::memcpy(&raw, &v, 4);
        return I32(std::int32_t(raw));
    }
    cBytes& Text(const char* text, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            U8(std::uint8_t(text[i]));
        return *this;
    }
    cBytes& WString(const std::u16string& text)
    {
        I32(std::int32_t(text.size()));
        for (char16_t c : text)
            I16(std::int16_t(c));
        return *this;
    }
    cBytes& Append(const cBytes& other)
    {
        m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
        return *this;
    }
    // The old form's 16-byte version block: an 8-character tag, the version.
    cBytes& OldVersion(const char* tag, std::int16_t version)
    {
        char block[8] = {};
        std::memcpy(block, tag, std::min<std::size_t>(std::strlen(tag), 8));
        Text(block, 8).I16(version);
        for (int i = 0; i < 6; ++i)
            U8(0);
        return *this;
    }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::vector<std::uint8_t> m_bytes;
};

// The default object record (version 8) with a name and position.
inline cBytes ObjectRecord(const std::u16string& name = u"", std::int32_t x = 0, std::int32_t y = 0)
{
    cBytes b;
    b.I16(8).WString(name).I32(x).I32(y).F32(0).F32(1).F32(1).F32(0).F32(0).F32(0).F32(0);
    b.U8(1).U8(0).I32(0).I16(-1).U8(0).U8(0);
    return b;
}

// The start of a document: header and a scene record (version 5) up to
// and including the grid, for a canvas of width x height.
inline cBytes DocumentStart(std::int32_t width, std::int32_t height, std::int32_t fileVersion = 1)
{
    cBytes b;
    b.Text("tbv", 4).I32(fileVersion);
    b.I16(5).WString(u"").I32(width).I32(height).I32(96).U8(0);
    b.I16(1).I32(10).I32(10).U8(1).U8(1).I32(0).I32(0);
    return b;
}

// A picture record of version 2 with uncompressed planes.
inline cBytes RawPictureRecord(const Painter::cPicture& picture, std::int32_t format = Painter::FORMAT_ARGB32)
{
    cBytes b;
    b.I16(2).I32(picture.Width()).I32(picture.Height()).I32(format).U8(0);
    for (int shift = 0; shift < 32; shift += 8)
        for (std::int32_t y = 0; y < picture.Height(); ++y)
            for (std::int32_t x = 0; x < picture.Width(); ++x)
                b.U8(std::uint8_t(picture.Pixel(x, y) >> shift));
    return b;
}

// A graphic record without styles or mask.
inline cBytes GraphicRecord(const cBytes& object, std::uint8_t opacity = 255, std::uint8_t mode = 0)
{
    cBytes b;
    b.I16(1).I16(0).Append(object).U8(opacity).U8(mode);
    b.I16(1).U8(1).I32(0); // empty style list
    b.U8(0);               // no mask
    return b;
}

// A picture of one colour.
inline Painter::cPicture Solid(std::int32_t width, std::int32_t height, std::uint32_t colour)
{
    Painter::cPicture picture;
    picture.Create(Painter::FORMAT_ARGB32, width, height);
    picture.Fill(colour);
    return picture;
}

// An image layer holding picture, at (x, y).
inline std::unique_ptr<Brimvale::cBVImage> ImageLayer(const Painter::cPicture& picture, std::int32_t x = 0,
                                                      std::int32_t y = 0)
{
    auto image = std::make_unique<Brimvale::cBVImage>();
    image->GetPicture()->CopyFrom(picture);
    image->SetPosition(x, y);
    return image;
}

} // namespace DocumentTest
