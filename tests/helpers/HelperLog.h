#pragma once

// What the test helper programs share: their own path, their arguments as
// they stand on the command line, and appending lines (UTF-8) to a log.

#include <windows.h>

#include <string>

namespace Testing {

inline std::wstring OwnPath()
{
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::wstring(path, length);
}

// The command line without the program part (quoted or not) and the one
// space after it.
inline std::wstring ArgumentsOf(const wchar_t* commandLine)
{
    const std::wstring line = commandLine != nullptr ? commandLine : L"";
    std::size_t at = 0;
    if (!line.empty() && line[0] == L'"') {
        const std::size_t close = line.find(L'"', 1);
        at = close == std::wstring::npos ? line.size() : close + 1;
    } else {
        at = line.find(L' ');
        if (at == std::wstring::npos)
            at = line.size();
    }
    while (at < line.size() && (line[at] == L' ' || line[at] == L'\t'))
        ++at;
    return line.substr(at);
}

inline bool AppendLine(const std::wstring& path, const std::wstring& text)
{
    const std::wstring line = text + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) &&
                    written == utf8.size();
    CloseHandle(file);
    return ok;
}

inline bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A small text file (ASCII digits and the like); empty when it is missing.
inline std::wstring ReadSmallFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    char bytes[64] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof(bytes) - 1, &read, nullptr);
    CloseHandle(file);
    return std::wstring(bytes, bytes + read);
}

} // namespace Testing
