#include "controller/progress_status.h"

#include <gtest/gtest.h>

#include <iterator>

namespace qv::controller {
namespace {

TEST(ProgressStatusTest, TheBarIsFullOnlyOnCompletion) {
  const struct {
    std::u16string_view key;
    int given;
    int shown;
  } steps[] = {
      {u"Downloading...", 9, 9},   {u"Downloading...", 97, 97}, {u"Installing...", 100, 98},
      {u"Installing...", 250, 98}, {kStatusCompleted, 350, 100}, {u"Failed...", 9, 9},
  };
  ProgressStatus status;
  for (size_t i = 0; i < std::size(steps); ++i) {
    status.Update(steps[i].key, static_cast<int>(i), steps[i].given);
    EXPECT_EQ(status.key, steps[i].key) << "step " << i;
    EXPECT_EQ(status.state_code, static_cast<int>(i)) << "step " << i;
    EXPECT_EQ(status.percent, steps[i].shown) << "step " << i;
  }
}

TEST(ProgressStatusTest, ARepeatedPercentageKeepsWhatIsShown) {
  ProgressStatus status;
  status.Update(u"Installing...", 0, 100);
  EXPECT_EQ(status.percent, 98);
  // Same percentage under the completion key: not a new percentage, so the bar stays.
  status.Update(kStatusCompleted, 0, 100);
  EXPECT_EQ(status.key, kStatusCompleted);
  EXPECT_EQ(status.percent, 98);
}

}  // namespace
}  // namespace qv::controller
