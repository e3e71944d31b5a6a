#include "framework/picturefile/PictureFileFactory.h"

#include <new>

#include "framework/core/PathHelpers.h"
#include "framework/picturefile/BitmapFile.h"
#include "framework/picturefile/CodecFile.h"
#include "framework/picturefile/JpegFile.h"
#include "framework/picturefile/TGAFile.h"

namespace PictureFile {

namespace {

constexpr const char16_t* ReadableExtensions[] = {
    u"png", u"jpg", u"jpe", u"jpeg", u"bmp", u"gif", u"tif", u"tiff", u"tga", u"ico", u"jpc", u"jp2",
    u"pcx", u"pgx", u"pnm", u"ras", u"ska", u"wbmp", u"wmf", u"emf", u"raw", u"crw", u"cr2", u"nef",
    u"dng", u"orf", u"arw", u"dcr", u"mrw", u"raf", u"pef", u"erf", u"3fr", u"x3f", u"mef", u"sr2",
};

} // namespace

cPictureFileFactory::~cPictureFileFactory() = default;

Container::cWideString cPictureFileFactory::LowerExtensionOf(const Container::cWideString& path)
{
    Container::cWideString extension = Storage::ExtensionOf(path);
    for (std::size_t i = 0; i < extension.Length(); ++i)
        if (extension[i] >= u'A' && extension[i] <= u'Z')
            extension[i] = char16_t(extension[i] - u'A' + u'a');
    return extension;
}

int cPictureFileFactory::CodecTypeOf(const Container::cWideString& extension)
{
    // An extension never holds a ".", so the codec layer reads it as one.
    if (extension.Find(u'.') < extension.Length())
        return cCodecFile::TypeNone;
    return cCodecFile::CodecTypeOf(extension.Text());
}

cPictureFile* cPictureFileFactory::Create(const Container::cWideString& path) const
{
    const Container::cWideString extension = LowerExtensionOf(path);
    if (extension.IsEmpty())
        return nullptr;
    if (extension == u"tga")
        return new (std::nothrow) cTGAFile();
    if (extension == u"bmp")
        return new (std::nothrow) cBitmapFile();
    if (extension == u"jpg" || extension == u"jpe" || extension == u"jpeg")
        return new (std::nothrow) cJpegFile();
    if (const int type = CodecTypeOf(extension); type != cCodecFile::TypeNone)
        return new (std::nothrow) cCodecFile(type);
    return nullptr;
}

bool cPictureFileFactory::CanRead(const Container::cWideString& path) const
{
    const Container::cWideString extension = LowerExtensionOf(path);
    for (const char16_t* readable : ReadableExtensions)
        if (extension == readable)
            return true;
    return false;
}

} // namespace PictureFile
