#pragma once

#include <cstdint>

#include <windows.h>

#include "framework/painter/Picture.h"

namespace GDI {

// A picture whose pixels are the memory of a 32-bit top-down DIB section:
// format FORMAT_ARGB32, stride width * 4, not owned (the section frees its
// memory when it is deleted, never the picture). GDI drawing through the
// section and Painter drawing through the picture meet in the same pixels.
class cDIBPicture : public Painter::cPicture
{
public:
    cDIBPicture() = default;
    cDIBPicture(const cDIBPicture&) = delete;
    cDIBPicture& operator=(const cDIBPicture&) = delete;
    ~cDIBPicture() override;

    // Releases the previous section and picture, then creates a width x
    // height section (sides 1..32767). False leaves it empty.
    bool CreateDIB(std::int32_t width, std::int32_t height);
    // Releases the picture, then deletes the section.
    void ReleaseDIB();

    HBITMAP Section() const { return m_section; }

private:
    HBITMAP m_section = nullptr;
};

} // namespace GDI
