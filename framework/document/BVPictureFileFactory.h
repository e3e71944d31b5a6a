#pragma once

// The factory of the document family: every picture format plus the
// layered document format ("tbv"). It lives with the document model, which
// builds on the picture files, so that it can see both.

#include "framework/picturefile/PictureFileFactory.h"

namespace Brimvale {

class cBVPictureFileFactory : public PictureFile::cPictureFileFactory
{
public:
    // "tbv" (any case) gives the document file object; other extensions
    // go to the picture formats.
    PictureFile::cPictureFile* Create(const Container::cWideString& path) const override;
    // "tbv" exactly (lower case only) is readable; other extensions as
    // the picture formats say.
    bool CanRead(const Container::cWideString& path) const override;
};

} // namespace Brimvale
