// The deflate block walker on arbitrary bytes (it is handed our own
// compressor's output, but must never read beyond what it is given), and
// a join of what it found.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/picturefile/codec/DeflateJoin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PictureFile::cDeflateJoin::sLastBlock last;
    if (!PictureFile::cDeflateJoin::FindLastBlock(data, size, last))
        return 0;
    std::vector<std::uint8_t> copy(data, data + size);
    PictureFile::cDeflateJoin joined;
    joined.Append(copy.data(), last, false);
    joined.Append(copy.data(), last, true);
    return 0;
}
