// The string tables: the language of a system language id, the parser (also on damaged tables)
// and Translate's escapes, decoding and missing keys.

#include "util/language_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>

#include "platform/resources.h"
#include "util/default_descriptions.h"

namespace qv::util {
namespace {

std::span<const unsigned char> Bytes(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::string AsText(std::span<const unsigned char> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

LanguageTable TableOf(std::string_view xml) {
  LanguageTable table;
  EXPECT_TRUE(table.Load(Bytes(xml))) << xml;
  return table;
}

TEST(LanguageCodeForLangIdTest, LowByteChoosesAndOnlyChineseLooksAtTheSubLanguage) {
  struct Case {
    uint16_t lang_id;
    std::string_view code;
  };
  const Case cases[] = {
      {0x0401, "ar"}, {0x0C01, "ar"}, {0x0407, "de"}, {0x0807, "de"}, {0x0409, "en"},
      {0x0C0A, "es"}, {0x040A, "es"}, {0x580A, "es"},  // every Spanish
      {0x0419, "ru"}, {0x0819, "ru"}, {0x0411, "en"}, {0x0000, "en"}, {0x0403, "es"}, {0x040C, "fr"},
      {0x0421, "id"}, {0x0410, "it"}, {0x0415, "pl"}, {0x0416, "pt"}, {0x0816, "pt"},
      {0x046D, "ru"}, {0x041E, "th"}, {0x041F, "tr"}, {0x0004, "zh_CN"}, {0x0804, "zh_CN"},
      {0x1004, "zh_CN"}, {0x7804, "zh_CN"}, {0x0404, "zh_TW"}, {0x0C04, "zh_TW"},
      {0x1404, "zh_TW"}, {0x7C04, "zh_TW"},
      {0x0107, "de"},  // only the low byte is the primary language here
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageCodeForLangId(c.lang_id), c.code) << std::hex << c.lang_id;
  }
}

TEST(LanguagesTest, RowsAreTheResourceOrderAndCodesMatchExactly) {
  for (size_t row = 0; row < kLanguages.size(); ++row) {
    EXPECT_EQ(kLanguages[row].resource_id, kFirstLanguageResourceId + static_cast<int>(row));
    EXPECT_EQ(FindLanguage(kLanguages[row].short_code), &kLanguages[row]);
  }
  EXPECT_EQ(FindLanguage("zh_TW")->language_id, "zh-zh");
  for (std::string_view not_a_code : {"", "ZH_TW", "zh-cn", "en ", "english", "zh"}) {
    EXPECT_EQ(FindLanguage(not_a_code), nullptr) << not_a_code;
  }
}

TEST(ExpandEscapesTest, KnownEscapesExpandAndAnyOtherBackslashStays) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"a\\nb", "a\nb"},
      {"\\r\\n\\t", "\r\n\t"},
      {"\\\\n", "\\n"},     // an escaped backslash, then a plain n
      {"\\\\\\n", "\\\n"},  // an escaped backslash, then a line feed
      {"\\x\\", "\\x\\"},   // unknown escape and a trailing backslash stay
      {"\\\\", "\\"},
      {"C:\\new", "C:\new"},
  };
  for (const auto& [value, expanded] : cases) EXPECT_EQ(ExpandEscapes(value), expanded) << value;
}

TEST(DecodeUpToInvalidTest, DecodesUpToTheFirstByteThatStartsNoWholeSequence) {
  const std::pair<std::string_view, std::u16string_view> cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"L\xc3\xa4" "dt", u"L\u00e4dt"},
      {"\xe5\xae\x89\xe8\xa3\x85", u"\u5b89\u88c5"},
      {"ok\xf0\x9f\x98\x80" "after", u"ok"},   // four-byte sequence
      {"ok\x80" "after", u"ok"},               // continuation byte without a lead
      {"ok\xc3", u"ok"},                       // cut short at the end
      {"ok\xe5\xae", u"ok"},
      {"ok\xc3" "A", u"ok"},                   // lead followed by no continuation
      {"ok\xc0\xaf", u"ok"},                   // overlong "/"
      {"ok\xe0\x80\xaf", u"ok"},               // overlong "/" in three bytes
      {"ok\xed\xa0\x80", u"ok"},               // an encoded surrogate
      {"ok\xff", u"ok"},
      {std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3)},
  };
  for (const auto& [utf8, expected] : cases) {
    EXPECT_EQ(DecodeUpToInvalid(utf8), expected) << testing::PrintToString(std::string(utf8));
  }
}

