// Reads arbitrary bytes as a text file: every byte-order mark branch, short
// and odd lengths, broken UTF-8.

#include "framework/core/TextFile.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!Fuzz::WriteScratch(data, size))
        return 0;
    Container::cWideString text(u"unchanged");
    const bool read = Storage::ReadTextFile(Fuzz::ScratchPath().c_str(), text);
    // The result is always a terminated string of the length it reports.
    volatile char16_t last = text.Text()[text.Length()];
    if (last != 0)
        __builtin_trap();
    // Decoding the same bytes in memory must agree with the file reader.
    Container::cWideString again(u"unchanged");
    const bool decoded = Storage::DecodeText(data, size, again);
    if (read != decoded || !(text == again))
        __builtin_trap();
    return 0;
}
