// A CHttp::Delegate that records every progress notification, and can run a step on one of them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "transfer/http.h"

namespace qv::transfer {

class ProgressRecorder final : public CHttp::Delegate {
 public:
  struct Notification {
    std::string url;
    double total;
    double now;
  };

  void OnTransferProgress(const std::string& url, double total, double now) override {
    notifications.push_back({url, total, now});
    if (on_progress) on_progress(now);
  }

  std::vector<Notification> notifications;
  std::function<void(double now)> on_progress;
};

}  // namespace qv::transfer
