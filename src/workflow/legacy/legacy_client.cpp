#include "workflow/legacy/legacy_client.h"

#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/folder_cleanup.h"
#include "util/programs.h"
#include "util/registry_text.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"

namespace qv::workflow {
namespace {

using platform::RegistryKey;
using platform::RegistryRoot;

constexpr std::string_view kLegacyKey = "SOFTWARE\\TOV3";
constexpr std::u16string_view kLegacyPathValue = u"tov3path";
constexpr std::string_view kLegacyAutoStartValue = "TOV3";
constexpr std::u16string_view kLegacyShortcutName = u"Tides of Valoria Ⅲ.lnk";

void EndLegacyProcess(std::u16string_view executable_path,
                      const platform::ProcessTable& processes) {
  const std::u16string name = util::GetFileNameOfPath(executable_path);
  if (name.empty()) return;
  if (const pid_t pid = util::FindProcess(name, processes); pid > 0) processes.Terminate(pid);
}

void RemoveLegacyFolder(std::u16string_view executable_path,
                        const std::vector<std::u16string>& own_folders) {
  const std::optional<std::string> folder =
      LegacyFolderToRemove(util::GetParentFolder(executable_path), own_folders);
  if (!folder) return;
  const std::u16string wide_folder = util::Utf8ToWide(*folder);
  util::DeleteFilesRecursive(wide_folder);
  util::RemoveSubfolders(wide_folder);
  platform::RemoveFolder(*folder);
}

void DeleteLegacyShortcut() {
  const std::u16string shortcut =
      util::JoinPath(util::Utf8ToWide(platform::DesktopFolder()), kLegacyShortcutName);
  if (util::IsFile(shortcut)) platform::DeleteFile(util::ToPlatformPath(shortcut));
}

}  // namespace

void DeleteLegacyAutoStart() {
  RegistryKey run;
  if (platform::CurrentRegistry().OpenKey(RegistryRoot::kCurrentUser, kRunKey,
                                          platform::key_access::kAll,
                                          run) == platform::RegistryStatus::kOk) {
    run.DeleteValue(kLegacyAutoStartValue);
  }
}

void RemoveLegacyClient(const std::vector<std::u16string>& own_folders,
                        const platform::ProcessTable& processes) {
  const platform::RegistryStore& registry = platform::CurrentRegistry();
  RegistryKey key;
  std::u16string executable_path;
  if (registry.OpenKey(RegistryRoot::kCurrentUser, kLegacyKey, platform::key_access::kAll, key) ==
          platform::RegistryStatus::kOk &&
      util::ReadRegistryString(key, kLegacyPathValue, kInstallPathMaxBytes, executable_path)) {
    util::NormalizeSeparators(executable_path);
    EndLegacyProcess(executable_path, processes);
    RemoveLegacyFolder(executable_path, own_folders);
    DeleteLegacyShortcut();
  }
  key.Close();
  registry.DeleteKey(RegistryRoot::kCurrentUser, kLegacyKey);
}

}  // namespace qv::workflow
