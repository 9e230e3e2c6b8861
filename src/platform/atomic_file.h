// Whole-file records that are replaced atomically and updated without losing a concurrent
// writer's change.
//
// A record is serialised in memory and written to a temporary file beside the target (every
// write checked, flushed with fsync, closed with its result checked), then renamed over the
// target. A reader therefore sees the old file or the new one whole, never a mix, also when the
// writer is killed at any moment. Writers serialise on an exclusive flock of a lock file beside
// the target (the target itself cannot carry the lock: the rename replaces its inode, so a lock
// on it would not exclude a writer that opened the new file). For a target "dir/name" the side
// files are "dir/.name.lock" (kept; removing it would let two writers lock different inodes)
// and "dir/.name.tmp" (present only while a write runs or after a writer was killed; the next
// writer replaces it). A name too long for the side-file suffix is shortened and completed with
// a hash of the whole name, so every valid target name works.
//
// Thread-safe: flock locks belong to the open file, so two threads of one process exclude each
// other just as two processes do. Readers need no lock.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace qv::platform {

// Reads the whole file at `path` (UTF-8) into `out`. An empty error code on success; a missing
// file gives std::errc::no_such_file_or_directory.
std::error_code ReadWholeFile(const std::string& path, std::string& out);

// Receives the target's current bytes (nullopt when there is no such file) and returns the bytes
// to store, or nullopt to leave the file as it is. Runs while the lock is held.
using FileUpdate = std::function<std::optional<std::string>(const std::optional<std::string>&)>;

// Read-modify-write under the lock: no other UpdateFileAtomically of the same path runs between
// the read and the rename. The parent folder must exist. A file that exists but cannot be read
// is an error (the update is not called), so an unreadable record is never replaced by one made
// from nothing. A replaced file keeps its permission bits; a new one gets 0666 less the umask.
std::error_code UpdateFileAtomically(const std::string& path, const FileUpdate& update);

// Replaces the file's contents with `contents` under the lock.
std::error_code WriteFileAtomically(const std::string& path, std::string_view contents);

// The side files' paths for a target, for tests and for cleaning up a folder.
std::string AtomicFileLockPath(const std::string& path);
std::string AtomicFileTempPath(const std::string& path);

}  // namespace qv::platform
