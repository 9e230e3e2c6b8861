// The app list on Linux, where a test can make the disk run full (a file size limit).
#include <gtest/gtest.h>

#include <string>

#include "app_list_fixture.h"
#include "file_size_limit.h"
#include "workflow/records/app_list.h"

namespace qv::workflow {
namespace {

TEST_F(AppListTest, AWriteThatCannotCompleteLeavesTheOldListWhole) {
  std::string old_list = "<app_list>\n";
  for (int i = 0; i < 100; ++i) {
    old_list += "<item game_id=\"" + std::to_string(i) + "\" game_name=\"Game\" state=\"9\"/>\n";
  }
  old_list += "</app_list>\n";
  WriteList(old_list);
  bool updated = true;
  {
    const test::FileSizeLimit full_disk(old_list.size() / 2);
    updated = UpdateAppList(kLocalPath, context_);
  }
  EXPECT_FALSE(updated);
  EXPECT_EQ(qv::test::ReadFileBytes(ListPath()), old_list);
}

}  // namespace
}  // namespace qv::workflow
