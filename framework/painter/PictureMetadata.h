#pragma once

// Ownership of the camera metadata a picture carries from a loaded file to
// a saved one. The painter does not know the metadata type
// (PictureFile::cExifInfo, defined by the picture-file library); whoever
// creates the object hands it over together with the two functions that
// destroy and clone it, e.g. in the picture-file code:
//
//     Painter::cPictureMetadata metadata(info.release(),
//         [](PictureFile::cExifInfo* p) { delete p; },
//         [](const PictureFile::cExifInfo* p) -> PictureFile::cExifInfo* {
//             return new (std::nothrow) PictureFile::cExifInfo(*p); });
//     picture.SetExif(std::move(metadata));
//
// A clone function that fails returns null; the copy then carries no
// metadata.

#include <utility>

namespace PictureFile {
class cExifInfo;
}

namespace Painter {

class cPictureMetadata
{
public:
    using tDestroy = void (*)(PictureFile::cExifInfo*);
    using tClone = PictureFile::cExifInfo* (*)(const PictureFile::cExifInfo*);

    cPictureMetadata() = default;
    // Takes ownership of `exif`; `destroy` must not be null when `exif` is not.
    cPictureMetadata(PictureFile::cExifInfo* exif, tDestroy destroy, tClone clone)
        : m_exif(exif), m_destroy(destroy), m_clone(clone)
    {
    }
    ~cPictureMetadata() { Reset(); }

    cPictureMetadata(const cPictureMetadata&) = delete;
    cPictureMetadata& operator=(const cPictureMetadata&) = delete;
    cPictureMetadata(cPictureMetadata&& other) noexcept
        : m_exif(std::exchange(other.m_exif, nullptr)), m_destroy(other.m_destroy), m_clone(other.m_clone)
    {
    }
    cPictureMetadata& operator=(cPictureMetadata&& other) noexcept
    {
        if (this != &other)
        {
            Reset();
            m_exif = std::exchange(other.m_exif, nullptr);
            m_destroy = other.m_destroy;
            m_clone = other.m_clone;
        }
        return *this;
    }

    PictureFile::cExifInfo* Get() const { return m_exif; }
    explicit operator bool() const { return m_exif != nullptr; }

    // Destroys the object held, if any.
    void Reset()
    {
        if (m_exif && m_destroy)
            m_destroy(m_exif);
        m_exif = nullptr;
    }

    // A deep copy through the clone function; empty when there is nothing
    // to copy or the copy failed.
    cPictureMetadata Clone() const
    {
        if (!m_exif || !m_clone)
            return cPictureMetadata();
        return cPictureMetadata(m_clone(m_exif), m_destroy, m_clone);
    }

private:
    PictureFile::cExifInfo* m_exif = nullptr;
    tDestroy m_destroy = nullptr;
    tClone m_clone = nullptr;
};

} // namespace Painter
