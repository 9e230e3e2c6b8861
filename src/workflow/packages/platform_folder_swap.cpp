#include "workflow/packages/platform_folder_swap.h"

#include <string>

#include "platform/files.h"
#include "platform/path_rename.h"
#include "platform/path_syntax.h"
#include "util/app_folders.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/text_conversion.h"
#include "util/unzipper.h"
#include "workflow/folders/delete_path.h"

namespace qv::workflow {
namespace {

// The folder path without its final separators.
std::u16string WithoutFinalSeparator(std::u16string_view folder) {
  std::u16string path(folder);
  util::NormalizeSeparators(path);
  while (path.size() > 1 && path.back() == util::SystemSeparator()) path.pop_back();
  return path;
}

}  // namespace

bool RestoreInterruptedSwap(std::u16string_view platform_folder) {
  const std::u16string live = WithoutFinalSeparator(platform_folder);
  if (live.empty() || platform::IsFileSystemRoot(util::WideToUtf8(live))) return false;
  const std::u16string retired = live + std::u16string(kRetiredSuffix);
  if (!util::IsDirectory(retired)) return false;
  const std::string live_path = util::ToPlatformPath(live);
  // Asking for the platform folder creates it, so an interrupted swap may have left an empty one
  // in its place; only an empty one gives way.
  if (util::IsDirectory(live)) platform::RemoveFolder(live_path);
  if (util::IsDirectory(live) || util::IsFile(live)) return false;
  return platform::RenamePath(util::ToPlatformPath(retired), live_path);
}

bool ReplacePlatformFolder(std::u16string_view archive_path, std::u16string_view platform_folder) {
  const std::u16string live = WithoutFinalSeparator(platform_folder);
  if (live.empty() || platform::IsFileSystemRoot(util::WideToUtf8(live))) return false;
  const std::u16string staging = live + std::u16string(kStagingSuffix);
  const std::u16string retired = live + std::u16string(kRetiredSuffix);
  // The retired folder is the only copy of the previous client when the last swap was cut
  // short between its renames; it is put back before anything is deleted.
  RestoreInterruptedSwap(platform_folder);
  DeletePath(staging);
  DeletePath(retired);
  if (!util::CreateDirectoryTree(staging) || !util::IsDirectory(staging)) return false;

  if (!util::ExtractArchive(util::WideToAnsi(archive_path), util::WideToAnsi(util::AsFolderPath(staging)))) {
    DeletePath(staging);
    return false;
  }

  const std::string live_path = util::ToPlatformPath(live);
  const std::string staging_path = util::ToPlatformPath(staging);
  const std::string retired_path = util::ToPlatformPath(retired);
  const bool had_live = util::IsDirectory(live) || util::IsFile(live);
  if (had_live && !platform::RenamePath(live_path, retired_path)) {
    DeletePath(staging);
    return false;
  }
  if (!platform::RenamePath(staging_path, live_path)) {
    // Put the previous installation back where it was.
    if (had_live) platform::RenamePath(retired_path, live_path);
    DeletePath(staging);
    return false;
  }
  DeletePath(retired);
  return true;
}

}  // namespace qv::workflow
