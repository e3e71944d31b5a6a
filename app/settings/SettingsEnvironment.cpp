#include "app/settings/SettingsEnvironment.h"

#include "framework/core/PathHelpers.h"

bool cSettingsEnvironment::PathExists(const Container::cWideString& path)
{
    return !path.IsEmpty() && Storage::PathExists(path);
}

bool cSettingsEnvironment::FolderExists(const Container::cWideString& path)
{
    return !path.IsEmpty() && Storage::IsFolder(path);
}
