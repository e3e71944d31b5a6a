#include "framework/picturefile/codec/PnmCodec.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "framework/picturefile/codec/PaletteTools.h"

namespace PictureFile {

namespace {

class cTokenizer
{
public:
    cTokenizer(const std::uint8_t* data, std::size_t size, std::size_t position)
        : m_data(data), m_size(size), m_position(position)
    {
    }

    std::size_t Position() const { return m_position; }
    void SetPosition(std::size_t position) { m_position = position; }

    void SkipSpaceAndComments()
    {
        while (m_position < m_size)
        {
            const std::uint8_t c = m_data[m_position];
            if (c == '#')
            {
                while (m_position < m_size && m_data[m_position] != '\n' && m_data[m_position] != '\r')
                    ++m_position;
            }
            else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')
                ++m_position;
            else
                break;
        }
    }

    // A decimal number up to limit.
    bool Number(std::uint32_t& value, std::uint32_t limit)
    {
        SkipSpaceAndComments();
        std::uint64_t result = 0;
        const std::size_t start = m_position;
        while (m_position < m_size && m_data[m_position] >= '0' && m_data[m_position] <= '9')
        {
            result = result * 10 + (m_data[m_position] - '0');
            if (result > limit)
                return false;
            ++m_position;
        }
        if (m_position == start)
            return false;
        value = std::uint32_t(result);
        return true;
    }

    // One digit 0 or 1 of a plain bitmap (digits need no separator).
    bool Bit(unsigned& value)
    {
        SkipSpaceAndComments();
        if (m_position >= m_size || (m_data[m_position] != '0' && m_data[m_position] != '1'))
            return false;
        value = m_data[m_position++] - '0';
        return true;
    }

    // A whitespace-separated word of a PAM header line.
    std::string Word()
    {
        while (m_position < m_size && (m_data[m_position] == ' ' || m_data[m_position] == '\t'))
            ++m_position;
        std::string word;
        while (m_position < m_size && m_data[m_position] > ' ' && word.size() < 64)
            word.push_back(char(m_data[m_position++]));
        return word;
    }

