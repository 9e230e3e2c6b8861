#include "platform/registry_key_path.h"

#include "platform/registry.h"
#include "platform/utf8_text.h"

namespace qv::platform {
namespace {

constexpr char kKeySeparator = '\\';

bool IsValidKeyName(std::string_view name) {
  return !name.empty() && Utf16Length(name) <= kMaxKeyNameLength &&
         name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace

std::optional<std::string> NormalizeKeyPath(std::string_view path) {
  if (!path.empty() && path.back() == kKeySeparator) path.remove_suffix(1);
  if (path.empty()) return std::string();
  for (size_t start = 0;;) {
    const size_t end = path.find(kKeySeparator, start);
    if (!IsValidKeyName(path.substr(start, end - start))) return std::nullopt;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return std::string(path);
}

}  // namespace qv::platform
