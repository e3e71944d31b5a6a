#pragma once

// Writing a file so that a failure leaves nothing behind and never damages
// an existing file of the same name.

#include <functional>

#include "framework/core/WideString.h"

namespace Storage {
class cFile;
}

namespace PictureFile {

// Writes the file at path through write, which gets a Storage::cFile
// opened for writing ("wb") on a temporary file in the same folder as
// path, and returns whether everything it wrote was written.
//
// Only when write returns true and the temporary file flushes to disk and
// closes without error is it moved over path in one step (replacing an
// existing file). In every other case the temporary file is removed and
// an existing file at path stays as it was. write must not close the file.
// Exceptions thrown by write (std::bad_alloc from a codec, say) are caught
// and count as failure. Returns whether path now holds the new file.
bool WriteFileSafely(const Container::cWideString& path, const std::function<bool(Storage::cFile& file)>& write);

} // namespace PictureFile