    void SkipLine()
    {
        while (m_position < m_size && m_data[m_position] != '\n')
            ++m_position;
        if (m_position < m_size)
            ++m_position;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position;
};

bool ReadPamHeader(cTokenizer& tokens, std::uint32_t& width, std::uint32_t& height, std::uint32_t& depth,
                   std::uint32_t& maxval, std::string& tupleType)
{
    bool haveWidth = false, haveHeight = false, haveDepth = false, haveMaxval = false;
    for (int lines = 0; lines < 1000; ++lines)
    {
        tokens.SkipSpaceAndComments();
        const std::string key = tokens.Word();
        if (key.empty())
            return false;
        if (key == "ENDHDR")
        {
            tokens.SkipLine();
            return haveWidth && haveHeight && haveDepth && haveMaxval;
        }
        if (key == "WIDTH")
            haveWidth = tokens.Number(width, 0xFFFFFFFFu);
        else if (key == "HEIGHT")
            haveHeight = tokens.Number(height, 0xFFFFFFFFu);
        else if (key == "DEPTH")
            haveDepth = tokens.Number(depth, 0xFFFFFFFFu);
        else if (key == "MAXVAL")
            haveMaxval = tokens.Number(maxval, 65535);
        else if (key == "TUPLTYPE")
            tupleType = tokens.Word();
        tokens.SkipLine();
    }
    return false;
}

} // namespace

bool cPnmCodec::Encode(const sPixelView& view, cByteSink& sink, bool grey)
{
    if (!view.IsValid())
        return false;
    char header[64];
    std::snprintf(header, sizeof header, "%s\n%d %d\n255\n", grey ? "P5" : "P6", view.width, view.height);
    if (!sink.PutText(header))
        return false;
    try
    {
        const int channels = grey ? 1 : 3;
        std::vector<std::uint8_t> line(std::size_t(view.width) * channels);
        for (int y = 0; y < view.height; ++y)
        {
            const std::uint32_t* row = view.Row(y);
            std::uint8_t* out = line.data();
            for (int x = 0; x < view.width; ++x)
            {
                if (grey)
                    *out++ = cPaletteTools::Grey(row[x]);
                else
                {
                    *out++ = RedOf(row[x]);
                    *out++ = GreenOf(row[x]);
                    *out++ = BlueOf(row[x]);
                }
            }
            if (!sink.Write(line.data(), line.size()))
                return false;
        }
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return !sink.Failed();
}

bool cPnmCodec::Decode(const std::uint8_t* data, std::size_t size, cCodecImage& image, std::uint64_t maxPixels)
{
    if (!data || size < 3 || data[0] != 'P' || data[1] < '1' || data[1] > '7')
        return false;
    const int kind = data[1] - '0';
    cTokenizer tokens(data, size, 2);

    std::uint32_t width = 0, height = 0, maxval = 1, channels = 1;
    bool alpha = false;
    if (kind == 7)
    {
        std::string tupleType;
        if (!ReadPamHeader(tokens, width, height, channels, maxval, tupleType))
            return false;
        if (maxval < 1)
            return false;
        if (tupleType == "BLACKANDWHITE" || tupleType == "GRAYSCALE")
            alpha = false;
        else if (tupleType == "BLACKANDWHITE_ALPHA" || tupleType == "GRAYSCALE_ALPHA" || tupleType == "RGB_ALPHA")
            alpha = true;
        else if (tupleType != "RGB" && !tupleType.empty())
            return false;
        const std::uint32_t expected = (tupleType.rfind("RGB", 0) == 0 ? 3u : 1u) + (alpha ? 1u : 0u);
        if (!tupleType.empty() && channels != expected)
            return false;
        if (tupleType.empty() && channels != 1 && channels != 3)
            return false;
    }
    else
    {
        if (!tokens.Number(width, 0xFFFFFFFFu) || !tokens.Number(height, 0xFFFFFFFFu))
            return false;
        if (kind != 1 && kind != 4 && (!tokens.Number(maxval, 65535) || maxval < 1))
            return false;
        channels = (kind == 3 || kind == 6) ? 3 : 1;
        // Binary data starts after exactly one whitespace character.
        if (kind >= 4)
        {
            if (tokens.Position() >= size)
                return false;
            tokens.SetPosition(tokens.Position() + 1);
        }
    }
    if (width < 1 || height < 1 || width > std::uint32_t(MaxPictureSide) || height > std::uint32_t(MaxPictureSide))
        return false;

    const std::size_t start = tokens.Position();
    const std::uint64_t remaining = size - start;
    const std::uint64_t sampleBytes = maxval > 255 ? 2 : 1;
    const bool binary = kind >= 4;
    std::uint64_t rowBytes;
    if (kind == 4)
        rowBytes = (std::uint64_t(width) + 7) / 8;
    else if (binary)
        rowBytes = std::uint64_t(width) * channels * sampleBytes;
    else
        rowBytes = std::uint64_t(width) * channels;    // at least one character per sample
    if (rowBytes * height > remaining)
        return false;

    cCodecImage result;
    if (!result.Create(int(width), int(height), maxPixels))
        return false;

    const auto scale = [maxval](std::uint32_t value) -> unsigned {
        if (value > maxval)
            value = maxval;
        return unsigned((std::uint64_t(value) * 255 + maxval / 2) / maxval);
    };
    std::size_t position = start;
    bool anyAlpha = false;
    for (std::uint32_t y = 0; y < height; ++y)
    {
        std::uint32_t* out = result.Row(int(y));
        if (kind == 4)
        {
            const std::uint8_t* row = data + position;
            for (std::uint32_t x = 0; x < width; ++x)
                out[x] = ((row[x / 8] >> (7 - x % 8)) & 1) ? MakeColour(0, 0, 0) : MakeColour(255, 255, 255);
            position += static_cast<std::size_t>(rowBytes);
            continue;
        }
        for (std::uint32_t x = 0; x < width; ++x)
        {
            std::uint32_t samples[4] = {0, 0, 0, 0};
            for (std::uint32_t c = 0; c < channels; ++c)
            {
                if (binary)
                {
                    samples[c] = sampleBytes == 2 ? (std::uint32_t(data[position]) << 8) | data[position + 1]
                                                  : data[position];
                    position += static_cast<std::size_t>(sampleBytes);
                }
                else if (kind == 1)
                {
                    unsigned bit = 0;
                    if (!tokens.Bit(bit))
                        return false;
                    samples[c] = bit;
                }
                else if (!tokens.Number(samples[c], 0xFFFFFFFFu))
                    return false;
            }
            if (kind == 1)
            {
                out[x] = samples[0] ? MakeColour(0, 0, 0) : MakeColour(255, 255, 255);
                continue;
            }
            const bool colour = channels >= 3;
            const unsigned r = scale(samples[0]);
            const unsigned g = colour ? scale(samples[1]) : r;
            const unsigned b = colour ? scale(samples[2]) : r;
            const unsigned a = alpha ? scale(samples[channels - 1]) : 255;
            anyAlpha |= a != 255;
            out[x] = MakeColour(r, g, b, a);
        }
    }
    result.SetHasAlpha(alpha && anyAlpha);
    image = std::move(result);
    return true;
}

} // namespace PictureFile
