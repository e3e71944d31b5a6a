#include "framework/picturefile/BVPictureFileFactory.h"

#include "framework/core/PathHelpers.h"
#include "framework/picturefile/PictureFile.h"

namespace Brimvale {

PictureFile::cPictureFile* cBVPictureFileFactory::Create(const Container::cWideString& path) const
{
    if (LowerExtensionOf(path) == u"tbv")
    {
        // The layered document format has no file object yet; nothing is
        // created for it (and it must not fall through to the picture
        // formats).
        return nullptr;
    }
    return cPictureFileFactory::Create(path);
}

bool cBVPictureFileFactory::CanRead(const Container::cWideString& path) const
{
    if (Storage::ExtensionOf(path) == u"tbv")
        return true;
    return cPictureFileFactory::CanRead(path);
}

} // namespace Brimvale
