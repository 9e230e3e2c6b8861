#include "workflow/legacy/legacy_folder_guard.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_syntax.h"
#include "platform/real_path.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

std::string WithoutFinalSeparators(std::string path) {
  while (path.size() > 1 && path.back() == platform::kPathSeparator) path.pop_back();
  return path;
}

// The canonical form of a folder that exists, else its normalised text without a final separator.
std::string CanonicalOrAsWritten(const std::string& path) {
  if (std::optional<std::string> real = platform::RealPath(path)) return WithoutFinalSeparators(*real);
  return WithoutFinalSeparators(util::ToPlatformPath(util::Utf8ToWide(path)));
}

// True when `folder` is `path` or one of the folders above it (names compared as the system
// compares them).
bool IsSameOrAbove(std::string_view folder, std::string_view path) {
  if (platform::IsFileSystemRoot(folder)) return true;
  if (path.size() < folder.size() || !platform::SamePathText(path.substr(0, folder.size()), folder)) {
    return false;
  }
  return path.size() == folder.size() || path[folder.size()] == platform::kPathSeparator;
}

// The number of components below the root ("/opt/tov3" and "C:\Games\tov3" have two).
size_t Depth(std::string_view canonical) {
  const std::string folder = WithoutFinalSeparators(std::string(canonical));
  if (platform::IsFileSystemRoot(folder)) return 0;
  return static_cast<size_t>(std::count(folder.begin(), folder.end(), platform::kPathSeparator));
}

}  // namespace

std::vector<std::u16string> OwnFolders(util::AppFolders& folders) {
  return {folders.BaseDataFolder(),    folders.LocalDataFolder(),
          folders.PlatformFolder(),    folders.GameBagFolder(),
          folders.RoamingDataFolder(), util::Utf8ToWide(platform::MachineRoot())};
}

std::optional<std::string> LegacyFolderToRemove(std::u16string_view folder,
                                                const std::vector<std::u16string>& own_folders) {
  const std::string written = util::ToPlatformPath(folder);
  if (!platform::IsLocalAbsolutePath(written) || platform::IsSymbolicLink(written)) {
    return std::nullopt;
  }
  const std::optional<std::string> real = platform::RealPath(written);
  if (!real) return std::nullopt;
  const std::optional<platform::FileAttributes> attributes = platform::GetFileAttributes(*real);
  if (!attributes || !attributes->is_directory || Depth(*real) < kMinLegacyFolderDepth ||
      IsSameOrAbove(*real, CanonicalOrAsWritten(platform::HomeFolder()))) {
    return std::nullopt;
  }
  for (const std::u16string& own : own_folders) {
    if (IsSameOrAbove(*real, CanonicalOrAsWritten(util::WideToUtf8(own)))) return std::nullopt;
  }
  return real;
}

}  // namespace qv::workflow
