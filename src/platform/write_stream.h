// Files opened for writing as C streams (the caller gives the stream its buffer), made durable,
// and given the permission bits an archive stored for them.
//
// Paths: a folder or file on the way that exists in another spelling is the one written (on
// Windows the file system does this itself), except with kCreateNewExactly. Thread-safe; each stream belongs to its caller.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qv::platform {

enum class WriteOpenMode {
  kCreateOrTruncate,  // like fopen "wb"
  kCreateNew,         // fails when the path exists; never follows a link
  // As kCreateNew, at the path exactly as given: no other spelling of it or of a folder on the
  // way is looked for (the archive extraction has checked every folder on the way itself).
  kCreateNewExactly,
};

struct OpenedStream {
  std::FILE* stream = nullptr;  // the caller's to close; nullptr on failure
  // kCreateNew or kCreateNewExactly failed because something (a file, a folder, a link) has the name already.
  bool name_taken = false;
};

// Opens `path` for writing in binary mode (new files get the default permissions).
OpenedStream OpenWriteStream(const std::string& path, WriteOpenMode mode);

// Opens the existing regular file at `path` to write on after its first `length` bytes; whatever
// followed them is cut off. nullptr when the file is missing, not a regular file, a link, or
// shorter than `length`.
std::FILE* OpenWriteStreamToContinue(const std::string& path, uint64_t length);

// Flushes the stream and waits until the disk holds its bytes (fsync; FlushFileBuffers).
bool SyncWriteStream(std::FILE* stream);

// Gives the open file the permission bits a Unix-made archive entry stored (its mode's low 12
// bits): the owner's bits and the executable bits as stored, never setuid, setgid or sticky;
// the group's and others' read and write bits only ever taken away. Windows has no such bits:
// true without a change there.
bool ApplyStoredUnixMode(std::FILE* stream, uint32_t stored_mode);

}  // namespace qv::platform
