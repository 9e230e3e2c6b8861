// Files: attributes, folders, deletion, copying and file times (on Windows the system's own
// calls; on Linux a stand-in with their rules).
//
// Paths are UTF-8 and found without regard to letter case (on Linux through
// platform/path_resolution.h): an operation on an existing entry finds it in any spelling, and a
// new entry takes the spelling of an existing one that matches it, else the spelling given. Every call is independent and
// thread-safe; failures are results, never exceptions.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace qv::platform {

struct FileAttributes {
  bool is_directory = false;
  bool is_hidden = false;
};

// The attributes of an existing entry (a symbolic link is followed); nullopt when it does not
// exist.
std::optional<FileAttributes> GetFileAttributes(const std::string& path);

// Gives an existing entry the hidden attribute. Linux has none; it is kept as the extended
// attribute kHiddenAttributeName where the file system stores user attributes, and is a no-op
// elsewhere. False only when the entry does not exist.
bool SetHidden(const std::string& path);
inline constexpr char kHiddenAttributeName[] = "user.qvorvane.hidden";

// Makes one folder (its parent must exist). True when it was made; false when it exists already
// or cannot be made.
bool CreateFolder(const std::string& path);

// Removes one empty folder (never a symbolic link). True when it was removed.
bool RemoveFolder(const std::string& path);

// Deletes one file (a symbolic link itself, never its target; never a folder). True when deleted.
bool DeleteFile(const std::string& path);

// Copies the bytes of an existing file to `target`, replacing an existing file. The bytes are
// written to a temporary file beside the target and renamed over it, so the target is never left
// half written; a copy of a file onto itself changes nothing and succeeds. Attributes and times
// are not copied (the new file gets the default mode).
bool CopyFile(const std::string& source, const std::string& target);

// Sets the modification (and access) time of an existing file.
bool SetModificationTime(const std::string& path, std::chrono::system_clock::time_point time);

}  // namespace qv::platform
