#include "remembered_data_folder.h"

#include "platform/private_profile.h"
#include "util/text_conversion.h"
#include "workflow/records/installer_config.h"

namespace qv::demo {

std::u16string RememberedDataFolder() {
  std::string data_folder;
  platform::GetPrivateProfileString(workflow::kRecordSection, workflow::kDlPathKey, "", data_folder,
                                    workflow::kDlPathBufferUnits,
                                    workflow::InstallerConfigPath(util::ProcessAppFolders()));
  return util::Utf8ToWide(data_folder);
}

}  // namespace qv::demo
