// What the install controller needs of the two windows. The UI implements it; the controller
// calls it from the worker threads of the installing and network loops.
//
// Every call that hands data over (a GameInfo, an InstallRecord, a status) writes it into the
// window under the window's own lock first and posts the window's message after, so the UI
// thread never reads a half-written copy. The implementation outlives the controller's use of
// it: the controller drops its pointer in Stop before it stops the loops.
#pragma once

#include <cstdint>
#include <string_view>

#include "workflow/packages/install_record.h"

namespace qv::controller {

class InstallerWindows {
 public:
  virtual ~InstallerWindows() = default;

  // Whether the main window has its progress window (every call below needs it).
  virtual bool HasProgressWindow() const = 0;
  // Copies `game` into the progress window, then posts WM_APPLY_GAME_INFO with `fetch_bag`.
  virtual void ApplyGameInfo(const workflow::GameInfo& game, uintptr_t fetch_bag) = 0;
  // Posts WM_DEFAULT_HEADER to the progress window.
  virtual void ShowDefaultHeader() = 0;
  // Copies `record` into the main window; no message.
  virtual void StoreInstallRecord(const workflow::InstallRecord& record) = 0;
  // The progress window's UpdateStatus: stores the status (ProgressStatus), then posts
  // WM_START_REFRESH.
  virtual void UpdateStatus(std::u16string_view key, int state_code, int percent) = 0;
  // The main window's ReportNoConnection: posts WM_NO_CONNECTION.
  virtual void ReportNoConnection() = 0;
};

}  // namespace qv::controller
