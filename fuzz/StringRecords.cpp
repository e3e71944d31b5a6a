// Reads a sequence of string records (32-bit count, then the characters)
// from arbitrary bytes. The first byte chooses, bit by bit, whether each
// record is read as UTF-16 or as 8-bit text.

#include "framework/core/File.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || !Fuzz::WriteScratch(data + 1, size - 1))
        return 0;
    const std::uint8_t kinds = data[0];
    Storage::cFile file;
    if (!file.Open(Fuzz::ScratchPath().c_str(), "rb"))
        return 0;
    for (int record = 0; record < 64; ++record)
    {
        const std::int64_t before = file.Remaining();
        if ((kinds >> (record % 8)) & 1)
        {
            Container::cWideString text(u"kept");
            if (!file.ReadString(text))
            {
                if (!(text == u"kept"))
                    __builtin_trap();
                break;
            }
            // A record read consumes exactly 4 + 2n bytes.
            if (before - file.Remaining() != 4 + 2 * static_cast<std::int64_t>(text.Length()))
                __builtin_trap();
        }
        else
        {
            Container::cByteString text("kept");
            if (!file.ReadString(text))
            {
                if (!(text == "kept"))
                    __builtin_trap();
                break;
            }
            if (before - file.Remaining() != 4 + static_cast<std::int64_t>(text.Length()))
                __builtin_trap();
        }
    }
    return 0;
}
