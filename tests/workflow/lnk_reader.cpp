#include "lnk_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "run_command.h"
#include "temp_root.h"

namespace qv::test {

std::string LnkInfo(const std::string& path) {
  const CommandResult result = RunCommand({"lnkinfo", path});
  EXPECT_EQ(result.exit_code, 0) << result.output;
  return result.output;
}

std::optional<std::string> LnkInfoField(const std::string& report, const std::string& name) {
  const size_t line = report.find("\t" + name + "\t");
  if (line == std::string::npos) return std::nullopt;
  const size_t value = report.find(": ", line) + 2;
  return report.substr(value, report.find('\n', value) - value);
}

uint32_t ShowCommandOf(const std::string& path) {
  constexpr size_t kShowCommandOffset = 60;
  const std::string bytes = ReadFileBytes(path).value_or("");
  uint32_t value = 0;  // the file is little-endian, as this machine
  if (bytes.size() >= kShowCommandOffset + 4) {
    std::memcpy(&value, bytes.data() + kShowCommandOffset, 4);
  }
  return value;
}

}  // namespace qv::test