TEST(LanguageTableTest, FirstValueOfARepeatedKeyWinsAndMissingAttributesAreEmpty) {
  LanguageTable table = TableOf(
      "<Language>"
      "<Item key=\"a\" value=\"first\"></Item>"
      "<Other key=\"b\" value=\"not an item\"/>"
      "<Item key=\"a\" value=\"second\"></Item>"
      "<Item value=\"no key\"></Item>"
      "<Item key=\"no value\"></Item>"
      "<Item key=\"x &amp; &lt;y&gt; &quot;z&quot;\" value=\"&#x4E2D;\"></Item>"
      "<Item key=\"nested\" value=\"top\"><Item key=\"inner\" value=\"skipped\"/></Item>"
      "</Language>");
  EXPECT_EQ(table.size(), 5u);
  EXPECT_EQ(table.Translate("a"), u"first");
  EXPECT_EQ(table.Translate(""), u"no key");  // an item without a key has the empty key
  EXPECT_EQ(table.Translate("no value"), u"");
  EXPECT_EQ(table.Translate("x & <y> \"z\""), u"\u4e2d");
  EXPECT_EQ(table.Translate("inner"), u"inner");
  EXPECT_EQ(table.Translate("b"), u"b");

  // A second table adds to the first without replacing anything.
  ASSERT_TRUE(table.Load(Bytes("<Language><Item key=\"a\" value=\"later\"/>"
                               "<Item key=\"c\" value=\"new\"/></Language>")));
  EXPECT_EQ(table.Translate("a"), u"first");
  EXPECT_EQ(table.Translate("c"), u"new");
}

TEST(LanguageTableTest, TranslateExpandsValuesButNeverKeys) {
  const LanguageTable table = TableOf(
      "<Language>"
      "<Item key=\"two lines\" value=\"one\\ntwo\"></Item>"
      "<Item key=\"cut\" value=\"ok&#x1F600;lost\"></Item>"
      "</Language>");
  EXPECT_EQ(table.Translate("two lines"), u"one\ntwo");
  EXPECT_EQ(table.Translate("missing\\n key"), u"missing\\n key");
  EXPECT_EQ(table.Translate("cut"), u"ok");  // a character beyond U+FFFF ends the text
  EXPECT_EQ(table.Translate("missing \xe4\xb8\xad\xff tail"), u"missing \u4e2d");
  EXPECT_EQ(table.Translate(""), u"");

  // Each call answers its own text: an earlier answer is not changed by a later call.
  const std::u16string first = table.Translate("two lines");
  const std::u16string second = table.Translate("cut");
  EXPECT_EQ(first, u"one\ntwo");
  EXPECT_EQ(second, u"ok");
}

TEST(LanguageTableTest, DocumentsWithoutTheRootLoadNothingAndBrokenOnesKeepTheEntries) {
  LanguageTable table = TableOf("<Language><Item key=\"k\" value=\"v\"/></Language>");
  for (std::string_view broken :
       {"", "<Language><Item key=\"a\" value=\"b\"></Language>", "<Language", "\x01\x02"}) {
    EXPECT_FALSE(table.Load(Bytes(broken))) << broken;
  }
  EXPECT_TRUE(table.Load(Bytes("<Other><Item key=\"a\" value=\"b\"/></Other>")));
  EXPECT_TRUE(table.Load(Bytes("<Item key=\"a\" value=\"b\"/>")));
  EXPECT_EQ(table.size(), 1u);
  EXPECT_EQ(table.Translate("k"), u"v");
}

TEST(LanguageTableTest, EveryShippedTableLoadsItsKeys) {
  for (const Language& language : kLanguages) {
    LanguageTable table;
    ASSERT_TRUE(table.Load(platform::FindResource(language.resource_id))) << language.short_code;
    EXPECT_EQ(table.size(), language.short_code == "th" ? 14u : 15u) << language.short_code;
    EXPECT_EQ(table.entries().count(kPlatformDescription), 1u) << language.short_code;
  }
  LanguageTable german;
  german.Load(platform::FindResource(FindLanguage("de")->resource_id));
  EXPECT_EQ(german.Translate("Downloading..."), u"L\u00e4dt herunter...");
  LanguageTable thai;
  thai.Load(platform::FindResource(FindLanguage("th")->resource_id));
  EXPECT_EQ(thai.Translate(kGameDescription), std::u16string(kGameDescription,
                                                             kGameDescription +
                                                                 sizeof(kGameDescription) - 1));
}

// Damaged tables (cut anywhere, bytes changed at random) never crash the parser and either
// fail without touching the entries or load a well-defined subset.
TEST(LanguageTableTest, DamagedTablesLoadOrFailCleanly) {
  const std::string whole = AsText(platform::FindResource(FindLanguage("ru")->resource_id));
  ASSERT_FALSE(whole.empty());
  for (size_t size = 0; size <= whole.size(); size += 7) {
    LanguageTable table;
    const bool loaded = table.Load(Bytes(std::string_view(whole).substr(0, size)));
    if (!loaded) {
      EXPECT_EQ(table.size(), 0u) << size;
    }
    EXPECT_LE(table.size(), 15u);
    for (const auto& [key, value] : table.entries()) (void)table.Translate(key);
  }
  std::mt19937 random(20261210);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = whole;
    for (int flips = 0; flips < 4; ++flips) {
      damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
    }
    LanguageTable table;
    if (!table.Load(Bytes(damaged))) {
      EXPECT_EQ(table.size(), 0u);
    }
    for (const auto& [key, value] : table.entries()) (void)table.Translate(key);
  }
}

}  // namespace
}  // namespace qv::util
