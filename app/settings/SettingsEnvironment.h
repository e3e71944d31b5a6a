#pragma once

#include "framework/core/WideString.h"

// What the settings record needs to know about the machine it runs on:
// where the settings file belongs, the desktop and system folders, and the
// editors installed. The Windows implementation asks the system; tests
// answer with fakes.
class cSettingsEnvironment
{
public:
    // What an editor's uninstall key says about its installation.
    enum eInstallState
    {
        NotInstalled,       // the key cannot be opened
        LocationUnknown,    // the key opens, its InstallLocation cannot be read
        LocationKnown,      // the key opens and gives InstallLocation
    };

    virtual ~cSettingsEnvironment() = default;

    // True when folder lies on a removable or CD-ROM drive.
    virtual bool IsOnRemovableDrive(const Container::cWideString& folder) = 0;
    // The user's application-data folder.
    virtual bool ApplicationDataFolder(Container::cWideString& folder) = 0;
    // The user's desktop folder.
    virtual bool DesktopFolder(Container::cWideString& folder) = 0;
    // The system folder (where the system's own programs live).
    virtual bool SystemFolder(Container::cWideString& folder) = 0;
    // The state of the uninstall key named keyName under the current user's
    // Uninstall key; location is set only for LocationKnown.
    virtual eInstallState InstalledProgram(const char16_t* keyName, Container::cWideString& location) = 0;
    // True when path names an existing file or folder (drive roots too).
    // The base asks the file system.
    virtual bool PathExists(const Container::cWideString& path);
    // True when path names an existing folder (a file of that name is no
    // place to save in). The base asks the file system.
    virtual bool FolderExists(const Container::cWideString& path);
};
