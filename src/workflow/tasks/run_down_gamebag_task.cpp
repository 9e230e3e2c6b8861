#include "workflow/tasks/run_down_gamebag_task.h"

#include <string>

#include "platform/clock.h"
#include "platform/known_folders.h"
#include "transfer/http_result.h"
#include "transfer/partial_download_files.h"
#include "transfer/resumable_download.h"
#include "util/app_folders.h"
#include "util/text_conversion.h"
#include "util/unzipper.h"
#include "workflow/folders/delete_path.h"
#include "workflow/records/game_bag_record.h"
#include "workflow/packages/record_text.h"

namespace qv::workflow {

RunDownGamebagTask::RunDownGamebagTask(const GameInfo& game, Delegate* delegate,
                                       util::AppFolders& folders,
                                       const transfer::TransferLimits& limits)
    : delegate_(delegate), game_(game), folders_(folders), limits_(limits) {}

bool RunDownGamebagTask::Run() {
  const bool ok = FetchGameBag();
  // A stopped task belongs to a window that is going away: nobody is left to tell.
  if (delegate_ != nullptr && !stop_requested()) delegate_->OnGameInfo(game_, ok);
  return ok;
}

bool RunDownGamebagTask::FetchGameBag() {
  if (stop_requested()) return false;
  const std::string url(RecordText(game_.url));
  const std::string download = transfer::PartialDownloadPath(platform::TempFolder(), url);
  transfer::DownloadSetup setup;
  setup.limits = limits_;
  setup.cancel = &stop_signal();
  if (transfer::DownloadResumably(url, download, setup) != transfer::HttpResult::kSuccess) {
    return false;  // what arrived stays, with its record, for the next run to continue
  }

  const std::u16string wide_download = util::AnsiToWide(download);
  const std::u16string folder = GameBagGameFolder(RecordText(game_.game_id), folders_);
  bool unpacked = false;
  if (!folder.empty() && !stop_requested() && util::CreateDirectoryTree(folder)) {
    unpacked = util::ExtractArchive(download, util::WideToAnsi(folder));
  }
  DeletePath(wide_download);
  // Recorded only for a bag that is wholly in place, so a failed one is fetched again next run.
  return unpacked && WriteGameBagVersion(folder, game_.ver);
}

}  // namespace qv::workflow
