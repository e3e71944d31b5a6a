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

} // namespace Platform::Internal
