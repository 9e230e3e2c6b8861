#include "util/file_system.h"

#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/path_syntax.h"
#include "util/file_paths.h"

namespace qv::util {
namespace {

std::optional<platform::FileAttributes> AttributesOf(std::u16string_view path) {
  std::string name = ToPlatformPath(path);
  while (name.size() > 1 && name.back() == platform::kPathSeparator) name.pop_back();
  if (name.empty()) return std::nullopt;
  return platform::GetFileAttributes(name);
}

}  // namespace

bool IsDirectory(std::u16string_view path) {
  const auto attributes = AttributesOf(path);
  return attributes && attributes->is_directory;
}

bool IsFile(std::u16string_view path) {
  const auto attributes = AttributesOf(path);
  return attributes && !attributes->is_directory;
}

void CreateFolderPath(std::u16string_view path) {
  std::string name = ToPlatformPath(path);
  if (name.empty() || name.back() != platform::kPathSeparator) name.push_back(platform::kPathSeparator);
  for (size_t separator = name.find(platform::kPathSeparator); separator != std::string::npos;
       separator = name.find(platform::kPathSeparator, separator + 1)) {
    if (separator > 0) platform::CreateFolder(name.substr(0, separator));
  }
}

bool CopyFileContents(std::u16string_view source, std::u16string_view target) {
  return platform::CopyFile(ToPlatformPath(source), ToPlatformPath(target));
}

}  // namespace qv::util
