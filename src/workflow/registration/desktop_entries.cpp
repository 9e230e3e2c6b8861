#include "workflow/registration/desktop_entries.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/atomic_file.h"
#include "platform/desktop_shell.h"
#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_resolution.h"
#include "util/command_line.h"
#include "util/file_name_rules.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/folders/game_id_path.h"
#include "workflow/packages/record_text.h"
#include "workflow/registration/desktop_entry_text.h"
#include "workflow/registration/mime_apps_list.h"
#include "workflow/shortcuts/picture_scaling.h"
#include "workflow/shortcuts/png_encoder.h"

namespace qv::workflow {
namespace {

constexpr std::string_view kClientName = "QVorvane";
constexpr std::string_view kClientComment = "Find, install and play games";
constexpr std::string_view kLinkHandlerName = "QVorvane link";
constexpr std::string_view kUninstallActionId = "Uninstall";
constexpr std::string_view kUninstallActionName = "Uninstall";
constexpr std::string_view kGameCategory = "Game";
constexpr std::string_view kLinkFieldCode = "%u";
constexpr std::string_view kPngExtension = ".png";
// Marks the launchers we put on the desktop, where the user keeps launchers of their own: an
// uninstaller removes a desktop file only when it carries this line.
constexpr std::string_view kLauncherMarkKey = "X-QVorvane-Launcher";
constexpr std::string_view kLauncherMarkValue = "true";

// The folders the entries go to, as this user's XDG folders name them now.
struct DesktopFolders {
  std::string applications;
  std::string autostart;
  std::string desktop;
  std::string icon_theme;
  std::string config;
};

DesktopFolders CurrentDesktopFolders() {
  const std::string data = platform::LocalAppDataFolder();
  const std::string config = platform::RoamingAppDataFolder();
  return {data + "/applications", config + "/autostart", platform::DesktopFolder(),
          data + "/icons/hicolor", config};
}

std::string IconSizeFolder(const DesktopFolders& folders, uint32_t side) {
  return folders.icon_theme + "/" + std::to_string(side) + "x" + std::to_string(side) + "/apps";
}

std::string DesktopFileName(std::string_view id) {
  return std::string(id) + std::string(kDesktopFileExtension);
}

// The path as the file on disk spells it (the registry's spellings of the client differ from
// the archive's in letter case); the path as given when nothing is there.
std::string SpelledOnDisk(const std::u16string& path) {
  std::string native = util::ToPlatformPath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return platform::ResolveExistingPath(native).value_or(native);
}

std::string RecordPath(const std::u16string& local_data_folder) {
  return util::ToPlatformPath(util::JoinPath(local_data_folder, kDesktopFilesRecord));
}

std::string MimeAppsListPath(const DesktopFolders& folders) {
  return folders.config + "/" + std::string(kMimeAppsListName);
}

// Writes files and remembers each one written.
class EntryWriter {
 public:
  bool Write(const std::string& folder, const std::string& name, std::string_view contents) {
    util::CreateFolderPath(util::Utf8ToWide(folder) + u"/");
    const std::string path = folder + "/" + name;
    if (platform::WriteFileAtomically(path, contents)) return false;
    made_.push_back(path);
    return true;
  }
  const std::vector<std::string>& made() const { return made_; }

