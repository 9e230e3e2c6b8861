#include "uninstall_steps.h"

#include <string_view>

#include "platform/atomic_file.h"
#include "platform/desktop_shell.h"
#include "platform/executable_path.h"
#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_rename.h"
#include "platform/path_syntax.h"
#include "platform/private_profile.h"
#include "platform/registry.h"
#include "util/app_folders.h"
#include "util/file_paths.h"
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

  // A file or a folder with everything in it. False when it is still there afterwards.
  bool Path(const std::u16string& path) {
    if (path.empty()) return true;
    if (!util::IsDirectory(path) && !util::IsFile(path)) return true;
    workflow::DeletePath(path);
    if (util::IsDirectory(path) || util::IsFile(path)) return false;
    lines_.push_back(util::WideToUtf8(path));
    return true;
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

// The install location the uninstall entry names under `root`, ending in a separator; empty when
// none.
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
  return util::AsFolderPath(util::Utf8ToWide(value.text));
}

// Moves this running program out of `folder` into the temporary folder, under a name no file
// there has yet. Windows deletes no running program's file but lets it be moved; the moved copy
// stays with the other temporary files. False when the program is not in `folder` or cannot move.
bool MoveThisProgramOutOf(const std::u16string& folder) {
  const std::u16string self = util::Utf8ToWide(platform::ExecutablePath());
  if (self.empty() || !platform::SamePathText(util::WideToUtf8(util::GetParentFolder(self)),
                                              util::WideToUtf8(util::GetParentFolder(folder)))) {
    return false;
  }
  const std::u16string temporary = util::Utf8ToWide(platform::TempFolder());
  for (int n = 1; n <= 100; ++n) {
    const std::u16string aside = util::JoinPath(
        temporary, u"QVorvane-uninstall-" + util::Utf8ToWide(std::to_string(n)) + u".exe");
    if (platform::RenamePath(util::WideToUtf8(self), util::WideToUtf8(aside))) return true;
  }
  return false;
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
  // Folders compare as the system compares names (without regard to letter case on Windows).
  const auto same_folder = [&install_folder](const std::u16string& folder) {
    return !folder.empty() &&
           platform::SamePathText(util::WideToUtf8(install_folder), util::WideToUtf8(folder));
  };
  const bool own_folder_is_platform =
      same_folder(base + util::SystemPath(util::kPlatformSubPath)) ||
      same_folder(RegisteredInstallLocation(RegistryRoot::kLocalMachine)) ||
      same_folder(RegisteredInstallLocation(RegistryRoot::kCurrentUser));

  for (const RegistryRoot root : {RegistryRoot::kLocalMachine, RegistryRoot::kCurrentUser}) {
    remove.Key(root, workflow::kUninstallKey);
    remove.Key(root, workflow::kAppPathsKey);
  }
  for (const std::string_view key : kProtocolKeysDeepestFirst) {
    remove.Key(RegistryRoot::kClassesRoot, key);
  }
  remove.Value(RegistryRoot::kCurrentUser, workflow::kRunKey, workflow::kAutoStartValue);

  // Folders are named from the base folder: asking AppFolders for them would make them.
  const std::u16string game_bag_folder = base + util::SystemPath(util::kGameBagSubPath);
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
              util::SystemPath(workflow::kStartMenuSubPath));

  // What a desktop reads: the entries, launchers and icons the installation recorded, and its
  // default for the platform's links.
  const std::u16string local_data = base + util::SystemPath(util::kLocalDataSubPath);
  for (const std::string& made : workflow::RecordedDesktopFiles(local_data)) {
    remove.FileWithLock(made);
  }
  workflow::RemoveLinkHandlerDefault();
  platform::RefreshDesktopDatabase(platform::StartMenuFolder());
  remove.FileWithLock(util::WideToUtf8(local_data + std::u16string(workflow::kDesktopFilesRecord)));

  remove.Path(local_data + util::SystemPath(workflow::kRuntimePluginSubPath));
  remove.Path(game_bag_folder);
  if (const std::u16string data = RememberedDataFolder(); !data.empty()) {
    remove.Path(util::AsFolderPath(util::JoinPath(data, u"download")));
    remove.Path(util::AsFolderPath(util::JoinPath(data, u"install")));
    remove.EmptyFolder(data);
  }
  if (own_folder_is_platform && !remove.Path(install_folder) &&
      MoveThisProgramOutOf(install_folder)) {
    remove.Path(install_folder);
  }
  return remove.TakeLines();
}

}  // namespace qv::demo
