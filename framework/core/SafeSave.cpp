#include "framework/core/SafeSave.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <system_error>

#include "framework/core/File.h"
#include "platform/Platform.h"

namespace Storage {

namespace {

// Names tried before a save gives up; only names that exist already make
// it try again.
constexpr std::uint32_t kNameAttempts = 64;
// The distance between the names tried (odd, so 2^32 names differ).
constexpr std::uint32_t kNameStep = 0x61C88647u;

// Replacements made by this process go one at a time. A replace is a few
// steps inside the system (ReplaceFileW moves the old file aside, then the
// new one in); two saves of one name from two threads must not interleave
// them, or one of them may fail half-way and leave the old file behind
// under a name of the system's own.
std::mutex& ReplaceLock()
{
    static std::mutex lock;
    return lock;
}

std::uint32_t NextSeed()
{
    static std::atomic<std::uint32_t> counter{0};
    const auto stamp = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint32_t mixed = static_cast<std::uint32_t>(stamp ^ (stamp >> 32));
    return (mixed ^ counter.fetch_add(1, std::memory_order_relaxed) * 0x9E3779B9u) * 2654435761u;
}

} // namespace

std::u16string TemporarySiblingName(const char16_t* path, std::uint32_t value)
{
    std::u16string name;
    std::size_t folderLength = 0;
    if (path != nullptr) {
        for (std::size_t i = 0; path[i] != 0; ++i)
            if (path[i] == u'\\' || path[i] == u'/')
                folderLength = i + 1;
        name.assign(path, folderLength);
    }
    name += u"~qs";
    for (int digit = 0; digit < 8; ++digit) {
        name.push_back(u"0123456789abcdef"[(value >> 28) & 15]);
        value <<= 4;
    }
    name += u".tmp";
    return name;
}

bool CreateTemporarySibling(cFile& file, const char16_t* path, std::uint32_t seed, std::u16string& name)
{
    if (path == nullptr || *path == 0)
        return false;
    try {
        for (std::uint32_t attempt = 0; attempt < kNameAttempts; ++attempt) {
            std::u16string candidate = TemporarySiblingName(path, seed + attempt * kNameStep);
            bool exists = false;
            if (file.CreateNew(candidate.c_str(), exists)) {
                name.swap(candidate);
                return true;
            }
            if (!exists)
                return false; // the folder is missing or takes no new files
        }
    } catch (...) {
    }
    return false;
}

bool WriteFileSafely(const char16_t* path, const std::function<bool(cFile& file)>& write)
{
    if (path == nullptr || *path == 0 || !write)
        return false;

    std::u16string temporary;
    cFile file;
    if (!CreateTemporarySibling(file, path, NextSeed(), temporary))
        return false;

    bool written = false;
    try {
        written = write(file);
    } catch (...) {
        written = false;
    }
    // Every byte must reach the disk before the target is replaced.
    if (written)
        written = file.IsOpen() && file.Flush();
    if (!file.Close())
        written = false;

    if (written) {
        bool replaced = false;
        try {
            std::lock_guard<std::mutex> guard(ReplaceLock());
            replaced = Platform::AtomicReplace(temporary.c_str(), path);
        } catch (const std::system_error&) {
            replaced = false;
        }
        if (replaced)
            return true;
    }
    Platform::RemoveFile(temporary.c_str());
    return false;
}

} // namespace Storage
