#include "workflow/shortcuts/shortcuts.h"

#include "platform/files.h"
#include "platform/known_folders.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/folders/game_id_path.h"
#include "workflow/records/games_record.h"
#include "workflow/packages/record_text.h"
#include "workflow/shortcuts/shell_link.h"
#include "workflow/shortcuts/shortcut_icon.h"

namespace qv::workflow {
namespace {

void DeleteFileIfPresent(const std::u16string& path) {
  if (util::IsFile(path)) platform::DeleteFile(util::ToPlatformPath(path));
}

// The client's shortcut in `folder`.
void CreatePlatformShortcut(const std::u16string& folder, const std::u16string& client,
                            const std::u16string& platform_folder) {
  ShellLinkDescription link;
  link.link_name = std::u16string(kPlatformShortcutName);
  link.folder = folder;
  link.target = client;
  link.arguments = u"";
  link.icon = u"";
  link.working_directory = platform_folder;
  link.description = std::u16string(kPlatformShortcutDescription);
  link.show_command = kShowNormal;
  CreateShellLink(link);
}

}  // namespace

std::u16string DesktopShortcutFolder() {
  return util::AsFolderPath(util::Utf8ToWide(platform::DesktopFolder()));
}

bool CreateGameShortcut(const std::u16string& png_path, const std::u16string& target,
                        const std::u16string& game_name) {
  ShellLinkDescription link;
  link.link_name = game_name + std::u16string(kShortcutFileExtension);
  link.folder = DesktopShortcutFolder();
  const std::u16string icon = MakeIconFromPng(png_path);
  if (!icon.empty()) link.icon = icon;
  link.target = target;
  link.working_directory = target.substr(0, target.find_last_of(u"/\\"));
  link.arguments = u"";
  link.description = u"";
  link.show_command = kShow;
  return CreateShellLink(link);
}

void CreateShortcuts(const InstallContext& context) {
  util::AppFolders& folders = *context.machine.folders;
  const std::u16string desktop = DesktopShortcutFolder();
  DeleteFileIfPresent(desktop + std::u16string(kPlatformShortcutName));

  const std::u16string platform_folder = folders.PlatformFolder();
  const std::u16string client = platform_folder + std::u16string(util::kClientExecutable);
  const std::u16string game_name = WideRecordText(context.record.game.game_name);
  const std::u16string game_id = WideRecordText(context.record.game.game_id);

  if (!game_id.empty()) {
    // An id that is not a plain name never becomes part of a path: the shortcut gets no icon.
    std::u16string png_path;
    if (IsPlainFileNameComponent(game_id)) {
      png_path = util::JoinPath(folders.GameBagFolder() + game_id, util::kGameBagShortcutIcon);
    }
    CreateGameShortcut(png_path, client, game_name);
    WriteGamesRecord(folders.GameBagFolder(), game_id, game_name);
  }

  CreatePlatformShortcut(desktop, client, platform_folder);

  const std::u16string start_menu =
      util::Utf8ToWide(platform::StartMenuFolder()) + util::SystemPath(kStartMenuSubPath);
  if (!util::IsDirectory(start_menu)) util::CreateFolderPath(start_menu);
  DeleteFileIfPresent(start_menu + std::u16string(kPlatformShortcutName));
  CreatePlatformShortcut(start_menu, client, platform_folder);
}

}  // namespace qv::workflow
