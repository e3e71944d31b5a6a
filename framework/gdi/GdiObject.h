#pragma once

#include <windows.h>

namespace GDI {

// Owns one GDI object handle and deletes it with DeleteObject when reset or
// destroyed (a null handle is skipped). Not copyable; moving hands the
// handle over.
class cGdiObject
{
public:
    cGdiObject() = default;
    explicit cGdiObject(HGDIOBJ handle) : m_handle(handle) {}
    cGdiObject(const cGdiObject&) = delete;
    cGdiObject& operator=(const cGdiObject&) = delete;
    cGdiObject(cGdiObject&& other) noexcept : m_handle(other.Detach()) {}
    cGdiObject& operator=(cGdiObject&& other) noexcept;
    virtual ~cGdiObject();

    HGDIOBJ Object() const { return m_handle; }
    bool IsNull() const { return m_handle == nullptr; }
    // Deletes the current handle and takes `handle`.
    void Reset(HGDIOBJ handle = nullptr);
    // Gives the handle up without deleting it.
    HGDIOBJ Detach();

private:
    HGDIOBJ m_handle = nullptr;
};

// 0x00RRGGBB (blue in the low byte) to a Windows colour value (red in the
// low byte); the top byte is dropped.
inline COLORREF ToColorRef(unsigned colour)
{
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

} // namespace GDI
