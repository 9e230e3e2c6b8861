// Splitting a parameter line into arguments (what RunProgram hands to the started program).
//
// Beyond "no crash": no argument of a split line holds a blank or tab unless the line quoted it,
// and the split is a fixed point of quoting: every argument, quoted by the rules the splitter
// reads and joined with blanks, splits back into exactly the same arguments.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "util/command_line.h"

namespace {

// The argument as a line fragment that the splitting rules read back as this one argument:
// in double quotes, a quote escaped with a backslash, and the backslashes before a quote (or
// before the closing quote) doubled.
std::u16string Quoted(const std::u16string& argument) {
  std::u16string out = u"\"";
  size_t backslashes = 0;
  for (const char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      out.append(2 * backslashes + 1, u'\\');
    } else {
      out.append(backslashes, u'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  out.append(2 * backslashes, u'\\');
  out.push_back(u'"');
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Two bytes a UTF-16 unit, as the line reaches the splitter; an odd last byte is dropped.
  std::u16string line(size / 2, u'\0');
  for (size_t i = 0; i < line.size(); ++i) {
    line[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  const std::vector<std::u16string> arguments = qv::util::SplitCommandLine(line);

  const bool has_quote = line.find(u'"') != std::u16string::npos;
  std::u16string rejoined;
  for (const std::u16string& argument : arguments) {
    if (!has_quote) {
      QV_FUZZ_CHECK(!argument.empty());
      QV_FUZZ_CHECK(argument.find_first_of(u" \t") == std::u16string::npos);
    }
    if (!rejoined.empty()) rejoined.push_back(u' ');
    rejoined += Quoted(argument);
  }
  QV_FUZZ_CHECK(qv::util::SplitCommandLine(rejoined) == arguments);
  return 0;
}
