#include "framework/document/BVPictureFileFactory.h"

#include <new>

#include "framework/core/PathHelpers.h"
#include "framework/document/TBVFile.h"

namespace Brimvale {

PictureFile::cPictureFile* cBVPictureFileFactory::Create(const Container::cWideString& path) const
{
    if (LowerExtensionOf(path) == u"tbv")
        return new (std::nothrow) cTBVFile();
    return cPictureFileFactory::Create(path);
}

bool cBVPictureFileFactory::CanRead(const Container::cWideString& path) const
{
    if (Storage::ExtensionOf(path) == u"tbv")
        return true;
    return cPictureFileFactory::CanRead(path);
}

} // namespace Brimvale
