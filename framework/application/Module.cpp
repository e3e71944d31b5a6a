#include "framework/application/Module.h"

#include <climits>
#include <cstring>
#include <utility>

#include "framework/painter/Picture.h"

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace Application {

namespace {

uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

int32_t ReadI32(const uint8_t* p)
{
    return static_cast<int32_t>(ReadU32(p));
}

// The largest side of a working-format picture.
constexpr int32_t MaxSide = 32767;
// The size of the only bitmap header accepted.
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t CompressionNone = 0; // BI_RGB

} // namespace

cModule::cModule(HINSTANCE instance) : m_instance(instance), m_owns(false)
{
}

cModule::~cModule()
{
    Free();
}

bool cModule::Load(const char16_t* path, bool dataOnly)
{
    if (path == nullptr || path[0] == 0)
        return false;
    const DWORD flags = dataOnly ? LOAD_LIBRARY_AS_DATAFILE : 0;
    HMODULE loaded = LoadLibraryExW(reinterpret_cast<const wchar_t*>(path), nullptr, flags);
    if (loaded == nullptr)
        return false;
    Free();
    m_instance = loaded;
    m_owns = true;
    return true;
}

void cModule::Attach(HINSTANCE instance)
{
    Free();
    m_instance = instance;
    m_owns = false;
}

void cModule::Free()
{
    if (m_instance != nullptr && m_owns)
        FreeLibrary(m_instance);
    m_instance = nullptr;
    m_owns = false;
}

bool cModule::FindResourceBytes(const wchar_t* type, int id, const uint8_t*& bytes, uint32_t& size) const
{
    if (m_instance == nullptr || id <= 0 || id > 0xFFFF)
        return false;
    HRSRC found = FindResourceW(m_instance, MAKEINTRESOURCEW(id), type);
    if (found == nullptr)
        return false;
    const DWORD length = SizeofResource(m_instance, found);
    HGLOBAL loaded = LoadResource(m_instance, found);
    if (loaded == nullptr)
        return false;
    const void* data = LockResource(loaded);
    if (data == nullptr)
        return false;
    bytes = static_cast<const uint8_t*>(data);
    size = length;
    return true;
}

bool cModule::LoadBitmapResource(Painter::cPicture& picture, int id) const
{
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!FindResourceBytes(MAKEINTRESOURCEW(2), id, bytes, size))
        return false;
    const bool read = ReadBitmap(bytes, size, picture);
    // Resources of a loaded module need no freeing on Win32; the call is
    // kept for symmetry with LoadResource.
    FreeResource(const_cast<uint8_t*>(bytes));
    return read;
}

bool cModule::ReadBitmap(const uint8_t* bytes, uint64_t size, Painter::cPicture& picture)
{
    if (bytes == nullptr || size < InfoHeaderSize)
        return false;
    const uint32_t headerSize = ReadU32(bytes);
    const int32_t width = ReadI32(bytes + 4);
    const int32_t height = ReadI32(bytes + 8);
    const uint16_t bitCount = ReadU16(bytes + 14);
    const uint32_t compression = ReadU32(bytes + 16);
    const uint32_t coloursUsed = ReadU32(bytes + 32);
    if (headerSize != InfoHeaderSize || compression != CompressionNone)
        return false;
    if (bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    // INT_MIN has no absolute value; the bound below rules it out with the
    // other oversized heights.
    if (width <= 0 || width > MaxSide || height == 0 || height < -MaxSide || height > MaxSide)
        return false;

    const int32_t rows = height < 0 ? -height : height;
    const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
    // A colour table may precede the pixels even of a true-colour bitmap.
    const uint64_t pixelOffset = InfoHeaderSize + static_cast<uint64_t>(coloursUsed) * 4;
    if (pixelOffset > size || stride * static_cast<uint64_t>(rows) > size - pixelOffset)
        return false;

    Painter::cPicture decoded;
    if (!decoded.Create(Painter::FORMAT_ARGB32, width, rows))
        return false;
    const bool bottomUp = height > 0;
    for (int32_t y = 0; y < rows; ++y) {
        const int32_t sourceRow = bottomUp ? rows - 1 - y : y;
        const uint8_t* in = bytes + pixelOffset + static_cast<uint64_t>(sourceRow) * stride;
        uint8_t* out = decoded.Row(y);
        switch (bitCount) {
        case 32:
            std::memcpy(out, in, static_cast<size_t>(width) * 4);
            break;
        case 24:
            for (int32_t x = 0; x < width; ++x, in += 3, out += 4) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = 255;
            }
            break;
        case 16:
            for (int32_t x = 0; x < width; ++x, in += 2, out += 4) {
                const uint32_t value = ReadU16(in);
                out[0] = static_cast<uint8_t>((value & 0x1F) * 255 / 31);
                out[1] = static_cast<uint8_t>(((value >> 5) & 0x3F) * 255 / 63);
                out[2] = static_cast<uint8_t>(((value >> 11) & 0x1F) * 255 / 31);
                out[3] = 255;
            }
            break;
        }
    }
    picture = std::move(decoded);
    return true;
}

bool cModule::GetProductVersion(int (&parts)[4]) const
{
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!FindResourceBytes(MAKEINTRESOURCEW(16), 1, bytes, size))
        return false;
    return ReadProductVersion(bytes, size, parts);
}

bool cModule::ReadProductVersion(const uint8_t* bytes, uint64_t size, int (&parts)[4])
{
    // VS_VERSIONINFO: length, value length, type, the key "VS_VERSION_INFO"
    // with its terminator, padding to 4 bytes, then VS_FIXEDFILEINFO.
    static const char16_t key[] = u"VS_VERSION_INFO";
    constexpr uint64_t keyOffset = 6;
    constexpr uint64_t keyBytes = sizeof(key); // terminator included
    constexpr uint64_t valueOffset = (keyOffset + keyBytes + 3) & ~uint64_t(3);
    constexpr uint64_t fixedSize = 52;
    constexpr uint32_t signature = 0xFEEF04BD;
    if (bytes == nullptr || size < valueOffset + fixedSize)
        return false;
    const uint64_t length = ReadU16(bytes);
    const uint64_t valueLength = ReadU16(bytes + 2);
    if (length > size || length < valueOffset + fixedSize || valueLength < fixedSize)
        return false;
    for (size_t i = 0; i < sizeof(key) / sizeof(key[0]); ++i) {
        if (ReadU16(bytes + keyOffset + 2 * i) != key[i])
            return false;
    }
    const uint8_t* fixed = bytes + valueOffset;
    if (ReadU32(fixed) != signature)
        return false;
    const uint32_t high = ReadU32(fixed + 16); // dwProductVersionMS
    const uint32_t low = ReadU32(fixed + 20);  // dwProductVersionLS
    parts[0] = static_cast<int>(high >> 16);
    parts[1] = static_cast<int>(high & 0xFFFF);
    parts[2] = static_cast<int>(low >> 16);
    parts[3] = static_cast<int>(low & 0xFFFF);
    return true;
}

bool cModule::GetProductVersionText(Container::cWideString& text) const
{
    int parts[4];
    if (!GetProductVersion(parts))
        return false;
    Container::cWideString formatted;
    if (!formatted.Format(u"%d-%d-%d-%d", parts[0], parts[1], parts[2], parts[3]))
        return false;
    text = std::move(formatted);
    return true;
}

} // namespace Application
