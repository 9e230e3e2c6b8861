#include "util/folder_listing.h"

#include <deque>
#include <functional>

#include "platform/file_search.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

// Calls `found` with every entry of `folder` matching `pattern`; false when the folder cannot
// be read.
bool ForEachEntry(std::u16string_view folder, std::u16string_view pattern,
                  const std::function<void(const platform::FoundEntry&)>& found) {
  auto search = platform::FileSearch::Start(ToPlatformPath(folder), WideToUtf8(pattern));
  if (!search) return false;
  platform::FoundEntry entry;
  while (search->Next(entry)) found(entry);
  return true;
}

}  // namespace

bool ListFiles(std::u16string_view folder, std::u16string_view pattern,
               std::vector<std::u16string>& out) {
  out.clear();
  ForEachEntry(folder, pattern, [&](const platform::FoundEntry& entry) {
    if (!entry.is_directory) out.push_back(JoinPath(folder, Utf8ToWide(entry.name)));
  });
  return !out.empty();
}

bool ListSubfolders(std::u16string_view root, std::u16string_view pattern,
                    std::vector<std::u16string>& out) {
  std::deque<std::u16string> queue{std::u16string(root)};
  while (!queue.empty()) {
    const std::u16string current = std::move(queue.front());
    queue.pop_front();
    ForEachEntry(current, pattern, [&](const platform::FoundEntry& entry) {
      if (!entry.is_directory) return;
      std::u16string folder = JoinPath(current, Utf8ToWide(entry.name));
      out.push_back(folder);
      queue.push_back(std::move(folder));
    });
  }
  return !out.empty();
}

bool ListFilesRecursive(std::u16string_view root, std::vector<std::u16string>& out,
                        std::u16string_view folder_pattern, std::u16string_view file_pattern) {
  out.clear();
  std::vector<std::u16string> folders;
  ListSubfolders(root, folder_pattern, folders);
  folders.emplace_back(root);
  std::vector<std::u16string> files;
  for (const auto& folder : folders) {
    ListFiles(folder, file_pattern, files);
    out.insert(out.end(), files.begin(), files.end());
  }
  return !out.empty();
}

}  // namespace qv::util
