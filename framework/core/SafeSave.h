#pragma once

// Saving a file so that a failure leaves nothing behind and never damages
// an existing file of the same name. Picture files and the settings file
// are written through it.

#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/WideString.h"

namespace Storage {

class cFile;

// Writes the file at path through write, which gets a Storage::cFile open
// for writing on a new temporary file in the same folder as path, and
// returns whether everything it wrote was written.
//
// The temporary file is created exclusively, under a fresh name when its
// first choice is taken (so a file that happens to have that name is
// never truncated or removed), and its name does not depend on the length
// of the target's file name.
//
// Only when write returns true and the temporary file flushes to disk and
// closes without error is it put in place of path in one step (replacing
// an existing file, whose attributes it takes over). In every other case
// the temporary file is removed and an existing file at path stays as it
// was. The replacements of one process are made one at a time, so saves of
// one name from several threads at once each end with a complete file. write must not close the file. Exceptions thrown by write (a
// std::bad_alloc from a codec, say) are caught and count as failure.
// Returns whether path now holds the new file.
bool WriteFileSafely(const char16_t* path, const std::function<bool(cFile& file)>& write);
inline bool WriteFileSafely(const Container::cWideString& path, const std::function<bool(cFile& file)>& write)
{
    return WriteFileSafely(path.Text(), write);
}

// Creates the temporary file for a save of path: tries the names of
// TemporarySiblingName from seed on (a fixed step apart) and takes the
// first that does not exist yet, never touching a file that does. False
// when the folder does not take new files, or after 64 names in use.
bool CreateTemporarySibling(cFile& file, const char16_t* path, std::uint32_t seed, std::u16string& name);

// A name of the kind WriteFileSafely gives its temporary files: in the
// folder of path, "~qs", the eight hex digits of value, ".tmp". Short
// whatever the length of the target's own name.
std::u16string TemporarySiblingName(const char16_t* path, std::uint32_t value);

} // namespace Storage
