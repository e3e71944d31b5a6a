#pragma once

// A scratch file for fuzz targets that read through the file layer: the
// input is written to it, and the target reads it back by its UTF-16 path.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace Fuzz {

inline const std::u16string& ScratchPath()
{
    static const std::u16string path = [] {
        const std::string narrow = "/tmp/qs-fuzz-" + std::to_string(getpid()) + ".bin";
        return std::u16string(narrow.begin(), narrow.end());
    }();
    return path;
}

inline bool WriteScratch(const std::uint8_t* data, std::size_t size)
{
    const std::u16string& path = ScratchPath();
    const std::string narrow(path.begin(), path.end());
    std::FILE* file = std::fopen(narrow.c_str(), "wb");
    if (!file)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace Fuzz
