#include "platform/file_search.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/path_resolution.h"
#include "platform/posix/os_handles.h"

namespace qv::platform {

struct FileSearch::Listing {
  DirHandle dir;
};

void FileSearch::ListingCloser::operator()(Listing* listing) const { delete listing; }

std::optional<FileSearch> FileSearch::Start(const std::string& folder, std::string pattern) {
  const auto resolved = ResolveExistingPath(folder);
  if (!resolved) return std::nullopt;
  DirHandle dir(opendir(resolved->c_str()));
  if (!dir) return std::nullopt;
  return FileSearch(ListingHandle(new Listing{std::move(dir)}), std::move(pattern));
}

bool FileSearch::NextListed(FoundEntry& entry) {
  while (const dirent* raw = readdir(listing_->dir.get())) {
    unsigned char type = raw->d_type;
    if (type == DT_UNKNOWN) {
      struct stat info {};
      if (fstatat(dirfd(listing_->dir.get()), raw->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        continue;
      }
      type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISLNK(info.st_mode) ? DT_LNK : DT_REG;
    }
    entry.name = raw->d_name;
    entry.is_directory = type == DT_DIR;
    entry.is_symlink = type == DT_LNK;
    return true;
  }
  return false;
}

}  // namespace qv::platform
