#include "platform/utf8_text.h"

#include <gtest/gtest.h>

namespace qv::platform {
namespace {

TEST(Utf8TextTest, CountsAndCutsInUtf16Units) {
  struct Case {
    std::string text;
    size_t units;
    size_t max_units;
    std::string prefix;
  };
  // clang-format off
  const Case cases[] = {
      {"", 0, 3, ""},
      {"abc", 3, 2, "ab"},
      {"été", 3, 2, "ét"},         // two-byte letters count one unit
      {"Ⅲx", 2, 1, "Ⅲ"},           // so do three-byte ones
      {"a😀b", 4, 2, "a"},         // an emoji takes two units and is not split
      {"a😀b", 4, 3, "a😀"},
      {"\xFF\xC3", 2, 1, "\xFF"},  // ill-formed bytes count one each
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16Length(c.text), c.units) << c.text;
    EXPECT_EQ(Utf16Prefix(c.text, c.max_units), c.prefix) << c.text;
  }
}

}  // namespace
}  // namespace qv::platform
