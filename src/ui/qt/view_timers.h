// ViewTimers: a view's numbered timers (ViewHost::StartTimer) as Qt timers of the window that
// hosts the view.
//
// Threads: the window's UI thread. Owned by the window.
#pragma once

#include <QBasicTimer>
#include <QObject>
#include <map>

namespace qv::ui {

class ViewTimers {
 public:
  explicit ViewTimers(QObject* window) : window_(window) {}

  void Start(int id, int interval_ms) { timers_[id].start(interval_ms, window_); }
  void Stop(int id) {
    if (const auto found = timers_.find(id); found != timers_.end()) found->second.stop();
  }
  // The view's id of the running timer with Qt id `qt_timer_id`; 0 when it is none of them.
  int IdOf(int qt_timer_id) const {
    for (const auto& [id, timer] : timers_) {
      if (timer.isActive() && timer.timerId() == qt_timer_id) return id;
    }
    return 0;
  }
  // The Qt timer id of running timer `id`, 0 when it is stopped (tests deliver its QTimerEvent).
  int QtIdOf(int id) const {
    const auto found = timers_.find(id);
    return found != timers_.end() && found->second.isActive() ? found->second.timerId() : 0;
  }

 private:
  QObject* const window_;
  std::map<int, QBasicTimer> timers_;
};

}  // namespace qv::ui
