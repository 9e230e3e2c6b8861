#include "workflow/folders/install_folders.h"

#include "platform/files.h"
#include "platform/path_syntax.h"
#include "platform/private_profile.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/install_drive.h"
#include "util/text_conversion.h"
#include "util/text_edit.h"
#include "util/text_format.h"
#include "workflow/folders/emulator_folder.h"
#include "workflow/folders/game_id_path.h"
#include "workflow/records/installer_config.h"
#include "workflow/packages/record_text.h"

namespace qv::workflow {
namespace {

// The folder made on the chosen drive; it keeps its capitals.
constexpr std::u16string_view kDriveDataSubPath = u"QVorvane/";

void Trim(std::u16string& text) {
  util::TrimLeft(text);
  util::TrimRight(text);
}

// A folder on drive G was never taken, whatever the letter case it was written in.
bool NamesDriveG(std::u16string_view path) {
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    if ((path[i] == u'g' || path[i] == u'G') && path[i + 1] == u':') return true;
  }
  return false;
}

// A relative path would depend on the folder the installer was started from.
bool IsAbsolute(std::u16string_view path) {
  return platform::IsAbsolutePath(util::WideToUtf8(path));
}

bool IsAcceptable(const std::u16string& candidate) {
  return IsAbsolute(candidate) && !NamesDriveG(candidate) && util::IsDirectory(candidate);
}

// Makes the folder when missing and gives it the hidden attribute once.
void PrepareDataFolder(const std::u16string& folder) {
  if (!util::IsDirectory(folder)) util::CreateFolderPath(folder);
  const std::string path = util::ToPlatformPath(folder);
  const auto attributes = platform::GetFileAttributes(path);
  if (attributes && !attributes->is_hidden) platform::SetHidden(path);
}

// `data_folder` + `sub_path`, created when missing; empty without a data folder.
std::u16string SubFolder(const std::u16string& data_folder, std::u16string_view sub_path) {
  if (data_folder.empty()) return {};
  std::u16string folder = data_folder + util::SystemPath(sub_path);
  if (!util::IsDirectory(folder)) util::CreateFolderPath(folder);
  return folder;
}

}  // namespace

std::u16string RememberedDataFolder(const InstallMachine& machine) {
  std::string remembered;
  platform::GetPrivateProfileString(kRecordSection, kDlPathKey, "", remembered, kDlPathBufferUnits,
                                    InstallerConfigPath(*machine.folders));
  std::u16string folder = util::Utf8ToWide(remembered);
  Trim(folder);
  return folder;
}

std::u16string ResolveDataFolderFrom(std::u16string emulator_candidate, uint64_t& min_space_kb,
                                     std::string_view key_name, const InstallMachine& machine) {
  std::u16string candidate = std::move(emulator_candidate);
  Trim(candidate);
  if (!IsAcceptable(candidate)) {
    const std::string config = InstallerConfigPath(*machine.folders);
    std::string remembered;
    platform::GetPrivateProfileString(kRecordSection, key_name, "", remembered, kDlPathBufferUnits,
                                      config);
    candidate = util::Utf8ToWide(remembered);
    Trim(candidate);
    if (!IsAcceptable(candidate)) {
      if (min_space_kb == 0) min_space_kb = kDefaultDataFolderSpaceKb;
      std::u16string root;
      if (util::ChooseInstallDrive(min_space_kb, root, *machine.drives)) {
        candidate = root + util::SystemPath(kDriveDataSubPath);
        platform::WritePrivateProfileString(kRecordSection, key_name, util::WideToUtf8(candidate),
                                            config);
      }
    }
  }
  // Only a rejected remembered value is left when no drive could be chosen; a relative one would
  // put the folders wherever the installer was started.
  if (!IsAbsolute(candidate)) return {};
  PrepareDataFolder(candidate);
  return candidate;
}

std::u16string ResolveDataFolder(uint64_t& min_space_kb, std::string_view key_name,
                                 const InstallMachine& machine) {
  return ResolveDataFolderFrom(FindEmulatorFolder(), min_space_kb, key_name, machine);
}

std::u16string GetDownloadFolder(const InstallMachine& machine) {
  uint64_t min_space_kb = kDownloadFolderSpaceKb;
  return SubFolder(ResolveDataFolder(min_space_kb, kDlPathKey, machine), kDownloadSubPath);
}

std::u16string GetGameInstallFolder(std::u16string_view game_id, const InstallMachine& machine) {
  if (!IsPlainFileNameComponent(game_id)) return {};
  uint64_t min_space_kb = kGameInstallFolderSpaceKb;
  const std::u16string data_folder = ResolveDataFolder(min_space_kb, kDlPathKey, machine);
  if (data_folder.empty()) return {};
  return SubFolder(data_folder,
                   std::u16string(kGameInstallSubPath) + std::u16string(game_id) + u"/");
}

std::u16string GetGameFilesFolder(const InstallContext& context) {
  return SubFolder(GetGameInstallFolder(WideRecordText(context.record.game.game_id),
                                        context.machine),
                   kGameFilesSubPath);
}

std::u16string KeptPackageCopyPath(const InstallContext& context) {
  const InstallRecord& record = context.record;
  const std::u16string name = util::AnsiToWide(
      util::FormatText("%s_%s_%d.dat", std::string(RecordText(record.game.game_id)).c_str(),
                       std::string(RecordText(record.game_ver)).c_str(), record.ver_air));
  if (!IsPlainFileNameComponent(name)) return {};
  const std::u16string download_folder = GetDownloadFolder(context.machine);
  if (download_folder.empty()) return {};
  return download_folder + name;
}

}  // namespace qv::workflow
