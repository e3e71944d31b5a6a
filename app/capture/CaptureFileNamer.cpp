#include "app/capture/CaptureFileNamer.h"

#include "framework/core/PathHelpers.h"

#include <algorithm>

namespace {

void AppendNumber(Container::cWideString& text, unsigned value, int minimumDigits)
{
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0 && count < 12);
    for (int i = count; i < minimumDigits; ++i)
        text.Append(u'0');
    while (count > 0)
        text.Append(digits[--count]);
}

} // namespace

Container::cWideString cCaptureFileNamer::FileName(const sNaming& naming, const Platform::sTime& localTime,
                                                   int suffix)
{
    Container::cWideString name(naming.prefix);
    if (!naming.sameFileName) {
        // yyyy-MM-dd_hh-mm-ss_<milliseconds without leading zeros>
        name.Append(u'_');
        AppendNumber(name, localTime.year, 4);
        name.Append(u'-');
        AppendNumber(name, localTime.month, 2);
        name.Append(u'-');
        AppendNumber(name, localTime.day, 2);
        name.Append(u'_');
        AppendNumber(name, localTime.hour, 2);
        name.Append(u'-');
        AppendNumber(name, localTime.minute, 2);
        name.Append(u'-');
        AppendNumber(name, localTime.second, 2);
        name.Append(u'_');
        AppendNumber(name, localTime.milliseconds, 1);
        if (suffix > 1) {
            name.Append(u'_');
            AppendNumber(name, static_cast<unsigned>(suffix), 1);
        }
    }
    name.Append(u'.');
    name.Append(naming.format);
    return name;
}

Container::cWideString cCaptureFileNamer::JoinPath(const Container::cWideString& folder,
                                                   const Container::cWideString& name)
{
    if (folder.IsEmpty())
        return name;
    Container::cWideString path(folder);
    const char16_t last = folder[folder.Length() - 1];
    if (last != u'\\' && last != u'/')
        path.Append(u'\\');
    path.Append(name);
    return path;
}

Container::cWideString cCaptureFileNamer::MakeCaptureFileName(const sNaming& naming)
{
    // One reading of the clock: the local time carries the same
    // milliseconds as the system time (zones differ by whole minutes).
    return MakeCaptureFileName(naming, Platform::LocalTime());
}

Container::cWideString cCaptureFileNamer::MakeCaptureFileName(const sNaming& naming,
                                                              const Platform::sTime& localTime)
{
    std::lock_guard guard(m_lock);
    Container::cWideString path;
    if (naming.sameFileName) {
        // Deliberately the same file every time.
        path = JoinPath(naming.folder, FileName(naming, localTime, 1));
    } else {
        for (int suffix = 1; suffix <= kMaxSuffix; ++suffix) {
            path = JoinPath(naming.folder, FileName(naming, localTime, suffix));
            if (!IsReserved(path) && !Storage::PathExists(path))
                break;
        }
    }
    m_reserved.push_back(path);
    return path;
}

void cCaptureFileNamer::Release(const Container::cWideString& path)
{
    std::lock_guard guard(m_lock);
    auto found = std::find_if(m_reserved.begin(), m_reserved.end(),
                              [&](const Container::cWideString& reserved) { return reserved.Equals(path); });
    if (found != m_reserved.end())
        m_reserved.erase(found);
}

std::size_t cCaptureFileNamer::ReservedCount() const
{
    std::lock_guard guard(m_lock);
    return m_reserved.size();
}

bool cCaptureFileNamer::IsReserved(const Container::cWideString& path) const
{
    // File names compare without case on Windows.
    return std::any_of(m_reserved.begin(), m_reserved.end(),
                       [&](const Container::cWideString& reserved) { return reserved.CompareNoCase(path) == 0; });
}
