// Drives the drawing context with arbitrary matrices (NaN, infinities and
// zero scales included), rectangles, masks, mappings and modes. Any read or
// write outside a picture, and any undefined conversion, is a finding.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/painter/Canvas.h"
#include "framework/painter/Channel.h"
#include "framework/painter/Picture.h"
#include "framework/painter/SolidFill.h"

namespace {

class cReader
{
public:
    cReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t Byte()
    {
        if (m_offset >= m_size)
            return 0;
        return m_data[m_offset++];
    }
    std::int32_t Int()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | Byte();
        return static_cast<std::int32_t>(value);
    }
    // Mostly small values, sometimes any 32-bit value.
    std::int32_t Coordinate()
    {
        const std::uint8_t kind = Byte();
        if (kind < 200)
            return static_cast<std::int32_t>(Byte()) - 64;
        return Int();
    }
    // Any float bit pattern now and then (NaN, infinities, denormals),
    // otherwise values that make drawable matrices.
    float Float()
    {
        const std::uint8_t kind = Byte();
        if (kind < 64)
        {
            const std::uint32_t bits = static_cast<std::uint32_t>(Int());
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        if (kind < 80)
            return 0.0f;
        return (static_cast<float>(static_cast<std::int8_t>(Byte())) / 16.0f);
    }
    bool Done() const { return m_offset >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

Container::sRect ReadRect(cReader& reader)
{
    const std::int32_t left = reader.Coordinate();
    const std::int32_t top = reader.Coordinate();
    return Container::sRect(left, top, reader.Coordinate(), reader.Coordinate());
}

void FillPicture(Painter::cPicture& picture, cReader& reader)
{
    const std::uint32_t seed = static_cast<std::uint32_t>(reader.Int());
    std::uint32_t state = seed | 1;
    for (std::int32_t y = 0; y < picture.Height(); ++y)
        for (std::int32_t x = 0; x < picture.Width(); ++x)
        {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            // Alphas of 0 and 255 are frequent.
            std::uint32_t pixel = state;
            if ((state >> 8 & 3) == 0)
                pixel |= 0xFF000000u;
            else if ((state >> 8 & 3) == 1)
                pixel &= 0x00FFFFFFu;
            picture.SetPixel(x, y, pixel);
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    cReader reader(data, size);
    Painter::cPicture target, source;
    if (!target.Create(Painter::FORMAT_ARGB32, 1 + reader.Byte() % 48, 1 + reader.Byte() % 48))
        return 0;
    if (!source.Create(Painter::FORMAT_ARGB32, 1 + reader.Byte() % 48, 1 + reader.Byte() % 48))
        return 0;
    FillPicture(target, reader);
    FillPicture(source, reader);
    Painter::cChannel mask;
    if (mask.Create(1 + reader.Byte() % 32, 1 + reader.Byte() % 32))
        for (std::int32_t y = 0; y < mask.Height(); ++y)
            for (std::int32_t x = 0; x < mask.Width(); ++x)
                mask.SetValue(x, y, static_cast<std::uint8_t>(x * 37 + y * 11));

    Painter::cCanvas canvas(target);
    for (int step = 0; step < 16 && !reader.Done(); ++step)
    {
        const std::uint8_t operation = reader.Byte() % 12;
        const std::int32_t mode = static_cast<std::int32_t>(reader.Byte()) - 4;
        const std::int32_t opacity = static_cast<std::int32_t>(reader.Byte()) * 2 - 128;
        switch (operation)
        {
        case 0:
        {
            Painter::cMatrix matrix(reader.Float(), reader.Float(), reader.Float(), reader.Float(), reader.Float(),
                                    reader.Float());
            canvas.Composite(matrix, source, ReadRect(reader), mode, opacity);
            break;
        }
        case 1:
        {
            const std::int32_t x = reader.Coordinate();
            canvas.CompositeAt(x, reader.Coordinate(), source, ReadRect(reader), mode, opacity);
            break;
        }
        case 2:
        {
            Painter::cMatrix matrix(reader.Float(), reader.Float(), reader.Float(), reader.Float(), reader.Float(),
                                    reader.Float());
            canvas.CompositeCopy(matrix, (reader.Byte() & 1) ? source : target, ReadRect(reader));
            break;
        }
        case 3:
        {
            const Container::sRect dest = ReadRect(reader);
            canvas.StretchComposite(dest, (reader.Byte() & 1) ? source : target, ReadRect(reader), mode, opacity,
                                    reader.Byte() & 1);
            break;
        }
        case 4:
        {
            const std::int32_t x = reader.Coordinate();
            canvas.SetMask((reader.Byte() & 3) ? &mask : nullptr, x, reader.Coordinate());
            break;
        }
        case 5: canvas.SetClip(ReadRect(reader)); break;
        case 6:
        {
            std::int32_t v[8];
            for (std::int32_t& value : v)
                value = reader.Coordinate();
            canvas.SetMapping(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
            break;
        }
        case 7:
        {
            Painter::cSolidFill fill(static_cast<std::uint32_t>(reader.Int()));
            fill.SetFillRule(reader.Byte() & 1);
            const float l = reader.Float(), t = reader.Float(), r = reader.Float(), b = reader.Float();
            const Painter::cCanvas::sStroke stroke{static_cast<std::uint32_t>(reader.Int()), reader.Float()};
            if (reader.Byte() & 1)
                canvas.FillRect(l * 4, t * 4, r * 4, b * 4, &fill, stroke);
            else
                canvas.FillRoundRect(l * 4, t * 4, r * 4, b * 4, reader.Float(), &fill, stroke);
            break;
        }
        case 8:
        {
            Painter::cSolidFill fill(static_cast<std::uint32_t>(reader.Int()));
            const Painter::cCanvas::sStroke stroke{0xFF000000u, reader.Float()};
            canvas.FillEllipse(&fill, stroke, ReadRect(reader));
            break;
        }
        case 9:
        {
            const std::uint32_t colour = static_cast<std::uint32_t>(reader.Int());
            canvas.FillRectBlend(colour, ReadRect(reader));
            canvas.Draw3dRect(ReadRect(reader), colour, ~colour);
            break;
        }
        case 10: canvas.Clear(static_cast<std::uint32_t>(reader.Int())); break;
        case 11: canvas.StretchPicture(source, ReadRect(reader), ReadRect(reader)); break;
        }
    }
    return 0;
}
