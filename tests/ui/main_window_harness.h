// A main window for a test, with its own folders, loop registry and statistics service (a
// loopback server that answers every report), and a recorder in place of the browser.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/message_loop_context.h"
#include "core/ref_base.h"
#include "loopback_server.h"
#include "ui/qt/qvorvane_downloader_dlg.h"
#include "util/app_folders.h"
#include "workflow/service/statistics_report.h"

namespace qv::ui::test {

class MainWindowHarness {
 public:
  // `setup` gives the start of the installation and the wait for the first frames; the rest is
  // the harness's own.
  explicit MainWindowHarness(MainWindowSetup setup = {}) {
    server_->Answer(workflow::kInstallReportPath, 200, "ok");
    setup.stats_base_url = server_->base_url();
    setup.folders = &folders_;
    setup.loops = loops_.get();
    setup.open_url = [this](const std::string& url) { opened_.push_back(url); };
    setup.tray_available = [this] { return tray_available; };
    window_ = std::make_unique<QvorvaneDownloaderDlg>(std::move(setup));
  }
  ~MainWindowHarness() {
    window_.reset();
    loops_->StopAll();
  }

  QvorvaneDownloaderDlg& window() { return *window_; }
  // What the window is told of the desktop's notification area.
  bool tray_available = true;
  // The "op" and "ex" of every report sent so far, as "op/ex".
  std::vector<std::string> Reports() {
    window_->view().reports().Flush();
    std::vector<std::string> reports;
    for (const auto& request : server_->RequestsTo(workflow::kInstallReportPath)) {
      const size_t op = request.body.find("&op=");
      const size_t ex = request.body.find("&ex=");
      reports.push_back(request.body.substr(op + 4, ex - op - 4) + "/" + request.body.substr(ex + 4));
    }
    return reports;
  }
  const std::vector<std::string>& opened() const { return opened_; }
  std::string StatsBody(size_t index) {
    window_->view().reports().Flush();
    return server_->RequestsTo(workflow::kInstallReportPath).at(index).body;
  }

 private:
  std::unique_ptr<qv::test::LoopbackServer> server_ = qv::test::LoopbackServer::StartHttp();
  util::AppFolders folders_;
  core::RefPtr<core::MessageLoopContext> loops_ = core::MakeRef<core::MessageLoopContext>();
  std::vector<std::string> opened_;
  std::unique_ptr<QvorvaneDownloaderDlg> window_;
};

}  // namespace qv::ui::test
