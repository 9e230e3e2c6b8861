// Folder and file tests, folder creation and the plain file copy, on wide paths.
//
// Every path is normalised (file_paths.h) and handed to the files stand-in, which finds existing
// entries without regard to letter case. Failures are results; nothing throws. Thread-safe.
#pragma once

#include <string_view>

namespace qv::util {

// True when the path (trailing separators ignored) names an existing folder / an existing entry
// that is not a folder.
bool IsDirectory(std::u16string_view path);
bool IsFile(std::u16string_view path);

// Creates every folder along the path, first to last, ignoring failures (existing folders).
void CreateFolderPath(std::u16string_view path);

// Copies the bytes of `source` to `target`, replacing it (attributes and times not copied).
// True when the target holds the copy; the target is never left half written.
bool CopyFileContents(std::u16string_view source, std::u16string_view target);

}  // namespace qv::util
