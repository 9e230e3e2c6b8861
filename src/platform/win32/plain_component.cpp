#include "platform/portable_names.h"

namespace qv::platform {

// Windows gives device names, streams, drive-relative names and names ending in a dot or a
// blank a meaning of their own.
bool IsPlainComponentOnThisSystem(std::string_view name) { return IsPlainComponent(name); }

}  // namespace qv::platform
