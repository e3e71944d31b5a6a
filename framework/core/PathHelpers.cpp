#include "framework/core/PathHelpers.h"

#include "platform/Platform.h"

namespace Storage {

namespace {

bool IsSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

// Index of the last separator, or length when there is none.
std::size_t LastSeparator(const char16_t* path, std::size_t length)
{
    for (std::size_t i = length; i > 0; --i)
        if (IsSeparator(path[i - 1]))
            return i - 1;
    return length;
}

} // namespace

Container::cWideString DirectoryOf(const char16_t* path)
{
    const std::size_t length = Container::TextLength(path);
    const std::size_t separator = LastSeparator(path, length);
    if (separator == length || separator >= MaxPath)
        return {};
    return Container::cWideString(path, separator);
}

Container::cWideString FileNameOf(const char16_t* path)
{
    const std::size_t length = Container::TextLength(path);
    const std::size_t separator = LastSeparator(path, length);
    const std::size_t start = separator == length ? 0 : separator + 1;
    return Container::cWideString(path ? path + start : u"", length - start);
}

Container::cWideString TitleOf(const char16_t* path)
{
    const std::size_t length = Container::TextLength(path);
    const std::size_t separator = LastSeparator(path, length);
    const std::size_t start = separator == length ? 0 : separator + 1;
    std::size_t end = length;
    for (std::size_t i = length; i > start; --i)
        if (path[i - 1] == u'.')
        {
            end = i - 1;
            break;
        }
    if (end - start > MaxPath - 2)
        return {};
    return Container::cWideString(path ? path + start : u"", end - start);
}

Container::cWideString ExtensionOf(const char16_t* path)
{
    const std::size_t length = Container::TextLength(path);
    for (std::size_t i = length; i > 0; --i)
        if (path[i - 1] == u'.')
        {
            if (length - i >= MaxPath)
                return {};
            return Container::cWideString(path + i, length - i);
        }
    return {};
}

bool MakeDirectories(const char16_t* path)
{
    const std::size_t length = Container::TextLength(path);
    if (length == 0 || length >= MaxPath)
        return false;
    char16_t buffer[MaxPath];
    for (std::size_t i = 0; i < length; ++i)
        buffer[i] = path[i] == u'/' ? u'\\' : path[i];
    buffer[length] = 0;
    for (std::size_t i = 3; i <= length; ++i)
    {
        if (i < length && !IsSeparator(path[i]))
            continue;
        // The first i characters; folders that exist already make the
        // creation fail, which is fine.
        const char16_t kept = buffer[i];
        buffer[i] = 0;
        Platform::CreateFolder(buffer);
        buffer[i] = kept;
    }
    return Platform::IsFolder(buffer);
}

int FilterIndexOf(const char16_t* filter, const char16_t* extension)
{
    const Container::cWideString text(filter);
    if (text.IsEmpty())
        return 0;
    Container::cWideString wanted;
    wanted.Format(u"*.%s", extension ? extension : u"");
    const std::size_t position = text.Find(wanted.Text());
    if (position == 0)
        return 0;
    int bars = 0;
    for (std::size_t i = 0; i < position; ++i)
        if (text[i] == u'|')
            ++bars;
    return bars / 2 + 1;
}

bool PathExists(const char16_t* path)
{
    return Platform::PathExists(path);
}

bool IsFolder(const char16_t* path)
{
    return Platform::IsFolder(path);
}

} // namespace Storage