 private:
  std::vector<std::string> made_;
};

// Writes `picture` into the icon theme at each of `sizes` it has the pixels for. True when at
// least one size was written.
bool WriteIcon(EntryWriter& writer, const DesktopFolders& folders, const std::string& name,
               const std::vector<RgbaImage>& sources, std::span<const uint32_t> sizes) {
  bool written = false;
  for (const uint32_t side : sizes) {
    // The smallest source that is large enough, so a hand-drawn small icon is used as it is.
    const RgbaImage* best = nullptr;
    for (const RgbaImage& source : sources) {
      const uint32_t longer = std::max(source.width, source.height);
      if (longer >= side && (!best || longer < std::max(best->width, best->height))) {
        best = &source;
      }
    }
    if (!best) continue;
    const std::string png = EncodePng(ScaleToSquare(*best, side));
    if (!png.empty() &&
        writer.Write(IconSizeFolder(folders, side), name + std::string(kPngExtension), png)) {
      written = true;
    }
  }
  return written;
}

std::vector<RgbaImage> DecodeAll(std::initializer_list<std::string_view> files) {
  std::vector<RgbaImage> pictures;
  for (const std::string_view bytes : files) {
    RgbaImage picture;
    if (!bytes.empty() && DecodePng(bytes, picture) == PngDecodeStatus::kOk) {
      pictures.push_back(std::move(picture));
    }
  }
  return pictures;
}

std::string_view AsText(std::span<const unsigned char> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Icon names hold letters, digits, '-', '_' and '.' only; other ids get no icon of their own.
bool IsIconNameText(std::u16string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'_' || c == u'.';
  });
}

// The featured game's icon name, when its picture could be installed; empty otherwise.
std::string WriteGameIcon(EntryWriter& writer, const DesktopFolders& folders,
                          util::AppFolders& app_folders, const std::u16string& game_id) {
  if (!IsPlainFileNameComponent(game_id) || !IsIconNameText(game_id)) return {};
  const std::u16string png_path =
      util::JoinPath(app_folders.GameBagFolder() + game_id, util::kGameBagShortcutIcon);
  std::string bytes;
  if (platform::ReadWholeFile(util::ToPlatformPath(png_path), bytes)) return {};
  const std::string name = std::string(kGameIconPrefix) + util::WideToUtf8(game_id);
  return WriteIcon(writer, folders, name, DecodeAll({bytes}), kGameIconSizes) ? name : "";
}

void WriteRecord(util::AppFolders& app_folders, const std::vector<std::string>& made) {
  std::set<std::string> paths(made.begin(), made.end());
  const std::u16string local_data_folder = app_folders.LocalDataFolder();
  for (const std::string& earlier : RecordedDesktopFiles(local_data_folder)) {
    if (platform::GetFileAttributes(earlier)) paths.insert(earlier);
  }
  std::string text;
  for (const std::string& path : paths) text.append(path).append("\n");
  util::CreateFolderPath(local_data_folder);
  platform::WriteFileAtomically(RecordPath(local_data_folder), text);
}

}  // namespace

void RegisterDesktopEntries(const InstallContext& context, bool start_at_log_on,
                            const ProgramIconPictures& icons) {
  if (!platform::UsesDesktopEntries()) return;
  util::AppFolders& app_folders = *context.machine.folders;
  const DesktopFolders folders = CurrentDesktopFolders();
  EntryWriter writer;

  const std::u16string platform_folder = app_folders.PlatformFolder();
  const std::string client =
      SpelledOnDisk(platform_folder + std::u16string(util::kClientExecutable));
  const std::string working_folder = SpelledOnDisk(platform_folder);
  const std::string uninstaller =
      SpelledOnDisk(util::JoinPath(context.install_folder, util::kUninstallerExecutable));

  const std::string program_icon =
      WriteIcon(writer, folders, std::string(kDesktopClientId),
                DecodeAll({AsText(icons.large), AsText(icons.small)}), kProgramIconSizes)
          ? std::string(kDesktopClientId)
          : "";

  DesktopEntry client_entry;
  client_entry.name = kClientName;
  client_entry.comment = kClientComment;
  client_entry.command = {client};
  client_entry.working_folder = working_folder;
  client_entry.icon = program_icon;
  client_entry.categories = {std::string(kGameCategory)};
  client_entry.startup_notify = true;
  client_entry.extension_keys = {{std::string(kLauncherMarkKey), std::string(kLauncherMarkValue)}};

  DesktopEntry menu = client_entry;
  menu.actions.push_back(
      {std::string(kUninstallActionId), std::string(kUninstallActionName), {uninstaller}});
  writer.Write(folders.applications, DesktopFileName(kDesktopClientId), DesktopEntryText(menu));

  DesktopEntry link_handler = client_entry;
  link_handler.name = kLinkHandlerName;
  link_handler.field_code = kLinkFieldCode;
  link_handler.mime_types = {std::string(kClientLinkMimeType)};
  link_handler.no_display = true;
  const std::string handler_file = DesktopFileName(kDesktopLinkHandlerId);
  if (writer.Write(folders.applications, handler_file, DesktopEntryText(link_handler))) {
    util::CreateFolderPath(util::Utf8ToWide(folders.config) + u"/");
    platform::UpdateFileAtomically(
        MimeAppsListPath(folders),
        [&](const std::optional<std::string>& text) -> std::optional<std::string> {
          return SetDefaultApplication(text.value_or(""), kClientLinkMimeType, handler_file);
        });
  }

  // Desktop launchers, beside the shell links of the same names.
  const std::u16string game_name = WideRecordText(context.record.game.game_name);
  const std::u16string game_id = WideRecordText(context.record.game.game_id);
  if (!game_id.empty() && IsPlainFileNameComponent(game_name) &&
      !util::HasForbiddenFileNameCharacter(game_name)) {
    DesktopEntry game = client_entry;
    game.name = util::WideToUtf8(game_name);
    game.comment.clear();
    const std::string game_icon = WriteGameIcon(writer, folders, app_folders, game_id);
    if (!game_icon.empty()) game.icon = game_icon;
    const std::string name = util::WideToUtf8(game_name) + std::string(kDesktopFileExtension);
    if (writer.Write(folders.desktop, name, DesktopEntryText(game))) {
      platform::MarkLauncherTrusted(folders.desktop + "/" + name);
    }
  }
  const std::string client_launcher = std::string(kClientName) + std::string(kDesktopFileExtension);
  if (writer.Write(folders.desktop, client_launcher, DesktopEntryText(client_entry))) {
    platform::MarkLauncherTrusted(folders.desktop + "/" + client_launcher);
  }

  const std::string autostart_file = DesktopFileName(kDesktopClientId);
  if (start_at_log_on) {
    DesktopEntry autostart = client_entry;
    for (const std::u16string& argument : util::SplitCommandLine(util::kClientAutoStartArgument)) {
      autostart.command.push_back(util::WideToUtf8(argument));
    }
    writer.Write(folders.autostart, autostart_file, DesktopEntryText(autostart));
  } else {
    platform::DeleteFile(folders.autostart + "/" + autostart_file);
  }

  platform::RefreshDesktopDatabase(folders.applications);
  WriteRecord(app_folders, writer.made());
}

