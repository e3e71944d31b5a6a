#include "framework/picturefile/codec/DeflateJoin.h"

#include <cstring>

namespace PictureFile {

namespace {

// Reads the bits of a deflate stream, least significant first; reading
// past the end yields zero bits and marks the reader overrun.
class cBitReader
{
public:
    cBitReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // The next n (0..16) bits without consuming them.
    std::uint32_t Peek(int n) const
    {
        const std::size_t byte = std::size_t(m_position >> 3);
        std::uint32_t word = 0;
        for (int i = 0; i < 4 && byte + std::size_t(i) < m_size; ++i)
            word |= std::uint32_t(m_data[byte + std::size_t(i)]) << (8 * i);
        return (word >> (m_position & 7)) & ((1u << n) - 1);
    }
    void Skip(std::uint64_t n) { m_position += n; }
    std::uint32_t Read(int n)
    {
        const std::uint32_t value = Peek(n);
        m_position += std::uint64_t(n);
        return value;
    }
    void AlignToByte() { m_position = (m_position + 7) & ~std::uint64_t(7); }
    std::uint64_t Position() const { return m_position; }
    bool Overrun() const { return m_position > std::uint64_t(m_size) * 8; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::uint64_t m_position = 0;
};

// A canonical Huffman code as a lookup table indexed by the next maxLength
// bits of the stream (which hold a code bit-reversed): each entry is the
// symbol times 16 plus the code length, 0 for bits that start no code.
struct sHuffman
{
    std::vector<std::uint16_t> table;
    int maxLength = 0;

    bool Build(const std::uint8_t* lengths, int count)
    {
        int perLength[16] = {};
        for (int i = 0; i < count; ++i)
        {
            if (lengths[i] > 15)
                return false;
            ++perLength[lengths[i]];
        }
        perLength[0] = 0;
        maxLength = 0;
        for (int length = 1; length <= 15; ++length)
            if (perLength[length])
                maxLength = length;
        table.assign(std::size_t(1) << maxLength, 0);
        if (maxLength == 0)
            return true;    // no codes (a block without distances)
        int next[16] = {};
        int code = 0;
        for (int length = 1; length <= 15; ++length)
        {
            code = (code + perLength[length - 1]) << 1;
            next[length] = code;
        }
        for (int symbol = 0; symbol < count; ++symbol)
        {
            const int length = lengths[symbol];
            if (!length)
                continue;
            const int value = next[length]++;
            if (value >= (1 << length))
                return false;    // over-subscribed
            int reversed = 0;
            for (int b = 0; b < length; ++b)
                reversed |= ((value >> b) & 1) << (length - 1 - b);
            for (std::size_t i = std::size_t(reversed); i < table.size(); i += std::size_t(1) << length)
                table[i] = std::uint16_t((symbol << 4) | length);
        }
        return true;
    }

