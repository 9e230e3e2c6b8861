// RunDownGamebagTask: fetches the featured game's bag (a small zip archive with the pictures the
// progress window shows for the game), unpacks it into the game's folder below the game-bag
// folder and records its version there (game_bag_record.h).
//
// Threads and ownership: the progress window makes the task on the UI thread and posts it to
// "msg_loop_gamebag"; Run is called once on that loop's worker thread, and the delegate is told
// the outcome there. The delegate is borrowed and must outlive the task's Run. The task holds a
// copy of the game record, so the window may change its own meanwhile.
//
// One attempt, no retry. The download goes to the URL's partial file in the temporary folder
// (transfer/resumable_download.h): a failed one stays there with its record when the server
// allows resuming, and the next run continues it; an unpacked one is deleted. The version record is written only when the download and the
// unpacking both succeeded, so a failed or damaged bag is fetched again on the next run. A stop
// request aborts the download at once; the task then ends without telling the delegate (the
// window is shutting down).
#pragma once

#include <string>

#include "core/msg_task.h"
#include "transfer/http.h"
#include "util/app_folders.h"
#include "workflow/packages/install_record.h"

namespace qv::workflow {

class RunDownGamebagTask : public core::MsgTask {
 public:
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // Once per run, on the task's thread: the task's copy of the game and whether the bag was
    // downloaded, unpacked and its version recorded. The result is not used.
    virtual bool OnGameInfo(const GameInfo& game, const bool& ok) = 0;
  };

  // `folders` is where the game-bag folder is found (the process's by default); `limits` lets
  // tests shorten the transfer's stall rule.
  RunDownGamebagTask(const GameInfo& game, Delegate* delegate,
                     util::AppFolders& folders = util::ProcessAppFolders(),
                     const transfer::TransferLimits& limits = transfer::TransferLimits());

  bool Run() override;

 private:
  ~RunDownGamebagTask() override = default;

  // Downloads, unpacks and records the bag; true when all three succeeded.
  bool FetchGameBag();

  Delegate* const delegate_;
  const GameInfo game_;
  util::AppFolders& folders_;
  const transfer::TransferLimits limits_;
};

}  // namespace qv::workflow
