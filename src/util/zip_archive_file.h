// The file functions minizip reads an archive through: positioned reads (pread) served from two
// cached 64 KiB windows of the file.
//
// minizip seeks before nearly every read and walks the central directory (at the end of the
// file) in turn with the entries' headers and data (earlier in it). Through stdio each of those
// seeks costs a system call and drops the stream's buffer; here a seek only sets a number, one
// window keeps the central directory and the other streams through the entries.
//
// Ownership: minizip owns the stream it opened through these functions and closes it with
// unzClose (CUnzipper's archive handle does).
#pragma once

#include <minizip/ioapi.h>

namespace qv::util {

// The functions for unzOpen2_64; the archive is opened read-only, nothing is ever written.
zlib_filefunc64_def ArchiveFileFunctions();

}  // namespace qv::util
