#include "platform/PlatformInternal.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <vector>

namespace Platform {

// ---- UTF-8 / UTF-16 ----------------------------------------------------

void Utf8ToUtf16(const char* bytes, std::size_t count, std::u16string& output)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    output.reserve(output.size() + count);
    while (i < count)
    {
        const unsigned c = s[i];
        if (c < 0x80)
        {
            output.push_back(static_cast<char16_t>(c));
            ++i;
            continue;
        }
        std::size_t extra;
        char32_t value;
        char32_t minimum;
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; value = c & 0x1F; minimum = 0x80; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; value = c & 0x0F; minimum = 0x800; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; value = c & 0x07; minimum = 0x10000; }
        else
        {
            output.push_back(u'\xFFFD');
            ++i;
            continue;
        }
        // Take the longest valid prefix; a broken sequence gives one U+FFFD
        // and decoding resumes at the first byte that did not fit.
        std::size_t taken = 1;
        bool complete = true;
        for (std::size_t k = 1; k <= extra; ++k)
        {
            if (i + k >= count || (s[i + k] & 0xC0) != 0x80)
            {
                complete = false;
                break;
            }
            value = (value << 6) | (s[i + k] & 0x3F);
            ++taken;
        }
        i += taken;
        if (!complete || value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        {
            output.push_back(u'\xFFFD');
            continue;
        }
        if (value >= 0x10000)
        {
            value -= 0x10000;
            output.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
            output.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
        }
        else
            output.push_back(static_cast<char16_t>(value));
    }
}

void Utf16ToUtf8(const char16_t* text, std::size_t count, std::string& output)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        if (c < 0x80)
            output.push_back(static_cast<char>(c));
        else if (c < 0x800)
        {
            output.push_back(static_cast<char>(0xC0 | (c >> 6)));
            output.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        else if (c < 0x10000)
        {
            output.push_back(static_cast<char>(0xE0 | (c >> 12)));
            output.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            output.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
        else
        {
            output.push_back(static_cast<char>(0xF0 | (c >> 18)));
            output.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            output.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            output.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

// ---- Registered resources ----------------------------------------------

namespace {

// Text names compare ignoring case (A-Z only), integer ids by value.
std::u16string ResourceKey(const char16_t* name)
{
    if (IsResourceId(name))
    {
        std::u16string key = u"#";
        const auto id = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name));
        for (char c : std::to_string(id))
            key.push_back(static_cast<char16_t>(c));
        return key;
    }
    std::u16string key;
    for (const char16_t* p = name; *p; ++p)
        key.push_back((*p >= u'a' && *p <= u'z') ? static_cast<char16_t>(*p - u'a' + u'A') : *p);
    return key;
}

struct sRegistry
{
    std::mutex lock;
    std::map<std::pair<std::u16string, std::u16string>, std::vector<std::uint8_t>> resources;
    std::optional<sTime> local;
    std::optional<sTime> system;
    std::uint16_t language = 0;
};

sRegistry& Registry()
{
    static sRegistry registry;
    return registry;
}

} // namespace

void RegisterResource(const char16_t* type, const char16_t* name, const void* bytes, std::size_t size)
{
    if (!type || !name || (!bytes && size))
        return;
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    const auto* begin = static_cast<const std::uint8_t*>(bytes);
    registry.resources[{ResourceKey(type), ResourceKey(name)}] = std::vector<std::uint8_t>(begin, begin + size);
}

void ClearRegisteredResources()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    registry.resources.clear();
}

void SetFakeTime(const sTime* local, const sTime* system)
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    registry.local = local ? std::optional<sTime>(*local) : std::nullopt;
    registry.system = system ? std::optional<sTime>(*system) : std::nullopt;
}

void SetFakeUserDefaultLanguage(std::uint16_t languageId)
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    registry.language = languageId;
}

namespace Internal {

bool FindRegisteredResource(const char16_t* type, const char16_t* name, const std::uint8_t*& data,
                            std::size_t& size)
{
    if (!type || !name)
        return false;
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.resources.find({ResourceKey(type), ResourceKey(name)});
    if (found == registry.resources.end())
        return false;
    static const std::uint8_t empty = 0;
    data = found->second.empty() ? &empty : found->second.data();
    size = found->second.size();
    return true;
}

void RegisteredResourceNames(const char16_t* type, std::vector<std::u16string>& names)
{
    if (!type)
        return;
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    const std::u16string typeKey = ResourceKey(type);
    for (const auto& [key, bytes] : registry.resources)
        if (key.first == typeKey && !key.second.starts_with(u'#'))
            names.push_back(key.second);
}

std::optional<sTime> FakeLocalTime()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    return registry.local;
}

std::optional<sTime> FakeSystemTime()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    return registry.system;
}

std::uint16_t FakeUserDefaultLanguage()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    return registry.language;
}

} // namespace Internal

} // namespace Platform
