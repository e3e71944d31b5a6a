#pragma once

// Joins raw deflate streams compressed one after the other (independently,
// possibly on different threads) into one stream that inflates to the
// concatenation of their inputs: each stream but the last loses the final
// mark of its last block, and a stream that ends inside a byte is padded
// to the next one with an empty stored block (as a sync flush does), so
// that the next stream is laid on whole bytes.
//
// Finding a stream's last block means walking its blocks, decoding every
// Huffman code; FindLastBlock does that, so it can run on the thread that
// compressed the stream. The streams are our own compressor's output; a
// malformed one is reported, never read beyond its end.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace PictureFile {

class cDeflateJoin
{
public:
    // Where the last block of a stream begins (its header bit, the final
    // mark) and where it ends, in bits from the start of the stream.
    struct sLastBlock
    {
        std::uint64_t headerBit = 0;
        std::uint64_t endBit = 0;
    };

    // Walks the blocks of a raw deflate stream up to its final block.
    // False when the stream is malformed or ends before its final block.
    static bool FindLastBlock(const std::uint8_t* data, std::size_t size, sLastBlock& last);

    // The Adler-32 of A followed by B, from the checksums of both and the
    // length of B.
    static std::uint32_t CombineAdler32(std::uint32_t adlerA, std::uint32_t adlerB, std::uint64_t lengthB);

    // Appends one stream described by `last`; every stream but the last
    // one appended must say so with final = false. `data` is changed (its
    // final mark cleared) when final is false.
    void Append(std::uint8_t* data, const sLastBlock& last, bool final);

    // The joined stream; its last byte is padded with zero bits.
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_bits = 0;
};

} // namespace PictureFile
