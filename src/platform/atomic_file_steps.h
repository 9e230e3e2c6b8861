// The steps of an atomic replacement (atomic_file.h) that the writers of both systems share or
// each provide. Internal to the platform layer.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "platform/atomic_file.h"

namespace qv::platform {

// Per system: writes `contents` to the target's temporary side file, makes it durable and moves
// it over `path`; on failure the temporary file is gone and the target unchanged.
std::error_code ReplaceWithTempFile(const std::string& path, std::string_view contents);

// Shared: reads the target, asks `update` and replaces the target with its answer. The caller
// holds the target's writer lock.
std::error_code ReadUpdateReplace(const std::string& path, const FileUpdate& update);

}  // namespace qv::platform
