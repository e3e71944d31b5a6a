// Random outlines (path commands with any coordinates, NaN, infinities and
// huge values included, and raw glyph-outline records) through the scan
// converter into the three fills.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "framework/painter/Channel.h"
#include "framework/painter/ChannelFill.h"
#include "framework/painter/GradationFill.h"
#include "framework/painter/Path.h"
#include "framework/painter/Picture.h"
#include "framework/painter/ScanConverter.h"
#include "framework/painter/SolidFill.h"

namespace {

class cReader
{
public:
    cReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_at >= m_size; }
    std::size_t Left() const { return m_size - m_at; }
    const std::uint8_t* Here() const { return m_data + m_at; }
    void Skip(std::size_t count) { m_at += count < Left() ? count : Left(); }

    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_at++]; }
    std::uint32_t Word()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= std::uint32_t(Byte()) << (8 * i);
        return value;
    }
    // A coordinate: mostly small values, sometimes raw doubles or floats
    // (any bit pattern: NaN, infinities, denormals, huge values).
    double Coordinate()
    {
        const std::uint8_t kind = Byte();
        if (kind < 200)
            return (std::int16_t(Word() & 0xFFFF)) / 64.0;
        if (kind < 230)
        {
            std::uint32_t bits = Word();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        std::uint64_t bits = Word() | std::uint64_t(Word()) << 32;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    cReader in(data, size);
    const std::int32_t width = 1 + in.Byte() % 200, height = 1 + in.Byte() % 200;
    const std::int32_t left = std::int16_t(in.Word() & 0xFFFF), top = std::int16_t(in.Word() & 0xFFFF);
    Painter::cScanConverter converter;
    converter.SetBox(left, top, left + width, top + height);

    Outline::cPath path;
    while (!in.AtEnd())
    {
        switch (in.Byte() % 9)
        {
        case 0: converter.MoveTo(in.Coordinate(), in.Coordinate()); break;
        case 1: converter.LineTo(in.Coordinate(), in.Coordinate()); break;
        case 2: converter.QuadTo(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()); break;
        case 3:
            converter.CubicTo(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate(),
                              in.Coordinate());
            break;
        case 4: converter.ClosePolygon(); break;
        case 5:
        {
            // A glyph record: the rest of the input up to a length byte.
            const std::size_t length = in.Byte() * 4u;
            const std::size_t take = length < in.Left() ? length : in.Left();
            converter.AddGlyphOutline(in.Here(), take, in.Coordinate(), in.Coordinate(), in.Coordinate(),
                                      in.Coordinate());
            in.Skip(take);
            break;
        }
        case 6: path.MoveTo({float(in.Coordinate()), float(in.Coordinate())}, in.Byte() & 1); break;
        case 7: path.QuadTo({float(in.Coordinate()), float(in.Coordinate())}, {float(in.Coordinate()), float(in.Coordinate())}); break;
        case 8:
            path.AddRoundRect(float(in.Coordinate()), float(in.Coordinate()), float(in.Coordinate()),
                              float(in.Coordinate()), float(in.Coordinate()), in.Byte());
            break;
        }
    }
    converter.AddPath(path, 0.5, -0.5);

    Painter::cPicture picture;
    if (!picture.Create(Painter::FORMAT_ARGB32, 64, 48))
        return 0;
    picture.Fill(0x80402010);
    Painter::cSolidFill solid(0x9060A0C0);
    solid.SetFillRule(size & 1);
    converter.Render(&picture, solid, -left, -top);

    Painter::cGradationFill gradation;
    gradation.SetType(std::int32_t(size % 5));
    const std::uint32_t seed = size > 8 ? data[size - 1] * 0x01010101u : 7;
    gradation.SetPoints(std::int32_t(seed), std::int32_t(seed * 3), std::int32_t(~seed), std::int32_t(seed >> 3));
    converter.Render(&picture, gradation, std::int32_t(size % 7) - left, -top);

    Painter::cChannel channel;
    if (channel.Create(40, 30))
        converter.Render(channel, -left, -top);
    return 0;
}
