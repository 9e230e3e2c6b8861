#include "platform/shell_link.h"

namespace qv::platform {

// Linux has no shell-link object: the caller writes the file itself.
std::optional<bool> SaveShellLinkThroughSystem(const std::string& /*path*/,
                                               const ShellLinkFields& /*fields*/) {
  return std::nullopt;
}

}  // namespace qv::platform
