#include "uninstall_steps.h"

#include <string_view>

#include "platform/atomic_file.h"
#include "platform/desktop_shell.h"
#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/private_profile.h"
#include "platform/registry.h"
#include "util/app_folders.h"
#include "util/file_system.h"
#include "remembered_data_folder.h"
#include "util/text_conversion.h"
#include "workflow/folders/delete_path.h"
#include "workflow/folders/game_id_path.h"
#include "workflow/packages/install_packages.h"
#include "workflow/registration/desktop_entries.h"
#include "workflow/registration/registration_keys.h"
#include "workflow/shortcuts/shortcuts.h"

namespace qv::demo {
namespace {

using platform::RegistryRoot;
using platform::RegistryStatus;

// The URL protocol's keys, deepest first: a key with sub-keys is never deleted.
constexpr std::string_view kProtocolKeysDeepestFirst[] = {
    "QVorvane\\shell\\open\\command", "QVorvane\\shell\\open", "QVorvane\\shell",
    workflow::kProtocolIconKey, workflow::kProtocolKey};
constexpr char kGamesRecordName[] = "games.ini";
constexpr char kGamesRecordSection[] = "General";
constexpr char kGameIdsKey[] = "game_ids";
constexpr size_t kGamesRecordBufferUnits = 260;

const char* RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegistryRoot::kCurrentUser: return "HKEY_CURRENT_USER";
    case RegistryRoot::kLocalMachine: return "HKEY_LOCAL_MACHINE";
  }
  return "?";
}

class Remover {
 public:
  std::vector<std::string> TakeLines() { return std::move(lines_); }

  void Key(RegistryRoot root, std::string_view path) {
    if (platform::CurrentRegistry().DeleteKey(root, path) == RegistryStatus::kOk) {
      lines_.push_back(std::string("registry key ") + RootName(root) + "\\" + std::string(path));
    }
  }

  void Value(RegistryRoot root, std::string_view key_path, std::string_view name) {
    platform::RegistryKey key;
    if (platform::CurrentRegistry().OpenKey(root, key_path, platform::key_access::kSetValue, key) !=
        RegistryStatus::kOk) {
      return;
    }
    if (key.DeleteValue(name) == RegistryStatus::kOk) {
      lines_.push_back(std::string("registry value ") + RootName(root) + "\\" +
                       std::string(key_path) + " \"" + std::string(name) + "\"");
    }
  }

  // A file or a folder with everything in it.
  void Path(const std::u16string& path) {
    if (path.empty()) return;
    if (!util::IsDirectory(path) && !util::IsFile(path)) return;
    workflow::DeletePath(path);
    if (!util::IsDirectory(path) && !util::IsFile(path)) lines_.push_back(util::WideToUtf8(path));
  }

  // A shortcut and the record writer's lock file beside it.
  void Shortcut(const std::u16string& folder, const std::u16string& name) {
    FileWithLock(util::WideToUtf8(folder + name));
  }

  // A file written as a record and the record writer's lock file beside it.
  void FileWithLock(const std::string& path) {
    Path(util::Utf8ToWide(path));
    platform::DeleteFile(platform::AtomicFileLockPath(path));
  }

  void EmptyFolder(const std::u16string& path) {
    if (!path.empty() && platform::RemoveFolder(util::WideToUtf8(path))) {
      lines_.push_back(util::WideToUtf8(path));
    }
  }

 private:
  std::vector<std::string> lines_;
};

// The install location the uninstall entry names under `root`, '/'-terminated; empty when none.
std::u16string RegisteredInstallLocation(RegistryRoot root) {
  platform::RegistryKey key;
  platform::RegistryValue value;
  if (platform::CurrentRegistry().OpenKey(
          root, workflow::kUninstallKey, platform::key_access::kRead, key) != RegistryStatus::kOk ||
      key.QueryValue(workflow::kInstallLocationValue, workflow::kInstallPathMaxBytes, value) !=
          RegistryStatus::kOk ||
      value.type != platform::RegistryValueType::kString || value.text.empty()) {
    return u"";
  }
  std::u16string location = util::Utf8ToWide(value.text);
  if (location.back() != u'/') location += u'/';
  return location;
}

std::string ReadRecord(std::string_view key, const std::string& file) {
  std::string value;
  platform::GetPrivateProfileString(kGamesRecordSection, key, "", value, kGamesRecordBufferUnits,
                                    file);
  return value;
}

}  // namespace

std::vector<std::string> UninstallPlatform(const std::u16string& install_folder) {
  Remover remove;
  // Our own folder goes only when it is the platform's: the default platform folder or where an
  // uninstall entry says the platform lives. A copy run from anywhere else (a downloads folder)
  // must not take that folder with it.
  const std::u16string base = util::BaseDataFolder();
  const bool own_folder_is_platform =
      install_folder == base + std::u16string(util::kPlatformSubPath) ||
      install_folder == RegisteredInstallLocation(RegistryRoot::kLocalMachine) ||
      install_folder == RegisteredInstallLocation(RegistryRoot::kCurrentUser);

  for (const RegistryRoot root : {RegistryRoot::kLocalMachine, RegistryRoot::kCurrentUser}) {
    remove.Key(root, workflow::kUninstallKey);
    remove.Key(root, workflow::kAppPathsKey);
  }
  for (const std::string_view key : kProtocolKeysDeepestFirst) {
    remove.Key(RegistryRoot::kClassesRoot, key);
  }
  remove.Value(RegistryRoot::kCurrentUser, workflow::kRunKey, workflow::kAutoStartValue);

  // Folders are named from the base folder: asking AppFolders for them would make them.
  const std::u16string game_bag_folder = base + std::u16string(util::kGameBagSubPath);
  const std::u16string desktop = workflow::DesktopShortcutFolder();
  remove.Shortcut(desktop, std::u16string(workflow::kPlatformShortcutName));
  const std::string games_record = util::WideToUtf8(game_bag_folder) + kGamesRecordName;
  const std::string game_id = ReadRecord(kGameIdsKey, games_record);
  if (!game_id.empty()) {
    const std::string game_name = ReadRecord(game_id, games_record);
    if (workflow::IsPlainFileNameComponent(util::Utf8ToWide(game_name))) {
      remove.Shortcut(
          desktop, util::Utf8ToWide(game_name) + std::u16string(workflow::kShortcutFileExtension));
    }
  }
  remove.Path(util::Utf8ToWide(platform::StartMenuFolder()) +
              std::u16string(workflow::kStartMenuSubPath));

  // What a desktop reads: the entries, launchers and icons the installation recorded, and its
  // default for the platform's links.
  const std::u16string local_data = base + std::u16string(util::kLocalDataSubPath);
  for (const std::string& made : workflow::RecordedDesktopFiles(local_data)) {
    remove.FileWithLock(made);
  }
  workflow::RemoveLinkHandlerDefault();
  platform::RefreshDesktopDatabase(platform::StartMenuFolder());
  remove.FileWithLock(util::WideToUtf8(local_data + std::u16string(workflow::kDesktopFilesRecord)));

  remove.Path(base + std::u16string(util::kLocalDataSubPath) +
              std::u16string(workflow::kRuntimePluginSubPath));
  remove.Path(game_bag_folder);
  if (const std::u16string data = RememberedDataFolder(); !data.empty()) {
    remove.Path(data + u"download/");
    remove.Path(data + u"install/");
    remove.EmptyFolder(data);
  }
  if (own_folder_is_platform) remove.Path(install_folder);
  return remove.TakeLines();
}

}  // namespace qv::demo
