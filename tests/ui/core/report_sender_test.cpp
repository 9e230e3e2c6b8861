#include "ui/core/report_sender.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include "loopback_server.h"
#include "temp_root.h"
#include "workflow/service/statistics_report.h"

namespace qv::ui {
namespace {

class ReportSenderTest : public qv::test::TempRootTest {
 protected:
  std::unique_ptr<qv::test::LoopbackServer> server_ = qv::test::LoopbackServer::StartHttp();
};

// The "op" and "ex" pairs that end every report body.
std::string Tail(const std::string& body) { return body.substr(body.find("&op=")); }

TEST_F(ReportSenderTest, SendsEachEventInOrderWithTheRecordAsItWasGiven) {
  server_->Answer(workflow::kInstallReportPath, 200, "ok");
  workflow::InstallRecord record;
  std::strcpy(record.game.game_id, "tov3");
  {
    ReportSender sender(server_->base_url());
    sender.Send("btn_mini", record, "11");
    std::strcpy(record.game.game_id, "changed");
    sender.Send("btn_close", record, "12");
    sender.Send("tray_click", record, "10");
    sender.Flush();
    const auto requests = server_->RequestsTo(workflow::kInstallReportPath);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_NE(requests[0].body.find("&gf=tov3&"), std::string::npos);
    EXPECT_EQ(Tail(requests[0].body), "&op=11&ex=btn_mini");
    EXPECT_NE(requests[1].body.find("&gf=changed&"), std::string::npos);
    EXPECT_EQ(Tail(requests[1].body), "&op=12&ex=btn_close");
    EXPECT_EQ(Tail(requests[2].body), "&op=10&ex=tray_click");
  }
}

TEST_F(ReportSenderTest, DestructionEndsARunningReportAndDropsTheQueuedOnes) {
  std::mutex mutex;
  std::condition_variable arrived_cv;
  bool arrived = false;
  server_->Handle(workflow::kInstallReportPath,
                  [&](const httplib::Request&, httplib::Response& response) {
                    {
                      // Notified under the lock: the test's locals may go once it wakes.
                      std::lock_guard<std::mutex> guard(mutex);
                      arrived = true;
                      arrived_cv.notify_all();
                    }
                    server_->stopping().WaitForMs(120000);  // never answers while the test runs
                    response.status = 200;
                  });
  {
    ReportSender sender(server_->base_url());
    sender.Send("btn_close", workflow::InstallRecord{}, "12");
    sender.Send("tb_btn_close", workflow::InstallRecord{}, "13");
    std::unique_lock<std::mutex> lock(mutex);
    arrived_cv.wait(lock, [&] { return arrived; });
  }  // returns although the service never answers
  EXPECT_EQ(server_->RequestsTo(workflow::kInstallReportPath).size(), 1u);
}

}  // namespace
}  // namespace qv::ui
