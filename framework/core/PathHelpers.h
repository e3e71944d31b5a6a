#pragma once

#include "framework/core/WideString.h"

#include <cstddef>

namespace Storage {

// Path helpers. A path is handled in a buffer of MaxPath characters; longer
// input is cut there (never read or written beyond it).
inline constexpr std::size_t MaxPath = 260;

// Everything before the last "\" or "/"; empty when there is none or when
// it stands at index MaxPath or beyond.
Container::cWideString DirectoryOf(const char16_t* path);
// The file name without folder and extension (cut at its last "."; the
// whole name when it has none); empty when longer than 258 characters.
Container::cWideString TitleOf(const char16_t* path);
// The text after the last "." anywhere in the path; empty when there is no
// "." or when the extension would have MaxPath characters or more.
Container::cWideString ExtensionOf(const char16_t* path);
// The file name part: everything after the last "\" or "/".
Container::cWideString FileNameOf(const char16_t* path);

// Creates every folder along path: for each i from 3 to the length, where
// the character at i is a separator or i is the length, the first i
// characters ("/" turned into "\") are created as a folder. Folders that
// exist already are fine. False when path is MaxPath characters or longer
// or when the whole path is not a folder afterwards.
bool MakeDirectories(const char16_t* path);

// The 1-based index of the name|pattern pair of a file-dialog filter that
// holds "*.<extension>"; 0 for an empty filter or when that text starts
// the filter; one more than half the number of "|" when it is not found.
int FilterIndexOf(const char16_t* filter, const char16_t* extension);

// Existence by attributes: no wildcards, drive roots (E:\) work.
bool PathExists(const char16_t* path);
bool IsFolder(const char16_t* path);

inline Container::cWideString DirectoryOf(const Container::cWideString& path) { return DirectoryOf(path.Text()); }
inline Container::cWideString TitleOf(const Container::cWideString& path) { return TitleOf(path.Text()); }
inline Container::cWideString ExtensionOf(const Container::cWideString& path) { return ExtensionOf(path.Text()); }
inline Container::cWideString FileNameOf(const Container::cWideString& path) { return FileNameOf(path.Text()); }
inline bool MakeDirectories(const Container::cWideString& path) { return MakeDirectories(path.Text()); }
inline bool PathExists(const Container::cWideString& path) { return PathExists(path.Text()); }
inline bool IsFolder(const Container::cWideString& path) { return IsFolder(path.Text()); }

} // namespace Storage
