#include "workflow/legacy_folder_guard.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/real_path.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

// The canonical form of a folder that exists, else its normalised text without a trailing '/'.
std::string CanonicalOrAsWritten(const std::string& path) {
  if (std::optional<std::string> real = platform::RealPath(path)) return *real;
  std::string written = util::ToPlatformPath(util::Utf8ToWide(path));
  while (written.size() > 1 && written.back() == '/') written.pop_back();
  return written;
}

// True when `folder` is `path` or one of the folders above it.
bool IsSameOrAbove(std::string_view folder, std::string_view path) {
  if (folder == "/") return true;
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

size_t Depth(std::string_view canonical) {
  return static_cast<size_t>(std::count(canonical.begin(), canonical.end(), '/')) -
         (canonical == "/" ? 1 : 0);
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
  if (written.empty() || written.front() != '/' || platform::IsSymbolicLink(written)) {
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
