#include "workflow/records/local_records.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "platform/private_profile.h"
#include "util/file_paths.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/folders/install_folders.h"
#include "workflow/records/installer_config.h"
#include "workflow/packages/record_text.h"

namespace qv::workflow {
namespace {

using KeyValue = std::pair<std::string_view, std::string>;

// Writes the keys in order into section "General" of `folder` + `file_name`; false when the
// folder is unknown or any write failed (the later keys are still written).
bool WriteKeys(const std::u16string& folder, std::u16string_view file_name,
               std::initializer_list<KeyValue> keys) {
  if (folder.empty()) return false;
  const std::string path = util::ToPlatformPath(folder + std::u16string(file_name));
  bool all_written = true;
  for (const auto& [key, value] : keys) {
    all_written &= platform::WritePrivateProfileString(kRecordSection, key, value, path);
  }
  return all_written;
}

// Narrow record text as an ini value: widened from the ANSI code page, stored as UTF-8.
template <size_t N>
std::string IniText(const char (&field)[N]) {
  return util::WideToUtf8(WideRecordText(field));
}

}  // namespace

bool WriteGameInfoRecord(const InstallContext& context) {
  const InstallRecord& record = context.record;
  return WriteKeys(GetGameInstallFolder(WideRecordText(record.game.game_id), context.machine),
                   util::kClientInfoRecord,
                   {{"version", IniText(record.game_ver)},
                    {"ver_code", std::to_string(record.ver_air)},
                    {"state", std::string(kGameInfoStateInstalled)}});
}

bool WritePlatformVersionRecord(const InstallContext& context) {
  return WriteKeys(context.machine.folders->PlatformFolder(), util::kClientPlatformRecord,
                   {{"version", IniText(context.record.version)},
                    {"ver", std::to_string(context.record.ver)}});
}

bool WriteRuntimePluginRecord(const InstallContext& context) {
  return WriteKeys(context.machine.folders->PlatformFolder(), util::kClientPlatformRecord,
                   {{"air_ver", std::to_string(context.record.ver_air)},
                    {"u_air_state", std::string(kRuntimePluginStateInstalled)}});
}

}  // namespace qv::workflow
