#include "app/settings/win32/WindowsSettingsEnvironment.h"

#include <shlobj.h>

#include <vector>

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");

namespace {

const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

const char16_t* Text(const wchar_t* text)
{
    return reinterpret_cast<const char16_t*>(text);
}

bool IsSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

// InstallLocation values longer than this are not read.
constexpr DWORD MaxLocationBytes = 64 * 1024;

// A folder of the shell's by its path, asked for directly: going through an
// item list would load the COM libraries into every run for this alone.
bool SpecialFolder(int which, Container::cWideString& folder)
{
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, which, FALSE))
        return false;
    buffer[MAX_PATH] = L'\0';
    if (buffer[0] == L'\0')
        return false;
    return folder.Assign(Text(buffer));
}

} // namespace

cWindowsSettingsEnvironment::cWindowsSettingsEnvironment(HKEY root, const char16_t* uninstallPath)
    : m_root(root), m_uninstallPath(uninstallPath)
{
}

Container::cWideString cWindowsSettingsEnvironment::DriveRoot(const Container::cWideString& path)
{
    Container::cWideString root;
    const std::size_t length = path.Length();
    if (length >= 2 && path[1] == u':' &&
        ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'))) {
        root.Assign(path.Text(), 2);
        root.Append(u'\\');
        return root;
    }
    if (length >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // \\server\share\: up to and including the separator after the share.
        std::size_t separators = 0;
        std::size_t end = 2;
        for (; end < length; ++end) {
            if (IsSeparator(path[end]) && ++separators == 2)
                break;
        }
        if (separators == 0)
            return root;
        root.Assign(path.Text(), end);
        root.Append(u'\\');
    }
    return root;
}

bool cWindowsSettingsEnvironment::IsOnRemovableDrive(const Container::cWideString& folder)
{
    const Container::cWideString root = DriveRoot(folder);
    if (root.IsEmpty())
        return false;
    const UINT type = GetDriveTypeW(Wide(root.Text()));
    return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

bool cWindowsSettingsEnvironment::ApplicationDataFolder(Container::cWideString& folder)
{
    return SpecialFolder(CSIDL_APPDATA, folder);
}

bool cWindowsSettingsEnvironment::DesktopFolder(Container::cWideString& folder)
{
    return SpecialFolder(CSIDL_DESKTOP, folder);
}

bool cWindowsSettingsEnvironment::SystemFolder(Container::cWideString& folder)
{
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        // Too small: the answer is the size needed, terminator included.
        buffer.assign(length + 1, L'\0');
        length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return false;
    return folder.Assign(Text(buffer.data()), length);
}

cSettingsEnvironment::eInstallState cWindowsSettingsEnvironment::InstalledProgram(const char16_t* keyName,
                                                                                 Container::cWideString& location)
{
    Container::cWideString path;
    if (!path.Assign(m_uninstallPath) || !path.Append(u'\\') || !path.Append(keyName))
        return NotInstalled;
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_root, Wide(path.Text()), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return NotInstalled;

    // RegGetValueW with RRF_RT_REG_SZ accepts only REG_SZ and always hands
    // back a terminated string; the size may change between the calls.
    eInstallState state = LocationUnknown;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        LSTATUS result = RegGetValueW(key, nullptr, L"InstallLocation", RRF_RT_REG_SZ, nullptr, nullptr, &size);
        if (result != ERROR_SUCCESS || size == 0 || size > MaxLocationBytes)
            break;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        result = RegGetValueW(key, nullptr, L"InstallLocation", RRF_RT_REG_SZ, nullptr, buffer.data(), &got);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        buffer.back() = L'\0';
        Container::cWideString text;
        if (buffer[0] != L'\0' && text.Assign(Text(buffer.data()))) {
            location = std::move(text);
            state = LocationKnown;
        }
        break;
    }
    RegCloseKey(key);
    return state;
}
