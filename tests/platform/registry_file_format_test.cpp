#include "platform/registry_file_format.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv::platform {
namespace {

constexpr std::string_view kRoot = "HKEY_CURRENT_USER";

RegistryValueData Text(std::string name, std::string text) {
  RegistryValueData value;
  value.name = std::move(name);
  value.text = std::move(text);
  return value;
}

TEST(RegistryFileFormatTest, WritesKeysAndValuesInTheirOrder) {
  RegistryHive hive;
  RegistryKeyData& key = hive.EnsureKey("Software\\Uninstall\\qvorvane");
  key.SetValue(Text("DisplayIcon", "\"C:\\q\\uninstall.exe\""));
  key.SetValue(Text("", "default"));
  RegistryValueData number;
  number.name = "Count";
  number.type = RegistryValueType::kDword;
  number.number = 42;
  key.SetValue(number);
  key.SetValue(Text("DisplayIcon", "changed"));  // keeps its first place
  EXPECT_EQ(SerializeRegistryFile(hive, kRoot),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Uninstall]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Uninstall\\qvorvane]\n"
            "\"DisplayIcon\"=\"changed\"\n"
            "@=\"default\"\n"
            "\"Count\"=dword:0000002a\n\n");
}

TEST(RegistryFileFormatTest, HostileNamesAndDataRoundTripOnOneLineEach) {
  const std::string hostile[] = {
      "back\\slash",     "quote\"d", "line\nbreak\n[HKEY_CURRENT_USER\\Injected]",
      "cr\r\"x\"=\"y\"", "游戏 été", "@",
      "ends with \\",    "",         "]",
  };
  RegistryHive hive;
  RegistryKeyData& key = hive.EnsureKey("Key with ] and [ and blanks Ⅲ");
  for (size_t i = 0; i < std::size(hostile); ++i) {
    key.SetValue(Text(hostile[i], hostile[std::size(hostile) - 1 - i]));
  }
  const std::string text = SerializeRegistryFile(hive, kRoot);
  // header, blank, section, one line per value, blank
  EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')),
            3 + std::size(hostile) + 1);

  RegistryHive parsed;
  ASSERT_TRUE(ParseRegistryFile(text, kRoot, parsed));
  ASSERT_EQ(parsed.keys().size(), 1u);
  EXPECT_EQ(parsed.keys()[0].path, key.path);
  ASSERT_EQ(parsed.keys()[0].values.size(), key.values.size());
  for (size_t i = 0; i < key.values.size(); ++i) {
    EXPECT_EQ(parsed.keys()[0].values[i].name, key.values[i].name);
    EXPECT_EQ(parsed.keys()[0].values[i].text, key.values[i].text);
  }
}

TEST(RegistryFileFormatTest, AcceptsWhatAnEditorMayLeave) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
      "; a comment\r\n"
      "[hkey_current_user\\A\\B]\r\n"
      "\"x\"=\"1\"\r\n"
      "[HKEY_CURRENT_USER\\a]\r\n"
      "\"n\"=DWORD:FF\r\n"
      "[HKEY_CURRENT_USER\\A\\b]\r\n"
      "\"X\"=\"2\"";  // same key and value in another case; no final line end
  RegistryHive hive;
  ASSERT_TRUE(ParseRegistryFile(text, kRoot, hive));
  ASSERT_EQ(hive.keys().size(), 2u);
  EXPECT_EQ(hive.keys()[0].path, "A");
  EXPECT_EQ(hive.keys()[0].values.at(0).number, 0xFFu);
  ASSERT_EQ(hive.keys()[1].values.size(), 1u);
  EXPECT_EQ(hive.keys()[1].values[0].name, "x");
  EXPECT_EQ(hive.keys()[1].values[0].text, "2");
  EXPECT_TRUE(ParseRegistryFile("", kRoot, hive));
  EXPECT_TRUE(hive.keys().empty());
}

TEST(RegistryFileFormatTest, RefusesDamagedText) {
  const std::string header = "Windows Registry Editor Version 5.00\n";
  const std::string damaged[] = {
      "garbage\n",
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n",
      header + "\"x\"=\"value before any key\"\n",
      header + "[HKEY_LOCAL_MACHINE\\A]\n",
      header + "[-HKEY_CURRENT_USER\\A]\n",
      header + "[HKEY_CURRENT_USER\\A\\\\B]\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"bad \\q escape\"\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"unterminated\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"trailing\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=hex:01,02\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:123456789\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=-\n",
      header + "[HKEY_CURRENT_USER\\A\n",
  };
  for (const std::string& text : damaged) {
    RegistryHive hive;
    EXPECT_FALSE(ParseRegistryFile(text, kRoot, hive)) << text;
  }
}

}  // namespace
}  // namespace qv::platform
