#include "framework/document/TBVFile.h"

#include <memory>
#include <vector>

#include "framework/document/BVFile.h"
#include "framework/document/BVImage.h"
#include "framework/document/BVScene.h"
#include "framework/document/DocumentLimits.h"
#include "framework/painter/Picture.h"
#include "framework/picturefile/ExifInfo.h"

namespace Brimvale {

bool cTBVFile::GetInfo(PictureFile::sPictureInfo& info, const Container::cWideString& path)
{
    cBVFile file;
    std::int32_t width = 0, height = 0;
    const bool read = file.ReadInfo(path, width, height);
    m_error = file.Error();
    if (!read)
        return false;
    info.width = width;
    info.height = height;
    info.format = Painter::FORMAT_ARGB32;
    return true;
}

bool cTBVFile::Flatten(cBVScene& scene, Painter::cPicture& picture, std::uint64_t fileBytes)
{
    if (!scene.Render(sDocumentLimits::RenderWorkFor(fileBytes)))
        return false;
    Painter::cPicture result;
    if (!result.Create(Painter::FORMAT_ARGB32, scene.CanvasWidth(), scene.CanvasHeight()) ||
        !result.CopyPixels(scene.Canvas()))
        return false;
    if (const PictureFile::cExifInfo* metadata = scene.Metadata())
        PictureFile::cExifInfo::AttachTo(result, std::unique_ptr<PictureFile::cExifInfo>(metadata->Clone()));
    picture = std::move(result);
    return true;
}

bool cTBVFile::Load(Painter::cPicture& picture, const Container::cWideString& path)
{
    std::vector<std::uint8_t> bytes;
    if (!PictureFile::ReadFileBytes(path, bytes, cBVFile::kMaxFileBytes))
    {
        m_error = cBVFile::ErrorOpen;
        return false;
    }
    return LoadFromMemory(picture, bytes.data(), bytes.size());
}

bool cTBVFile::LoadFromMemory(Painter::cPicture& picture, const std::uint8_t* data, std::size_t size)
{
    cBVFile file;
    std::unique_ptr<cBVScene> scene = file.ReadScene(data, size);
    m_error = file.Error();
    return scene && Flatten(*scene, picture, size);
}

bool cTBVFile::BuildScene(const Painter::cPicture& picture, cBVScene& scene)
{
    if (picture.IsEmpty() || !scene.SetCanvasSize(picture.Width(), picture.Height()))
        return false;
    auto image = std::make_unique<cBVImage>();
    Painter::cPicture& layer = *image->GetPicture();
    // Layers hold 32-bit pixels; any other format goes in converted.
    const std::int32_t format = picture.Format() == Painter::FORMAT_ARGB32 ? picture.Format() : Painter::FORMAT_ARGB32;
    if (!layer.Create(format, picture.Width(), picture.Height()) || !layer.CopyPixels(picture))
        return false;
    image->UpdateMatrix();
    scene.Root().AddChild(std::move(image));
    if (const PictureFile::cExifInfo* metadata = picture.Exif())
    {
        std::unique_ptr<PictureFile::cExifInfo> copy(metadata->Clone());
        if (!copy)
            return false;
        scene.SetMetadata(std::move(copy));
    }
    return true;
}

bool cTBVFile::Save(const Painter::cPicture& picture, const Container::cWideString& path)
{
    try
    {
        cBVScene scene;
        if (!BuildScene(picture, scene))
        {
            m_error = cBVFile::ErrorWrite;
            return false;
        }
        cBVFile file;
        const bool written = file.WriteScene(path, scene);
        m_error = file.Error();
        return written;
    }
    catch (const std::bad_alloc&)
    {
        m_error = cBVFile::ErrorWrite;
        return false;
    }
}

} // namespace Brimvale
