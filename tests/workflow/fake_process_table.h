// A process table a test fills: processes that end when terminated, and stubborn ones that
// survive every attempt. Records the look-ups and terminations. Thread-safe.
#pragma once

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/process_table.h"

namespace qv::test {

class FakeProcessTable final : public platform::ProcessTable {
 public:
  void Add(pid_t pid, std::string image_name, bool stubborn = false) {
    std::lock_guard lock(mutex_);
    processes_.push_back({{pid, std::move(image_name)}, stubborn});
  }

  std::optional<std::vector<platform::ProcessEntry>> Snapshot() const override {
    std::lock_guard lock(mutex_);
    ++snapshots_;
    std::vector<platform::ProcessEntry> entries;
    for (const Process& process : processes_) entries.push_back(process.entry);
    return entries;
  }

  bool Terminate(pid_t pid) const override {
    std::lock_guard lock(mutex_);
    terminated_.push_back(pid);
    std::erase_if(processes_,
                  [pid](const Process& process) { return process.entry.pid == pid && !process.stubborn; });
    return true;
  }

  int snapshots() const {
    std::lock_guard lock(mutex_);
    return snapshots_;
  }
  std::vector<pid_t> terminated() const {
    std::lock_guard lock(mutex_);
    return terminated_;
  }

 private:
  struct Process {
    platform::ProcessEntry entry;
    bool stubborn;
  };
  mutable std::mutex mutex_;
  mutable std::vector<Process> processes_;  // guarded by mutex_
  mutable int snapshots_ = 0;               // guarded by mutex_
  mutable std::vector<pid_t> terminated_;   // guarded by mutex_
};

}  // namespace qv::test
