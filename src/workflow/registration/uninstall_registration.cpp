#include "workflow/registration/uninstall_registration.h"

#include <cstring>
#include <string>

#include "platform/registry.h"
#include "qv/deployment_settings.h"
#include "util/file_paths.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"
#include "workflow/registration/string_value_writer.h"

namespace qv::workflow {
namespace {

using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegistryStatus;

constexpr uint32_t kEntryAccess = platform::key_access::kRead | platform::key_access::kSetValue |
                                  platform::key_access::kCreateSubKey;
constexpr std::u16string_view kDisplayName = u"QVorvane";
constexpr std::u16string_view kPublisher = u"TOLVIK Games";

bool CreateEntryKey(RegistryRoot root, std::string_view path, RegistryKey& key) {
  return platform::CurrentRegistry().CreateKey(root, path, kEntryAccess, key) ==
         RegistryStatus::kOk;
}

void RegisterAppPath(RegistryRoot root, std::u16string_view client) {
  RegistryKey key;
  if (CreateEntryKey(root, kAppPathsKey, key)) WriteStringValue(key, u"", client);
}

}  // namespace

bool RegisterUninstallEntry(const InstallContext& task) {
  const std::u16string quoted_uninstaller =
      u"\"" + util::JoinPath(task.install_folder, util::kUninstallerExecutable) + u"\"";
  const InstallRecord& record = task.record;
  const std::u16string version = util::AnsiToWide(
      std::string_view(record.version, strnlen(record.version, sizeof record.version)));
  const std::u16string home_url = util::Utf8ToWide(settings::kHomeUrl);

  RegistryKey entry;
  if (!CreateEntryKey(RegistryRoot::kLocalMachine, kUninstallKey, entry) &&
      !CreateEntryKey(RegistryRoot::kCurrentUser, kUninstallKey, entry)) {
    return false;
  }
  WriteStringValue(entry, u"DisplayIcon", quoted_uninstaller);
  WriteStringValue(entry, u"DisplayName", kDisplayName);
  WriteStringValue(entry, u"DisplayVersion", version);
  WriteStringValue(entry, u"Version", util::Utf8ToWide(std::to_string(record.ver)));
  WriteStringValue(entry, u"HelpLink", home_url);
  WriteStringValue(entry, u"Publisher", kPublisher);
  WriteStringValue(entry, util::Utf8ToWide(kInstallLocationValue), task.install_folder);
  WriteStringValue(entry, u"UninstallString", quoted_uninstaller);
  WriteStringValue(entry, u"URLInfoAbout", home_url);
  return true;
}

void RegisterAppPaths(const InstallContext& task) {
  const std::u16string client = util::JoinPath(task.install_folder, kRegisteredClientExecutable);
  RegisterAppPath(RegistryRoot::kLocalMachine, client);
  RegistryKey entry;
  if (!CreateEntryKey(RegistryRoot::kLocalMachine, kUninstallKey, entry)) {
    RegisterAppPath(RegistryRoot::kCurrentUser, client);
  }
}

}  // namespace qv::workflow
