#include "platform/PlatformInternal.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <io.h>

static_assert(sizeof(wchar_t) == 2, "UTF-16 text is passed to Win32 as wchar_t");

namespace Platform {

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

std::uint64_t FileTimeOf(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

// ---- Files -------------------------------------------------------------

std::FILE* OpenFile(const char16_t* path, const char* mode)
{
    if (!path || !*path || !mode)
        return nullptr;
    wchar_t wideMode[8];
    std::size_t i = 0;
    for (; mode[i] && i + 1 < sizeof wideMode / sizeof wideMode[0]; ++i)
        wideMode[i] = static_cast<wchar_t>(static_cast<unsigned char>(mode[i]));
    wideMode[i] = 0;
    return _wfopen(Wide(path), wideMode);
}

bool Seek(std::FILE* file, std::int64_t offset, int origin)
{
    return file && _fseeki64(file, offset, origin) == 0;
}

std::int64_t Tell(std::FILE* file)
{
    return file ? _ftelli64(file) : -1;
}

std::int64_t FileLength(std::FILE* file)
{
    if (!file)
        return -1;
    const std::int64_t position = _ftelli64(file);
    if (position < 0 || _fseeki64(file, 0, SEEK_END) != 0)
        return -1;
    const std::int64_t length = _ftelli64(file);
    if (_fseeki64(file, position, SEEK_SET) != 0)
        return -1;
    return length;
}

bool FlushToDisk(std::FILE* file)
{
    if (!file || std::fflush(file) != 0)
        return false;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool AtomicReplace(const char16_t* source, const char16_t* target)
{
    if (!source || !target)
        return false;
    return MoveFileExW(Wide(source), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const char16_t* path)
{
    return path && DeleteFileW(Wide(path)) != 0;
}

bool CreateFolder(const char16_t* path)
{
    return path && CreateDirectoryW(Wide(path), nullptr) != 0;
}

bool PathExists(const char16_t* path)
{
    return path && *path && GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const char16_t* path)
{
    if (!path || !*path)
        return false;
    const DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// ---- Directory listing -------------------------------------------------

namespace {

void EntryOf(const WIN32_FIND_DATAW& data, sFindEntry& entry)
{
    entry.name.assign(reinterpret_cast<const char16_t*>(data.cFileName));
    entry.attributes = data.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.writeTime = FileTimeOf(data.ftLastWriteTime);
}

} // namespace

FindHandle FindFirst(const char16_t* pattern, sFindEntry& entry)
{
    if (!pattern || !*pattern)
        return nullptr;
    WIN32_FIND_DATAW data = {};
    const HANDLE handle = FindFirstFileW(Wide(pattern), &data);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    EntryOf(data, entry);
    return handle;
}

bool FindNext(FindHandle handle, sFindEntry& entry)
{
    if (!handle)
        return false;
    WIN32_FIND_DATAW data = {};
    if (!FindNextFileW(static_cast<HANDLE>(handle), &data))
        return false;
    EntryOf(data, entry);
    return true;
}

void FindClose(FindHandle handle)
{
    if (handle)
        ::FindClose(static_cast<HANDLE>(handle));
}

// ---- Text conversion ---------------------------------------------------

bool AnsiToUtf16(const char* bytes, std::size_t count, std::u16string& output)
{
    if (count == 0)
        return true;
    if (!bytes || count > 0x7FFFFFFF)
        return false;
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), nullptr, 0);
    if (length <= 0)
        return false;
    const std::size_t start = output.size();
    output.resize(start + static_cast<std::size_t>(length));
    const int written = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count),
                                            reinterpret_cast<wchar_t*>(output.data() + start), length);
    if (written <= 0)
    {
        output.resize(start);
        return false;
    }
    output.resize(start + static_cast<std::size_t>(written));
    return true;
}

// ---- Time --------------------------------------------------------------

namespace {

sTime TimeOf(const SYSTEMTIME& time)
{
    sTime result;
    result.year = time.wYear;
    result.month = time.wMonth;
    result.dayOfWeek = time.wDayOfWeek;
    result.day = time.wDay;
    result.hour = time.wHour;
    result.minute = time.wMinute;
    result.second = time.wSecond;
    result.milliseconds = time.wMilliseconds;
    return result;
}

} // namespace

sTime LocalTime()
{
    if (const auto fake = Internal::FakeLocalTime())
        return *fake;
    SYSTEMTIME time;
    GetLocalTime(&time);
    return TimeOf(time);
}

sTime SystemTime()
{
    if (const auto fake = Internal::FakeSystemTime())
        return *fake;
    SYSTEMTIME time;
    GetSystemTime(&time);
    return TimeOf(time);
}

// ---- Resources ---------------------------------------------------------

bool FindResourceBytes(void* module, const char16_t* type, const char16_t* name, const std::uint8_t*& data,
                       std::size_t& size)
{
    if (Internal::FindRegisteredResource(type, name, data, size))
        return true;
    if (!type || !name)
        return false;
    const auto instance = module ? static_cast<HMODULE>(module) : GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(instance, Wide(name), Wide(type));
    if (!found)
        return false;
    const HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded)
        return false;
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return false;
    data = static_cast<const std::uint8_t*>(bytes);
    size = SizeofResource(instance, found);
    return true;
}

namespace {

BOOL CALLBACK CollectResourceName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR parameter)
{
    if (!IS_INTRESOURCE(name))
    {
        auto& names = *reinterpret_cast<std::vector<std::u16string>*>(parameter);
        std::u16string text(reinterpret_cast<const char16_t*>(name));
        if (std::find(names.begin(), names.end(), text) == names.end())
            names.push_back(std::move(text));
    }
    return TRUE;
}

} // namespace

void ResourceNames(void* module, const char16_t* type, std::vector<std::u16string>& names)
{
    if (!type)
        return;
    Internal::RegisteredResourceNames(type, names);
    const auto instance = module ? static_cast<HMODULE>(module) : GetModuleHandleW(nullptr);
    EnumResourceNamesW(instance, Wide(type), CollectResourceName, reinterpret_cast<LONG_PTR>(&names));
}

// ---- Locale ------------------------------------------------------------

std::uint16_t UserDefaultLanguage()
{
    if (const std::uint16_t fake = Internal::FakeUserDefaultLanguage())
        return fake;
    return GetUserDefaultLangID();
}

} // namespace Platform
