#pragma once

// Shared between the Win32 and POSIX implementations of the platform layer.

#include "platform/Platform.h"

#include <optional>

namespace Platform::Internal {

// The table of registered resources.
bool FindRegisteredResource(const char16_t* type, const char16_t* name, const std::uint8_t*& data,
                            std::size_t& size);

// The names of the registered resources of type (upper case).
void RegisteredResourceNames(const char16_t* type, std::vector<std::u16string>& names);

// The fakes tests installed, if any.
std::optional<sTime> FakeLocalTime();
std::optional<sTime> FakeSystemTime();
std::uint16_t FakeUserDefaultLanguage();

#ifdef _WIN32
// The form in which a path goes to the Win32 file functions: short paths as
// they are; long ones (MAX_PATH - 12 characters and more) made absolute,
// with "\" separators, in the "\\?\" form ("\\?\UNC\" for a share),
// so that the file system's own limit is the only one. Empty when the path
// is empty or memory ran out.
std::u16string Win32FilePath(const char16_t* path);
#endif

} // namespace Platform::Internal
