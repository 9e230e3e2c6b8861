#include "platform/ui_language.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <string_view>

#include "temp_root.h"

namespace qv::platform {
namespace {

struct LocaleCase {
  std::string_view locale;
  uint16_t lang_id;
};

TEST(LanguageIdForLocaleTest, LocaleNamesGiveTheIdOfTheirLanguageAndTerritory) {
  const LocaleCase cases[] = {
      {"es_ES.UTF-8", 0x0C0A},   {"es_MX.UTF-8", 0x080A},  {"ca_ES.UTF-8", 0x0403},
      {"ca_ES@valencia", 0x0403}, {"zh_TW.UTF-8", 0x0404},  {"zh_CN.UTF-8", 0x0804},
      {"zh_HK.UTF-8", 0x0C04},   {"zh_SG", 0x1004},         {"zh_MO", 0x1404},
      {"zh", 0x0004},            {"zh_XX", 0x0004},         {"ba_RU", 0x046D},
      {"ru_RU.UTF-8", 0x0419},   {"de_DE.UTF-8", 0x0407},   {"de_AT.UTF-8", 0x0C07},
      {"de_XX", 0x0407},         {"de", 0x0407},            {"pt_BR.UTF-8", 0x0416},
      {"pt_PT.UTF-8", 0x0816},   {"en_US.UTF-8", 0x0409},   {"en_GB.UTF-8", 0x0809},
      {"th_TH.UTF-8", 0x041E},   {"tr_TR.UTF-8", 0x041F},   {"id_ID.UTF-8", 0x0421},
      {"ar_EG.UTF-8", 0x0C01},   {"pl_PL.UTF-8", 0x0415},   {"it_CH.UTF-8", 0x0810},
      {"fr_CA.UTF-8", 0x0C0C},   {"fil_PH.UTF-8", 0x0464},  {"sr_RS@latin", 0x241A},
      {"sr_RS", 0x281A},         {"ja_JP.eucJP", 0x0411},   {"C", 0x0409},
      {"C.UTF-8", 0x0409},       {"POSIX", 0x0409},         {"", 0x0409},
      {"eo", 0x0409},            {"_US", 0x0409},           {"ZH_tw", 0x0409},
  };
  for (const LocaleCase& c : cases) {
    EXPECT_EQ(LanguageIdForLocale(c.locale), c.lang_id) << c.locale;
  }
}

// The C library's order: LC_ALL, then LC_MESSAGES, then LANG; an empty one counts as unset.
TEST(UserMessagesLocaleTest, TakesTheFirstSetOfLcAllLcMessagesAndLang) {
  test::TempRoot root;  // restores LC_ALL
  setenv("LANG", "de_DE.UTF-8", 1);
  setenv("LC_MESSAGES", "zh_SG.UTF-8", 1);
  setenv("LC_ALL", "ca_ES.UTF-8", 1);
  EXPECT_EQ(UserMessagesLocale(), "ca_ES.UTF-8");
  EXPECT_EQ(UserDefaultUILanguage(), 0x0403);
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(UserDefaultUILanguage(), 0x1004);
  unsetenv("LC_MESSAGES");
  EXPECT_EQ(UserDefaultUILanguage(), 0x0407);
  unsetenv("LANG");
  EXPECT_EQ(UserMessagesLocale(), "");
  EXPECT_EQ(UserDefaultUILanguage(), kLangIdEnglishUnitedStates);
}

}  // namespace
}  // namespace qv::platform
