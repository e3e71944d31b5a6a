// Joining independently compressed deflate streams, and the PNG writer
// that compresses its rows in bands that way.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <libdeflate.h>

#include "framework/painter/Picture.h"
#include "framework/picturefile/codec/ByteSink.h"
#include "framework/picturefile/codec/CodecImage.h"
#include "framework/picturefile/codec/DeflateJoin.h"
#include "framework/picturefile/codec/PngCodec.h"

using PictureFile::cDeflateJoin;

namespace {

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& input, int level)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    std::vector<std::uint8_t> output(libdeflate_deflate_compress_bound(compressor, input.size()));
    output.resize(libdeflate_deflate_compress(compressor, input.data(), input.size(), output.data(), output.size()));
    libdeflate_free_compressor(compressor);
    return output;
}

// Pieces that make the compressor choose each kind of block: text-like
// runs (dynamic codes), a few bytes (fixed codes), noise at level 0 and 1
// (stored blocks), and empty input.
std::vector<std::uint8_t> Piece(int kind, std::size_t size, std::uint32_t seed)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
    {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = kind == 0 ? std::uint8_t("the quick brown fox "[(i + (seed >> 28)) % 20]) : std::uint8_t(seed >> 16);
    }
    return bytes;
}

TEST(DeflateJoin, JoinedStreamsInflateToTheConcatenation)
{
    struct sCase
    {
        int kind;
        std::size_t size;
        int level;
    };
    const std::vector<std::vector<sCase>> joins = {
        {{0, 100000, 7}, {0, 70000, 7}, {1, 5000, 7}},          // dynamic, dynamic, noise
        {{0, 7, 6}, {0, 3, 6}, {0, 1, 6}, {0, 9, 6}},           // tiny pieces: fixed codes, odd bit ends
        {{1, 70000, 0}, {0, 300, 1}, {1, 20, 0}},               // stored blocks between others
        {{0, 0, 6}, {0, 5000, 9}, {0, 0, 6}},                   // empty streams
        {{0, 250000, 1}},                                       // one stream, many blocks
    };
    std::uint32_t seed = 1;
    for (const auto& join : joins)
    {
        std::vector<std::uint8_t> whole;
        cDeflateJoin joined;
        std::uint32_t adler = 1;
        for (std::size_t i = 0; i < join.size(); ++i)
        {
            const std::vector<std::uint8_t> piece = Piece(join[i].kind, join[i].size, seed++);
            std::vector<std::uint8_t> stream = Deflate(piece, join[i].level);
            ASSERT_FALSE(stream.empty());
            cDeflateJoin::sLastBlock last;
            ASSERT_TRUE(cDeflateJoin::FindLastBlock(stream.data(), stream.size(), last));
            // The last block ends in the stream's last byte.
            EXPECT_EQ((last.endBit + 7) / 8, stream.size());
            EXPECT_LT(last.headerBit, last.endBit);
            joined.Append(stream.data(), last, i + 1 == join.size());
            adler = i == 0 ? libdeflate_adler32(1, piece.data(), piece.size())
                           : cDeflateJoin::CombineAdler32(adler, libdeflate_adler32(1, piece.data(), piece.size()),
                                                          piece.size());
            whole.insert(whole.end(), piece.begin(), piece.end());
        }
        libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
        std::vector<std::uint8_t> inflated(whole.size() + 1);
        std::size_t consumed = 0, produced = 0;
        const libdeflate_result result =
            libdeflate_deflate_decompress_ex(decompressor, joined.Bytes().data(), joined.Bytes().size(),
                                             inflated.data(), inflated.size(), &consumed, &produced);
        libdeflate_free_decompressor(decompressor);
        ASSERT_EQ(result, LIBDEFLATE_SUCCESS);
        EXPECT_EQ(consumed, joined.Bytes().size());    // no padding byte after the end
        inflated.resize(produced);
        EXPECT_EQ(inflated, whole);
        EXPECT_EQ(adler, libdeflate_adler32(1, whole.data(), whole.size()));
    }
}

TEST(DeflateJoin, MalformedStreamsAreReported)
{
    std::vector<std::uint8_t> stream = Deflate(Piece(0, 20000, 3), 6);
    cDeflateJoin::sLastBlock last;
    // Cut short anywhere, the final block is never found.
    for (std::size_t cut : {std::size_t(0), std::size_t(1), stream.size() / 2, stream.size() - 1})
        EXPECT_FALSE(cDeflateJoin::FindLastBlock(stream.data(), cut, last)) << cut;
    // A block of the reserved type 3.
    const std::uint8_t reserved[] = {0x07, 0x00};
    EXPECT_FALSE(cDeflateJoin::FindLastBlock(reserved, sizeof reserved, last));
    // A stored block whose length and complement disagree.
    const std::uint8_t stored[] = {0x01, 0x02, 0x00, 0xFF, 0xFF, 'a', 'b'};
    EXPECT_FALSE(cDeflateJoin::FindLastBlock(stored, sizeof stored, last));
}

// A picture large enough for several bands on two workers, opaque and
// translucent, comes back exactly.
TEST(PngBands, LargePicturesRoundTripExactly)
{
    for (bool translucent : {false, true})
    {
        Painter::cPicture picture;
        ASSERT_TRUE(picture.Create(Painter::FORMAT_ARGB32, 1500, 1400));
        std::uint32_t seed = 7;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
            {
                seed = seed * 1103515245u + 12345u;
                // Flat areas, gradients and noise, so that every band differs.
                const std::uint32_t noise = (y / 100) % 3 == 0 ? (seed >> 8) & 0xFFFFFF : 0;
                const std::uint32_t alpha = translucent ? std::uint32_t((x + y) & 255) : 255u;
                picture.SetPixel(x, y, (alpha << 24) | (((std::uint32_t(x) * 7 + std::uint32_t(y)) & 0xFFFFFF) ^ noise));
            }
        PictureFile::sPixelView view;
        view.bits = picture.Bits();
        view.width = picture.Width();
        view.height = picture.Height();
        view.stride = picture.Stride();
        PictureFile::cMemorySink sink;
        ASSERT_TRUE(PictureFile::cPngCodec::Encode(view, sink));
        PictureFile::cCodecImage image;
        ASSERT_TRUE(PictureFile::cPngCodec::Decode(sink.Bytes().data(), sink.Bytes().size(), image));
        ASSERT_EQ(image.Width(), 1500);
        ASSERT_EQ(image.Height(), 1400);
        EXPECT_EQ(image.HasAlpha(), translucent);
        for (int y = 0; y < 1400; ++y)
            for (int x = 0; x < 1500; ++x)
                ASSERT_EQ(image.Row(y)[x], picture.Pixel(x, y)) << x << "," << y << " " << translucent;
    }
}

} // namespace
