#include "framework/picturefile/PictureFile.h"

#include <exception>

#include "framework/core/File.h"

namespace PictureFile {

std::int32_t* sSaveOptions::Field(int index)
{
    switch (index)
    {
    case 0: return &o0;
    case 1: return &o1;
    case 2: return &o2;
    case 3: return &o3;
    case 4: return &o4;
    case 5: return reinterpret_cast<std::int32_t*>(&o5);
    case 6: return &o6;
    case 7: return &o7;
    case 8: return &o8;
    case 9: return &o9;
    default: return nullptr;
    }
}

cPictureFile::~cPictureFile() = default;

bool ReadFileBytes(const Container::cWideString& path, std::vector<std::uint8_t>& bytes, std::uint64_t maxBytes)
{
    Storage::cFile file;
    if (!file.Open(path, "rb"))
        return false;
    const std::int64_t length = file.Length();
    if (length < 0 || std::uint64_t(length) > maxBytes || std::uint64_t(length) > SIZE_MAX)
        return false;
    try
    {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
        if (!data.empty() && file.Read(data.data(), 1, data.size()) != data.size())
            return false;
        bytes = std::move(data);
        return true;
    }
    catch (const std::exception&)
    {
        return false;
    }
}

} // namespace PictureFile
