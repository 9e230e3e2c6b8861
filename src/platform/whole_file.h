// Reading a whole small file (a /proc or /sys file, a configuration file) without exceptions.
#pragma once

#include <optional>
#include <string>

namespace qv::platform {

// The file's bytes; nullopt when it cannot be opened or a read fails (a /proc file of a process
// that ended meanwhile fails with ESRCH). Plain reads: the stream library would throw instead.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace qv::platform
