#pragma once

// Turns a file path into the format object for its extension.

#include "framework/core/WideString.h"

namespace PictureFile {

class cPictureFile;

class cPictureFileFactory
{
public:
    cPictureFileFactory() = default;
    virtual ~cPictureFileFactory();

    // A new format object with default save options for the extension of
    // path (the text after the last "." of the whole path, ASCII case
    // folded), owned by the caller; null for an extension no format
    // handles or when memory runs out.
    virtual cPictureFile* Create(const Container::cWideString& path) const;
    // True when the extension names a format the program can read.
    virtual bool CanRead(const Container::cWideString& path) const;

    // The codec type number of an extension (ASCII case folded); 0 when the
    // codec layer has no type for it.
    static int CodecTypeOf(const Container::cWideString& extension);
    // The extension of path folded to ASCII lower case.
    static Container::cWideString LowerExtensionOf(const Container::cWideString& path);
};

} // namespace PictureFile
