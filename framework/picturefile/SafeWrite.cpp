#include "framework/picturefile/SafeWrite.h"

#include <exception>
#include <string>

#include "framework/core/File.h"
#include "platform/Platform.h"

namespace PictureFile {

bool WriteFileSafely(const Container::cWideString& path, const std::function<bool(Storage::cFile& file)>& write)
{
    if (path.IsEmpty() || !write)
        return false;

    std::u16string temporary;
    try
    {
        temporary = Platform::MakeTempSibling(path.Text());
    }
    catch (...)
    {
        return false;
    }
    if (temporary.empty())
        return false;

    bool written = false;
    {
        Storage::cFile file;
        if (!file.Open(temporary.c_str(), "wb"))
            return false;
        try
        {
            written = write(file);
        }
        catch (...)
        {
            written = false;
        }
        // Every byte must reach the disk before the target is replaced.
        if (written)
            written = file.IsOpen() && file.Flush();
        if (!file.Close())
            written = false;
    }

    if (written && Platform::ReplaceFile(temporary.c_str(), path.Text()))
        return true;

    Platform::RemoveFile(temporary.c_str());
    return false;
}

} // namespace PictureFile