bool IsDesktopFileWeMake(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return false;
  const std::string folder = path.substr(0, slash);
  const std::string name = path.substr(slash + 1);
  if (name.empty() || name.front() == '.') return false;
  const DesktopFolders folders = CurrentDesktopFolders();
  if (folder == folders.applications) {
    return name == DesktopFileName(kDesktopClientId) || name == DesktopFileName(kDesktopLinkHandlerId);
  }
  if (folder == folders.autostart) return name == DesktopFileName(kDesktopClientId);
  if (folder == folders.desktop) {
    std::string text;
    return name.ends_with(kDesktopFileExtension) && !platform::ReadWholeFile(path, text) &&
           text.find("\n" + std::string(kLauncherMarkKey) + "=" + std::string(kLauncherMarkValue) +
                     "\n") != std::string::npos;
  }
  // An icon in one of the theme's size folders its kind is written to.
  const auto in_size_folder = [&](std::span<const uint32_t> sizes) {
    return std::any_of(sizes.begin(), sizes.end(),
                       [&](uint32_t side) { return folder == IconSizeFolder(folders, side); });
  };
  if (name == std::string(kDesktopClientId) + std::string(kPngExtension)) {
    return in_size_folder(kProgramIconSizes);
  }
  return name.starts_with(kGameIconPrefix) && name.ends_with(kPngExtension) &&
         in_size_folder(kGameIconSizes);
}

std::vector<std::string> RecordedDesktopFiles(const std::u16string& local_data_folder) {
  std::string text;
  if (platform::ReadWholeFile(RecordPath(local_data_folder), text)) return {};
  std::vector<std::string> paths;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    std::string line = text.substr(at, end - at);
    if (IsDesktopFileWeMake(line)) paths.push_back(std::move(line));
    at = end + 1;
  }
  return paths;
}

void RemoveLinkHandlerDefault() {
  const std::string handler_file = DesktopFileName(kDesktopLinkHandlerId);
  platform::UpdateFileAtomically(
      MimeAppsListPath(CurrentDesktopFolders()),
      [&](const std::optional<std::string>& text) -> std::optional<std::string> {
        if (!text) return std::nullopt;
        std::string changed = RemoveDefaultApplication(*text, kClientLinkMimeType, handler_file);
        if (changed == *text) return std::nullopt;
        return changed;
      });
}

}  // namespace qv::workflow
