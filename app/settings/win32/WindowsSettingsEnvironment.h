#pragma once

#include <windows.h>

#include "app/settings/SettingsEnvironment.h"

// The settings environment of a Windows machine: drive types, the shell's
// special folders, the system folder and the editors' uninstall keys under
// HKEY_CURRENT_USER.
class cWindowsSettingsEnvironment : public cSettingsEnvironment
{
public:
    static constexpr const char16_t* UninstallPath = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

    // Uninstall keys are looked for under root\uninstallPath; tests point
    // this at a scratch key.
    explicit cWindowsSettingsEnvironment(HKEY root = HKEY_CURRENT_USER, const char16_t* uninstallPath = UninstallPath);

    bool IsOnRemovableDrive(const Container::cWideString& folder) override;
    bool ApplicationDataFolder(Container::cWideString& folder) override;
    bool DesktopFolder(Container::cWideString& folder) override;
    bool SystemFolder(Container::cWideString& folder) override;
    eInstallState InstalledProgram(const char16_t* keyName, Container::cWideString& location) override;

    // The root of the drive that holds path: "X:\" for a drive letter,
    // "\\server\share\" for a network path; empty when the path has
    // neither.
    static Container::cWideString DriveRoot(const Container::cWideString& path);

private:
    HKEY m_root;
    Container::cWideString m_uninstallPath;
};
