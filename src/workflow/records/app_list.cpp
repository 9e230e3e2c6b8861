#include "workflow/records/app_list.h"

#include <array>
#include <optional>
#include <string>

#include "platform/atomic_file.h"
#include "util/file_paths.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "util/text_format.h"
#include "workflow/folders/install_folders.h"
#include "workflow/packages/record_text.h"
#include "workflow/records/xml_record.h"

namespace qv::workflow {
namespace {

// What the installer leaves for the client to fill in while it manages the package.
constexpr double kUnknownByteCount = 0;
constexpr std::string_view kStateInstalled = "9";

struct Attribute {
  const char* name;
  std::string value;
};

// UTF-8 text that cannot break the document: a record field cut inside a character, or bytes
// that are not UTF-8, come out as U+FFFD.
std::string WellFormedUtf8(std::string_view text) {
  return util::WideToUtf8(util::Utf8ToWide(text));
}

// Every attribute of an item, in the order a new item carries them.
std::array<Attribute, 11> ItemAttributes(std::string_view local_path, const InstallRecord& record) {
  const std::string byte_count = util::FormatText("%g", kUnknownByteCount);
  return {{
      {"game_id", WellFormedUtf8(RecordText(record.game.game_id))},
      {"game_name", WellFormedUtf8(RecordText(record.game.game_name))},
      {"md5", WellFormedUtf8(RecordText(record.md5))},
      {"saved_bytes", byte_count},
      {"total_bytes", byte_count},
      {"net_path", WellFormedUtf8(RecordText(record.url_air))},
      {"local_path", WellFormedUtf8(local_path)},
      {"game_type", util::FormatText("%u", static_cast<unsigned>(record.g_type))},
      {"state", std::string(kStateInstalled)},
      {"version", WellFormedUtf8(RecordText(record.game_ver))},
      {"ver_code", util::FormatText("%u", static_cast<unsigned>(record.ver_air))},
  }};
}

bool IsKeptFromEarlierInstall(std::string_view name) {
  return name == "game_id" || name == "game_name" || name == "saved_bytes" ||
         name == "total_bytes";
}

void AppendItem(pugi::xml_node app_list, const std::array<Attribute, 11>& attributes) {
  pugi::xml_node item = app_list.append_child("item");
  for (const Attribute& attribute : attributes) {
    item.append_attribute(attribute.name).set_value(attribute.value.c_str());
  }
}

void UpdateItem(pugi::xml_node item, const std::array<Attribute, 11>& attributes) {
  for (const Attribute& attribute : attributes) {
    if (IsKeptFromEarlierInstall(attribute.name)) continue;
    if (pugi::xml_attribute existing = item.attribute(attribute.name)) {
      existing.set_value(attribute.value.c_str());
    }
  }
}

// The new list for the current bytes; nullopt to leave the file as it is.
std::optional<std::string> UpdatedList(const std::string& current,
                                       const std::array<Attribute, 11>& attributes) {
  pugi::xml_document document;
  if (!LoadXmlRecord(current, document)) {
    // A damaged list tells the client nothing; start a new one with this game.
    document.reset();
    AppendItem(document.append_child("app_list"), attributes);
    return SaveXmlRecord(document);
  }
  pugi::xml_node app_list = document.child("app_list");
  if (!app_list) return std::nullopt;
  const std::string& game_id = attributes[0].value;
  for (pugi::xml_node item : app_list.children("item")) {
    if (game_id == item.attribute("game_id").value()) {
      UpdateItem(item, attributes);
      return SaveXmlRecord(document);
    }
  }
  AppendItem(app_list, attributes);
  return SaveXmlRecord(document);
}

}  // namespace

bool UpdateAppList(std::string_view local_path, const InstallContext& context) {
  const std::u16string download_folder = GetDownloadFolder(context.machine);
  if (download_folder.empty()) return false;
  const std::string path =
      util::ToPlatformPath(download_folder + std::u16string(util::kClientFileListRecord));
  const auto attributes = ItemAttributes(local_path, context.record);
  bool written = false;
  const std::error_code error = platform::UpdateFileAtomically(
      path, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        if (!current) return std::nullopt;  // the list is the client's to create
        std::optional<std::string> updated = UpdatedList(*current, attributes);
        written = updated.has_value();
        return updated;
      });
  return !error && written;
}

}  // namespace qv::workflow
