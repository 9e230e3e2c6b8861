#include "platform/path_separators.h"

namespace qv::platform {

const std::string_view kPathSeparators = "/";

}  // namespace qv::platform
