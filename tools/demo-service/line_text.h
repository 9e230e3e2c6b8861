// Text written into line-oriented records (the statistics log, the demo client's launch record):
// line breaks and backslashes as C-style escapes, so that one value never spans two lines and
// every line reads back unambiguously.
#pragma once

#include <string>
#include <string_view>

namespace qv::demo {

inline std::string LineText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace qv::demo
