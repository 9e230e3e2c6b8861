#include "platform/portable_names.h"

#include <array>
#include <cctype>
#include <string>

#include "platform/path_syntax.h"

namespace qv::platform {
namespace {

constexpr std::string_view kForbidden = "<>:\"/\\|?*";
constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
constexpr std::array<std::string_view, 2> kNumberedDevices = {"COM", "LPT"};

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The device a name stands for: its part before the first dot, without trailing blanks.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string upper = UpperAscii(stem);
  for (const std::string_view device : kDevices) {
    if (upper == device) return true;
  }
  for (const std::string_view device : kNumberedDevices) {
    if (upper.size() == 4 && upper.starts_with(device) && upper[3] >= '1' && upper[3] <= '9') {
      return true;
    }
  }
  return false;
}

}  // namespace

bool IsPlainComponent(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos) {
      return false;
    }
  }
  if (name.back() == '.' || name.back() == ' ') return false;
  return !IsDeviceName(name);
}

std::vector<std::string> PlainComponents(std::string_view relative) {
  std::vector<std::string> components;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find_first_of(kPathSeparators, start);
    if (end == std::string_view::npos) end = relative.size();
    const std::string_view component = relative.substr(start, end - start);
    if (!IsPlainComponentOnThisSystem(component)) return {};
    components.emplace_back(component);
    start = end + 1;
  }
  return components;
}

}  // namespace qv::platform
