#include "platform/PlatformInternal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace Platform {

namespace {

// UTF-16 path to the UTF-8 the file system takes; "\" separates folders.
std::string NativePath(const char16_t* path)
{
    std::string result;
    if (!path)
        return result;
    std::size_t length = 0;
    while (path[length])
        ++length;
    Utf16ToUtf8(path, length, result);
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

std::uint64_t FileTimeOf(const struct timespec& time)
{
    // 100-ns units since 1601-01-01.
    constexpr std::int64_t epochDifference = 11644473600LL;
    const std::int64_t seconds = static_cast<std::int64_t>(time.tv_sec) + epochDifference;
    if (seconds < 0)
        return 0;
    return static_cast<std::uint64_t>(seconds) * 10000000ULL + static_cast<std::uint64_t>(time.tv_nsec) / 100;
}

} // namespace

// ---- Files -------------------------------------------------------------

std::FILE* OpenFile(const char16_t* path, const char* mode)
{
    if (!path || !*path || !mode)
        return nullptr;
    return std::fopen(NativePath(path).c_str(), mode);
}

bool Seek(std::FILE* file, std::int64_t offset, int origin)
{
    return file && fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

std::int64_t Tell(std::FILE* file)
{
    return file ? static_cast<std::int64_t>(ftello(file)) : -1;
}

std::int64_t FileLength(std::FILE* file)
{
    if (!file)
        return -1;
    const off_t position = ftello(file);
    if (position < 0 || fseeko(file, 0, SEEK_END) != 0)
        return -1;
    const off_t length = ftello(file);
    if (fseeko(file, position, SEEK_SET) != 0)
        return -1;
    return static_cast<std::int64_t>(length);
}

bool FlushToDisk(std::FILE* file)
{
    if (!file || std::fflush(file) != 0)
        return false;
    return fsync(fileno(file)) == 0;
}

std::FILE* CreateNewFile(const char16_t* path, bool& exists)
{
    exists = false;
    const std::string native = NativePath(path);
    if (native.empty())
        return nullptr;
    const int descriptor = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
    {
        exists = errno == EEXIST;
        return nullptr;
    }
    std::FILE* file = fdopen(descriptor, "wb");
    if (!file)
    {
        close(descriptor);
        unlink(native.c_str());
    }
    return file;
}

bool AtomicReplace(const char16_t* source, const char16_t* target)
{
    const std::string from = NativePath(source);
    const std::string to = NativePath(target);
    if (from.empty() || to.empty())
        return false;
    // The new file takes over the permissions of the one it replaces.
    struct stat old;
    if (stat(to.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        chmod(from.c_str(), old.st_mode & 07777);
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    // Make the new directory entry durable as well.
    std::string folder = to;
    const auto slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : folder.substr(0, slash));
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0)
    {
        fsync(descriptor);
        close(descriptor);
    }
    return true;
}

bool RemoveFile(const char16_t* path)
{
    const std::string native = NativePath(path);
    return !native.empty() && unlink(native.c_str()) == 0;
}

bool CreateFolder(const char16_t* path)
{
    const std::string native = NativePath(path);
    return !native.empty() && mkdir(native.c_str(), 0777) == 0;
}

bool PathExists(const char16_t* path)
{
    const std::string native = NativePath(path);
    struct stat info;
    return !native.empty() && stat(native.c_str(), &info) == 0;
}

bool IsFolder(const char16_t* path)
{
    const std::string native = NativePath(path);
    struct stat info;
    return !native.empty() && stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// ---- Directory listing -------------------------------------------------

namespace {

struct sFind
{
    DIR* folder = nullptr;
    std::string path;          // the folder, ending in "/"
    std::u16string pattern;    // the name part
};

char16_t Fold(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Wildcard match ignoring case (A-Z), as the Win32 listing does.
bool Matches(const char16_t* pattern, const char16_t* name)
{
    const char16_t* star = nullptr;
    const char16_t* resume = nullptr;
    while (*name)
    {
        if (*pattern == u'*')
        {
            star = pattern++;
            resume = name;
        }
        else if (*pattern == u'?' || (*pattern && Fold(*pattern) == Fold(*name)))
        {
            ++pattern;
            ++name;
        }
        else if (star)
        {
            pattern = star + 1;
            name = ++resume;
        }
        else
            return false;
    }
    while (*pattern == u'*')
        ++pattern;
    return *pattern == 0;
}

bool NextMatch(sFind& find, sFindEntry& entry)
{
    while (dirent* item = readdir(find.folder))
    {
        std::u16string name;
        Utf8ToUtf16(item->d_name, std::strlen(item->d_name), name);
        if (!Matches(find.pattern.c_str(), name.c_str()))
            continue;
        sFindEntry found;
        found.name = std::move(name);
        struct stat info;
        const std::string full = find.path + item->d_name;
        if (stat(full.c_str(), &info) == 0)
        {
            found.attributes = S_ISDIR(info.st_mode) ? AttributeFolder : AttributeNormal;
            if (access(full.c_str(), W_OK) != 0)
                found.attributes |= AttributeReadOnly;
            found.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
            found.writeTime = FileTimeOf(info.st_mtim);
        }
        else
            found.attributes = AttributeNormal;
        if (found.name.size() > 1 && found.name[0] == u'.' && found.name != u"..")
            found.attributes |= AttributeHidden;
        entry = std::move(found);
        return true;
    }
    return false;
}

} // namespace

FindHandle FindFirst(const char16_t* pattern, sFindEntry& entry)
{
    if (!pattern || !*pattern)
        return nullptr;
    std::u16string text(pattern);
    const auto separator = text.find_last_of(u"\\/");
    auto find = new sFind;
    if (separator == std::u16string::npos)
    {
        find->path = "./";
        find->pattern = text;
    }
    else
    {
        find->path = NativePath(text.substr(0, separator + 1).c_str());
        find->pattern = text.substr(separator + 1);
    }
    // "*.*" means every name, dotted or not.
    if (find->pattern == u"*.*")
        find->pattern = u"*";
    find->folder = find->pattern.empty() ? nullptr : opendir(find->path.c_str());
    if (!find->folder || !NextMatch(*find, entry))
    {
        if (find->folder)
            closedir(find->folder);
        delete find;
        return nullptr;
    }
    return find;
}

bool FindNext(FindHandle handle, sFindEntry& entry)
{
    return handle && NextMatch(*static_cast<sFind*>(handle), entry);
}

void FindClose(FindHandle handle)
{
    if (!handle)
        return;
    auto* find = static_cast<sFind*>(handle);
    closedir(find->folder);
    delete find;
}

// ---- Text conversion ---------------------------------------------------

bool AnsiToUtf16(const char* bytes, std::size_t count, std::u16string& output)
{
    // Windows-1252. 0x80-0x9F hold typographic characters; the five unused
    // positions map to the C1 controls of the same value, as Windows does.
    static constexpr char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (!bytes && count)
        return false;
    output.reserve(output.size() + count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const auto c = static_cast<unsigned char>(bytes[i]);
        output.push_back(c >= 0x80 && c <= 0x9F ? high[c - 0x80] : static_cast<char16_t>(c));
    }
    return true;
}

// ---- Time --------------------------------------------------------------

namespace {

sTime TimeOf(const struct tm& parts, long nanoseconds)
{
    sTime time;
    time.year = static_cast<std::uint16_t>(parts.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(parts.tm_mon + 1);
    time.dayOfWeek = static_cast<std::uint16_t>(parts.tm_wday);
    time.day = static_cast<std::uint16_t>(parts.tm_mday);
    time.hour = static_cast<std::uint16_t>(parts.tm_hour);
    time.minute = static_cast<std::uint16_t>(parts.tm_min);
    time.second = static_cast<std::uint16_t>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
    time.milliseconds = static_cast<std::uint16_t>(nanoseconds / 1000000);
    return time;
}

} // namespace

sTime LocalTime()
{
    if (const auto fake = Internal::FakeLocalTime())
        return *fake;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm parts;
    localtime_r(&now.tv_sec, &parts);
    return TimeOf(parts, now.tv_nsec);
}

sTime SystemTime()
{
    if (const auto fake = Internal::FakeSystemTime())
        return *fake;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm parts;
    gmtime_r(&now.tv_sec, &parts);
    return TimeOf(parts, now.tv_nsec);
}

// ---- Resources ---------------------------------------------------------

void ResourceNames(void*, const char16_t* type, std::vector<std::u16string>& names)
{
    Internal::RegisteredResourceNames(type, names);
}

bool FindResourceBytes(void* module, const char16_t* type, const char16_t* name, const std::uint8_t*& data,
                       std::size_t& size)
{
    return Internal::FindRegisteredResource(type, name, data, size);
}

// ---- Locale ------------------------------------------------------------

std::uint16_t UserDefaultLanguage()
{
    if (const std::uint16_t fake = Internal::FakeUserDefaultLanguage())
        return fake;
    const char* locale = nullptr;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        const char* value = std::getenv(variable);
        if (value && *value)
        {
            locale = value;
            break;
        }
    }
    if (!locale)
        return 0x0409;
    struct sLocale
    {
        const char* prefix;
        std::uint16_t id;
    };
    // Longest prefixes first where a country changes the id.
    static constexpr sLocale table[] = {
        {"en_GB", 0x0809}, {"en", 0x0409}, {"ko", 0x0412}, {"ja", 0x0411}, {"zh_TW", 0x0404},
        {"zh_HK", 0x0C04}, {"zh", 0x0804}, {"de", 0x0407}, {"fr", 0x040C}, {"es", 0x0C0A},
        {"it", 0x0410}, {"pt_BR", 0x0416}, {"pt", 0x0816}, {"ru", 0x0419}, {"nl", 0x0413},
        {"pl", 0x0415}, {"sv", 0x041D}, {"cs", 0x0405}, {"hu", 0x040E}, {"tr", 0x041F},
        {"da", 0x0406}, {"fi", 0x040B}, {"nb", 0x0414}, {"el", 0x0408}, {"uk", 0x0422},
    };
    for (const auto& entry : table)
    {
        const std::size_t length = std::strlen(entry.prefix);
        if (std::strncmp(locale, entry.prefix, length) == 0 &&
            (locale[length] == 0 || locale[length] == '_' || locale[length] == '.' || locale[length] == '@'))
            return entry.id;
    }
    return 0x0409;
}

} // namespace Platform
