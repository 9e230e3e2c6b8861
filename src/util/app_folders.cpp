#include "util/app_folders.h"

#include <initializer_list>
#include <vector>

#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_syntax.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

// The first of the known folders (asked in this order, every time) that is not empty.
std::u16string FirstNonEmpty(std::initializer_list<std::string (*)()> known_folders) {
  for (const auto folder : known_folders) {
    std::string path = folder();
    if (!path.empty()) return Utf8ToWide(path);
  }
  return {};
}

}  // namespace

bool CreateDirectoryTree(std::u16string_view path) {
  std::string name = ToPlatformPath(path);
  if (name.empty()) return false;
  if (name.size() > 1 && name.back() == platform::kPathSeparator) name.pop_back();
  // Walk up to the first ancestor that exists, then make the missing ones downwards: a loop, so
  // a path of any depth cannot exhaust the stack.
  std::vector<std::string> missing;
  while (!platform::GetFileAttributes(name)) {
    missing.push_back(name);
    const auto separator = name.rfind(platform::kPathSeparator);
    if (separator == std::string::npos) return false;  // no existing ancestor to build on
    if (separator == 0) break;                          // the file-system root always exists
    name.resize(separator);
  }
  for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
    platform::CreateFolder(*folder);
  }
  return platform::GetFileAttributes(missing.empty() ? name : missing.front()).has_value();
}

template <typename Compute>
std::u16string AppFolders::Get(CachedFolder& cached, Compute compute) {
  std::lock_guard lock(cached.mutex);
  if (cached.path.empty()) {
    std::u16string path = compute();
    // A folder that cannot be made is returned all the same; writes into it fail on their own.
    if (!IsDirectory(path)) CreateDirectoryTree(path);
    cached.path = std::move(path);
  }
  return cached.path;
}

std::u16string AppFolders::BaseDataFolder() {
  return Get(base_, [] {
    return FirstNonEmpty({platform::LocalAppDataFolder, platform::CommonAppDataFolder,
                          platform::RoamingAppDataFolder}) +
           SystemSeparator();
  });
}

std::u16string AppFolders::LocalDataFolder() {
  return Get(local_, [this] { return BaseDataFolder() + SystemPath(kLocalDataSubPath); });
}

std::u16string AppFolders::PlatformFolder() {
  return Get(platform_, [this] { return BaseDataFolder() + SystemPath(kPlatformSubPath); });
}

std::u16string AppFolders::GameBagFolder() {
  return Get(game_bag_, [this] { return BaseDataFolder() + SystemPath(kGameBagSubPath); });
}

std::u16string AppFolders::RoamingDataFolder() {
  return Get(roaming_, [] {
    return FirstNonEmpty({platform::RoamingAppDataFolder, platform::CommonAppDataFolder,
                          platform::LocalAppDataFolder}) +
           SystemPath(kRoamingSubPath);
  });
}

AppFolders& ProcessAppFolders() {
  static AppFolders folders;
  return folders;
}

std::u16string BaseDataFolder() { return ProcessAppFolders().BaseDataFolder(); }
std::u16string LocalDataFolder() { return ProcessAppFolders().LocalDataFolder(); }
std::u16string PlatformFolder() { return ProcessAppFolders().PlatformFolder(); }
std::u16string GameBagFolder() { return ProcessAppFolders().GameBagFolder(); }
std::u16string RoamingDataFolder() { return ProcessAppFolders().RoamingDataFolder(); }

}  // namespace qv::util
