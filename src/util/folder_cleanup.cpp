#include "util/folder_cleanup.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/tree_removal.h"
#include "util/file_paths.h"
#include "util/folder_listing.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

// `entry` relative to `root`, as the listing built it (JoinPath(root, ...)); nullopt otherwise.
std::optional<std::string> RelativeTo(std::u16string_view root, const std::u16string& entry) {
  const std::u16string prefix = JoinPath(root, u"");
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) {
    return std::nullopt;
  }
  return ToPlatformPath(std::u16string_view(entry).substr(prefix.size()));
}

}  // namespace

void DeleteFilesRecursive(std::u16string_view root) {
  std::vector<std::u16string> files;
  ListFilesRecursive(root, files, u"*", u"*.*");
  const std::string platform_root = ToPlatformPath(root);
  for (const auto& file : files) {
    if (const auto relative = RelativeTo(root, file)) {
      platform::DeleteFileInside(platform_root, *relative);
    }
  }
}

void RemoveSubfolders(std::u16string_view root) {
  std::vector<std::u16string> folders;
  ListSubfolders(root, u"*", folders);
  const std::string platform_root = ToPlatformPath(root);
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
    if (const auto relative = RelativeTo(root, *folder)) {
      platform::RemoveFolderInside(platform_root, *relative);
    }
  }
}

}  // namespace qv::util
