// Reading a whole file at exactly the path given (no other spelling is looked for): the /proc and
// /sys files, and the reader under ReadWholeFile (atomic_file.h), which resolves the spelling
// first.
#pragma once

#include <string>
#include <system_error>

namespace qv::platform {

// Reads the file into `out` with plain reads: an empty error code on success; otherwise the
// error, with `out` empty. A /proc file of a process that ended meanwhile fails with ESRCH, an
// ordinary outcome here; the stream library would throw instead.
std::error_code ReadFileAsIs(const std::string& path, std::string& out);

}  // namespace qv::platform
