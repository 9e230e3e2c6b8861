#include "core/main_message_loop.h"

#include <algorithm>
#include <utility>

namespace qv::core {

struct MainMessageLoop::Shared {
  struct Entry {
    uint64_t serial;  // names the entry to its delivery, so a recycled address is never mistaken
    RefPtr<MsgTask> task;
  };

  std::mutex lock;
  std::deque<Entry> queue;              // guarded by lock; posting order
  UiDispatcher* dispatcher = nullptr;   // guarded by lock; set while started
  std::thread::id ui_thread;            // guarded by lock
  bool was_started = false;             // guarded by lock
  bool stopped = false;                 // guarded by lock
  uint64_t next_serial = 0;             // guarded by lock
  int last_task_id = 0;                 // guarded by lock

  RefPtr<MsgTask> Take(uint64_t serial) {
    std::lock_guard guard(lock);
    const auto found = std::find_if(queue.begin(), queue.end(),
                                    [serial](const Entry& e) { return e.serial == serial; });
    if (found == queue.end()) return nullptr;
    RefPtr<MsgTask> task = std::move(found->task);
    queue.erase(found);
    return task;
  }
};

MainMessageLoop::MainMessageLoop() : shared_(std::make_shared<Shared>()) {}

MainMessageLoop::~MainMessageLoop() { Stop(); }

void MainMessageLoop::Deliver(uint64_t serial, MsgTask* task) {
  task->set_owner_thread(shared_->ui_thread);
  // Posted under the lock, so that once Stop has returned no delivery reaches the dispatcher.
  shared_->dispatcher->Post([weak = std::weak_ptr<Shared>(shared_), serial] {
    const std::shared_ptr<Shared> shared = weak.lock();
    if (!shared) return;
    if (RefPtr<MsgTask> own = shared->Take(serial)) own->Run();  // released when `own` ends
  });
}

void MainMessageLoop::Start(UiDispatcher& dispatcher, std::thread::id ui_thread) {
  std::lock_guard guard(shared_->lock);
  if (shared_->was_started || shared_->stopped) return;
  shared_->was_started = true;
  shared_->dispatcher = &dispatcher;
  shared_->ui_thread = ui_thread;
  for (const Shared::Entry& entry : shared_->queue) Deliver(entry.serial, entry.task.get());
}

void MainMessageLoop::Stop() {
  std::deque<Shared::Entry> unrun;
  {
    std::lock_guard guard(shared_->lock);
    shared_->stopped = true;
    shared_->dispatcher = nullptr;
    unrun = std::exchange(shared_->queue, {});
  }
  // `unrun` is released here, outside the lock: task destructors may do anything.
}

int MainMessageLoop::PostTask(RefPtr<MsgTask>&& task) {
  std::lock_guard guard(shared_->lock);
  if (shared_->stopped || !task) return 0;
  const int id_if_none = task->task_id() == 0 ? ++shared_->last_task_id : 0;
  task->RecordPost(nullptr, id_if_none, shared_->ui_thread);
  const int id = task->task_id();
  const uint64_t serial = ++shared_->next_serial;
  MsgTask* raw = task.get();
  shared_->queue.push_back({serial, std::move(task)});
  if (shared_->dispatcher) Deliver(serial, raw);
  return id;
}

bool MainMessageLoop::started() const {
  std::lock_guard guard(shared_->lock);
  return shared_->dispatcher != nullptr;
}

size_t MainMessageLoop::queued_count() const {
  std::lock_guard guard(shared_->lock);
  return shared_->queue.size();
}

}  // namespace qv::core
