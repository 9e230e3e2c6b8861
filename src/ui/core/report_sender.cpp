#include "ui/core/report_sender.h"

#include "workflow/service/statistics_report.h"

namespace qv::ui {

ReportSender::ReportSender(std::string stats_base_url)
    : stats_base_url_(std::move(stats_base_url)) {}

ReportSender::~ReportSender() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    quit_ = true;
    queue_.clear();
  }
  stop_.Raise();
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void ReportSender::Send(std::string ex, const workflow::InstallRecord& record, std::string op) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (quit_) return;
    queue_.push_back(Report{std::move(ex), record, std::move(op)});
    if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
  }
  changed_.notify_all();
}

void ReportSender::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return quit_ || (queue_.empty() && !sending_); });
}

void ReportSender::Work() {
  const workflow::ReportTarget target = workflow::MakeReportTarget(stats_base_url_, &stop_);
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
    if (quit_) return;
    Report report = std::move(queue_.front());
    queue_.pop_front();
    sending_ = true;
    lock.unlock();
    workflow::SendClientReport(report.ex, report.record, report.op, target);
    lock.lock();
    sending_ = false;
    changed_.notify_all();
  }
}

}  // namespace qv::ui