    // The next symbol, or -1 for bits that start no code.
    int Decode(cBitReader& bits) const
    {
        if (maxLength == 0)
            return -1;
        const std::uint16_t entry = table[bits.Peek(maxLength)];
        if (entry == 0)
            return -1;
        bits.Skip(entry & 15);
        return entry >> 4;
    }
};

constexpr std::uint8_t LengthExtraBits[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint8_t DistanceExtraBits[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Skips the codes of one Huffman-coded block, up to its end-of-block code.
bool SkipCodes(cBitReader& bits, const sHuffman& literals, const sHuffman& distances)
{
    for (;;)
    {
        const int symbol = literals.Decode(bits);
        if (symbol < 0 || bits.Overrun())
            return false;
        if (symbol < 256)
            continue;
        if (symbol == 256)
            return true;
        if (symbol > 285)
            return false;
        bits.Skip(LengthExtraBits[symbol - 257]);
        const int distance = distances.Decode(bits);
        if (distance < 0 || distance > 29)
            return false;
        bits.Skip(DistanceExtraBits[distance]);
    }
}

bool ReadDynamicCodes(cBitReader& bits, sHuffman& literals, sHuffman& distances)
{
    static const int Order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const int literalCount = int(bits.Read(5)) + 257;
    const int distanceCount = int(bits.Read(5)) + 1;
    const int codeLengthCount = int(bits.Read(4)) + 4;
    if (literalCount > 286 || distanceCount > 30)
        return false;
    std::uint8_t codeLengths[19] = {};
    for (int i = 0; i < codeLengthCount; ++i)
        codeLengths[Order[i]] = std::uint8_t(bits.Read(3));
    sHuffman lengthCode;
    if (!lengthCode.Build(codeLengths, 19))
        return false;
    std::uint8_t lengths[286 + 30] = {};
    int filled = 0;
    while (filled < literalCount + distanceCount)
    {
        const int symbol = lengthCode.Decode(bits);
        if (symbol < 0 || bits.Overrun())
            return false;
        if (symbol < 16)
        {
            lengths[filled++] = std::uint8_t(symbol);
            continue;
        }
        int repeat = 0;
        std::uint8_t value = 0;
        if (symbol == 16)
        {
            if (filled == 0)
                return false;
            value = lengths[filled - 1];
            repeat = 3 + int(bits.Read(2));
        }
        else if (symbol == 17)
            repeat = 3 + int(bits.Read(3));
        else
            repeat = 11 + int(bits.Read(7));
        if (filled + repeat > literalCount + distanceCount)
            return false;
        while (repeat--)
            lengths[filled++] = value;
    }
    return literals.Build(lengths, literalCount) && distances.Build(lengths + literalCount, distanceCount);
}

} // namespace

bool cDeflateJoin::FindLastBlock(const std::uint8_t* data, std::size_t size, sLastBlock& last)
{
    cBitReader bits(data, size);
    sHuffman literals, distances;
    for (;;)
    {
        const std::uint64_t header = bits.Position();
        const bool final = bits.Read(1) != 0;
        const std::uint32_t type = bits.Read(2);
        if (type == 0)
        {
            bits.AlignToByte();
            const std::uint32_t length = bits.Read(16);
            const std::uint32_t complement = bits.Read(16);
            if ((length ^ 0xFFFFu) != complement)
                return false;
            bits.Skip(std::uint64_t(length) * 8);
        }
        else if (type == 1)
        {
            std::uint8_t lengths[288 + 30];
            std::memset(lengths, 8, 144);
            std::memset(lengths + 144, 9, 112);
            std::memset(lengths + 256, 7, 24);
            std::memset(lengths + 280, 8, 8);
            std::memset(lengths + 288, 5, 30);
            if (!literals.Build(lengths, 288) || !distances.Build(lengths + 288, 30) ||
                !SkipCodes(bits, literals, distances))
                return false;
        }
        else if (type == 2)
        {
            if (!ReadDynamicCodes(bits, literals, distances) || !SkipCodes(bits, literals, distances))
                return false;
        }
        else
        {
            return false;
        }
        if (bits.Overrun())
            return false;
        if (final)
        {
            last.headerBit = header;
            last.endBit = bits.Position();
            return true;
        }
    }
}

std::uint32_t cDeflateJoin::CombineAdler32(std::uint32_t adlerA, std::uint32_t adlerB, std::uint64_t lengthB)
{
    constexpr std::uint32_t Base = 65521;
    const std::uint32_t remainder = std::uint32_t(lengthB % Base);
    std::uint32_t sum1 = adlerA & 0xFFFF;
    std::uint32_t sum2 = std::uint32_t((std::uint64_t(remainder) * sum1) % Base);
    sum1 += (adlerB & 0xFFFF) + Base - 1;
    sum2 += (adlerA >> 16) + (adlerB >> 16) + Base - remainder;
    if (sum1 >= Base)
        sum1 -= Base;
    if (sum1 >= Base)
        sum1 -= Base;
    if (sum2 >= 2 * Base)
        sum2 -= 2 * Base;
    if (sum2 >= Base)
        sum2 -= Base;
    return sum1 | (sum2 << 16);
}

void cDeflateJoin::Append(std::uint8_t* data, const sLastBlock& last, bool final)
{
    if (!final)
        data[last.headerBit >> 3] &= std::uint8_t(~(1u << (last.headerBit & 7)));
    // A stream that ended inside a byte is followed by an empty stored
    // block, which pads it to a byte boundary: the next stream's own stored
    // blocks are aligned to the bytes of its start, so it must start on one.
    if (m_bits & 7)
    {
        m_bits += 3;    // not final, stored: three zero bits
        m_bits = (m_bits + 7) & ~std::uint64_t(7);
        m_bytes.resize(std::size_t(m_bits >> 3), 0);
        const std::uint8_t empty[4] = {0x00, 0x00, 0xFF, 0xFF};
        m_bytes.insert(m_bytes.end(), empty, empty + 4);
        m_bits += 32;
    }
    m_bytes.insert(m_bytes.end(), data, data + std::size_t((last.endBit + 7) >> 3));
    m_bits += last.endBit;
    // Clear the bits beyond the stream's end (the padding of its last byte).
    if (m_bits & 7)
        m_bytes.back() &= std::uint8_t((1u << (m_bits & 7)) - 1);
}

} // namespace PictureFile
