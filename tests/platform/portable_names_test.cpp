// Plain names on every system: what a guard lets through is one entry in its folder on Windows
// too.
#include "platform/portable_names.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::platform {
namespace {

TEST(PortableNamesTest, OnlyPlainNamesPass) {
  const std::pair<std::string, bool> cases[] = {
      {"QVorvane.exe", true}, {"Tides of Valoria \xE2\x85\xA2", true}, {".hidden", true},
      {"a..b", true},         {"CONSOLE", true},  {"com10", true},     {"LPT0", true},
      {"", false},            {".", false},       {"..", false},       {"a/b", false},
      {"a\\b", false},        {"C:", false},      {"x:stream", false}, {"a.", false},
      {"a ", false},          {"a<b", false},     {"a\"b", false},     {"a|b", false},
      {"a?", false},          {"a*", false},      {std::string("a\x01", 2), false},
      {"CON", false},         {"con", false},     {"Nul.txt", false},  {"aux.tar.gz", false},
      {"COM1", false},        {"lpt9.log", false}, {"PRN .x", false},
  };
  for (const auto& [name, plain] : cases) EXPECT_EQ(IsPlainComponent(name), plain) << name;
}

}  // namespace
}  // namespace qv::platform
