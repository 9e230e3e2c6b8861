#include "util/command_line.h"

namespace qv::util {

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> arguments;
  std::u16string current;
  bool in_argument = false;
  bool quoted = false;
  size_t i = 0;
  while (i < line.size()) {
    const char16_t c = line[i];
    if ((c == u' ' || c == u'\t') && !quoted) {
      if (in_argument) arguments.push_back(std::move(current));
      current.clear();
      in_argument = false;
      ++i;
      continue;
    }
    in_argument = true;
    if (c == u'\\') {
      size_t count = 0;
      while (i + count < line.size() && line[i + count] == u'\\') ++count;
      i += count;
      if (i < line.size() && line[i] == u'"') {
        current.append(count / 2, u'\\');
        if (count % 2 == 1) {
          current.push_back(u'"');
          ++i;
        }  // an even count leaves the quote to group below
      } else {
        current.append(count, u'\\');
      }
    } else if (c == u'"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
        current.push_back(u'"');
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else {
      current.push_back(c);
      ++i;
    }
  }
  if (in_argument) arguments.push_back(std::move(current));
  return arguments;
}

}  // namespace qv::util
