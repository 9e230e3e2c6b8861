#include "ui/core/featured_game.h"

#include <gtest/gtest.h>

#include <string>

#include "qv/deployment_settings.h"
#include "view_test_support.h"

namespace qv::ui::test {
namespace {

TEST(FeaturedGameTest, LinkIsShownOnlyWithTextServerAndTheFeaturedGame) {
  struct Case {
    const char* name;
    const char* server_id;
    std::u16string link_text;
    bool shown;
  };
  const Case cases[] = {
      {"Tides of Valoria III", "s7", u"Play on Browser", true},
      {"Tides of Valoria III", "s7", u"", false},
      {"Tides of Valoria III", "", u"Play on Browser", false},
      {"Tides of Valoria II", "s7", u"Play on Browser", false},
      {"tides of valoria iii", "s7", u"Play on Browser", false},
      {"", "s7", u"Play on Browser", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LinkShown(c.link_text, MakeGame(c.name, "1001", c.server_id)), c.shown)
        << c.name << "/" << c.server_id;
  }
}

TEST(FeaturedGameTest, GamePageCarriesTheServerIdAsItStands) {
  const std::string base = settings::kGameWebBaseUrl;
  struct Case {
    const char* server_id;
    std::string url;
  };
  const Case cases[] = {
      {"s7", base + "/game/?sid=s7"},
      {"", base + "/game/?sid="},
      {"a%sb&c=1", base + "/game/?sid=a%sb&c=1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GamePageUrl(MakeGame("Tides of Valoria III", "1001", c.server_id)), c.url);
  }
}

}  // namespace
}  // namespace qv::ui::test
