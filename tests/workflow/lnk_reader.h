// Reading our shortcut files back with the real lnkinfo tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv::test {

// lnkinfo's report of a shortcut file; fails the current test when the tool does not read it.
std::string LnkInfo(const std::string& path);

// The value of one "name : value" line of the report; nullopt when the line is missing.
std::optional<std::string> LnkInfoField(const std::string& report, const std::string& name);

// The show command in the file's header (32 bits at offset 60), which lnkinfo does not report.
uint32_t ShowCommandOf(const std::string& path);

}  // namespace qv::test
