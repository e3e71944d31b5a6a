#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/core/AsyncObject.h"
#include "framework/core/WideString.h"

namespace Painter {
class cPicture;
}

namespace Application {

// A loaded module and access to its resources.
//
// The object either refers to a module someone else loaded (the program's
// own instance handle, given to the entry point) or owns one it loaded
// itself with Load; only an owned module is freed on destruction.
class cModule : public Container::cAsyncObject
{
public:
    cModule() = default;
    // Refers to instance without owning it.
    explicit cModule(HINSTANCE instance);
    ~cModule() override;

    cModule(const cModule&) = delete;
    cModule& operator=(const cModule&) = delete;

    // Loads the module at path and owns it. With dataOnly the file is
    // mapped for its resources only (no code runs). On failure the object
    // is unchanged.
    bool Load(const char16_t* path, bool dataOnly = false);
    // Refers to instance without owning it; an owned module is freed first.
    void Attach(HINSTANCE instance);
    // Frees an owned module; forgets a borrowed one.
    void Free();

    HINSTANCE Handle() const { return m_instance; }
    bool OwnsHandle() const { return m_owns; }
    bool IsLoaded() const { return m_instance != nullptr; }

    // The bytes of the resource of the given type and numeric id. They stay
    // valid while the module is loaded.
    bool FindResourceBytes(const wchar_t* type, int id, const uint8_t*& bytes, uint32_t& size) const;

    // Reads bitmap resource id (type 2) into picture, in the 32-bit working
    // format. Only uncompressed device-independent bitmaps with a 40-byte
    // header and 16 (5-6-5), 24 or 32 bits per pixel are accepted. On
    // failure the picture is left as it was.
    bool LoadBitmapResource(Painter::cPicture& picture, int id) const;
    // The same for the bytes of such a bitmap (header, optional colour
    // table of the header's colour count, pixels), from any source.
    static bool ReadBitmap(const uint8_t* bytes, uint64_t size, Painter::cPicture& picture);

    // The product version of the fixed part of the version resource (type
    // 16, id 1): major, minor, build, revision (the high and low words of
    // the most and of the least significant half).
    bool GetProductVersion(int (&parts)[4]) const;
    static bool ReadProductVersion(const uint8_t* bytes, uint64_t size, int (&parts)[4]);
    // The product version as "major-minor-build-revision", as web
    // addresses carry it.
    bool GetProductVersionText(Container::cWideString& text) const;

private:
    HINSTANCE m_instance = nullptr;
    bool m_owns = false;
};

} // namespace Application
