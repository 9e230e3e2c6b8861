#include "content_path.h"

#include <algorithm>
#include <system_error>

namespace qv::demo {

std::optional<std::filesystem::path> ContentFile(const std::filesystem::path& content_folder,
                                                 std::string_view url_path) {
  namespace fs = std::filesystem;
  if (url_path.find('\0') != std::string_view::npos) return std::nullopt;
  const fs::path relative = fs::path(url_path).relative_path();
  for (const fs::path& part : relative) {
    if (part == "..") return std::nullopt;
  }
  std::error_code error;
  const fs::path root = fs::canonical(content_folder, error);
  if (error) return std::nullopt;
  const fs::path file = fs::canonical(root / relative, error);
  if (error || !fs::is_regular_file(file, error)) return std::nullopt;
  // Links inside the folder may not lead out of it.
  const auto [root_end, unused] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
  if (root_end != root.end()) return std::nullopt;
  return file;
}

}  // namespace qv::demo
