// The network check in virtual time: which probes count as failures, the exact waits, the one
// report after seven failures in a row, and stopping.
#include "workflow/tasks/check_network_task.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "answer_script.h"
#include "core/ref_base.h"
#include "loopback_server.h"
#include "temp_root.h"
#include "test_pki.h"
#include "virtual_clock.h"

namespace qv::workflow {
namespace {

using test::Step;

class CountingDelegate final : public RunCheckNetworkTask::Delegate {
 public:
  void OnNoConnection() override { ++reports; }
  std::atomic<int> reports{0};
};

constexpr char kProbePath[] = "/probe";

// The waits after one reachable probe, and after one failed probe.
const std::vector<int64_t> kAfterReachable = {kProbeIntervalMs};
const std::vector<int64_t> kAfterFailure = {kFailedProbePauseMs, kProbeIntervalMs};

std::vector<int64_t> Schedule(const std::vector<Step>& probes) {
  std::vector<int64_t> waits;
  for (const Step step : probes) {
    const auto& after = step == Step::kUnreachable ? kAfterFailure : kAfterReachable;
    waits.insert(waits.end(), after.begin(), after.end());
  }
  return waits;
}

class CheckNetworkTaskTest : public qv::test::TempRootTest {
 protected:
  // Runs a task against `script` on this thread. A task that does not end by itself is stopped
  // when the probe numbered `stop_at` arrives (that probe and its wait are then cut short).
  void RunScript(const std::vector<Step>& script, size_t stop_at = SIZE_MAX) {
    task_ = core::MakeRef<RunCheckNetworkTask>(&delegate_, server_->Url(kProbePath));
    RunCheckNetworkTask* task = task_.get();
    test::ScriptPath(*server_, kProbePath, script, "ok", [task, stop_at](size_t index) {
      if (index == stop_at) task->SetState(core::MsgTask::kStateStopRequested);
    });
    EXPECT_FALSE(task_->Run());
  }

  size_t Probes() const { return server_->RequestsTo(kProbePath).size(); }

  qv::test::VirtualClock clock_;
  platform::ScopedClockOverride clock_override_{clock_};
  CountingDelegate delegate_;
  core::RefPtr<RunCheckNetworkTask> task_;
  // Stopped first: its threads, which may raise the task's stop signal, end before the task goes.
  std::unique_ptr<qv::test::LoopbackServer> server_ = qv::test::LoopbackServer::StartHttp();
};

TEST_F(CheckNetworkTaskTest, SevenFailuresInARowReportOnceAndEndTheTask) {
  const std::vector<Step> script(7, Step::kUnreachable);
  RunScript(script);
  EXPECT_EQ(delegate_.reports, 1);
  EXPECT_EQ(Probes(), 7u);
  // Six pauses of 3000 + 500 between the seven probes, none after the last.
  std::vector<int64_t> expected = Schedule(std::vector<Step>(6, Step::kUnreachable));
  EXPECT_EQ(clock_.SleepDurations(), expected);
}

TEST_F(CheckNetworkTaskTest, AReachableProbeBetweenFailuresStartsTheCountAgain) {
  std::vector<Step> script(6, Step::kUnreachable);
  script.push_back(Step::kAnswer);
  script.insert(script.end(), 6, Step::kUnreachable);
  script.push_back(Step::kAnswer);  // the fourteenth probe: the test stops the task here
  RunScript(script, 13);
  EXPECT_EQ(delegate_.reports, 0);
  EXPECT_EQ(Probes(), 14u);
  std::vector<int64_t> expected = Schedule({script.begin(), script.begin() + 13});
  expected.push_back(kProbeIntervalMs);  // the stopped wait after the last probe
  EXPECT_EQ(clock_.SleepDurations(), expected);
  EXPECT_TRUE(clock_.Sleeps().back().stopped);
}

TEST_F(CheckNetworkTaskTest, HttpAndTlsErrorsProveTheNetworkWorks) {
  const qv::test::TestPki pki = qv::test::MakeTestPki(root_.path());
  const auto wrong_host = qv::test::LoopbackServer::StartHttps(pki.wrong_host.certificate,
                                                               pki.wrong_host.private_key);
  const auto self_signed = qv::test::LoopbackServer::StartHttps(pki.self_signed.certificate,
                                                                pki.self_signed.private_key);
  server_->Redirect("/tls-wrong-host", wrong_host->Url("/"));
  server_->Redirect("/tls-self-signed", self_signed->Url("/"));
  server_->Answer("/http-error", 503, "busy");
  server_->Answer("/not-found", 404, "none");
  // Each kind of answer follows six failures: were it a failure, it would be the seventh in a
  // row and end the watch with a report.
  std::vector<std::string> paths;
  for (const char* kind : {"/tls-wrong-host", "/tls-self-signed", "/http-error", "/not-found"}) {
    paths.insert(paths.end(), 6, "/unreachable");
    paths.push_back(kind);
  }
  server_->Redirect("/unreachable", test::kUnreachableUrl);
  // Made before the handler is registered, so the server's threads see it.
  task_ = core::MakeRef<RunCheckNetworkTask>(&delegate_, server_->Url(kProbePath));
  auto next = std::make_shared<std::atomic<size_t>>(0);
  server_->Handle(kProbePath, [&, next](const httplib::Request&, httplib::Response& response) {
    const size_t index = next->fetch_add(1);
    if (index == paths.size()) task_->SetState(core::MsgTask::kStateStopRequested);
    response.set_redirect(paths[std::min(index, paths.size() - 1)], 302);
  });
  EXPECT_FALSE(task_->Run());
  EXPECT_EQ(delegate_.reports, 0);
  EXPECT_EQ(Probes(), paths.size() + 1);
}

TEST(ProbeFailureTest, OnlyUnresolvedUnreachableAndTimedOutCount) {
  for (int code = 0; code < 100; ++code) {
    EXPECT_EQ(IsProbeFailure(code), code == 6 || code == 7 || code == 28) << code;
  }
}

TEST_F(CheckNetworkTaskTest, AProbeThatTimesOutCountsAsAFailure) {
  server_->Stall(kProbePath);
  transfer::TransferLimits limits;
  limits.probe_timeout_ms = 100;  // the product waits ten seconds; the rule is the same
  const auto task = core::MakeRef<RunCheckNetworkTask>(nullptr, server_->Url(kProbePath), limits);
  EXPECT_FALSE(task->Run());  // no delegate: it ends silently
  EXPECT_EQ(Probes(), 7u);
}

TEST_F(CheckNetworkTaskTest, AStopEndsARunningProbeAtOnceWithoutAReport) {
  server_->Stall(kProbePath);  // the probe would wait its full ten seconds
  task_ = core::MakeRef<RunCheckNetworkTask>(&delegate_, server_->Url(kProbePath));
  std::thread worker([task = task_] { task->Run(); });
  while (Probes() == 0) std::this_thread::yield();
  task_->SetState(core::MsgTask::kStateStopRequested);
  worker.join();
  EXPECT_EQ(delegate_.reports, 0);
  EXPECT_EQ(Probes(), 1u);
  ASSERT_EQ(clock_.Sleeps().size(), 1u);
  EXPECT_TRUE(clock_.Sleeps()[0].stopped);
}

}  // namespace
}  // namespace qv::workflow
