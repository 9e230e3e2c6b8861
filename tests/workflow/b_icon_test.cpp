#include "workflow/shortcuts/b_icon.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "png_fixtures.h"
#include "temp_root.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

class CBIconTest : public test::TempRootTest {};

TEST_F(CBIconTest, NothingLoadedWritesNothing) {
  CBIcon icon;
  const std::string path = root_.Path("icon.ico");
  EXPECT_FALSE(icon.WriteIconFile(util::Utf8ToWide(path)));

  IconHandle mismatched =
      MakeIconHandle(test::GradientPicture(4, 4, [](uint32_t, uint32_t) { return 1; }));
  mismatched.mask.pop_back();
  EXPECT_FALSE(icon.LoadFromIconHandle(mismatched));
  EXPECT_FALSE(icon.LoadFromIconHandle(IconHandle{}));
  EXPECT_FALSE(icon.WriteIconFile(util::Utf8ToWide(path)));
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace qv::workflow
