// The start-up's language choice: what config.ini remembers, what the system's language gives
// when it remembers nothing, which table is loaded and which language id is published.

#include "util/language_selection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/private_profile.h"
#include "platform/resources.h"
#include "temp_root.h"
#include "util/language_id.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

class LanguageSelectionTest : public test::TempRootTest {
 protected:
  void SetUp() override {
    SetCurrentLanguageId("");
    std::filesystem::create_directories(root_.Path("home/.local/share/Qvorvane"));
  }

  // A selection on the real tables whose resource look-ups are recorded.
  LanguageSelection Selection(std::string system_code) {
    LanguageSelection selection;
    selection.config_ini = config_ini_;
    selection.system_code = std::move(system_code);
    selection.find_resource = [this](int id) {
      asked_.push_back(id);
      return platform::FindResource(id);
    };
    return selection;
  }

  std::string RememberedCode() const {
    std::string value;
    platform::GetPrivateProfileString("General", "last_lang_name", "<none>", value, 128,
                                      config_ini_);
    return value;
  }

  const std::string config_ini_ = root_.Path("home/.local/share/Qvorvane/config.ini");
  std::vector<int> asked_;
};

TEST_F(LanguageSelectionTest, RememberedOrSystemCodeChoosesTableAndLanguageId) {
  struct Case {
    std::optional<std::string_view> ini_text;  // nullopt: no config.ini
    std::string_view system_code;
    bool loaded;
    std::vector<int> resources;
    std::string_view language_id;
    std::string_view remembered_after;
    std::string_view downloading;  // Translate("Downloading...")
  };
  const Case cases[] = {
      // First start on a German system: the choice is made and remembered.
      {std::nullopt, "de", true, {139}, "de-de", "de", "Lädt herunter..."},
      {"[General]\r\nlast_lang_name=\r\n", "th", true, {148}, "th-th", "th",
       "กำลังดาวน์โหลด..."},
      // A remembered choice wins over the system and is never rewritten.
      {"[General]\nlast_lang_name=zh_TW\n", "en", true, {151}, "zh-zh", "zh_TW",
       "下載中..."},
      {"[general]\nLAST_LANG_NAME=ar\n", "de", true, {138}, "ar-ar", "ar",
       "...تحميل"},
      // Values that are no short code load nothing and publish no id.
      {"[General]\nlast_lang_name=ZH_TW\n", "de", false, {}, "", "ZH_TW", "Downloading..."},
      {"[General]\nlast_lang_name=zh-cn\n", "de", false, {}, "", "zh-cn", "Downloading..."},
      {"[General]\nlast_lang_name=english\n", "de", false, {}, "", "english", "Downloading..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.ini_text ? *c.ini_text : "no file") << " / "
                                    << c.system_code);
    std::filesystem::remove(config_ini_);
    if (c.ini_text) root_.WriteFile("home/.local/share/Qvorvane/config.ini", *c.ini_text);
    SetCurrentLanguageId("");
    asked_.clear();

    LanguageTable table;
    EXPECT_EQ(SelectLanguage(table, Selection(std::string(c.system_code))), c.loaded);
    EXPECT_EQ(asked_, c.resources);
    EXPECT_EQ(CurrentLanguageId(), c.language_id);
    EXPECT_EQ(RememberedCode(), c.remembered_after);
    EXPECT_EQ(table.Translate("Downloading..."), Utf8ToWide(c.downloading));
  }
}

TEST_F(LanguageSelectionTest, MissingOrDamagedTableStillPublishesTheLanguageId) {
  root_.WriteFile("home/.local/share/Qvorvane/config.ini", "[General]\nlast_lang_name=pl\n");
  for (std::string_view bytes : {std::string_view(), std::string_view("<Language><Item")}) {
    SetCurrentLanguageId("");
    LanguageSelection selection = Selection("en");
    selection.find_resource = [bytes](int) {
      return std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(bytes.data()),
                                            bytes.size());
    };
    LanguageTable table;
    EXPECT_FALSE(SelectLanguage(table, selection));
    EXPECT_EQ(CurrentLanguageId(), "pl-pl");
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.Translate("Failed..."), u"Failed...");
  }
}

TEST_F(LanguageSelectionTest, UnwritableConfigStillChoosesTheSystemLanguage) {
  // The local data folder is a file: config.ini can be neither read nor written.
  std::filesystem::remove(root_.Path("home/.local/share/Qvorvane"));
  root_.WriteFile("home/.local/share/Qvorvane", "not a folder");
  LanguageTable table;
  EXPECT_TRUE(SelectLanguage(table, Selection("fr")));
  EXPECT_EQ(CurrentLanguageId(), "fr-fr");
  EXPECT_EQ(RememberedCode(), "<none>");
}

}  // namespace
}  // namespace qv::util
