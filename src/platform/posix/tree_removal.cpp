#include "platform/tree_removal.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <vector>

#include "platform/path_resolution.h"
#include "platform/portable_names.h"
#include "platform/posix/os_handles.h"

namespace qv::platform {
namespace {

constexpr int kFolderOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Opens the folder that holds the last component, walking down from `root` without following
// links; `last` receives the last component.
FdHandle OpenParentInside(const std::string& root, std::string_view relative, std::string& last) {
  const auto components = PlainComponents(relative);
  const auto resolved_root = ResolveExistingPath(root);
  if (components.empty() || !resolved_root) return FdHandle();
  FdHandle folder(open(resolved_root->c_str(), kFolderOpenFlags));
  for (size_t i = 0; folder.valid() && i + 1 < components.size(); ++i) {
    folder = FdHandle(openat(folder.get(), components[i].c_str(), kFolderOpenFlags | O_NOFOLLOW));
  }
  last = components.back();
  return folder;
}

}  // namespace

bool DeleteFileInside(const std::string& root, std::string_view relative) {
  std::string name;
  const FdHandle parent = OpenParentInside(root, relative, name);
  if (!parent.valid()) return false;
  struct stat info {};
  if (fstatat(parent.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
      S_ISDIR(info.st_mode)) {
    return false;
  }
  return unlinkat(parent.get(), name.c_str(), 0) == 0;
}

bool RemoveFolderInside(const std::string& root, std::string_view relative) {
  std::string name;
  const FdHandle parent = OpenParentInside(root, relative, name);
  return parent.valid() && unlinkat(parent.get(), name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace qv::platform
