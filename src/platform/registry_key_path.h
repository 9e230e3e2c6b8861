// The rules for registry key paths that both sides of the registry apply before the system
// sees a path (registry.h). Internal to the platform layer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::platform {

// The path with one trailing '\' dropped; nullopt when a component is empty, longer than
// kMaxKeyNameLength UTF-16 units or holds a line break or NUL. "" is the root itself.
std::optional<std::string> NormalizeKeyPath(std::string_view path);

}  // namespace qv::platform
