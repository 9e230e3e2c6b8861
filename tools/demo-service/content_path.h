// Which file of the content folder a URL path names: only regular files inside the folder, so no
// request can read anything else (".." components, links leading out, folders are refused).
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace qv::demo {

// The file's canonical path, or nothing when `url_path` ("/qvorvane/...", '/' separators)
// names no regular file inside `content_folder`.
std::optional<std::filesystem::path> ContentFile(const std::filesystem::path& content_folder,
                                                 std::string_view url_path);

}  // namespace qv::demo
