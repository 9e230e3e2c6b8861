#include "workflow/folders/delete_path.h"

#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/path_syntax.h"
#include "platform/real_path.h"
#include "util/file_paths.h"
#include "util/folder_cleanup.h"
#include "util/text_conversion.h"

namespace qv::workflow {

void DeletePath(std::u16string_view path) {
  if (path.empty() || path.size() >= kMaxDeletePathLength) return;
  std::u16string target(path);
  util::NormalizeSeparators(target);
  while (target.size() > 1 && target.back() == util::SystemSeparator()) target.pop_back();
  if (platform::IsFileSystemRoot(util::WideToUtf8(target))) return;

  const std::string native = util::ToPlatformPath(target);
  // A link is removed itself, wherever it points.
  if (platform::IsSymbolicLink(native)) {
    platform::DeleteFile(native);
    return;
  }
  const std::optional<platform::FileAttributes> attributes = platform::GetFileAttributes(native);
  if (!attributes) return;
  if (!attributes->is_directory) {
    platform::DeleteFile(native);
    return;
  }
  util::DeleteFilesRecursive(target);
  util::RemoveSubfolders(target);
  platform::RemoveFolder(native);
}

}  // namespace qv::workflow
