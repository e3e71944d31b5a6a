#include "platform/PlatformInternal.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <new>
#include <string>

static_assert(sizeof(wchar_t) == 2, "UTF-16 text is passed to Win32 as wchar_t");

namespace Platform {

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// Paths at least this long go to Win32 in their "\\?\" form: the plain
// form is limited to MAX_PATH characters (folders to MAX_PATH - 12).
constexpr std::size_t kLongPath = MAX_PATH - 12;

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

// A path as the Win32 file functions take it (see Internal::Win32FilePath).
std::wstring FilePath(const char16_t* path)
{
    try
    {
        if (!path || !*path)
            return std::wstring();
        std::wstring text(Wide(path));
        if (text.size() < kLongPath || StartsWith(text, L"\\\\?\\"))
            return text;
        const DWORD needed = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
        if (needed == 0)
            return text;
        std::wstring full(needed, L'\0');
        const DWORD length = GetFullPathNameW(text.c_str(), needed, full.data(), nullptr);
        if (length == 0 || length >= needed)
            return text;
        full.resize(length);
        if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\"))
            return full;
        if (StartsWith(full, L"\\\\"))
            return L"\\\\?\\UNC\\" + full.substr(2);
        return L"\\\\?\\" + full;
    }
    catch (const std::bad_alloc&)
    {
        return std::wstring();
    }
}

bool IsBusy(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
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
    const std::wstring name = FilePath(path);
    return name.empty() ? nullptr : _wfopen(name.c_str(), wideMode);
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

std::FILE* CreateNewFile(const char16_t* path, bool& exists)
{
    exists = false;
    const std::wstring name = FilePath(path);
    if (name.empty())
        return nullptr;
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
    {
        const DWORD error = GetLastError();
        exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0)
    {
        CloseHandle(handle);
        DeleteFileW(name.c_str());
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "wb");
    if (!file)
    {
        _close(descriptor);
        DeleteFileW(name.c_str());
    }
    return file;
}

bool AtomicReplace(const char16_t* source, const char16_t* target)
{
    const std::wstring from = FilePath(source);
    const std::wstring to = FilePath(target);
    if (from.empty() || to.empty())
        return false;
    // A target that another program (or another save) holds open for a
    // moment refuses to be replaced; such a refusal is retried briefly.
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        // ReplaceFileW keeps the old file's attributes and security; it
        // fails, changing nothing, when the target does not exist yet.
        if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return true;
        const DWORD replaceError = GetLastError();
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD moveError = GetLastError();
        if (!IsBusy(moveError) && !IsBusy(replaceError))
            return false;
        if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
            return false; // the source is gone: nothing left to put in place
        Sleep(attempt < 10 ? 1 : 10);
    }
    return false;
}

bool RemoveFile(const char16_t* path)
{
    const std::wstring name = FilePath(path);
    return !name.empty() && DeleteFileW(name.c_str()) != 0;
}

bool CreateFolder(const char16_t* path)
{
    const std::wstring name = FilePath(path);
    return !name.empty() && CreateDirectoryW(name.c_str(), nullptr) != 0;
}

bool PathExists(const char16_t* path)
{
    const std::wstring name = FilePath(path);
    return !name.empty() && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const char16_t* path)
{
    const std::wstring name = FilePath(path);
    if (name.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(name.c_str());
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
    const std::wstring name = FilePath(pattern);
    if (name.empty())
        return nullptr;
    WIN32_FIND_DATAW data = {};
    const HANDLE handle = FindFirstFileW(name.c_str(), &data);
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

namespace Internal {

std::u16string Win32FilePath(const char16_t* path)
{
    try
    {
        const std::wstring form = FilePath(path);
        return std::u16string(reinterpret_cast<const char16_t*>(form.c_str()), form.size());
    }
    catch (const std::bad_alloc&)
    {
        return std::u16string();
    }
}

} // namespace Internal

} // namespace Platform
