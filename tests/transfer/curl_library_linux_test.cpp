// Opening the transfer library at run time: a table is handed out whole or not at all.
#include <gtest/gtest.h>

#include <string>

#include "transfer/curl_library_loader.h"

namespace qv::transfer {
namespace {

bool Complete(const CurlLibrary& f) {
  return f.global_init && f.global_cleanup && f.easy_init && f.easy_setopt && f.easy_perform &&
         f.easy_getinfo && f.easy_cleanup && f.slist_append && f.slist_free_all;
}

TEST(CurlLibraryTest, TheLibraryBuiltAgainstGivesEveryFunction) {
  std::string error;
  const auto loaded = LoadCurlLibrary(kCurlLibraryFileName, error);
  ASSERT_NE(loaded, nullptr) << error;
  EXPECT_TRUE(Complete(loaded->functions));
  ASSERT_NE(Curl(), nullptr);
  EXPECT_TRUE(Complete(*Curl()));
}

TEST(CurlLibraryTest, AMissingOrIncompleteLibraryGivesNoTable) {
  const struct {
    std::string file_name;
    std::string reason;  // a part of the error
  } kCases[] = {
      {"libqv-no-such-transfer-library.so.4", "libqv-no-such-transfer-library.so.4"},
      {QV_PARTIAL_CURL_LIBRARY, "has no function curl_global_cleanup"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file_name);
    std::string error;
    EXPECT_EQ(LoadCurlLibrary(c.file_name, error), nullptr);
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace qv::transfer
