// A download into a file the system refuses to let grow: a file size limit steers a full disk,
// which only Linux offers a process.
#include <gtest/gtest.h>

#include <string>

#include "file_size_limit.h"
#include "loopback_server.h"
#include "temp_root.h"
#include "transfer/http.h"

namespace qv::transfer {
namespace {

using test::LoopbackServer;

class HttpGetOnLinuxTest : public test::TempRootTest {
 protected:
  std::unique_ptr<LoopbackServer> server_ = LoopbackServer::StartHttp();
};

TEST_F(HttpGetOnLinuxTest, AFileThatCannotBeWrittenOrClosedFails) {
  constexpr rlim_t kFileSizeLimit = 10'000;
  server_->StreamBody("/fits-the-buffer", 20'000);  // fails only when flushed at close
  server_->StreamBody("/large", 1'000'000);         // fails while it is written
  for (const std::string path : {"/fits-the-buffer", "/large"}) {
    SCOPED_TRACE(path);
    std::string response;
    HttpResult result;
    {
      const test::FileSizeLimit full_disk(kFileSizeLimit);
      result = CHttp().Get(server_->Url(path), response, root_.Path("out.tmp"));
    }
    EXPECT_EQ(result, HttpResult::kFailed);
  }
}

}  // namespace
}  // namespace qv::transfer
