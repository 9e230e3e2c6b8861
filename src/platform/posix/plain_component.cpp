#include "platform/portable_names.h"

namespace qv::platform {

bool IsPlainComponentOnThisSystem(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace qv::platform
