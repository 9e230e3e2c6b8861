#include "workflow/legacy/existing_installation.h"

#include "platform/registry.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/platform_client.h"
#include "util/registry_text.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"

namespace qv::workflow {
namespace {

using platform::RegistryKey;
using platform::RegistryRoot;

// Reads one of our entries' values under `root` into `out`; false when the key or value is
// missing, not text, or too long.
bool ReadEntryValue(RegistryRoot root, std::string_view key_path, std::string_view name,
                    std::u16string& out) {
  RegistryKey key;
  return platform::CurrentRegistry().OpenKey(root, key_path, platform::key_access::kRead, key) ==
             platform::RegistryStatus::kOk &&
         util::ReadRegistryString(key, util::Utf8ToWide(name), kInstallPathMaxBytes, out);
}

// One root's look-up; true when its App Paths entry was read.
bool ReadRegisteredInstallation(RegistryRoot root, InstallContext& task) {
  ReadEntryValue(root, kUninstallKey, kInstallLocationValue, task.install_folder);
  return ReadEntryValue(root, kAppPathsKey, "", task.exe_path);
}

bool Exists(std::u16string_view path) { return util::IsFile(path) || util::IsDirectory(path); }

}  // namespace

bool DetectExistingInstallation(InstallContext& task) {
  if (!ReadRegisteredInstallation(RegistryRoot::kLocalMachine, task)) {
    ReadRegisteredInstallation(RegistryRoot::kCurrentUser, task);
  }
  if (task.exe_path.empty() || !Exists(task.exe_path)) return false;
  // An empty location would name "uninstall.exe" in some unrelated folder.
  return !task.install_folder.empty() &&
         Exists(util::JoinPath(task.install_folder, util::kUninstallerExecutable));
}

}  // namespace qv::workflow
