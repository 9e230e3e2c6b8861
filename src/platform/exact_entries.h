// Entries named exactly as given: no other spelling is looked for and a link at the end is never
// followed. For the archive extraction, which checks what is on disk itself before it writes.
// Thread-safe; failures are results.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace qv::platform {

enum class EntryKind {
  kMissing,  // nothing at the path, or a folder on the way is missing
  kFile,     // a regular file (or anything else that is no folder and no link)
  kFolder,
  kLink,     // a symbolic link, or on Windows any reparse point (a junction too)
  kUnknown,  // the system could not say (no right to look, a file on the way, ...)
};

EntryKind EntryKindOf(const std::string& path);

// Makes the folder (its parent must exist); true when it was made or something already has the
// name (the caller looks at what).
bool MakeFolderExactly(const std::string& path);

// Sets the modification time of the entry itself (never a link's target) to `seconds` since
// 1970 in UTC; the access time is kept.
bool SetModificationTimeExactly(const std::string& path, std::time_t seconds);

// The path made absolute against the current folder when it is relative; "" when the current
// folder cannot be read.
std::string AbsolutePath(const std::string& path);

}  // namespace qv::platform
