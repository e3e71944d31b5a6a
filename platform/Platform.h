#pragma once

// The seam between the portable core and the operating system. Everything
// the core needs from the OS goes through these calls; the Win32 and POSIX
// implementations live in Platform_win32.cpp and Platform_posix.cpp.
//
// Paths are UTF-16. On POSIX they are converted to UTF-8 and "\" is taken
// as a folder separator like "/", so the core can build paths one way. On
// Win32, long absolute paths (near MAX_PATH and beyond) are passed in their
// "\\?\" form, so any path the file system can hold works.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// ---- Files -------------------------------------------------------------

// Opens a buffered stream by UTF-16 path. mode is a C runtime mode such as
// "rb", "wb", "ab", "r+b". Null on failure.
std::FILE* OpenFile(const char16_t* path, const char* mode);
// 64-bit positioning; origin is SEEK_SET, SEEK_CUR or SEEK_END.
bool Seek(std::FILE* file, std::int64_t offset, int origin);
// Current position, or -1.
std::int64_t Tell(std::FILE* file);
// Length in bytes (buffered writes included), or -1. Keeps the position.
std::int64_t FileLength(std::FILE* file);
// Flushes the stream's buffer and asks the OS to put the data on disk.
bool FlushToDisk(std::FILE* file);

// Creates a new file for writing ("wb") only when nothing of that name
// exists: a file already there is never truncated or touched. Null on
// failure, with exists set when the name was taken (so the caller can try
// another name).
std::FILE* CreateNewFile(const char16_t* path, bool& exists);

// Replaces target by source in one step (the target may exist or not); the
// data is on disk when this returns true, and on failure source is still
// there and target is as it was. An existing target keeps its attributes
// and permissions (Win32: ReplaceFileW, which also keeps its security;
// MoveFileExW when the target is new).
bool AtomicReplace(const char16_t* source, const char16_t* target);
bool RemoveFile(const char16_t* path);
// Creates one folder (not its parents). False when it exists already.
bool CreateFolder(const char16_t* path);
// Existence by attributes: no wildcards, drive roots and folders work.
bool PathExists(const char16_t* path);
bool IsFolder(const char16_t* path);

// ---- Directory listing -------------------------------------------------

// Attribute bits, the Win32 values.
enum : std::uint32_t
{
    AttributeReadOnly = 0x01,
    AttributeHidden = 0x02,
    AttributeSystem = 0x04,
    AttributeFolder = 0x10,
    AttributeArchive = 0x20,
    AttributeNormal = 0x80,
};

struct sFindEntry
{
    std::u16string name;          // file name only, no folder
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    // Last write time in 100-ns units since 1601-01-01 UTC.
    std::uint64_t writeTime = 0;
};

using FindHandle = void*;

// Starts a listing for a pattern such as "C:\dir\*.png" (the name part may
// hold * and ?). Null when nothing matched; otherwise entry holds the first
// match and the handle must be closed with FindClose.
FindHandle FindFirst(const char16_t* pattern, sFindEntry& entry);
bool FindNext(FindHandle handle, sFindEntry& entry);
void FindClose(FindHandle handle);

// ---- Text conversion ---------------------------------------------------

// The ANSI code page (Windows: CP_ACP; elsewhere Windows-1252) to UTF-16.
// Appends to output; false when the input cannot be converted.
bool AnsiToUtf16(const char* bytes, std::size_t count, std::u16string& output);
// UTF-8 to UTF-16, appending to output; invalid sequences become U+FFFD.
void Utf8ToUtf16(const char* bytes, std::size_t count, std::u16string& output);
// UTF-16 to UTF-8, appending to output; lone surrogates become U+FFFD.
void Utf16ToUtf8(const char16_t* text, std::size_t count, std::string& output);

// ---- Time --------------------------------------------------------------

// The fields of a Win32 SYSTEMTIME.
struct sTime
{
    std::uint16_t year = 0;
    std::uint16_t month = 0;       // 1..12
    std::uint16_t dayOfWeek = 0;   // 0 = Sunday
    std::uint16_t day = 0;         // 1..31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

sTime LocalTime();
sTime SystemTime();
// Tests: make LocalTime/SystemTime answer fixed values; null restores the
// clock.
void SetFakeTime(const sTime* local, const sTime* system);

// ---- Resources ---------------------------------------------------------

// A resource type or name: text, or a 16-bit integer id encoded the Win32
// way (a pointer value below 0x10000). ResourceId makes the latter.
inline const char16_t* ResourceId(std::uint16_t id)
{
    return reinterpret_cast<const char16_t*>(static_cast<std::uintptr_t>(id));
}
inline bool IsResourceId(const char16_t* name)
{
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

// The bytes of a resource of module (Win32: an HMODULE, null for the
// program itself). Resources registered with RegisterResource are found
// first (text names compare ignoring case, as Win32 does); on POSIX they
// are the only ones. The bytes stay valid for the life of the module or of
// the registration.
bool FindResourceBytes(void* module, const char16_t* type, const char16_t* name,
                       const std::uint8_t*& data, std::size_t& size);
// Registers a copy of bytes under type and name (replacing an earlier
// registration); used by tests and by builds without resource sections.
void RegisterResource(const char16_t* type, const char16_t* name, const void* bytes, std::size_t size);
void ClearRegisteredResources();
// Appends the text names of the resources of type: those registered (in
// upper case, as the resource compiler stores them), then those of module
// (Win32 only), each name once. Integer ids are left out.
void ResourceNames(void* module, const char16_t* type, std::vector<std::u16string>& names);

// ---- Locale ------------------------------------------------------------

// The user's default language id (Win32 LANGID; POSIX: from LANG or
// LC_ALL, 0x0409 when unknown).
std::uint16_t UserDefaultLanguage();
// Tests: force the answer of UserDefaultLanguage; 0 restores.
void SetFakeUserDefaultLanguage(std::uint16_t languageId);

} // namespace Platform
