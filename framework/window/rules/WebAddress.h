#pragma once

#include <string_view>

namespace Window {

// True for an http: or https: address with something after the scheme's
// slashes (the scheme in any case). Links open nothing else: their targets
// come from language texts, which a dropped-in language file can change.
bool IsWebAddress(std::u16string_view target);

} // namespace Window
